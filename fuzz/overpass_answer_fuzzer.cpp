// Any answer of an Overpass server under any status: used only for 200 and only when the
// extract reader then reads it to its end, else refused in one sentence.
#include "fuzz_support.h"
#include "osm/osm_extract.h"
#include "services/overpass_answer.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    static const int statuses[] = {200, 200, 200, 400, 429, 500, 504};
    const int status = statuses[data.ConsumeIntegral<std::uint8_t>() % std::size(statuses)];
    const std::string body = data.ConsumeRemainingBytesAsString();
    const QByteArray answerBytes(body.data(), qsizetype(body.size()));

    const OverpassAnswer answer = readOverpassAnswer(status, answerBytes);
    if (!answer.ok) {
        FUZZ_CHECK(!answer.failure.isEmpty() && answer.failure.endsWith(u'.'));
        FUZZ_CHECK(!answer.failure.contains(u'\n') && answer.failure.size() < 300);
        return 0;
    }
    FUZZ_CHECK(status == 200 && answer.failure.isEmpty());
    FUZZ_CHECK(answer.nodes >= 0 && answer.ways >= 0 && answer.relations >= 0);
    FUZZ_CHECK(answer.nodes + answer.ways + answer.relations <= answerBytes.count('<'));

    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cell.osm"));
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(answerBytes) == answerBytes.size());
    file.close();
    qint64 features = 0;
    OsmFeatureSink sink;
    sink.feature = [&features](const OGRGeometry &, const OsmTags &, bool) { ++features; };
    const OsmReadResult read = readOsmExtract({path, std::nullopt, {"natural=water"}}, sink);
    if (!read.failure.isEmpty())
        std::fprintf(stderr, "accepted, then refused by the reader: %s\n",
                     qPrintable(read.failure));
    FUZZ_CHECK(read.failure.isEmpty());
    FUZZ_CHECK(features <= answer.ways + answer.relations);
    return 0;
}
