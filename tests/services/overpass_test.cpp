#include "event_loop.h"
#include "services/overpass_answer.h"
#include "services/overpass_fetcher.h"
#include "tile_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

namespace {

const QByteArray lake =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<osm version=\"0.6\" generator=\"Overpass API\">\n"
    " <node id=\"1\" lat=\"47.0\" lon=\"8.0\"/>\n"
    " <node id=\"2\" lat=\"47.0\" lon=\"8.01\"/>\n"
    " <node id=\"3\" lat=\"47.01\" lon=\"8.01\"/>\n"
    " <way id=\"10\"><nd ref=\"1\"/><nd ref=\"2\"/><nd ref=\"3\"/><nd ref=\"1\"/>"
    "<tag k=\"natural\" v=\"water\"/></way>\n"
    "</osm>\n";

TEST(OverpassAnswer, TakesOnlyWholeData)
{
    struct Case
    {
        int status;
        QByteArray body;
        const char *failure; // empty: used
    };
    const Case cases[] = {
        {200, lake, ""},
        {200, lake.left(lake.size() - 12), "cut short or damaged"},
        // What XML forbids and the extract reader refuses, but a lax parser lets pass: a
        // control character or other than a name's characters in a name, a byte that is no
        // UTF-8 after the end.
        {200, QByteArray("<osm ver\x01sion=\"0.6\"></osm>"), "cut short or damaged"},
        {200, QByteArray("<osm><bounds ma@x=\"8\"/></osm>"), "cut short or damaged"},
        {200, lake + '\xc5', "cut short or damaged"},
        {200, "<html><body>Error</body></html>", "no OpenStreetMap data"},
        {200, "", "no OpenStreetMap data"},
        {200,
         "<osm version=\"0.6\"><remark> runtime error: Query timed out in \"query\" at line 3 "
         "after 181 seconds. </remark></osm>",
         "stopped before the end: runtime error: Query timed out"},
        {400, "<html>Error: line 1: parse error</html>", "refused the query"},
        {429, "", "busy"},
        {504, "", "ran out of time"},
        {500, lake, "HTTP 500"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.status);
        const OverpassAnswer answer = readOverpassAnswer(c.status, c.body);
        EXPECT_EQ(answer.ok, !*c.failure);
        EXPECT_TRUE(answer.failure.contains(QString::fromUtf8(c.failure)))
            << answer.failure.toStdString();
        if (answer.ok) {
            EXPECT_EQ(answer.nodes, 3);
            EXPECT_EQ(answer.ways, 1);
        }
    }
}

TEST(OverpassAnswer, AsksForWhatTheRulesTakeInTheCell)
{
    const OsmRules rules = readOsmRules(u"natural=water water\nhighway=motorway|a.b road\n"
                                        u"highway=footway skip\n")
                               .rules;
    const QString query = QString::fromUtf8(overpassQuery(rules, cellBounds(401, 122)));
    EXPECT_TRUE(query.startsWith("[out:xml][timeout:180][bbox:46.7578125,7.9687500,47.1093750,"
                                 "8.4375000];"))
        << query.toStdString();
    EXPECT_TRUE(query.contains("way[\"natural\"~\"^(water)$\"];"));
    EXPECT_TRUE(query.contains("relation[\"natural\"~\"^(water)$\"];"));
    EXPECT_TRUE(query.contains("way[\"highway\"~\"^(motorway|a\\\\.b)$\"];"))
        << query.toStdString();
    EXPECT_FALSE(query.contains("footway"));
    EXPECT_FALSE(query.contains("relation[\"highway\""));
    EXPECT_TRUE(query.endsWith("(._;>;);\nout body;\n"));
}

class OverpassFetcherTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ensureCoreApplication(); }

    OverpassSettings settings(int timeoutMs = 10000, qint64 freshSeconds = 7 * 86400) const
    {
        return {folder.filePath(QStringLiteral("overpass")), timeoutMs, freshSeconds};
    }

    static std::optional<OverpassResult> fetched(OverpassFetcher &fetcher, const QString &server)
    {
        return nextOf(fetcher, &OverpassFetcher::finished, 15000, [&] {
            return fetcher.fetch(QUrl(server + "/api/interpreter"), 401, 122, shippedOsmRules());
        });
    }

    static QByteArray bytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir folder;
};

