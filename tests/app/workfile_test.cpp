#include "session/session.h"
#include "widgets/eliding_label.h"
#include "widgets/image_panel.h"
#include "window_driver.h"
#include "workfile/work_file.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>

// Save, Save As and Open of work files and generated sources in the real window, the undo
// of Open, and files dropped on the window.
class WorkFileTest : public QObject, WindowDriver
{
    Q_OBJECT

    // The title names the work file; the status line says what Open found.
    QString status() { return window->windowTitle() + '|' + message(); }
    void undo() { QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier); }
    void redo() { QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier); }
    // The worked example pressed in, an entry selected, a picture loaded and typed settings.
    void fillWindow()
    {
        calculateExample();
        QImage picture(256, 256, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QVERIFY(picture.save(folder.filePath("area.png")));
        desktop.fileAnswers = {folder.filePath("area.png")};
        click("cmdload");
        for (auto [x, y] : {std::pair{12, 101}, {40, 90}, {60, 70}})
            press(x, y);
        control<QComboBox>("cbovtptype")->setCurrentIndex(40);
        control<QComboBox>("cbolayer")->setEditText("12");
        set("txtaltitude", "Höhe 12");
        control<PointList>("lstLWM")->selectRow(1);
    }
    void drop(QWidget *on, const QString &path)
    {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(on, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(on, &dropped);
    }

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { window.reset(); }

    // Save As, exit, start again, Open: the same window, and Create writes the same bytes.
    void saveExitOpenCreatesTheSameFiles()
    {
        fillWindow();
        createBoth();
        const QByteArray lwm = file("LWMSource.asm"), vtp = file("VTPSource.asm");
        const WorkState saved = window->session().work();
        desktop.saveAnswers = {folder.filePath("seattle")};
        window->mnusaveas_Click();
        QCOMPARE(desktop.lastSaveFilter, QStringLiteral("Marlith work (*.marlith)"));
        QCOMPARE(readWorkFile(file("seattle.marlith")), saved);
        QVERIFY(status().startsWith(QStringLiteral(" Marlith3 - seattle.marlith[*]|")));
        QVERIFY(!window->isWindowModified());

        QVERIFY(start());
        const WorkState empty = window->session().work();
        desktop.fileAnswers = {folder.filePath("seattle.marlith")};
        QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
        QVERIFY(desktop.lastFilter.startsWith("Marlith work and sources (*.marlith *.asm);;"));
        QCOMPARE(window->session().work(), saved);
        QCOMPARE(control<ImagePanel>("Picture1")->picture().size(), QSize(256, 256));
        QCOMPARE(control<QComboBox>("cbovtptype")->currentText(), saved.lineType);
        QVERIFY(status().contains("seattle.marlith"));
        // Open is one step of the history, the picture with it.
        undo();
        QCOMPARE(window->session().work(), empty);
        QVERIFY(control<ImagePanel>("Picture1")->picture().isNull());
        redo();
        QCOMPARE(window->session().work(), saved);
        createBoth();
        QCOMPARE(file("LWMSource.asm"), lwm);
        QCOMPARE(file("VTPSource.asm"), vtp);

        // Save goes back to the same file without asking.
        set("txtaltitude", "7");
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(readWorkFile(file("seattle.marlith")).altitude, QStringLiteral("7"));
        QVERIFY(desktop.messages.empty());
    }

    // A file of a newer Marlith is named in a box and changes nothing; an image that is gone
    // leaves the panel empty and is named in the status line.
    void openNamesWhatItCannotUse()
    {
        fillWindow();
        desktop.saveAnswers = {folder.filePath("work.marlith")};
        window->mnusave_Click(); // no work file yet: asks as Save As does
        const QString newer = folder.filePath("newer.marlith");
        QVERIFY(writeFileBytes(newer,
                               file("work.marlith").replace("\"version\": 2", "\"version\": 9")));
        const WorkState before = window->session().work();
        desktop.fileAnswers = {newer};
        window->mnuopen_Click();
        QCOMPARE(desktop.messages.size(), size_t(1));
        QVERIFY(desktop.messages[0].text.contains("written by a newer Marlith"));
        QCOMPARE(window->session().work(), before);

        QVERIFY(QFile::remove(folder.filePath("area.png")));
        QVERIFY(start());
        desktop.fileAnswers = {folder.filePath("work.marlith")};
        window->mnuopen_Click();
        QVERIFY(control<ImagePanel>("Picture1")->picture().isNull());
        QVERIFY(
            message().startsWith(QStringLiteral("The image %1 is gone.")
                                     .arg(QDir::toNativeSeparators(folder.filePath("area.png")))));
        QCOMPARE(entries("lstLWM").size(), 3);
    }

    // A source of another cell asks before the other list's entries go under it.
    void openingAnotherCellsSourceAsks()
    {
        calculate("47", "30.50", "-121", "48.25");
        const QString cell =
            control<QLabel>("lblcellx")->text() + '_' + control<QLabel>("lblcelly")->text();
        for (int i = 0; i < 3; ++i)
            press(30 + i * 40, 50);
        click("cmdcreatelwm");
        const QString other = folder.filePath("LWM_other.asm");
        QVERIFY(QFile::rename(folder.filePath("LWMSource.asm"), other));
        QVERIFY(start());
        calculateExample();
        for (int i = 0; i < 4; ++i)
            press(20 + i * 30, 90);
        const WorkState before = window->session().work();
        const QString question =
            QStringLiteral("LWM_other.asm is of cell %1, but the VTP list holds %2 entries of cell "
                           "123_120: Create VTPSource.asm would write them under cell %1.\n\n"
                           "Keep the VTP entries, clear the VTP list, or cancel the open?|"
                           "C&lear VTP List")
                .arg(cell)
                .arg(before.vtp.entries.size());

        window->openWorkOrSource(other); // the dry queue answers Cancel
        QCOMPARE(desktop.keepQuestions, QStringList{question});
        QCOMPARE(window->session().work(), before);
        QCOMPARE(message(), QStringLiteral("Not opened LWM_other.asm: the VTP list is as it was."));

        desktop.keepChoices = {Desktop::KeepChoice::Clear};
        window->openWorkOrSource(other);
        QCOMPARE(entries("lstLWM").size(), 3);
        QCOMPARE(entries("lstVTP"), QStringList());
        QCOMPARE(message(), QStringLiteral("Opened LWM_other.asm: the VTP list's %1 entries of "
                                           "cell 123_120 were cleared")
                                .arg(before.vtp.entries.size()));
        undo(); // one step, the clearing with it
        QCOMPARE(window->session().work(), before);

        desktop.keepChoices = {Desktop::KeepChoice::Keep};
        window->openWorkOrSource(other);
        QCOMPARE(entries("lstVTP"), before.vtp.entries);
        // A warning: first, so that a narrow status line cuts the file's name, not it.
        QCOMPARE(message(), QStringLiteral("The VTP list keeps %1 entries of cell 123_120, which "
                                           "Create writes under cell %2.  Opened LWM_other.asm.")
                                .arg(before.vtp.entries.size())
                                .arg(cell));
        QCOMPARE(control<ElidingLabel>("messageStatus")->elideMode(), Qt::ElideRight);
        // The same cell again: nothing to ask.
        window->openWorkOrSource(other);
        QCOMPARE(desktop.keepQuestions.size(), 3);
    }

    void droppedFilesOpenAndDroppedPicturesLoad()
    {
        fillWindow();
        desktop.saveAnswers = {folder.filePath("dropped.marlith")};
        window->mnusaveas_Click();
        const WorkState saved = window->session().work();
        QVERIFY(start());
        drop(control("txtlatdeg"), folder.filePath("dropped.marlith"));
        QCOMPARE(window->session().work(), saved);
        QCOMPARE(control<QLineEdit>("txtlatdeg")->text(), QStringLiteral("47"));

        QImage other(256, 256, QImage::Format_RGB32);
        other.fill(Qt::red);
        QVERIFY(other.save(folder.filePath("other.bmp")));
        drop(control("Picture1"), folder.filePath("other.bmp"));
        QCOMPARE(control<ImagePanel>("Picture1")->picture().pixelColor(9, 9), QColor(Qt::red));
        QCOMPARE(window->session().work().image.path, folder.filePath("other.bmp"));
    }
};

QTEST_MAIN(WorkFileTest)
#include "workfile_test.moc"
