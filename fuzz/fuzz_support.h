#pragma once

#include "text/runtime_error.h"

#include <QDir>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

// assert() vanishes under NDEBUG; a fuzzer check must abort in every build.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            fuzzFailure(#condition, __FILE__, __LINE__);                                           \
    } while (false)

[[noreturn]] inline void fuzzFailure(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::abort();
}

// The locales whose separators differ in every way that matters: "." or "," as decimal
// point, and ",", ".", a narrow no-break space or an apostrophe between digit groups.
inline const QLocale &fuzzLocale(std::uint8_t pick)
{
    static const QLocale locales[] = {
        QLocale::c(),
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::French, QLocale::France),
        QLocale(QLocale::German, QLocale::Switzerland),
    };
    return locales[pick % (sizeof locales / sizeof locales[0])];
}

// Bytes read as UTF-8, so that the corpus stays readable text while broken sequences still
// reach the code as replacement characters.
inline QString fuzzText(FuzzedDataProvider &data, std::size_t maxLength = 64)
{
    return QString::fromStdString(data.ConsumeRandomLengthString(maxLength));
}

// The folder, under the current one, where a target writes its files: emptied when the
// process starts, so that nothing an earlier run left changes this one, and named the same in
// every run, since GDAL compares and hashes the paths it opens and a random name would change
// what two runs with the same seed try.
inline QString fuzzFolder(const char *name)
{
    const QString path = QDir::current().filePath(QString::fromLatin1(name));
    FUZZ_CHECK(QDir(path).removeRecursively() && QDir().mkpath(path));
    return path;
}

inline bool isOneOf(const RuntimeError &e, std::initializer_list<RuntimeError::Number> allowed)
{
    for (RuntimeError::Number n : allowed) {
        if (e.number() == n)
            return true;
    }
    return false;
}

// A whole number in its plain decimal form (no sign for zero, no leading zeros), as the
// captions and readouts are written, within low..high.
inline bool wholeNumberIn(QStringView text, long long low, long long high)
{
    bool ok = false;
    const long long value = text.toLongLong(&ok);
    return ok && QString::number(value) == text && value >= low && value <= high;
}

inline long long wholeNumber(QStringView text)
{
    return text.toLongLong();
}

// `read` came from the 15-significant-digit text of `exact`: rounding to 15 digits moves a
// value by at most half a unit in the 15th digit, reading the text back by half an ulp,
// and subnormals by their own spacing.
inline bool withinFifteenDigits(double read, double exact)
{
    return std::abs(read - exact) <= (5e-15 + 2.3e-16) * std::abs(exact) + DBL_TRUE_MIN;
}
