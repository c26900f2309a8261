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

QString RuntimeError::reportText() const
{
    return QStringLiteral("Run-time error '%1':\n\n%2").arg(int(m_number)).arg(description());
}
