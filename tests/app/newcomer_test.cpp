#include "text/runtime_error.h"
#include "window_driver.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
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

    // Tabbing onto any control of the focus order changes how it looks.
    void everyControlShowsItsFocus()
    {
        const char *const order[] = {
            "txtlatdeg",
            "txtlatmin",
            "txtlongdeg",
            "txtlongmin",
            "txtaltitude",
            "cmdcalculate",
            "cbovtptype",
            "txtvtplinewidth",
            "cmdload",
            "cmdcreatelwm",
            "cmdcreatevtp",
            "Picture1",
            "txtlwmnumber",
            "txtvtpnumber",
            "lstLWM",
            "lstVTP",
            "cmdViewLWM",
            "cmdViewVTP",
            "cmdlwmclearlistitem",
            "cmdvtpclearitem",
            "cmdclearlwmlist",
            "cmdclearvtplist",
            "cbolayer",
        };
        press(30, 40);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        control(order[0])->setFocus(Qt::TabFocusReason);
        const QImage firstFocused = look(control(order[0]));
        for (size_t i = 1; i < std::size(order); ++i) {
            const QImage before = look(control(order[i]));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY2(control(order[i])->hasFocus()
                         || control(order[i])->isAncestorOf(QApplication::focusWidget()),
                     order[i]);
            QVERIFY2(look(control(order[i])) != before, order[i]);
        }
        QVERIFY(look(control(order[0])) != firstFocused);
    }
    void cleanup() { window.reset(); }

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
        QVERIFY2(window->statusBar()->currentMessage().startsWith(
                     "The image is 300 × 200 pixels, not 256 × 256: the panel shows it from its "
                     "top-left corner."),
                 qPrintable(window->statusBar()->currentMessage()));
        window->statusBar()->clearMessage();
        click("cmdload");
        QCOMPARE(desktop.lastFolder, pictures.path());
        QCOMPARE(window->statusBar()->currentMessage(), QString());
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

    void aboutBoxOpensCentredAndEscapeHidesIt()
    {
        window->move(100, 80);
        QAction *about = window->findChild<QAction *>("mnuabout");
        about->trigger();
        auto *box = window->findChild<QWidget *>("frmabout");
        QVERIFY(QTest::qWaitForWindowExposed(box));
        const QPoint off = box->frameGeometry().center() - window->frameGeometry().center();
        QVERIFY2(off.manhattanLength() <= 4,
                 qPrintable(QString("%1,%2").arg(off.x()).arg(off.y())));
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!box->isVisible());
        about->trigger();
        QVERIFY(box->isVisible());
    }

    void listMenuOpensByKeyAndShowsTheKeys()
    {
        press(1, 1);
        auto *list = control<PointList>("lstLWM");
        window->activateWindow();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
        auto *menu = control<QMenu>("lstLWMMenu");
        QTRY_VERIFY(menu->isVisible());
        menu->close();
        QStringList keys;
        for (QAction *a : menu->actions()) {
            if (!a->isSeparator())
                keys << a->text().section(u'\t', 1) + a->shortcut().toString();
        }
        QCOMPARE(keys, (QStringList{"Del", "Ins", "", "Ctrl+Z", "Ctrl+Y", ""}));
    }

    void viewButtonsSayWhatTheyDo()
    {
        QCOMPARE(control("cmdViewLWM")->toolTip(),
                 QStringLiteral("Open LWMSource.asm in the text editor"));
        QCOMPARE(control("cmdViewVTP")->toolTip(),
                 QStringLiteral("Open VTPSource.asm in the text editor"));
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

    // "47.5" once read as 475 in German and the header said 476.
    void degreesInADecimalCommaLocale()
    {
        window->setLocale(QLocale(QLocale::German, QLocale::Germany));
        calculateExample();
        click("cmdcreatelwm");
        const QByteArray good = file("LWMSource.asm");
        QVERIFY(good.contains("BGLHeader          48, 46, -121, -123,"));

        set("txtlatdeg", "47.5");
        click("cmdcreatelwm");
        QCOMPARE(desktop.messages.size(), size_t(1));
        QCOMPARE(desktop.messages[0].text, RuntimeError(RuntimeError::TypeMismatch).reportText());
        QCOMPARE(file("LWMSource.asm"), good);

        set("txtlatdeg", "47,5");
        click("cmdcreatelwm");
        QVERIFY(file("LWMSource.asm").contains("BGLHeader          48.5, 46.5, -121, -123,"));
        QCOMPARE(desktop.messages.size(), size_t(1));
    }

    // Space or Enter after mouse work captures where the mouse last was.
    void crosshairFollowsTheMouse()
    {
        QWidget *panel = control("Picture1");
        panel->setFocus();
        QTest::mouseMove(panel, panelPoint(40, 90));
        QTest::keyClick(panel, Qt::Key_Space);
        press(60, 70);
        QTest::keyClick(panel, Qt::Key_Right);
        QTest::keyClick(panel, Qt::Key_Return);
        // Dragged beyond the panel, it stops at the image's edge.
        QTest::mouseMove(panel, QPoint(400, -30));
        QTest::keyClick(panel, Qt::Key_Space);
        QCOMPARE(entries("lstLWM"), (QStringList{"LWMPoint 40, 90", "LWMPoint 60, 70",
                                                 "LWMPoint 61, 70", "LWMPoint 255, 0"}));
    }
};

QTEST_MAIN(NewcomerTest)
#include "newcomer_test.moc"
