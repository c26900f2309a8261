#include "areas/area_job.h"
#include "areas/line_parts.h"
#include "areas/polygon_parts.h"
#include "grid/grid_constants.h"
#include "lake_area_file.h"
#include "ogr_files.h"
#include "session/session.h"
#include "widgets/areas_dialog.h"
#include "widgets/image_panel.h"
#include "window_driver.h"
#include "writers/line_types.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>

#include <cmath>
#include <numbers>
#include <string_view>

// Every file the areas job writes must be what the window writes when a user types the
// coordinates of its first line, presses Calculate, presses the part's pixels and Create.
class AreasWindowTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    // The shape written as a GeoJSON file and run through the job; the folder of its files.
    QString writeAreasOf(const std::vector<GeoPoint> &shape, bool polygon)
    {
        QString wkt;
        for (const GeoPoint &p : shape)
            wkt +=
                QStringLiteral("%1 %2,").arg(p.longitude, 0, 'g', 17).arg(p.latitude, 0, 'g', 17);
        wkt.chop(1);
        wkt = polygon ? QStringLiteral("POLYGON((%1))").arg(wkt)
                      : QStringLiteral("LINESTRING(%1)").arg(wkt);
        const QByteArray text = wkt.toUtf8();
        AreasRequest request;
        request.shapePath = dir.filePath(QStringLiteral("shape.geojson"));
        request.outputFolder = dir.filePath(polygon ? "lake" : "road");
        QFile::remove(request.shapePath);
        QDir(request.outputFolder).removeRecursively();
        if (!writeVectorFile(request.shapePath, "GeoJSON",
                             {{polygon ? wkbPolygon : wkbLineString, {text.constData()}}})
            || writeAreas(request).result != AreasOutcome::Result::Written)
            return {};
        return request.outputFolder;
    }

    static QByteArray read(const QString &folder, const QString &name)
    {
        return fileBytes(QDir(folder).filePath(name));
    }

    // A press exactly on a pixel: a click's whole panel units reach only 255 of the 256
    // pixels, so the event carries the fraction a finer pointer would.
    static void press(WindowDriver &w, ImagePosition pixel)
    {
        QWidget *panel = w.control("Picture1");
        const QRectF inner = panel->contentsRect();
        const QPointF at = inner.topLeft()
                           + QPointF(pixel.x * inner.width() / 256, pixel.y * inner.height() / 256);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, panel->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(panel, &event);
        }
    }

    static QByteArray byTheWindow(const QByteArray &file, const std::vector<ImagePosition> &pixels,
                                  const char *create, const char *written)
    {
        WindowDriver w;
        if (!w.start())
            qFatal("no window");
        const QString first = QString::fromLatin1(file.left(file.indexOf("\r\n")));
        const QStringList texts = first.mid(QStringLiteral(";----> FS Coordinates:").size())
                                      .split(u' ', Qt::SkipEmptyParts);
        if (texts.size() != 4)
            return {};
        for (int i = 0; i < 4; ++i)
            w.set(std::array{"txtlatdeg", "txtlatmin", "txtlongdeg", "txtlongmin"}[i], texts[i]);
        w.click("cmdcalculate");
        for (const ImagePosition &p : pixels)
            press(w, p);
        w.click(create);
        return w.file(written);
    }

