#include "session/counter_hints.h"
#include "text/runtime_error.h"
#include "widgets/eliding_label.h"
#include "window_driver.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QtTest>

// What a new user tripped over: numbers in their own locale, focus they can see, hints for
// the traps the counters keep, and a status line that stays.
class NewcomerTest : public QObject, WindowDriver
{
    Q_OBJECT

    static QImage look(QWidget *w) { return w->grab().toImage(); }

private slots:
    void initTestCase() { QApplication::setStyle(QStringLiteral("Fusion")); }
    void init() { QVERIFY(start()); }

    void cleanup() { window.reset(); }

    // Tab follows the focus order, and tabbing onto any control changes how it looks.
    void everyControlShowsItsFocus()
    {
        press(30, 40);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        // An editable combo box hands its focus to its own line edit.
        const auto focused = [] {
            QWidget *w = QApplication::focusWidget();
            auto *combo = qobject_cast<QComboBox *>(w->parentWidget());
            return combo ? static_cast<QWidget *>(combo) : w;
        };
        control("txtlatdeg")->setFocus(Qt::TabFocusReason);
        QHash<QWidget *, QImage> unfocused;
        for (QWidget *w : window->centralWidget()->findChildren<QWidget *>()) {
            if (w->focusPolicy() & Qt::TabFocus && !w->objectName().isEmpty()
                && !qobject_cast<QComboBox *>(w->parentWidget()))
                unfocused[w] = look(w);
        }
        QCOMPARE(unfocused.size(), 23);
        unfocused[focused()] = QImage(); // it starts with the focus: compared last
        QStringList seen{focused()->objectName()};
        for (int i = 1; i < 23; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << focused()->objectName();
            QVERIFY(unfocused.contains(focused()));
            QVERIFY2(look(focused()) != unfocused.value(focused()),
                     qPrintable(focused()->objectName()));
        }
        QCOMPARE(seen.join(' '),
                 QStringLiteral("txtlatdeg txtlatmin txtlongdeg txtlongmin txtaltitude "
                                "cmdcalculate cbovtptype txtvtplinewidth cmdload cmdcreatelwm "
                                "cmdcreatevtp Picture1 txtlwmnumber txtvtpnumber lstLWM lstVTP "
                                "cmdViewLWM cmdViewVTP cmdlwmclearlistitem cmdvtpclearitem "
                                "cmdclearlwmlist cmdclearvtplist cbolayer"));
        const QImage latitudeFocused = look(control("txtlatdeg"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(look(control("txtlatdeg")) != latitudeFocused);
    }

    // After Remove Selected the keys go on from where the removed entry was, and that row
    // is marked while the list has focus.
    void keysGoOnFromARemovedEntry()
    {
        for (int i = 0; i < 5; ++i)
            press(i, i);
        auto *list = control<PointList>("lstLWM");
        window->activateWindow();
        list->setFocus();
        list->selectRow(2);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(list->selectedIndex(), -1);
        const QImage marked = list->viewport()->grab(list->rowRect(2)).toImage();
        control("txtlatdeg")->setFocus();
        QVERIFY(list->viewport()->grab(list->rowRect(2)).toImage() != marked);

        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->entry(list->selectedIndex()), QStringLiteral("LWMPoint 3, 3"));
        QTest::keyClick(list, Qt::Key_Delete);
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(list->entry(list->selectedIndex()), QStringLiteral("LWMPoint 1, 1"));
    }

    void imageDialogStartsBesideTheLastImageAndOddSizesAreNoted()
    {
        QTemporaryDir pictures;
        const QString odd = pictures.filePath("odd.bmp"), area = pictures.filePath("area.bmp");
        QImage(300, 200, QImage::Format_RGB32).save(odd);
        QImage(256, 256, QImage::Format_RGB32).save(area);
        desktop.fileAnswers = {odd, area};
        click("cmdload");
        QCOMPARE(desktop.lastFolder, QString());
        QVERIFY2(message().startsWith(
                     "The image is 300 × 200 pixels, not 256 × 256: the panel shows it from its "
                     "top-left corner."),
                 qPrintable(message()));
        control<QLabel>("messageStatus")->clear();
        click("cmdload");
        QCOMPARE(desktop.lastFolder, pictures.path());
        QCOMPARE(message(), QString());
    }

    void comboBoxTakesTheWheelOnlyWithFocus()
    {
        auto *layer = control<QComboBox>("cbolayer");
        const auto turn = [layer] {
            QWheelEvent down(QPointF(5, 5), layer->mapToGlobal(QPointF(5, 5)), QPoint(),
                             QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                             false);
            QApplication::sendEvent(layer, &down);
        };
        window->activateWindow();
        control("txtlatdeg")->setFocus();
        turn();
        QCOMPARE(layer->currentText(), QStringLiteral("8"));
        layer->setFocus();
        turn();
        QCOMPARE(layer->currentText(), QStringLiteral("9"));
    }

    // Their two lines once stood taller than the label, and the frame cut the first.
    void counterCaptionsFitTheirFrames()
    {
        const std::pair<const char *, const char *> captions[] = {{"lblnumlwmpoints", "Shape11"},
                                                                  {"lblnumvtppoints", "Shape12"}};
        for (const auto &[name, frame] : captions) {
            auto *caption = control<QLabel>(name);
            QVERIFY2(caption->heightForWidth(caption->width()) <= caption->height(), name);
            QVERIFY2(
                control(frame)->geometry().adjusted(1, 1, -1, -1).contains(caption->geometry()),
                name);
        }
    }

    // The grid and cursor part of the status line stays through menus and passing messages.
    void placeStatusStaysAndFollowsTheCursor()
    {
        auto *place = control<QLabel>("placeStatus");
        QWidget *panel = control("Picture1");
        QCOMPARE(place->text(), QStringLiteral("Type a position\nand press Calculate."));
        // Earlier tests leave a button held and the mouse somewhere: let go, then move twice,
        // since a move to where the mouse already is sends nothing.
        QTest::mouseRelease(panel, Qt::LeftButton, {}, panelPoint(127, 128));
        QTest::mouseMove(panel, panelPoint(127, 128));
        QTest::mouseMove(panel, panelPoint(128, 128));
        QCOMPARE(place->text(),
                 QStringLiteral("Cursor: nowhere yet;\nCalculate places it on the globe."));
        calculateExample();
        const QString area = QStringLiteral("Area image: N 47\u00b0 30.952' to N 47\u00b0 30.293'\n"
                                            "W 122\u00b0 18.867' to W 122\u00b0 17.988'");
        QCOMPARE(place->text(), area);

        QTest::mouseMove(panel, panelPoint(0, 0));
        QCOMPARE(place->text(), QStringLiteral("Cursor: N 47\u00b0 30.952'  (47.5158691)\n"
                                               "W 122\u00b0 18.867'  (-122.3144531)"));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(panel, &leave);
        QCOMPARE(place->text(), area);

        // A menu item under the mouse shows its (empty) status tip; the message stays.
        control<QLabel>("messageStatus")->setText(QStringLiteral("passing"));
        auto *help = control<QMenu>("mnuhelp");
        window->menuBar()->setActiveAction(help->menuAction());
        QVERIFY(QTest::qWaitForWindowExposed(help));
        QTest::mouseMove(help, help->actionGeometry(help->actions().first()).center());
        QCOMPARE(message(), QStringLiteral("passing"));
        help->close();
        QCOMPARE(place->text(), area);
        QVERIFY(place->isVisible());
    }

    // List edits keep the counters; the status line says when they no longer match, and
    // clears the hint when they agree again.
    void countersThatMissTheirListsAreNamed()
    {
        for (int i = 0; i < 3; ++i)
            press(i, i);
        control<PointList>("lstLWM")->selectRow(0);
        click("cmdlwmclearlistitem");
        QCOMPARE(message(), lwmCounterHint("3", 2));
        press(9, 9);
        QCOMPARE(message(), QString());
        set("txtlwmnumber", "");
        click("cmdcreatelwm");
        QCOMPARE(message(), lwmCounterHint("", 3) + "  Wrote "
                                + QDir::toNativeSeparators(folder.filePath("LWMSource.asm")) + ".");
        QVERIFY(desktop.messages.empty());
    }

    // The folder in full, why in the system's words, and the way out, in a status line that
    // shows all of it; View then says that the file could not be written.
    void fileErrorsGiveTheFullPathAndTheWayOut()
    {
        // A long folder name, and a file where a folder should be made.
        const QString parent = "a folder with a long name that a file is in the way of";
        QVERIFY(QDir(folder.path()).mkdir(parent));
        QVERIFY(writeFileBytes(folder.filePath(parent + "/blocker"), {}));
        const QString unmakeable =
            QDir::toNativeSeparators(folder.filePath(parent + "/blocker/Marlith"));
        window->session().setOutputFolder(unmakeable);
        click("cmdcreatelwm");
        const QString status = message();
        QVERIFY2(status.startsWith(QStringLiteral("Run-time error 75: the folder %1 could not be "
                                                  "made: ")
                                       .arg(unmakeable)),
                 qPrintable(status));
        QVERIFY2(status.endsWith("; File > Output Folder... picks another folder."),
                 qPrintable(status));
        // Too long for the line: elided in the middle, never cut silently.
        QVERIFY(static_cast<ElidingLabel *>(control<QLabel>("messageStatus"))->isElided());
        QCOMPARE(desktop.messages.size(), size_t(1));
        QCOMPARE(desktop.messages[0].text,
                 RuntimeError(RuntimeError::PathFileAccess).text(RuntimeError::Shown::Box));

        desktop.messages.clear();
        click("cmdViewLWM");
        QCOMPARE(desktop.messages.size(), size_t(1));
        QVERIFY2(
            desktop.messages[0].text.startsWith("The last Create failed: the folder " + unmakeable),
            qPrintable(desktop.messages[0].text));
        QVERIFY(desktop.editedFiles.isEmpty());
    }

    // The keys move the crosshair, Shift by eight, and Space or Enter capture at it; after
    // mouse work they capture where the mouse last was.
    void crosshairFollowsTheKeysAndTheMouse()
    {
        QWidget *panel = control("Picture1");
        panel->setFocus();
        QTest::keyClick(panel, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(panel, Qt::Key_Up);
        QCOMPARE(control<QLabel>("lblx")->text(), QStringLiteral("136, "));
        QCOMPARE(control<QLabel>("lbly")->text(), QStringLiteral("127"));
        QTest::keyClick(panel, Qt::Key_Space);
        QTest::mouseMove(panel, panelPoint(40, 90));
        QTest::keyClick(panel, Qt::Key_Space);
        press(60, 70);
        QTest::keyClick(panel, Qt::Key_Right);
        QTest::keyClick(panel, Qt::Key_Return);
        // Dragged beyond the panel, it stops at the image's edge.
        QTest::mouseMove(panel, QPoint(400, -30));
        QTest::keyClick(panel, Qt::Key_Space);
        QCOMPARE(entries("lstLWM"),
                 (QStringList{"LWMPoint 136, 127", "LWMPoint 40, 90", "LWMPoint 60, 70",
                              "LWMPoint 61, 70", "LWMPoint 255, 0"}));
    }
};

QTEST_MAIN(NewcomerTest)
#include "newcomer_test.moc"
