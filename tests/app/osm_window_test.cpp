#include "grid/geo_bounds.h"
#include "osm_files.h"
#include "services/picture_feed.h"
#include "tile_server.h"
#include "widgets/image_panel.h"
#include "widgets/osm_dialog.h"
#include "window_driver.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>

// File > Write Areas from OpenStreetMap... runs the osm job on the window's job runner, with
// the calculated cell as the part to take, and checks its fields before it starts.
class OsmWindowTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void theDialogWritesTheCalculatedCell()
    {
        const QString extract = dir.filePath(QStringLiteral("pond.osm"));
        QVERIFY(writePondAndRoad(extract));
        WindowDriver w;
        QVERIFY(w.start());
        w.set("txtlatdeg", "47");
        w.set("txtlatmin", "21.3");
        w.set("txtlongdeg", "8");
        w.set("txtlongmin", "2.1");
        w.click("cmdcalculate");
        w.control<QAction>("mnuwriteosm")->trigger();
        auto *dialog = w.control<OsmDialog>("frmosm");
        auto *place = dialog->findChild<QLineEdit *>("txtosmplace");
        QCOMPARE(place->text(), QString("401 121"));
        w.desktop.fileAnswers.push_back(extract);
        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdextract"), Qt::LeftButton);
        const QString out = dir.filePath(QStringLiteral("areas"));
        dialog->findChild<QLineEdit *>("txtoutputfolder")->setText(out);

        // Checked before anything starts.
        place->setText("401");
        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdwrite"), Qt::LeftButton);
        QCOMPARE(w.desktop.messages.size(), std::size_t(1));
        QVERIFY(w.desktop.messages.back().text.contains("column, 0 to 767"));
        QVERIFY(!dialog->running());

        place->setText("401 121");
        QSignalSpy written(dialog, &OsmDialog::written);
        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdwrite"), Qt::LeftButton);
        QVERIFY(written.wait(30000));
        const QString summary = dialog->findChild<QPlainTextEdit *>("osmsummary")->toPlainText();
        QVERIFY2(summary.startsWith("Wrote 2 files"), qPrintable(summary));
        QVERIFY2(summary.contains("Roads: 1 (highway=primary 1)."), qPrintable(summary));
        QCOMPARE(QDir(out).entryList({"*.asm"}),
                 (QStringList{"LWM_401_121_4_9.asm", "VTP_401_121.asm"}));
        QCOMPARE(dialog->writtenAreas(), QStringList{"LWM_401_121_4_9.asm"});
    }

    // A run without water writes only lines: the preview, which steps through areas, loses
    // those of the run before, and the dialog and the status line say it has nothing to show.
    void aRunOfLinesOnlySaysThePreviewHasNothingToShow()
    {
        const QString extract = dir.filePath(QStringLiteral("pond-and-road.osm"));
        QVERIFY(writePondAndRoad(extract, 8.03, 8.05)); // the road within the cell
        WindowDriver w;
        QVERIFY(w.start());
        for (const bool water : {true, false}) {
            w.trigger("mnuwriteosm");
            auto *dialog = w.control<OsmDialog>("frmosm");
            dialog->findChild<QLineEdit *>("txtextract")->setText(extract);
            const QString out = dir.filePath(water ? "pond" : "road");
            dialog->findChild<QLineEdit *>("txtoutputfolder")->setText(out);
            dialog->findChild<QCheckBox *>("chkwater")->setChecked(water);
            QSignalSpy done(dialog, &OsmDialog::done);
            QTest::mouseClick(dialog->findChild<QPushButton *>("cmdwrite"), Qt::LeftButton);
            QVERIFY(done.wait(30000));
            const QString summary =
                dialog->findChild<QPlainTextEdit *>("osmsummary")->toPlainText();
            const QString nothing = "View > Next Written Area has nothing to show";
            QCOMPARE(w.control<QAction>("mnunextarea")->isEnabled(), water);
            QVERIFY2(summary.contains(nothing) != water, qPrintable(summary));
            QVERIFY2(w.message().startsWith(nothing) != water, qPrintable(w.message()));
            if (!water) {
                QCOMPARE(QDir(out).entryList({"*.asm"}), QStringList{"VTP_401_121.asm"});
                QVERIFY2(w.message().endsWith(" only 1 VTP file, into "
                                              + QDir::toNativeSeparators(out) + "."),
                         qPrintable(w.message()));
            }
            dialog->close();
            QTRY_VERIFY(!w.window->findChild<OsmDialog *>("frmosm"));
        }
    }

    // The dialog starts from the folder Create writes into, waits for both paths and says
    // which is missing, and brings back the extract and the folder of its last run.
    void theDialogStartsFromTheOutputFolderAndRemembersBothPaths()
    {
        const QString extract = dir.filePath(QStringLiteral("shore.osm"));
        QVERIFY(writeOsmFile(extract, {{1, 47.3540, 8.0320}, {2, 47.3600, 8.0400}},
                             {{10, {1, 2}, {{"highway", "primary"}}}}));
        const QString native = QDir::toNativeSeparators(extract);
        const QString out = QDir::toNativeSeparators(dir.filePath(QStringLiteral("shore")));
        QTemporaryDir picked;
        WindowDriver w;
        QVERIFY(w.start());
        w.desktop.folderAnswers.push_back(QDir::toNativeSeparators(picked.path()));
        w.trigger("mnuoutputfolder");
        w.trigger("mnuwriteosm");
        auto *dialog = w.control<OsmDialog>("frmosm");
        auto *folder = dialog->findChild<QLineEdit *>("txtoutputfolder");
        auto *write = dialog->findChild<QPushButton *>("cmdwrite");
        auto *why = dialog->findChild<QLabel *>("lblwritewhy");
        QCOMPARE(folder->text(), QDir::toNativeSeparators(picked.path()));
        QVERIFY(!write->isEnabled());
        QCOMPARE(why->text(), QStringLiteral("Write needs an extract."));
        folder->clear();
        QCOMPARE(why->text(), QStringLiteral("Write needs an extract and an output folder."));
        w.desktop.folderAnswers.push_back(out);
        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdoutputfolder"), Qt::LeftButton);
        QCOMPARE(folder->text(), out);
        w.desktop.fileAnswers.push_back(extract);
        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdextract"), Qt::LeftButton);
        QCOMPARE(dialog->findChild<QLineEdit *>("txtextract")->text(), native);
        QVERIFY(write->isEnabled());
        QVERIFY(why->isHidden());
        QSignalSpy done(dialog, &OsmDialog::done);
        QTest::mouseClick(write, Qt::LeftButton);
        QVERIFY(done.wait(30000));
        dialog->close();

        QTRY_VERIFY(!w.window->findChild<OsmDialog *>("frmosm"));
        w.trigger("mnuwriteosm");
        dialog = w.control<OsmDialog>("frmosm");
        QCOMPARE(dialog->findChild<QLineEdit *>("txtextract")->text(), native);
        QCOMPARE(dialog->findChild<QLineEdit *>("txtoutputfolder")->text(), out);
        QVERIFY(dialog->findChild<QPushButton *>("cmdwrite")->isEnabled());
        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdextract"), Qt::LeftButton);
        QCOMPARE(w.desktop.lastFolder, dir.path());
    }

    // Two controls with one access key only take turns at the focus: Alt+W once ticked Water
    // instead of pressing Write.
    void everyAccessKeyOfTheAreaDialogsIsItsOwn()
    {
        WindowDriver w;
        QVERIFY(w.start());
        for (const char *menu : {"mnuwriteosm", "mnuwriteareas"}) {
            w.trigger(menu);
            QTRY_VERIFY(QApplication::activeModalWidget());
            QWidget *dialog = QApplication::activeModalWidget();
            QMap<QChar, QString> keys;
            for (QWidget *control : dialog->findChildren<QWidget *>()) {
                const QVariant text = control->property("text");
                const QString caption = text.toString();
                const qsizetype at = caption.indexOf(u'&');
                if (!text.isValid() || at < 0 || at + 1 >= caption.size())
                    continue;
                const QChar key = caption[at + 1].toLower();
                QVERIFY2(!keys.contains(key), qPrintable(keys[key] + " and " + caption));
                keys[key] = caption;
            }
            QVERIFY(keys.size() >= 8);
            dialog->close();
        }
    }

    // After a run, View > Next Written Area (Page Down) shows each written area's polygons and
    // the lines over it instead of the work's; a press on the picture or Escape brings the
    // work back, and the press adds no point.
    void theWrittenAreasArePreviewed()
    {
        const QString extract = writeDistrict(dir.path(), GridPlace{401, 121, 4, 9});
        WindowDriver w;
        QVERIFY(w.start());
        auto *panel = w.control<ImagePanel>("Picture1");
        QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(60, 60));
        QCOMPARE(w.entries("lstLWM").size(), 1);
        QVERIFY(!w.control<QAction>("mnunextarea")->isEnabled());

        w.control<QAction>("mnuwriteosm")->trigger();
        auto *dialog = w.control<OsmDialog>("frmosm");
        dialog->findChild<QLineEdit *>("txtextract")->setText(extract);
        dialog->findChild<QLineEdit *>("txtoutputfolder")->setText(dir.filePath("lake"));
        QSignalSpy written(dialog, &OsmDialog::written);
        QTest::mouseClick(dialog->findChild<QPushButton *>("cmdwrite"), Qt::LeftButton);
        QVERIFY(written.wait(30000));
        dialog->close();

        // The keys are the menu's shortcuts, which reach the active window only.
        w.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QTest::keyClick(w.window.get(), Qt::Key_PageDown);
        Overlay shown = panel->overlay();
        // The lake and the pond, then the island over them; the river, the motorway and the
        // track (a power line is no line the run writes).
        QCOMPARE(shown.filled.size(), std::size_t(3));
        QVERIFY(!shown.filled[0].land && !shown.filled[1].land && shown.filled[2].land);
        QCOMPARE(shown.lines.size(), std::size_t(3));
        QVERIFY(shown.polygon.points.isEmpty());
        QVERIFY2(w.message().startsWith("Written area 1 of 1, LWM_401_121_4_9.asm"),
                 qPrintable(w.message()));
        // What the imagery says of its cut comes after the area's line, not in its place.
        emit w.window->findChild<PictureFeed *>()->message("Cut from the service.");
        QVERIFY2(w.message().startsWith("Written area 1 of 1, LWM_401_121_4_9.asm")
                     && w.message().contains("Cut from the service."),
                 qPrintable(w.message()));

        QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(w.entries("lstLWM").size(), 1);
        shown = panel->overlay();
        QVERIFY(shown.filled.empty() && shown.lines.empty());
        QCOMPARE(shown.polygon.points.size(), 1);

        QTest::keyClick(w.window.get(), Qt::Key_PageUp);
        QCOMPARE(panel->overlay().lines.size(), std::size_t(3));
        QTest::keyClick(w.window.get(), Qt::Key_Escape);
        QVERIFY(panel->overlay().lines.empty());
        QCOMPARE(panel->overlay().polygon.points.size(), 1);
        QVERIFY2(w.message().startsWith("Back to the work;"), qPrintable(w.message()));

        // A focused list keeps its own Page Down.
        auto *list = w.control<QWidget>("lstLWM");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_PageDown);
        QVERIFY(panel->overlay().filled.empty());
        QCOMPARE(panel->overlay().polygon.points.size(), 1);
    }

    // Data > OpenStreetMap for This Cell asks first for a server, reaches none before, and
    // opens the write dialog on the cell's answer.
    void theDataMenuFetchesTheCalculatedCell()
    {
        const QString pond = dir.filePath(QStringLiteral("answer.osm"));
        QVERIFY(writePondAndRoad(pond));
        const QByteArray answer = fileBytes(pond);
        TileServer server([&answer](const QString &) { return ServedAnswer{200, answer}; });
        WindowDriver w;
        QVERIFY(w.start());
        w.control<QAction>("mnuosmcell")->trigger();
        QCOMPARE(w.desktop.messages.size(), std::size_t(1)); // Calculate first
        w.set("txtlatdeg", "47");
        w.set("txtlatmin", "21.3");
        w.set("txtlongdeg", "8");
        w.set("txtlongmin", "2.1");
        w.click("cmdcalculate");
        w.control<QAction>("mnuosmcell")->trigger(); // no address named: nothing is asked
        QVERIFY(server.requests.isEmpty());
        w.desktop.inputAnswers.push_back(server.address() + "/api/interpreter");
        w.control<QAction>("mnuosmcell")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(w.window->findChild<OsmDialog *>("frmosm"), 10000);
        QCOMPARE(server.requests, QStringList{"/api/interpreter"});
        QVERIFY(server.userAgent.startsWith("Marlith/"));
        auto *dialog = w.window->findChild<OsmDialog *>("frmosm");
        const QString extract = dialog->findChild<QLineEdit *>("txtextract")->text();
        QFile kept(extract);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), answer);
        QCOMPARE(dialog->findChild<QLineEdit *>("txtosmplace")->text(), QString("401 121"));
    }
};

QTEST_MAIN(OsmWindowTest)
#include "osm_window_test.moc"
