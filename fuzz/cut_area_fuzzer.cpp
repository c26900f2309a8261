// Any file, with or without a world file and a .prj beside it, cut to any area of the grid:
// the result is a 256 x 256 picture with its figures, or one sentence why not; the first look
// agrees with the cut; never a crash.
#include "fuzz_support.h"
#include "imagery/area_cut.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <string>

namespace {

void write(const QString &path, const std::string &bytes)
{
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(f.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()));
}

// Prints a text that fails, so that a finding shows what was said.
bool oneSentence(const QString &text)
{
    const bool one = !text.isEmpty() && text.endsWith(u'.') && !text.contains(u'\n');
    if (!one)
        std::fprintf(stderr, "not one sentence: \"%s\"\n", qPrintable(text));
    return one;
}

} // namespace

// Input: the world file and the .prj text when the flags ask for them (backslash-ended, from
// the front), then the file's bytes; from the end its extension, the flags and the area.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    static const QDir folder(fuzzFolder("cut_area-files"));
    static const char *const extensions[] = {"tif", "png", "jpg", "gif", "bmp", "vrt", "jp2"};
    FuzzedDataProvider data(bytes, size);
    const char *ext = extensions[data.ConsumeIntegral<std::uint8_t>() % std::size(extensions)];
    const std::uint8_t beside = data.ConsumeIntegral<std::uint8_t>();
    GridPlace place;
    place.cellColumn = data.ConsumeIntegralInRange(0, 767);
    place.cellRow = data.ConsumeIntegralInRange(0, 511);
    place.areaColumn = data.ConsumeIntegralInRange(0, 31);
    place.areaRow = data.ConsumeIntegralInRange(0, 31);

    for (const QString &old : QDir(folder.path()).entryList(QDir::Files))
        QFile::remove(folder.filePath(old));
    const QString path = folder.filePath(QStringLiteral("input.") + QLatin1String(ext));
    if (beside & 1)
        write(folder.filePath(QStringLiteral("input.wld")), data.ConsumeRandomLengthString(256));
    if (beside & 2)
        write(folder.filePath(QStringLiteral("input.prj")), data.ConsumeRandomLengthString(1024));
    write(path, data.ConsumeRemainingBytesAsString());

    const ImageProbe probe = probeImage(path);
    if (probe.kind == ImageProbe::Refused)
        FUZZ_CHECK(oneSentence(probe.reason));
    else if (!probe.reason.isEmpty())
        FUZZ_CHECK(probe.kind == ImageProbe::Plain && oneSentence(probe.reason));

    const AreaCut cut = cutArea(path, place);
    if (!cut.ok()) {
        FUZZ_CHECK(oneSentence(cut.failure));
        if (probe.kind == ImageProbe::Refused)
            FUZZ_CHECK(cut.failure == probe.reason);
        return 0;
    }
    FUZZ_CHECK(probe.kind == ImageProbe::Georeferenced);
    FUZZ_CHECK(cut.failure.isEmpty());
    FUZZ_CHECK(cut.image.size() == QSize(256, 256));
    FUZZ_CHECK(cut.coveredShare > 0 && cut.coveredShare <= 1);
    FUZZ_CHECK(std::isfinite(cut.cutMetresPerPixel) && cut.cutMetresPerPixel > 0);
    FUZZ_CHECK(std::isfinite(cut.sourceMetresPerPixel) && cut.sourceMetresPerPixel > 0);
    FUZZ_CHECK(!cut.crsName.isEmpty());
    FUZZ_CHECK(oneSentence(cutSummary(path, cut)));
    return 0;
}
