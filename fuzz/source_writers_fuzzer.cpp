// Both writers on any texts, line breaks and other control characters included: they fail
// only with error 13 (degrees that are no number) or 6 (a count outside 0..255, bounds beyond
// a double); otherwise every line ends in CR LF and holds no other control character, the
// file has its fixed lines plus the list, the entries are copied as typed text in single-byte
// form, and the header bounds are the typed degrees plus and minus one written with ".".
#include "fuzz_support.h"
#include "text/numbers.h"
#include "text/typed_text.h"
#include "writers/source_writers.h"

#include <cmath>

namespace {

// The file cut at its line ends; false if a CR or LF stands anywhere but in a CR LF that
// ends a line, or a line holds any other control character.
bool splitLines(const QByteArray &file, QList<QByteArray> &lines)
{
    if (!file.endsWith("\r\n"))
        return false;
    lines = file.chopped(2).split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray &line = lines[i];
        if (i + 1 < lines.size()) {
            if (!line.endsWith('\r'))
                return false;
            line.chop(1);
        }
        if (!isTypedText(QString::fromLatin1(line)))
            return false;
    }
    return true;
}

// The header bounds must read back, with ".", as the degrees read in the user's locale, plus
// and minus one, to the 15 digits they are written with.
void checkBounds(const QByteArray &line, const QByteArray &start, const QString &latDeg,
                 const QString &longDeg, const QLocale &locale)
{
    FUZZ_CHECK(line.startsWith(start));
    const QList<QByteArray> parts = line.sliced(start.size()).split(',');
    FUZZ_CHECK(parts.size() == 6);
    const double lat = strictNumber(typedText(latDeg), locale);
    const double lng = strictNumber(typedText(longDeg), locale);
    const double expected[] = {lat + 1, lat - 1, lng + 1, lng - 1};
    for (int k = 0; k < 4; ++k) {
        const double written = strictNumber(QString::fromLatin1(parts[k]), QLocale::c());
        FUZZ_CHECK(withinFifteenDigits(written, expected[k]));
    }
}

QStringList fuzzEntries(FuzzedDataProvider &data)
{
    QStringList entries;
    const int n = data.ConsumeIntegralInRange(0, 40);
    for (int i = 0; i < n && data.remaining_bytes() > 0; ++i)
        entries << fuzzText(data, 48);
    return entries;
}

// What the writer makes of a text: typed, one byte a character.
QByteArray written(const QString &text)
{
    return typedText(text).toLatin1();
}

void fuzzLwm(FuzzedDataProvider &data, const QLocale &locale)
{
    auto text = [&] { return fuzzText(data, 24); };
    LwmInputs in;
    for (QString *field : {&in.latDeg, &in.latMin, &in.longDeg, &in.longMin, &in.cellX, &in.cellY,
                           &in.areaX, &in.areaY, &in.lwmNumber, &in.altitude})
        *field = text();
    in.entries = fuzzEntries(data);

    QByteArray file;
    try {
        file = lwmSourceText(in, locale);
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(isOneOf(e, {RuntimeError::TypeMismatch, RuntimeError::Overflow}));
        return;
    }
    FUZZ_CHECK(file.endsWith("LWMEnd        label        word\r\n\r\n"));
    QList<QByteArray> lines;
    FUZZ_CHECK(splitLines(file, lines));
    FUZZ_CHECK(lines.size() == 58 + in.entries.size());
    checkBounds(lines[10], "BGLHeader          ", in.latDeg, in.longDeg, locale);
    const int n = roundToByte(leadingNumber(in.lwmNumber));
    if (n <= 62)
        FUZZ_CHECK(lines[30].startsWith("LWMPoly2  " + twoDigit(n).toLatin1() + ", "));
    else
        FUZZ_CHECK(lines[30].startsWith("LWMPoly2Ex  63, ")
                   && lines[30].endsWith(", " + QByteArray::number(n - 63)));
    for (qsizetype i = 0; i < in.entries.size(); ++i)
        FUZZ_CHECK(lines[32 + i] == written(in.entries[i]));
}

void fuzzVtp(FuzzedDataProvider &data, const QLocale &locale)
{
    auto text = [&] { return fuzzText(data, 24); };
    VtpInputs in;
    for (QString *field : {&in.latDeg, &in.latMin, &in.longDeg, &in.longMin, &in.cellX, &in.cellY,
                           &in.layer, &in.vtpNumber, &in.lineType})
        *field = text();
    in.entries = fuzzEntries(data);
    const QStringList before = in.entries;

    QByteArray file;
    try {
        file = vtpSourceText(in, locale);
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(isOneOf(e, {RuntimeError::TypeMismatch, RuntimeError::Overflow}));
        return;
    }
    FUZZ_CHECK(in.entries == before);
    FUZZ_CHECK(file.endsWith("VTPEnd        label        word\r\n\r\n"));
    QList<QByteArray> lines;
    FUZZ_CHECK(splitLines(file, lines));
    const int n = roundToByte(leadingNumber(in.vtpNumber));
    const int extra = n > 31 ? 1 : 0;
    // An empty list still leaves its (empty) line.
    FUZZ_CHECK(lines.size() == 89 + std::max<qsizetype>(in.entries.size(), 1) + extra);
    checkBounds(lines[11], "BGLHeader          ", in.latDeg, in.longDeg, locale);
    FUZZ_CHECK(lines[31] == "VTPPolyMethod2 " + twoDigit(std::min(n, 31)).toLatin1() + ", 1, 0");
    if (extra)
        FUZZ_CHECK(lines[32] == "VTPPolyMethod2Ex " + twoDigit(n - 31).toLatin1());
    const qsizetype first = 33 + extra;
    for (qsizetype i = 0; i < in.entries.size(); ++i) {
        QString expected = typedText(in.entries[i]);
        if (i + 1 == in.entries.size()) {
            const qsizetype at = expected.indexOf(QStringLiteral(", 0"));
            if (at >= 0)
                expected.replace(at, 3, QStringLiteral(", 1"));
        }
        FUZZ_CHECK(lines[first + i] == expected.toLatin1());
    }
    FUZZ_CHECK(lines[first + std::max<qsizetype>(in.entries.size(), 1)] == "VTPWidePointWidth 0");
    // Six texture marks of three lines each, eight fixed lines before the end.
    const QByteArray name = "                   VTPTextureName " + written(in.lineType);
    for (qsizetype k = 0; k < 6; ++k)
        FUZZ_CHECK(lines[lines.size() - 25 + 3 * k] == name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const std::uint8_t mode = data.ConsumeIntegral<std::uint8_t>();
    const QLocale &locale = fuzzLocale(mode >> 2);
    if (mode & 1)
        fuzzVtp(data, locale);
    else
        fuzzLwm(data, locale);
    return 0;
}
