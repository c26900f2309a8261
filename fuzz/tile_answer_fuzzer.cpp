// Any answer of a service, any status: a 256 x 256 tile, a missing tile exactly for "not
// there" statuses, or one sentence; a tile cuts into an area picture or says why not.
#include "fuzz_support.h"
#include "imagery/gdal_setup.h"
#include "imagery/mosaic_cut.h"
#include "services/tile_answer.h"

#include <cmath>
#include <numbers>

namespace {

bool oneSentence(const QString &text)
{
    return !text.isEmpty() && text.endsWith(u'.') && !text.contains(u'\n');
}

// Zoom 15 tile 16372, 10895, which holds most of London's area.
Mosaic londonTile(const QImage &image)
{
    const double half = std::numbers::pi * 6378137.0, metres = 2 * half / (256 << 15);
    return {image,
            {-half + 16372 * 256 * metres, metres, 0, half - 10895 * 256 * metres, 0, -metres},
            3857};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    static const bool gdal = (setUpGdal(), true);
    (void)gdal;
    FuzzedDataProvider data(bytes, size);
    static const int statuses[] = {200, 203, 204, 301, 401, 403, 404, 410, 429, 500, 503};
    const int status = statuses[data.ConsumeIntegral<std::uint8_t>() % std::size(statuses)];
    const std::string body = data.ConsumeRemainingBytesAsString();

    const TileAnswer answer =
        readTileAnswer(status, QByteArray(body.data(), qsizetype(body.size())));
    const bool notThere = status == 204 || status == 404 || status == 410;
    FUZZ_CHECK((answer.kind == TileAnswer::Missing) == notThere);
    if (answer.kind == TileAnswer::Failure) {
        FUZZ_CHECK(oneSentence(answer.failure) && answer.image.isNull());
        return 0;
    }
    if (answer.kind == TileAnswer::Missing)
        return 0;
    FUZZ_CHECK(status == 200 || status == 203);
    FUZZ_CHECK(answer.image.size() == QSize(256, 256));
    FUZZ_CHECK(answer.image.format() == QImage::Format_RGBA8888);

    const AreaCut cut = cutAreaFromMosaic(londonTile(answer.image), QStringLiteral("Fuzz"),
                                          GridPlace{383, 109, 23, 15});
    if (!cut.ok()) {
        FUZZ_CHECK(oneSentence(cut.failure));
        return 0;
    }
    FUZZ_CHECK(cut.image.size() == QSize(256, 256));
    FUZZ_CHECK(cut.coveredShare > 0 && cut.coveredShare <= 1);
    FUZZ_CHECK(std::isfinite(cut.sourceMetresPerPixel) && cut.sourceMetresPerPixel > 0);
    return 0;
}
