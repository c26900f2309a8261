#include "text/runtime_error.h"
#include "window_driver.h"

#include <QtTest>

// What a new user tripped over: numbers in their own locale, focus they can see, hints for
// the traps the counters keep, and a status line that stays.
class NewcomerTest : public QObject, WindowDriver
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { window.reset(); }

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
