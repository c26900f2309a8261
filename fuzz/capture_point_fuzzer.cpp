// One press with any counter texts: a start group of five entries or a single point, the
// counters one list count on, and warnings exactly above 62 and 31.
#include "canvas/point_capture.h"
#include "fuzz_support.h"
#include "text/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    CursorInput in;
    // Presses land on the panel or, while dragging, a little beside it.
    in.x = data.ConsumeFloatingPointInRange<float>(-600, 600);
    in.y = data.ConsumeFloatingPointInRange<float>(-600, 600);
    in.innerWidth = data.ConsumeFloatingPointInRange<float>(0, 4096);
    in.innerHeight = data.ConsumeFloatingPointInRange<float>(0, 4096);
    // List sizes; a cleared list may leave its counter far from its size.
    const qsizetype lwmCount = data.ConsumeIntegralInRange<qsizetype>(0, 1 << 24);
    const qsizetype vtpCount = data.ConsumeIntegralInRange<qsizetype>(0, 1 << 24);
    in.areaColumn = data.ConsumeFloatingPoint<double>();
    in.areaRow = data.ConsumeFloatingPoint<double>();
    const QString widthText = fuzzText(data, 16);
    const QString vtpCounter = fuzzText(data, 32);

    Capture c;
    try {
        c = capturePoint(in, vtpCounter, widthText, lwmCount, vtpCount);
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(isOneOf(e, {RuntimeError::Overflow, RuntimeError::DivisionByZero}));
        return 0;
    }
    const CursorReadouts &r = c.readouts;
    FUZZ_CHECK(c.lwmEntry == QStringLiteral("LWMPoint ") + r.lblx + r.lbly);
    const QString point = QStringLiteral("VTPWidePoint ") + r.lblvtp2x + r.lblvtp2y;
    FUZZ_CHECK(r.lblvtp2x.endsWith(QStringLiteral(", 0, ")));

    const bool startsLine = !(leadingNumber(vtpCounter) > 1);
    if (startsLine) {
        FUZZ_CHECK(c.vtpEntries.size() == 5);
        // The start point is marked 1 where the readout shows 0.
        QString marked = point;
        marked.replace(QStringLiteral(", 0, "), QStringLiteral(", 1, "));
        FUZZ_CHECK(c.vtpEntries[0] == marked && c.vtpEntries[2] == marked);
        FUZZ_CHECK(c.vtpEntries[1] == QStringLiteral("VTPWidePointWidth 1"));
        FUZZ_CHECK(c.vtpEntries[3] == QStringLiteral("VTPWidePointWidth ") + widthText);
        FUZZ_CHECK(c.vtpEntries[4] == point);
    } else {
        FUZZ_CHECK(c.vtpEntries == QStringList{point});
    }
    // The VTP counter counts the points of the list: its entries less the two widths.
    const qsizetype vtpPoints = vtpCount + c.vtpEntries.size() - 2;
    FUZZ_CHECK(c.lwmCounter == QString::number(lwmCount + 1));
    FUZZ_CHECK(c.vtpCounter == QString::number(vtpPoints));
    FUZZ_CHECK(c.lwmWarning == (lwmCount + 1 > 62));
    FUZZ_CHECK(c.vtpWarning == (vtpPoints > 31));
    return 0;
}
