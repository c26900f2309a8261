// Any bytes as the file an import opens, under the names of the usual formats: the listing
// either fails with one sentence or offers candidates, and each candidate reads back with as
// many vertices as the listing promised, or fails with one sentence; never more than an
// import takes. Every name offered is typed text, and nothing is left beside the file.
#include "exchange/shape_reader.h"
#include "exchange/vertex_presses.h"
#include "fuzz_support.h"
#include "text/typed_text.h"

#include <QDir>
#include <QFile>

// Some of GDAL's drivers leak a little while they probe a file that is not theirs; that is
// GDAL's to mend, and would hide our own faults here.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libgdal.so\n";
}

namespace {
bool oneSentence(const QString &text)
{
    return !text.isEmpty() && !text.contains(u'\n') && text.endsWith(u'.');
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    static const QDir dir(fuzzFolder("import_file-files"));
    static const char *const names[] = {"f.geojson", "f.kml", "f.gpx", "f.json", "f.csv", "f.gml"};
    if (size == 0)
        return 0;
    const QString path = dir.filePath(QLatin1String(names[bytes[size - 1] % 6]));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char *>(bytes), qint64(size - 1));
    }
    const ShapeListing listing = listShapes(path);
    FUZZ_CHECK(listing.failure.isEmpty() != listing.candidates.empty());
    if (!listing.failure.isEmpty())
        FUZZ_CHECK(oneSentence(listing.failure));
    FUZZ_CHECK(listing.candidates.size() <= std::size_t(candidateLimit));
    for (std::size_t i = 0; i < listing.candidates.size() && i < 4; ++i) {
        const ShapeCandidate &c = listing.candidates[i];
        FUZZ_CHECK(c.vertices > 0);
        const ShapeVertices shape = readShape(path, c);
        if (!shape.failure.isEmpty()) {
            FUZZ_CHECK(oneSentence(shape.failure) && shape.vertices.empty());
            continue;
        }
        FUZZ_CHECK(qsizetype(shape.vertices.size()) == c.vertices);
        FUZZ_CHECK(c.vertices <= importVertexLimit);
        FUZZ_CHECK(shape.parts >= 1 && shape.holes >= 0);
    }
    for (const ShapeCandidate &c : listing.candidates)
        FUZZ_CHECK(isTypedText(c.name));
    QFile::remove(path);
    FUZZ_CHECK(QDir(dir.path()).isEmpty());
    return 0;
}
