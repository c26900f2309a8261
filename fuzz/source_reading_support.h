#pragma once

// The checks both source readers share. Two ways in: any bytes, which must either be refused
// or read to a state that writes and reads back the same; and any texts written by the
// writer, which must always read back to inputs that write the very same bytes.
#include "fuzz_support.h"
#include "text/typed_text.h"
#include "workfile/source_reading.h"
#include "workfile/work_file.h"

#include <optional>

// The lines of a file, whatever its line ends.
inline QList<QByteArray> fileLines(QByteArray file)
{
    file.replace("\r\n", "\n");
    return file.split('\n');
}

// Reads `file`; nothing when refused, and a refusal must be an OpenFault with a text.
template <typename Reading>
std::optional<Reading> readOrRefuse(Reading (*read)(const QByteArray &, const QLocale &),
                                    const QByteArray &file, const QLocale &locale)
{
    try {
        return read(file, locale);
    } catch (const OpenFault &f) {
        FUZZ_CHECK(!f.text.isEmpty());
        return std::nullopt;
    }
}

// Any bytes: a file that is read writes back the same lines but for the header bounds
// (which follow the degrees in this locale), and that file reads to the same inputs.
template <typename Inputs, typename Reading>
void checkReadBack(Reading (*read)(const QByteArray &, const QLocale &),
                   QByteArray (*write)(const Inputs &, const QLocale &), const QByteArray &file,
                   const QLocale &locale, qsizetype headerLine,
                   bool (*same)(const Inputs &, const Inputs &))
{
    const std::optional<Reading> first = readOrRefuse(read, file, locale);
    if (!first)
        return;
    FUZZ_CHECK(first->lfOnly == !file.contains("\r\n"));
    QByteArray again;
    try {
        again = write(first->inputs, locale);
    } catch (const RuntimeError &e) {
        // Degrees the header bounds did not come from, and that this locale cannot read.
        FUZZ_CHECK(isOneOf(e, {RuntimeError::TypeMismatch}));
        return;
    }
    const QList<QByteArray> was = fileLines(file), is = fileLines(again);
    FUZZ_CHECK(was.size() == is.size());
    // A control character in a line reads as typed text, and so writes back as such.
    for (qsizetype i = 0; i < was.size(); ++i)
        FUZZ_CHECK(i == headerLine || typedText(QString::fromLatin1(was[i])).toLatin1() == is[i]);
    const std::optional<Reading> second = readOrRefuse(read, again, locale);
    FUZZ_CHECK(second && !second->lfOnly && same(second->inputs, first->inputs));
}

// A file the writer makes of `in` must be read, to inputs that write the very same bytes.
// Nothing when the writer itself refuses the inputs (its own fuzzer's business).
template <typename Inputs, typename Reading>
std::optional<Inputs> writtenReadsBack(Reading (*read)(const QByteArray &, const QLocale &),
                                       QByteArray (*write)(const Inputs &, const QLocale &),
                                       const Inputs &in, const QLocale &locale)
{
    QByteArray file;
    try {
        file = write(in, locale);
    } catch (const RuntimeError &) {
        return std::nullopt;
    }
    const std::optional<Reading> back = readOrRefuse(read, file, locale);
    FUZZ_CHECK(back);
    FUZZ_CHECK(write(back->inputs, locale) == file);
    return back->inputs;
}

// The last input byte picks the way in (odd: texts written first; even: the rest is the
// file) and, above its lowest bit, the locale.
inline void fuzzReading(const std::uint8_t *bytes, std::size_t size,
                        void (*writtenFile)(FuzzedDataProvider &, const QLocale &),
                        void (*anyFile)(const QByteArray &, const QLocale &))
{
    FuzzedDataProvider data(bytes, size);
    const std::uint8_t mode = data.ConsumeIntegral<std::uint8_t>();
    const QLocale &locale = fuzzLocale(mode >> 1);
    if (mode & 1)
        writtenFile(data, locale);
    else
        anyFile(QByteArray::fromStdString(data.ConsumeRemainingBytesAsString()), locale);
}

// Any texts, line breaks and other control characters included, at times empty or long.
inline QString controlText(FuzzedDataProvider &data, std::size_t maxLength = 24)
{
    return fuzzText(data, maxLength);
}

inline QStringList controlEntries(FuzzedDataProvider &data)
{
    QStringList entries;
    const int n = data.ConsumeIntegralInRange(0, 40);
    for (int i = 0; i < n && data.remaining_bytes() > 0; ++i)
        entries << controlText(data, 40);
    return entries;
}

// What the writer makes of a text: typed, then one byte a character, "?" beyond Latin-1.
inline QString singleByte(const QString &text)
{
    return QString::fromLatin1(typedText(text).toLatin1());
}
