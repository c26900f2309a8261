// Reading back LWMSource.asm: any bytes are refused with a text or read to inputs that write
// the same lines again; any file the writer makes reads back to inputs that write the very
// same bytes, with the list and the texts that have no other reading as they were.
#include "source_reading_support.h"

namespace {

bool sameLwm(const LwmInputs &a, const LwmInputs &b)
{
    return a.latDeg == b.latDeg && a.latMin == b.latMin && a.longDeg == b.longDeg
           && a.longMin == b.longMin && a.cellX == b.cellX && a.cellY == b.cellY
           && a.areaX == b.areaX && a.areaY == b.areaY && a.lwmNumber == b.lwmNumber
           && a.altitude == b.altitude && a.entries == b.entries;
}

void writtenFile(FuzzedDataProvider &data, const QLocale &locale)
{
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
    checkReadBack<LwmInputs, LwmReading>(readLwmSource, lwmSourceText, file, locale, 10, sameLwm);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    fuzzReading(bytes, size, writtenFile, anyFile);
    return 0;
}