private slots:
    void aLakeOverFourAreasIsWhatTheWindowWrites()
    {
        // Around the corner where areas 2 and 3 of rows 27 and 28 of cell 123, 120 meet.
        const GeoBounds home = areaBounds(GridPlace{123, 120, 2, 27});
        std::vector<GeoPoint> shore;
        for (int i = 0; i <= 16; ++i) {
            const double a = 2 * std::numbers::pi * (i % 16) / 16;
            shore.push_back({home.south + 0.29 * lod::areaHeight * std::sin(a),
                             home.east + 0.37 * lod::areaWidth * std::cos(a)});
        }
        const QString folder = writeAreasOf(shore, true);
        QVERIFY(!folder.isEmpty());

        OGRLinearRing ring;
        for (const GeoPoint &p : shore)
            ring.addPoint(p.longitude, p.latitude);
        OGRPolygon lake;
        lake.addRing(&ring);
        PolygonTally tally;
        std::vector<AreaPart> parts;
        polygonAreaParts(lake, tally, [&](AreaPart &&p) { parts.push_back(std::move(p)); });
        QCOMPARE(parts.size(), std::size_t(4));
        for (const AreaPart &part : parts) {
            const QByteArray file = read(folder, lwmFileName(part.place));
            QVERIFY(!file.isEmpty());
            QCOMPARE(byTheWindow(file, part.pixels, "cmdcreatelwm", "LWMSource.asm"), file);
        }
    }

    // A road over the edge between cells 123 and 124: each half stays on its first area's
    // image, so that it can be clicked; the second half starts on the edge, in area 0.
    void aRoadOverACellEdgeIsWhatTheWindowWrites()
    {
        const GeoBounds east = areaBounds(GridPlace{124, 120, 0, 5});
        const double y = (east.north + east.south) / 2;
        const std::vector<GeoPoint> road{
            {y + 0.2 * lod::areaHeight, east.west - 0.5 * lod::areaWidth},
            {y, east.west + 0.1 * lod::areaWidth},
            {y - 0.3 * lod::areaHeight, east.west + 0.6 * lod::areaWidth}};
        const QString folder = writeAreasOf(road, false);
        QVERIFY(!folder.isEmpty());

        const std::vector<CellLine> halves = cutAtCells(road);
        QCOMPARE(halves.size(), std::size_t(2));
        for (const CellLine &half : halves) {
            const LinePresses presses = linePresses(half.cellColumn, half.cellRow, half.points);
            const QByteArray file = read(folder, vtpFileName(half.cellColumn, half.cellRow, 1));
            QVERIFY(!file.isEmpty());
            QCOMPARE(byTheWindow(file, presses.pixels, "cmdcreatevtp", "VTPSource.asm"), file);
        }
    }

    // An area file opens whole: its first water polygon in the list, the others drawn over
    // the picture (land over water, in its own colour) and named in the status line, which
    // says first that Create writes the list alone. A Save keeps only what it can write.
    void anAreaFileOpensWithEveryPolygonShown()
    {
        const LwmAreaInputs area = lakeArea();
        const QString path = writeLakeAreaFile(dir.path());
        QVERIFY(!path.isEmpty());

        WindowDriver w;
        QVERIFY(w.start());
        w.desktop.fileAnswers.push_back(path);
        w.trigger("mnuopen");
        QCOMPARE(w.entries("lstLWM"), area.polygons[0].entries);
        QCOMPARE(w.window->session().areaPolygons().size(), std::size_t(2));
        QVERIFY2(w.message().startsWith("Create LWMSource.asm writes only the polygon in the "
                                        "list, the first water polygon of the 3 in "
                                        "LWM_123_120_2_27.asm; the other 2 are drawn"),
                 qPrintable(w.message()));
        QVERIFY(w.message().endsWith("Opened LWM_123_120_2_27.asm."));

        // The island shows in the land colour, the pond in the water colour, over the picture.
        const QImage shown = w.control("Picture1")->grab().toImage();
        const auto hue = [&](int px, int py) {
            return shown.pixelColor(WindowDriver::panelPoint(px, py)).hue();
        };
        // Blended with the panel's background, within a few degrees of hue.
        QVERIFY(std::abs(hue(100, 100) - ImagePanel::landColour().hue()) <= 4);
        QVERIFY(std::abs(hue(230, 230) - ImagePanel::waterColour().hue()) <= 4);
        QVERIFY(std::abs(hue(50, 50) - ImagePanel::waterColour().hue()) > 4); // the list's lake

        w.click("cmdcreatelwm");
        QCOMPARE(w.file("LWMSource.asm"),
                 lwmSourceText({area.latDeg, area.latMin, area.longDeg, area.longMin, area.cellX,
                                area.cellY, area.areaX, area.areaY, "4", area.altitude,
                                area.polygons[0].entries},
                               QLocale::c()));

        w.desktop.saveAnswers.push_back(dir.filePath(QStringLiteral("kept.marlith")));
        w.trigger("mnusaveas");
        QVERIFY(w.window->session().areaPolygons().empty());
        QVERIFY2(w.message().startsWith("The work file keeps only the LWM list: the other 2 "
                                        "polygons of the area file are no longer drawn"),
                 qPrintable(w.message()));
    }

    // File > Write Areas for a Shape... runs the same job off the window's thread and shows
    // its summary; the dialog starts from the window's fields.
    void theDialogWritesTheSameFiles()
    {
        const GeoBounds home = areaBounds(GridPlace{123, 120, 2, 27});
        const std::vector<GeoPoint> shore{{home.north - 0.001, home.west + 0.001},
                                          {home.north - 0.001, home.east + 0.002},
                                          {home.south + 0.003, home.east + 0.002},
                                          {home.north - 0.001, home.west + 0.001}};
        const QString folder = writeAreasOf(shore, true);
        QVERIFY(!folder.isEmpty());
        WindowDriver w;
        QVERIFY(w.start());
        w.set("txtaltitude", "12");
        w.control<QAction>("mnuwriteareas")->trigger();
        auto *dialog = w.control<AreasDialog>("frmareas");
        QCOMPARE(dialog->findChild<QLineEdit *>("txtareaaltitude")->text(), QString("12"));
        // Write waits for the shape file, and says so.
        auto *write = dialog->findChild<QPushButton *>("cmdwrite");
        QVERIFY(!write->isEnabled());
        QCOMPARE(dialog->findChild<QLabel *>("lblwritewhy")->text(),
                 QStringLiteral("Write needs a shape file."));
        // The folder starts as the one Create writes into; Browse picks another.
        QCOMPARE(dialog->findChild<QLineEdit *>("txtoutputfolder")->text(),
                 QDir::toNativeSeparators(w.window->session().outputFolder()));
        w.desktop.fileAnswers.push_back(dir.filePath(QStringLiteral("shape.geojson")));
        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdshapefile"), Qt::LeftButton);
        QVERIFY(write->isEnabled());
        w.desktop.folderAnswers.push_back(
            QDir::toNativeSeparators(dir.filePath(QStringLiteral("areas"))));
        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdoutputfolder"), Qt::LeftButton);
        QCOMPARE(w.desktop.lastFolderStart,
                 QDir::fromNativeSeparators(w.window->session().outputFolder()));
        dialog->findChild<QLineEdit *>("txtareaaltitude")->setText("0");
        QSignalSpy done(dialog, &AreasDialog::done);
        // Checked as the command line checks it, before anything starts.
        auto *layer = dialog->findChild<QComboBox *>("cboarealayer");
        layer->setEditText("101");
        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdwrite"), Qt::LeftButton);
        QCOMPARE(w.desktop.messages.size(), std::size_t(1));
        QVERIFY2(w.desktop.messages.back().text.contains("0 to 100"),
                 qPrintable(w.desktop.messages.back().text));
        QVERIFY(!dialog->running());
        layer->setEditText("8");
        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdwrite"), Qt::LeftButton);
        QVERIFY(done.wait(30000));
        const QString summary = dialog->findChild<QPlainTextEdit *>("areassummary")->toPlainText();
        QVERIFY2(summary.startsWith("Wrote 2 files"), qPrintable(summary));
        const QStringList names = QDir(folder).entryList({"*.asm"});
        QCOMPARE(QDir(dir.filePath(QStringLiteral("areas"))).entryList({"*.asm"}), names);
        for (const QString &name : names)
            QCOMPARE(read(dir.filePath(QStringLiteral("areas")), name), read(folder, name));
        QVERIFY(write->isEnabled());

        // The next time both paths are there again, and the shape dialog opens in its folder.
        dialog->close();
        w.control<QAction>("mnuwriteareas")->trigger();
        QTRY_VERIFY(w.window->findChildren<AreasDialog *>().size() == 1);
        dialog = w.window->findChildren<AreasDialog *>().constFirst();
        QCOMPARE(dialog->findChild<QLineEdit *>("txtshapefile")->text(),
                 QDir::toNativeSeparators(dir.filePath(QStringLiteral("shape.geojson"))));
        QCOMPARE(dialog->findChild<QLineEdit *>("txtoutputfolder")->text(),
                 QDir::toNativeSeparators(dir.filePath(QStringLiteral("areas"))));
        QVERIFY(dialog->findChild<QPushButton *>("cmdwrite")->isEnabled());
        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdshapefile"), Qt::LeftButton);
        QCOMPARE(w.desktop.lastFolder, dir.path());

        // Land, picked in the dialog, is the third field of every polygon line it writes.
        const QString land = dir.filePath(QStringLiteral("land"));
        dialog->findChild<QLineEdit *>("txtoutputfolder")->setText(land);
        dialog->findChild<QComboBox *>("cboareafill")->setCurrentIndex(1);
        QSignalSpy landDone(dialog, &AreasDialog::done);
        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdwrite"), Qt::LeftButton);
        QVERIFY(landDone.wait(30000));
        QCOMPARE(QDir(land).entryList({"*.asm"}), names);
        for (const QString &name : names) {
            const QString file = QString::fromLatin1(read(land, name));
            QCOMPARE(file.count(QRegularExpression("^LWMPoly2 +\\d+, 0, 1,",
                                                   QRegularExpression::MultilineOption)),
                     file.count(QStringLiteral("LWMPoly2")));
            QVERIFY(file.contains(QStringLiteral("LWMPoly2")));
        }
    }

    // A line written without a line type is named in the dialog's summary, as the command
    // line names it.
    void theDialogNamesALineWithoutALineType()
    {
        const GeoBounds home = areaBounds(GridPlace{123, 120, 2, 27});
        const QByteArray wkt = QStringLiteral("LINESTRING(%1 %2,%3 %4)")
                                   .arg(home.west + 0.001, 0, 'f', 9)
                                   .arg(home.north - 0.001, 0, 'f', 9)
                                   .arg(home.east - 0.001, 0, 'f', 9)
                                   .arg(home.south + 0.001, 0, 'f', 9)
                                   .toUtf8();
        const QString shape = dir.filePath(QStringLiteral("road.geojson"));
        QVERIFY(writeVectorFile(shape, "GeoJSON", {{wkbLineString, {wkt.constData()}}}));
        WindowDriver w;
        QVERIFY(w.start());
        w.control<QAction>("mnuwriteareas")->trigger();
        auto *dialog = w.control<AreasDialog>("frmareas");
        dialog->findChild<QLineEdit *>("txtshapefile")->setText(shape);
        dialog->findChild<QLineEdit *>("txtoutputfolder")->setText(dir.filePath("untyped"));
        QSignalSpy done(dialog, &AreasDialog::done);
        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdwrite"), Qt::LeftButton);
        QVERIFY(done.wait(30000));
        const QString summary = dialog->findChild<QPlainTextEdit *>("areassummary")->toPlainText();
        QVERIFY2(summary.contains("\n1 VTP file names no line type of the catalogue (\"Select "
                                  "VTP Road/Line/Shoreline\"): pick one (a code such as 1139) "
                                  "and write again.\n"),
                 qPrintable(summary));
        // As it says: the code typed in the line type's field, and the file names its item.
        dialog->findChild<QComboBox *>("cboareatype")->setEditText(" 1139");
        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdwrite"), Qt::LeftButton);
        QVERIFY(w.desktop.messages.empty());
        QVERIFY(done.wait(30000));
        const QString again = dialog->findChild<QPlainTextEdit *>("areassummary")->toPlainText();
        QVERIFY2(again.startsWith("Wrote 1 file") && !again.contains("no line type"),
                 qPrintable(again));
        QVERIFY(read(dir.filePath("untyped"), "VTP_123_120.asm")
                    .contains(lineTypeOfCode("1139").toLatin1()));
    }

    // Cancel keeps the dialog and says how the job ended, and the button then says Close;
    // Escape and the window's close box close the dialog at once. None waits for the job, and
    // the output folder stays as it was.
    void stoppingAJobLeavesTheFolderAsItWas()
    {
        // Hundreds of lakes over as many areas: the job is still at work when it is stopped.
        std::vector<QByteArray> wkts;
        const GeoBounds start = areaBounds(GridPlace{123, 120, 0, 0});
        for (int i = 0; i < 600; ++i) {
            const double w = start.west + (i % 30) * lod::areaWidth + 0.001;
            const double n = start.north - (i / 30) * lod::areaHeight - 0.001;
            wkts.push_back(QStringLiteral("POLYGON((%1 %2,%3 %2,%3 %4,%1 %2))")
                               .arg(w, 0, 'f', 9)
                               .arg(n, 0, 'f', 9)
                               .arg(w + 0.005, 0, 'f', 9)
                               .arg(n - 0.004, 0, 'f', 9)
                               .toUtf8());
        }
        std::vector<const char *> texts;
        for (const QByteArray &wkt : wkts)
            texts.push_back(wkt.constData());
        const QString shape = dir.filePath(QStringLiteral("lakes.geojson"));
        QVERIFY(writeVectorFile(shape, "GeoJSON", {{wkbPolygon, texts}}));
        for (const char *how : {"canceled", "escaped", "closed"}) {
            const QString folder = dir.filePath(how);
            WindowDriver w;
            QVERIFY(w.start());
            w.control<QAction>("mnuwriteareas")->trigger();
            QPointer<AreasDialog> dialog = w.control<AreasDialog>("frmareas");
            auto *cancel = dialog->findChild<QPushButton *>("cmdcancel");
            QCOMPARE(cancel->text(), QStringLiteral("&Close"));
            dialog->findChild<QLineEdit *>("txtshapefile")->setText(shape);
            dialog->findChild<QLineEdit *>("txtoutputfolder")->setText(folder);
            QSignalSpy done(dialog, &AreasDialog::done);
            QTest::mouseClick(dialog->findChild<QPushButton *>("cmdwrite"), Qt::LeftButton);
            QCOMPARE(cancel->text(), QStringLiteral("&Cancel"));
            QElapsedTimer stopping;
            stopping.start();
            if (how == std::string_view("canceled")) {
                QTest::mouseClick(cancel, Qt::LeftButton);
                QVERIFY(done.wait(30000));
                QVERIFY(dialog->findChild<QPlainTextEdit *>("areassummary")
                            ->toPlainText()
                            .startsWith("Canceled; nothing was written"));
                QVERIFY(dialog->isVisible());
                QCOMPARE(cancel->text(), QStringLiteral("&Close"));
            } else {
                if (how == std::string_view("escaped"))
                    QTest::keyClick(dialog, Qt::Key_Escape);
                else
                    dialog->close(); // as the close box does
                QTRY_VERIFY(dialog.isNull());
            }
            QVERIFY2(stopping.elapsed() < 2000, qPrintable(QString::number(stopping.elapsed())));
            // The job removes what it staged once it has stopped, on its own thread.
            QVERIFY(JobRunner::waitForAllJobs(30000));
            QVERIFY(!QDir(folder).exists());
        }
    }
};

QTEST_MAIN(AreasWindowTest)
#include "areas_window_test.moc"
