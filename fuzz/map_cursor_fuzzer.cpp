// The cursor mapping on any floats and area captions: it fails only with error 6 or 11, and
// otherwise writes a pixel 0..255 and a grid point 4080..12239 each way.
#include "canvas/point_capture.h"
#include "fuzz_support.h"

#include <cstring>

namespace {

float rawFloat(FuzzedDataProvider &data)
{
    const std::uint32_t bits = data.ConsumeIntegral<std::uint32_t>();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    CursorInput in;
    in.x = rawFloat(data);
    in.y = rawFloat(data);
    in.innerWidth = rawFloat(data);
    in.innerHeight = rawFloat(data);
    const std::uint8_t marker = data.ConsumeIntegral<std::uint8_t>();
    // Mostly an area of the grid, sometimes any number at all.
    const auto area = [&data] {
        return data.ConsumeBool() ? double(data.ConsumeIntegralInRange(0, 31))
                                  : data.ConsumeFloatingPoint<double>();
    };
    in.areaColumn = area();
    in.areaRow = area();

    CursorReadouts r;
    try {
        r = mapCursorToGrid(in, marker);
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(isOneOf(e, {RuntimeError::Overflow, RuntimeError::DivisionByZero}));
        if (e.number() == RuntimeError::DivisionByZero)
            FUZZ_CHECK(in.innerWidth == 0 || in.innerHeight == 0);
        return 0;
    }
    FUZZ_CHECK(r.lblx.endsWith(QStringLiteral(", ")));
    FUZZ_CHECK(wholeNumberIn(r.lblx.chopped(2), 0, 255));
    FUZZ_CHECK(wholeNumberIn(r.lbly, 0, 255));
    const QString markerTail = QStringLiteral(", %1, ").arg(marker);
    FUZZ_CHECK(r.lblvtp2x.endsWith(markerTail));
    const QString gridX = r.lblvtp2x.chopped(markerTail.size());
    FUZZ_CHECK(wholeNumberIn(gridX, 4080, 12239));
    FUZZ_CHECK(r.lblvtp2y.endsWith(QStringLiteral(", 0")));
    const QString gridY = r.lblvtp2y.chopped(3);
    FUZZ_CHECK(wholeNumberIn(gridY, 4080, 12239));

    // In area 0 the grid point is the pixel plus the origin, until the pixel label stops at
    // the image edge while the grid point goes on.
    if (in.areaColumn == 0) {
        const long long px = wholeNumber(r.lblx.chopped(2)), gx = wholeNumber(gridX);
        FUZZ_CHECK(px < 255 ? gx == 4080 + px : gx >= 4080 + 255);
    }
    if (in.areaRow == 0) {
        const long long py = wholeNumber(r.lbly), gy = wholeNumber(gridY);
        FUZZ_CHECK(py < 255 ? gy == 4080 + py : gy >= 4080 + 255);
    }
    return 0;
}
