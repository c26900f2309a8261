// Reading back VTPSource.asm: any bytes are refused with a text or read to inputs that write
// the same lines again; any file the writer makes reads back to inputs that write the very
// same bytes, and a list whose last entry holds no ", 1" comes back as it was.
#include "source_reading_support.h"

namespace {

bool sameVtp(const VtpInputs &a, const VtpInputs &b)
{
    return a.latDeg == b.latDeg && a.latMin == b.latMin && a.longDeg == b.longDeg
           && a.longMin == b.longMin && a.cellX == b.cellX && a.cellY == b.cellY
           && a.layer == b.layer && a.vtpNumber == b.vtpNumber && a.lineType == b.lineType
           && a.entries == b.entries;
}

void writtenFile(FuzzedDataProvider &data, const QLocale &locale)
{
    VtpInputs in;
    for (QString *field : {&in.latDeg, &in.latMin, &in.longDeg, &in.longMin, &in.cellX, &in.cellY,
                           &in.layer, &in.vtpNumber, &in.lineType})
        *field = controlText(data);
    in.entries = controlEntries(data);
    // Now and then a captured point to close the line, marker 0 or 1.
    if (data.remaining_bytes() > 0 && data.ConsumeBool())
        in.entries << QStringLiteral("VTPWidePoint %1, %2, %3, 0")
                          .arg(data.ConsumeIntegralInRange(4080, 12239))
                          .arg(data.ConsumeIntegralInRange(0, 1))
                          .arg(data.ConsumeIntegralInRange(4080, 12239));
    const std::optional<VtpInputs> back =
        writtenReadsBack<VtpInputs, VtpReading>(readVtpSource, vtpSourceText, in, locale);
    if (!back)
        return;
    FUZZ_CHECK(back->lineType == singleByte(in.lineType));
    FUZZ_CHECK(back->layer == singleByte(in.layer));
    QStringList expected;
    for (const QString &e : in.entries)
        expected << singleByte(e);
    // One empty entry writes the block of an empty list.
    if (expected == QStringList{QString()})
        expected.clear();
    if (expected.isEmpty() || !expected.last().contains(QStringLiteral(", 1")))
        FUZZ_CHECK(back->entries == expected);
}

void anyFile(const QByteArray &file, const QLocale &locale)
{
    checkReadBack<VtpInputs, VtpReading>(readVtpSource, vtpSourceText, file, locale, 11, sameVtp);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    fuzzReading(bytes, size, writtenFile, anyFile);
    return 0;
}
