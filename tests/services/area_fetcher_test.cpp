#include "event_loop.h"
#include "services/area_fetcher.h"
#include "services/tile_plan.h"
#include "text/version.h"

#include "imagery/gdal_setup.h"
#include "mercator_tiles.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkDiskCache>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const GridPlace london{383, 109, 23, 15};

// The tiles under London's area at zoom 15 and one more all round, which must stay unasked.
MercatorTiles londonTiles()
{
    return MercatorTiles(15, 16370, 10894, 5, 4);
}

class AreaFetcherTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ensureCoreApplication();
        setUpGdal();
    }

    FetchSettings settings(int timeoutMs = 15000) const
    {
        return {folder.filePath(QStringLiteral("cache")), timeoutMs, 2};
    }

    static ImageryService xyz(const TileServer &server)
    {
        return *makeService(QStringLiteral("Loopback"), server.address() + "/{z}/{x}/{y}.png", 19,
                            QStringLiteral("© Test"))
                    .service;
    }

    // Runs the event loop until the fetch reports, or fails the test after `ms`.
    static std::optional<ServiceCut> fetched(AreaFetcher &fetcher, int ms = 10000)
    {
        return nextOf(fetcher, &AreaFetcher::finished, ms, [] { return true; });
    }

    QTemporaryDir folder;
};

int largestDifference(const QImage &a, const QImage &b)
{
    int most = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            for (int shift : {0, 8, 16, 24})
                most = std::max(most, std::abs(int((a.pixel(x, y) >> shift) & 255)
                                               - int((b.pixel(x, y) >> shift) & 255)));
    return most;
}

TEST_F(AreaFetcherTest, TheTilesCutAsTheFileOfTheSameGroundAndComeFromTheCacheAfterwards)
{
    const MercatorTiles tiles = londonTiles();
    const QString file = folder.filePath(QStringLiteral("london.tif"));
    tiles.writeGeoTiff(file);
    const AreaCut fromFile = cutArea(file, london);
    ASSERT_TRUE(fromFile.ok()) << fromFile.failure.toStdString();

    auto server =
        std::make_unique<TileServer>([&](const QString &path) { return tiles.answer(path); });
    const ImageryService service = xyz(*server);
    {
        AreaFetcher fetcher(settings());
        QStringList progress;
        QObject::connect(&fetcher, &AreaFetcher::progress,
                         [&](const QString &t) { progress << t; });
        fetcher.fetch(service, london);
        const auto cut = fetched(fetcher);
        ASSERT_TRUE(cut && cut->ok()) << (cut ? cut->status.toStdString() : "no answer");
        // The same pixels in the same bands through the same warp: no difference at all.
        EXPECT_EQ(largestDifference(cut->cut.image, fromFile.image), 0);
        EXPECT_EQ(cut->zoom, 15);
        EXPECT_EQ(cut->fromCache, 0);
        QStringList expected;
        for (int y : {10895, 10896})
            for (int x : {16371, 16372, 16373})
                expected << QStringLiteral("/15/%1/%2.png").arg(x).arg(y);
        QStringList asked = server->requests;
        asked.sort();
        expected.sort();
        EXPECT_EQ(asked.join(u' ').toStdString(), expected.join(u' ').toStdString());
        EXPECT_LE(server->mostAtOnce, 2);
        EXPECT_EQ(server->userAgent, "Marlith/" + programVersion().toUtf8());
        EXPECT_EQ(progress.first(), QStringLiteral("Fetching 1 of 6 tiles…"));
        EXPECT_TRUE(progress.contains(QStringLiteral("Fetching 6 of 6 tiles…")));
        EXPECT_TRUE(cut->status.contains(QStringLiteral("zoom 15, 6 tiles:")));
        EXPECT_TRUE(cut->status.endsWith(QStringLiteral("© Test")));

        fetcher.fetch(service, london);
        const auto again = fetched(fetcher);
        ASSERT_TRUE(again && again->ok());
        EXPECT_EQ(server->requests.size(), 6) << "the second fetch reached the server";
        EXPECT_EQ(again->fromCache, 6);
        EXPECT_EQ(again->cut.image, cut->cut.image);
    }
    // A fresh start with the service gone, long after the tiles expired: they still serve.
    server.reset();
    QNetworkDiskCache aging;
    aging.setCacheDirectory(settings().cacheFolder);
    for (int y : {10895, 10896}) {
        for (int x : {16371, 16372, 16373}) {
            QNetworkCacheMetaData old = aging.metaData(QUrl(tileAddress(service, 15, x, y)));
            ASSERT_TRUE(old.isValid());
            old.setExpirationDate(QDateTime::currentDateTimeUtc().addDays(-30));
            aging.updateMetaData(old);
        }
    }
    AreaFetcher empty({folder.filePath(QStringLiteral("empty")), 15000, 2});
    empty.fetch(service, london);
    const auto unreachable = fetched(empty);
    ASSERT_TRUE(unreachable);
    EXPECT_TRUE(unreachable->status.startsWith(QStringLiteral("The service could not be reached:")))
        << unreachable->status.toStdString();

    AreaFetcher offline(settings());
    offline.fetch(service, london);
    const auto cached = fetched(offline);
    ASSERT_TRUE(cached && cached->ok()) << (cached ? cached->status.toStdString() : "none");
    EXPECT_EQ(cached->fromCache, 6);
    EXPECT_TRUE(cached->status.contains(QStringLiteral("from cache")));
}

