// Reading back LWMSource.asm and area files of many polygons: any bytes are refused with a
// text or read to inputs that write the same lines again; any file the writers make reads
// back to inputs that write the very same bytes, with the lists and the texts that have no
// other reading as they were.
#include "source_reading_support.h"

#include <algorithm>

namespace {

bool sameLwm(const LwmInputs &a, const LwmInputs &b)
{
    return a.latDeg == b.latDeg && a.latMin == b.latMin && a.longDeg == b.longDeg
           && a.longMin == b.longMin && a.cellX == b.cellX && a.cellY == b.cellY
           && a.areaX == b.areaX && a.areaY == b.areaY && a.lwmNumber == b.lwmNumber
           && a.altitude == b.altitude && a.entries == b.entries;
}

// Every polygon's fill, count and entries, and the texts beside them.
bool sameArea(const LwmAreaInputs &a, const LwmAreaInputs &b)
{
    return a.latDeg == b.latDeg && a.latMin == b.latMin && a.longDeg == b.longDeg
           && a.longMin == b.longMin && a.cellX == b.cellX && a.cellY == b.cellY
           && a.areaX == b.areaX && a.areaY == b.areaY && a.altitude == b.altitude
           && a.polygons == b.polygons;
}

LwmReading readArea(const QByteArray &file, const QLocale &locale)
{
    return readLwmSource(file, locale);
}

// The writer of the whole area, for a reading.
QByteArray writeReading(const LwmReading &r, const QLocale &locale)
{
    return lwmAreaText(lwmAreaInputs(r), locale);
}

// An area file as the areas job writes it: each polygon counts its own entries.
void writtenAreaFile(FuzzedDataProvider &data, const QLocale &locale)
{
    LwmAreaInputs in;
    for (QString *field : {&in.latDeg, &in.latMin, &in.longDeg, &in.longMin, &in.cellX, &in.cellY,
                           &in.areaX, &in.areaY, &in.altitude})
        *field = controlText(data);
    const int n = data.ConsumeIntegralInRange(1, 9);
    for (int i = 0; i < n; ++i) {
        const LwmFill fill = data.ConsumeBool() ? LwmFill::Land : LwmFill::Water;
        const QStringList entries = controlEntries(data);
        in.polygons.push_back({fill, QString::number(entries.size()), entries});
    }
    QByteArray file;
    try {
        file = lwmAreaText(in, locale);
    } catch (const RuntimeError &) {
        return;
    }
    const std::optional<LwmReading> back = readOrRefuse(readArea, file, locale);
    FUZZ_CHECK(back);
    FUZZ_CHECK(writeReading(*back, locale) == file);
    const LwmAreaInputs read = lwmAreaInputs(*back);
    FUZZ_CHECK(read.polygons.size() == in.polygons.size());
    for (std::size_t i = 0; i < in.polygons.size(); ++i) {
        FUZZ_CHECK(read.polygons[i].fill == in.polygons[i].fill);
        for (qsizetype k = 0; k < in.polygons[i].entries.size(); ++k)
            FUZZ_CHECK(read.polygons[i].entries[k] == singleByte(in.polygons[i].entries[k]));
    }
    // The list holds the first water polygon.
    const auto water = std::find_if(in.polygons.begin(), in.polygons.end(),
                                    [](const LwmPolygon &p) { return p.fill == LwmFill::Water; });
    FUZZ_CHECK(back->inputs.entries.size()
               == (water == in.polygons.end() ? 0 : water->entries.size()));
}

void writtenFile(FuzzedDataProvider &data, const QLocale &locale)
{
    if (data.ConsumeBool())
        return writtenAreaFile(data, locale);
    LwmInputs in;
    for (QString *field : {&in.latDeg, &in.latMin, &in.longDeg, &in.longMin, &in.cellX, &in.cellY,
                           &in.areaX, &in.areaY, &in.lwmNumber, &in.altitude})
        *field = controlText(data);
    in.entries = controlEntries(data);
    const std::optional<LwmInputs> back =
        writtenReadsBack<LwmInputs, LwmReading>(readLwmSource, lwmSourceText, in, locale);
    if (!back)
        return;
    for (qsizetype i = 0; i < in.entries.size(); ++i)
        FUZZ_CHECK(back->entries[i] == singleByte(in.entries[i]));
    FUZZ_CHECK(back->cellX == singleByte(in.cellX) && back->cellY == singleByte(in.cellY));
    FUZZ_CHECK(back->altitude == singleByte(in.altitude));
}

void anyFile(const QByteArray &file, const QLocale &locale)
{
    const std::optional<LwmReading> first = readOrRefuse(readArea, file, locale);
    if (!first)
        return;
    if (first->polygons.empty()) {
        checkReadBack<LwmInputs, LwmReading>(readLwmSource, lwmSourceText, file, locale, 10,
                                             sameLwm);
        return;
    }
    // An area file writes back whole, and reads to the same polygons again.
    FUZZ_CHECK(first->lfOnly == !file.contains("\r\n"));
    QByteArray again;
    try {
        again = writeReading(*first, locale);
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(isOneOf(e, {RuntimeError::TypeMismatch}));
        return;
    }
    const QList<QByteArray> was = fileLines(file), is = fileLines(again);
    FUZZ_CHECK(was.size() == is.size());
    for (qsizetype i = 0; i < was.size(); ++i)
        FUZZ_CHECK(i == 10 || typedText(QString::fromLatin1(was[i])).toLatin1() == is[i]);
    const std::optional<LwmReading> second = readOrRefuse(readArea, again, locale);
    FUZZ_CHECK(second && sameArea(lwmAreaInputs(*second), lwmAreaInputs(*first)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    fuzzReading(bytes, size, writtenFile, anyFile);
    return 0;
}