TEST_F(OverpassFetcherTest, AsksOnceACellAndKeepsTheAnswer)
{
    TileServer server([](const QString &) { return ServedAnswer{200, lake}; });
    OverpassFetcher fetcher(settings());
    const std::optional<OverpassResult> first = fetched(fetcher, server.address());
    ASSERT_TRUE(first);
    EXPECT_EQ(bytes(first->extractPath), lake);
    EXPECT_FALSE(first->fromCache);
    EXPECT_EQ(server.requests, QStringList{"/api/interpreter"});
    EXPECT_TRUE(server.userAgent.startsWith("Marlith/"));
    // Asked again within the week, the kept answer serves and the server hears nothing.
    const std::optional<OverpassResult> again = fetched(fetcher, server.address());
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->fromCache);
    EXPECT_EQ(again->extractPath, first->extractPath);
    EXPECT_EQ(server.requests.size(), 1);
}

TEST_F(OverpassFetcherTest, UsesTheKeptAnswerWhenTheServerFails)
{
    int status = 200;
    TileServer server([&status](const QString &) { return ServedAnswer{status, lake}; });
    // Nothing counts as fresh: every fetch asks the server.
    OverpassFetcher fetcher(settings(10000, 0));
    const QString address = server.address(); // a stopped server no longer has a port
    ASSERT_TRUE(fetched(fetcher, address));
    status = 504;
    const std::optional<OverpassResult> busy = fetched(fetcher, address);
    ASSERT_TRUE(busy);
    EXPECT_TRUE(busy->fromCache);
    EXPECT_TRUE(busy->status.startsWith("The server ran out of time"))
        << busy->status.toStdString();
    EXPECT_TRUE(busy->status.contains("kept from"));
    server.stop();
    const std::optional<OverpassResult> offline = fetched(fetcher, address);
    ASSERT_TRUE(offline);
    EXPECT_TRUE(offline->fromCache) << offline->status.toStdString();
    EXPECT_EQ(bytes(offline->extractPath), lake);
}

TEST_F(OverpassFetcherTest, SaysWhyThereIsNoData)
{
    struct Case
    {
        ServedAnswer answer;
        int timeoutMs;
        const char *status;
    };
    const Case cases[] = {
        {{504, {}}, 10000, "ran out of time"},
        {{200, "<osm><remark>runtime error: out of memory</remark></osm>"},
         10000,
         "stopped before the end"},
        {{200, lake, 3000}, 300, "did not answer in time"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.status);
        QTemporaryDir cache;
        TileServer server([&c](const QString &) { return c.answer; });
        OverpassFetcher fetcher({cache.path(), c.timeoutMs, 0});
        const std::optional<OverpassResult> result = fetched(fetcher, server.address());
        ASSERT_TRUE(result);
        EXPECT_TRUE(result->extractPath.isEmpty());
        EXPECT_TRUE(result->status.contains(QString::fromUtf8(c.status)))
            << result->status.toStdString();
        EXPECT_TRUE(QDir(cache.path()).isEmpty());
    }
}

TEST_F(OverpassFetcherTest, OneRequestAtATimeAndOnlyToAnAddressNamed)
{
    TileServer server([](const QString &) { return ServedAnswer{200, lake, 500}; });
    OverpassFetcher fetcher(settings());
    EXPECT_TRUE(
        fetcher.fetch(QUrl(server.address() + "/api/interpreter"), 401, 122, shippedOsmRules()));
    EXPECT_FALSE(
        fetcher.fetch(QUrl(server.address() + "/api/interpreter"), 401, 123, shippedOsmRules()));
    fetcher.cancel();
    for (const char *bad : {"", "overpass.example.org", "ftp://example.org/", "file:///etc"})
        EXPECT_FALSE(OverpassFetcher::checkServer(QUrl(bad)).isEmpty()) << bad;
    EXPECT_TRUE(
        OverpassFetcher::checkServer(QUrl("https://example.org/api/interpreter")).isEmpty());
}

} // namespace
