#pragma once

#include <QString>
#include <QStringList>

// A line for the status line. A warning comes first in `text`, so that a line too narrow for
// all of it cuts what follows (a name, a path), never what is wrong.
struct StatusText
{
    QString text;
    bool warning = false;
};

// `lead` says what was done; the warnings, when there are any, go before it.
inline StatusText warnedText(const QStringList &warnings, const QString &lead)
{
    if (warnings.isEmpty())
        return {lead};
    return {warnings.join(QStringLiteral("  ")) + QStringLiteral("  ") + lead, true};
}
