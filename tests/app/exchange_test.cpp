#include "grid/point_geography.h"
#include "ogr_files.h"
#include "widgets/image_panel.h"
#include "window_driver.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QUndoStack>

// Export and import through the File menu of the real window, on a scripted desktop.
class ExchangeTest : public QObject, WindowDriver
{
    Q_OBJECT

    int steps() { return control<QUndoStack>("history")->count(); }
    GridPlace place()
    {
        return {control<QLabel>("lblcellx")->text().toInt(),
                control<QLabel>("lblcelly")->text().toInt(),
                control<QLabel>("lblareax")->text().toInt(),
                control<QLabel>("lblareay")->text().toInt()};
    }
    // A GPX track through these pixels of the calculated area.
    QString trackThrough(const std::vector<ImagePosition> &pixels)
    {
        QString wkt = QStringLiteral("MULTILINESTRING ((");
        for (const ImagePosition &p : pixels) {
            const GeoPoint g = pixelGeoPoint(place(), p);
            wkt +=
                QStringLiteral("%1 %2,").arg(g.longitude, 0, 'g', 15).arg(g.latitude, 0, 'g', 15);
        }
        wkt.chop(1);
        wkt += QStringLiteral("))");
#ifdef Q_OS_WIN
        // Windows allows no double quotes in a file name.
        const QString path = folder.filePath(QStringLiteral("a track; \u00abits\u00bb name.gpx"));
#else
        const QString path = folder.filePath(QStringLiteral("a track; \"its\" name.gpx"));
#endif
        const QByteArray text = wkt.toUtf8();
        if (!writeVectorFile(path, "GPX", {{wkbMultiLineString, {text.constData()}}}))
            qFatal("no GPX written");
        return path;
    }

private slots:
    void init()
    {
        QVERIFY(start());
        calculateExample();
    }
    void cleanup()
    {
        window.reset();
    }

    void anImportPressesAsClicksDoAndIsOneUndoStep()
    {
        press(5, 5);
        const Lists before = lists();
        const int stepsBefore = steps();
        const std::vector<ImagePosition> pixels = {
            {12, 101}, {40, 90}, {60, 70}, {300, 10}, {-900, 10}};
        desktop.fileAnswers.push_back(trackThrough(pixels));
        trigger("mnuimport");
        QVERIFY(desktop.messages.empty());
        QCOMPARE(steps(), stepsBefore + 1);
        QVERIFY2(message().startsWith("2 vertices outside the area, 1 of them outside the "
                                      "cell.  Pressed 5 vertices of"),
                 qPrintable(message()));

        // The same presses, clicked on a second window at the matching cursor positions.
        WindowDriver clicked;
        QVERIFY(clicked.start());
        clicked.calculateExample();
        clicked.press(5, 5);
        auto *panel = clicked.control<ImagePanel>("Picture1");
        const QSizeF inner = panel->innerSize();
        for (const ImagePosition &p : pixels)
            clicked.window->Picture1_MouseDown(
                QPointF(p.x * inner.width() / 256, p.y * inner.height() / 256));
        const Lists imported = lists();
        QCOMPARE(imported, clicked.lists());

        trigger("undo");
        QCOMPARE(lists(), before);
        trigger("redo");
        QCOMPARE(lists(), imported);
    }

    void exportThenImportGivesTheLwmListBack()
    {
        for (auto [x, y] : {std::pair{0, 0}, {255, 3}, {255, 255}, {128, 200}, {7, 254}})
            press(x, y);
        const QStringList lwm = entries("lstLWM");
        const QString path = folder.filePath("shapes");
        desktop.saveAnswers.push_back(path);
        desktop.saveFilterAnswer = "KML (*.kml)";
        trigger("mnuexport");
        QVERIFY2(message().startsWith("Exported the LWM polygon (5 vertices) and the VTP line (5 "
                                      "vertices) to shapes.kml."),
                 qPrintable(message()));

        click("cmdclearlwmlist");
        desktop.fileAnswers.push_back(path + ".kml");
        desktop.choiceAnswers.push_back(0);
        trigger("mnuimport");
        QCOMPARE(desktop.lastChoices.size(), 2);
        QVERIFY(desktop.lastChoices[0].startsWith("LWM polygon: polygon, 5 vertices"));
        QCOMPARE(entries("lstLWM"), lwm);
    }

    void refusalsLeaveTheListsAsTheyWere()
    {
        WindowDriver fresh;
        QVERIFY(fresh.start());
        for (const char *action : {"mnuimport", "mnuexport"})
            fresh.trigger(action);
        QCOMPARE(fresh.desktop.messages.size(), 2u);
        QVERIFY(fresh.desktop.messages[0].text.startsWith("Calculate first"));
        QCOMPARE(fresh.desktop.fileDialogs, 0);

        press(10, 10);
        trigger("mnuexport");
        QVERIFY(desktop.messages.back().text.startsWith("Nothing to export"));
        const Lists before = lists();
        const int stepsBefore = steps();
        const QString empty = folder.filePath("empty.geojson");
        QVERIFY(writeFileBytes(empty, {}));
        desktop.fileAnswers.push_back(empty);
        trigger("mnuimport");
        QVERIFY(desktop.messages.back().text.contains("is empty"));
        desktop.fileAnswers.push_back(folder.path());
        trigger("mnuimport");
        QVERIFY(desktop.messages.back().text.contains("is a folder"));
        // Two lines to pick from, and Cancel in the picker.
        const QString two = folder.filePath("two.geojson");
        QVERIFY(writeVectorFile(
            two, "GeoJSON", {{wkbLineString, {"LINESTRING (0 0,1 1)", "LINESTRING (1 1,2 2)"}}}));
        desktop.fileAnswers.push_back(two);
        const std::size_t messages = desktop.messages.size();
        trigger("mnuimport");
        QCOMPARE(desktop.lastChoices.size(), 2);
        QCOMPARE(desktop.messages.size(), messages);
        QCOMPARE(lists(), before);
        QCOMPARE(steps(), stepsBefore);
    }
};

QTEST_MAIN(ExchangeTest)
#include "exchange_test.moc"
