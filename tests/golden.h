#pragma once

// The worked examples' files as the writers must make them, in tests/writers/golden; the
// including target defines GOLDEN_DIR.
#include <QByteArray>
#include <QFile>

#include <gtest/gtest.h>

inline QByteArray golden(const char *name)
{
    QFile f(QStringLiteral(GOLDEN_DIR "/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}
