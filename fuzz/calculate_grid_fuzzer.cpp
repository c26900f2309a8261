// Calculate on any four texts: captions are written in order up to a failure, which can only
// be an overflow; once written, cell and area captions are whole numbers on the grid, and
// inside the grid the area found holds the position typed.
#include "fuzz_support.h"
#include "grid/geo_bounds.h"
#include "grid/lod_grid.h"
#include "text/numbers.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const QLocale &locale = fuzzLocale(data.ConsumeIntegral<std::uint8_t>());
    CoordinateTexts typed;
    typed.latDeg = fuzzText(data);
    typed.latMin = fuzzText(data);
    typed.longDeg = fuzzText(data);
    typed.longMin = fuzzText(data);

    const GridCaptions c = calculateGrid(typed, locale);
    const std::optional<QString> *order[] = {&c.cellX, &c.cellY,      &c.areaX,
                                             &c.areaY, &c.latDecimal, &c.lngDecimal};
    int written = 0;
    while (written < 6 && order[written]->has_value())
        ++written;
    for (int i = written; i < 6; ++i)
        FUZZ_CHECK(!order[i]->has_value());
    FUZZ_CHECK(c.error.has_value() == (written < 6));
    if (c.error)
        FUZZ_CHECK(c.error->number() == RuntimeError::Overflow);

    // The cell captions are clamped together once both are known.
    if (written >= 3) {
        FUZZ_CHECK(wholeNumberIn(*c.cellX, 0, lod::lastCellColumn));
        FUZZ_CHECK(wholeNumberIn(*c.cellY, 0, lod::lastCellRow));
    }
    if (written >= 5) {
        FUZZ_CHECK(wholeNumberIn(*c.areaX, 0, lod::lastArea));
        FUZZ_CHECK(wholeNumberIn(*c.areaY, 0, lod::lastArea));
    }
    if (written < 6)
        return 0;

    const double lat = Lat(typed, locale), lng = Lng(typed, locale);
    // The largest doubles have a 15-digit text beyond the double range; the number text
    // fuzzer covers those.
    constexpr double readable = 1.79769313486231e308;
    if (std::abs(lat) <= readable)
        FUZZ_CHECK(withinFifteenDigits(strictNumber(*c.latDecimal, locale), lat));
    if (std::abs(lng) <= readable)
        FUZZ_CHECK(withinFifteenDigits(strictNumber(*c.lngDecimal, locale), lng));

    const int cellX = int(wholeNumber(*c.cellX)), cellY = int(wholeNumber(*c.cellY));
    const int areaX = int(wholeNumber(*c.areaX)), areaY = int(wholeNumber(*c.areaY));
    // Positions off the grid clamp to its edge cells and areas.
    if (lng >= 180)
        FUZZ_CHECK(cellX == lod::lastCellColumn && areaX == lod::lastArea);
    if (lng < -180)
        FUZZ_CHECK(cellX == 0 && areaX == 0);
    if (lat <= -90)
        FUZZ_CHECK(cellY == lod::lastCellRow && areaY == lod::lastArea);
    if (lat > 90)
        FUZZ_CHECK(cellY == 0 && areaY == 0);
    if (lat > -90 && lat <= 90 && lng >= -180 && lng < 180) {
        // Edges shared by two areas are off by rounding in the division; allow for it.
        const double slack = 1e-9;
        const GeoBounds cell = cellBounds(cellX, cellY);
        FUZZ_CHECK(lat <= cell.north + slack && lat >= cell.south - slack);
        FUZZ_CHECK(lng >= cell.west - slack && lng <= cell.east + slack);
        const GeoBounds area = areaBounds(cellX, cellY, areaX, areaY);
        FUZZ_CHECK(lat <= area.north + slack && lat >= area.south - slack);
        FUZZ_CHECK(lng >= area.west - slack && lng <= area.east + slack);
    }
    return 0;
}
