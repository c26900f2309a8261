#pragma once

#include <QString>

// Every message box and input box without a title of its own shows it.
inline QString programTitle()
{
    return QStringLiteral("Marlith");
}
