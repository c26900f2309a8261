#pragma once

#include <QString>

// The program's version, as the build names it ("3.0.0").
inline QString programVersion()
{
    return QStringLiteral(MARLITH_VERSION);
}