TEST_F(AreaFetcherTest, FailuresSayWhyAndAreNeverKeptAsGood)
{
    struct Case
    {
        const char *name;
        ServedAnswer bad; // the answer for one tile of the six
        const char *statusPart;
        bool shown; // the picture still shows, with the tile grey
        int timeoutMs = 5000;
    };
    const Case cases[] = {
        {"refused", {403, "no"}, "refused the request; it may block this program", false},
        {"missing", {404, {}}, "1 missing (grey)", true},
        {"server error", {500, "oops"}, "HTTP 500", false},
        {"garbage", {200, "<html>not a tile</html>"}, "not a picture", false},
        {"slow", {200, {}, 3000}, "did not answer within 0.3 s", false, 300},
        {"endless", {200, QByteArray(17 << 20, 'x')}, "more than 16 MB", false},
    };
    const MercatorTiles tiles = londonTiles();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        bool healthy = false;
        TileServer server([&](const QString &path) {
            return healthy || !path.endsWith(QStringLiteral("/16372/10896.png"))
                       ? tiles.answer(path)
                       : c.bad;
        });
        // Each case in a cache of its own.
        AreaFetcher fetcher({folder.filePath(QString::fromUtf8(c.name)), c.timeoutMs, 2});
        fetcher.fetch(xyz(server), london);
        const auto cut = fetched(fetcher);
        ASSERT_TRUE(cut);
        EXPECT_EQ(cut->ok(), c.shown);
        EXPECT_TRUE(cut->status.contains(QString::fromUtf8(c.statusPart)))
            << cut->status.toStdString();
        if (c.shown) {
            EXPECT_EQ(cut->missing, 1);
            EXPECT_LT(cut->cut.coveredShare, 1);
        }
        // Once the service mends, the bad tile is asked again, never served from the cache.
        healthy = true;
        const int before = int(server.requests.size());
        fetcher.fetch(xyz(server), london);
        const auto mended = fetched(fetcher);
        ASSERT_TRUE(mended && mended->ok()) << mended->status.toStdString();
        EXPECT_TRUE(server.requests.mid(before).contains(QStringLiteral("/15/16372/10896.png")));
        EXPECT_EQ(mended->missing, 0);
    }
}

TEST_F(AreaFetcherTest, TheSameTileAllOverIsNoImageryButOneColourIsSea)
{
    QImage placeholder(256, 256, QImage::Format_RGB32), sea(256, 256, QImage::Format_RGB32);
    placeholder.fill(Qt::lightGray);
    placeholder.setPixel(100, 100, qRgb(0, 0, 0));
    sea.fill(qRgb(170, 211, 223));
    for (const auto &[picture, ok] : {std::pair{placeholder, false}, {sea, true}}) {
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        picture.save(&png, "PNG");
        TileServer server([&](const QString &) { return ServedAnswer{200, png.data()}; });
        AreaFetcher fetcher({folder.filePath(QString::number(ok)), 15000, 2});
        fetcher.fetch(xyz(server), london);
        const auto cut = fetched(fetcher);
        ASSERT_TRUE(cut);
        EXPECT_EQ(cut->ok(), ok) << cut->status.toStdString();
        if (!ok) {
            EXPECT_EQ(cut->status, QStringLiteral("Loopback has no imagery here at zoom 15: it "
                                                  "sent the same tile across the whole area."));
        }
    }
}

TEST_F(AreaFetcherTest, ADroppedFetchNeverReports)
{
    const MercatorTiles tiles = londonTiles();
    TileServer server([&](const QString &path) {
        ServedAnswer answer = tiles.answer(path);
        answer.delayMs = 100;
        return answer;
    });
    AreaFetcher fetcher(settings());
    int reports = 0;
    QObject::connect(&fetcher, &AreaFetcher::finished, [&] { ++reports; });
    fetcher.fetch(xyz(server), london);
    fetcher.cancel();
    EXPECT_FALSE(fetched(fetcher, 600)) << "a cancelled fetch reported";
    EXPECT_FALSE(fetcher.busy());

    // Another fetch drops the one in progress: only the second reports, once.
    const ImageryService other =
        *makeService(QStringLiteral("Other"), server.address() + "/{z}/{x}/{y}.png?other").service;
    fetcher.fetch(xyz(server), london);
    fetcher.fetch(other, london);
    const auto cut = fetched(fetcher);
    ASSERT_TRUE(cut && cut->ok());
    EXPECT_TRUE(cut->status.startsWith(QStringLiteral("Other,")));
    EXPECT_FALSE(fetched(fetcher, 300));
    EXPECT_EQ(reports, 1);
}

TEST_F(AreaFetcherTest, AGetMapPictureIsTheCutItself)
{
    QImage picture(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            picture.setPixel(x, y, qRgb(x, y, (x * y) & 255));
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    picture.save(&png, "PNG");
    TileServer server([&](const QString &) { return ServedAnswer{200, png.data()}; });
    AreaFetcher fetcher(settings());
    fetcher.fetch(
        *makeService({}, server.address() + "/wms?BBOX={west},{south},{east},{north}").service,
        london);
    const auto cut = fetched(fetcher);
    ASSERT_TRUE(cut && cut->ok()) << (cut ? cut->status.toStdString() : "none");
    EXPECT_LE(largestDifference(cut->cut.image, picture.convertToFormat(cut->cut.image.format())),
              1);
    EXPECT_TRUE(cut->status.startsWith(QStringLiteral("127.0.0.1, one picture:")));
}

} // namespace
