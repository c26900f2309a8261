#include "text/runtime_error.h"

QString RuntimeError::description() const
{
    switch (m_number) {
    case Overflow:
        return QStringLiteral("Overflow");
    case DivisionByZero:
        return QStringLiteral("Division by zero");
    case TypeMismatch:
        return QStringLiteral("Type mismatch");
    case PathFileAccess:
        return QStringLiteral("Path/File access error");
    }
    return QString();
}

QString RuntimeError::text(Shown where) const
{
    switch (where) {
    case Shown::Box:
        return QStringLiteral("Run-time error '%1':\n\n%2").arg(int(m_number)).arg(description());
    case Shown::StatusLine:
        return QStringLiteral("Run-time error %1: %2.")
            .arg(int(m_number))
            .arg(m_detail.isEmpty() ? description() : m_detail);
    case Shown::CommandLine:
        break;
    }
    QString line = QStringLiteral("Run-time error '%1': %2").arg(int(m_number)).arg(description());
    if (!m_detail.isEmpty())
        line += u'\n' + m_detail;
    return line;
}
