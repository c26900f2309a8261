#include "mercator_tiles.h"
#include "services/imagery_service.h"
#include "session/session.h"
#include "widgets/image_panel.h"
#include "window_driver.h"

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QMenu>
#include <QStatusBar>
#include <QtTest>

// The Imagery menu on a scripted desktop, against a tile server on 127.0.0.1 serving the six
// zoom-15 tiles under the worked example's area.
class ServicesWindowTest : public QObject, WindowDriver
{
    Q_OBJECT

    QTemporaryDir home;

    QString status() { return message(); }

private slots:
    void initTestCase()
    {
        // The settings and the tile cache of this run only.
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toUtf8());
    }
    void cleanup() { window.reset(); }

    void anAddedServiceShowsTheAreaAfterCalculateAndOnlyAKnownOneIsAsked()
    {
        const MercatorTiles tiles(15, 5250, 11456, 3, 2);
        TileServer server([&](const QString &path) { return tiles.answer(path); });
        QVERIFY(start());
        QVERIFY(window->session().imageSource().service.isEmpty());

        const ImageryService loopback =
            *makeService({}, server.address() + QStringLiteral("/{z}/{x}/{y}.png"), 19,
                         QStringLiteral("© Loopback"))
                 .service;
        desktop.addServiceAnswers.push_back(loopback);
        trigger("mnuaddservice");
        QCOMPARE(window->session().imageSource().service, serviceToJson(loopback));
        QCOMPARE(status(), QStringLiteral("127.0.0.1 is picked: Calculate will fetch the area."));

        calculateExample();
        QTRY_VERIFY(status().endsWith(QStringLiteral("© Loopback")));
        QVERIFY(status().startsWith(QStringLiteral("127.0.0.1, zoom 15, 6 tiles:")));
        QCOMPARE(server.requests.size(), 6);
        QCOMPARE(control<ImagePanel>("Picture1")->picture().size(), QSize(256, 256));

        // The work keeps its service; after a restart it comes from the cache.
        const QString work = home.filePath(QStringLiteral("area.marlith"));
        window->session().save(work);
        QVERIFY(start());
        QCOMPARE(window->session().imageSource().service, serviceToJson(loopback));
        window->openWorkOrSource(work);
        QTRY_VERIFY(status().contains(QStringLiteral("6 tiles, from cache")));
        QCOMPARE(server.requests.size(), 6);

        // Once the user removed it, a work file naming it asks nothing of the network.
        desktop.editServicesAnswers.push_back(presetServices());
        trigger("mnueditservices");
        QVERIFY(window->session().imageSource().service.isEmpty());
        QVERIFY(window->findChild<QAction *>("mnuimagerynone")->isChecked());
        // The menu was built again for each change, and kept one group for its items.
        QCOMPARE(window->findChildren<QActionGroup *>().size(), 1);
        QCOMPARE(control<QMenu>("mnuimagery")->actions().size(), presetServices().size() + 4);
        desktop.saveChoices.push_back(Desktop::SaveChoice::Discard);
        window->openWorkOrSource(work);
        QTRY_VERIFY2(status().contains(QStringLiteral("not in your Imagery menu")),
                     qPrintable(status()));
        QCOMPARE(server.requests.size(), 6);
    }

    // File > New starts the work over, not the preferences: the picked service stays.
    void newKeepsThePickedService()
    {
        const MercatorTiles tiles(15, 5250, 11456, 3, 2);
        TileServer server([&](const QString &path) { return tiles.answer(path); });
        QVERIFY(start());
        const ImageryService loopback =
            *makeService({}, server.address() + QStringLiteral("/{z}/{x}/{y}.png"), 19,
                         QStringLiteral("© Loopback"))
                 .service;
        desktop.addServiceAnswers.push_back(loopback);
        trigger("mnuaddservice");
        calculateExample();
        QTRY_VERIFY(status().endsWith(QStringLiteral("© Loopback")));
        press(10, 10);
        desktop.saveChoices.push_back(Desktop::SaveChoice::Discard);
        trigger("mnunew");
        QCOMPARE(entries("lstLWM"), QStringList());
        QCOMPARE(window->session().imageSource().service, serviceToJson(loopback));
        QVERIFY(!window->session().isModified());
        QCOMPARE(status(), QString());
        calculateExample();
        QTRY_VERIFY(status().endsWith(QStringLiteral("© Loopback")));
        QCOMPARE(control<ImagePanel>("Picture1")->picture().size(), QSize(256, 256));
    }
};

QTEST_MAIN(ServicesWindowTest)
#include "services_window_test.moc"
