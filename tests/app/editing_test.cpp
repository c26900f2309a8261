#include "widgets/window_colours.h"
#include "window_driver.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// Capture, list editing, image loading and Create, driven through the real window.
class EditingTest : public QObject, WindowDriver
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { window.reset(); }

    void movesShowTheReadouts()
    {
        QTest::mouseMove(control("Picture1"), QPoint(11, 21));
        QCOMPARE(control<QLabel>("lblx")->text(), QStringLiteral("10, "));
        QCOMPARE(control<QLabel>("lbly")->text(), QStringLiteral("20"));
        QCOMPARE(control<QLabel>("lblvtp2x")->text(), QStringLiteral("4090, 0, "));
        QCOMPARE(control<QLabel>("lblvtp2y")->text(), QStringLiteral("4100, 0"));
    }

    // The counters follow the presses and turn red above their limits.
    void everyButtonCapturesAndCountersFollow()
    {
        press(10, 20, Qt::LeftButton);
        press(30, 40, Qt::RightButton);
        press(50, 60, Qt::MiddleButton);
        QCOMPARE(entries("lstLWM"),
                 (QStringList{"LWMPoint 10, 20", "LWMPoint 30, 40", "LWMPoint 50, 60"}));
        QCOMPARE(entries("lstVTP").size(), 7);
        QCOMPARE(entries("lstVTP").first(), QStringLiteral("VTPWidePoint 4090, 1, 4100, 0"));
        QCOMPARE(control<QLineEdit>("txtlwmnumber")->text(), QStringLiteral("3"));
        QCOMPARE(control<QLineEdit>("txtvtpnumber")->text(), QStringLiteral("5"));
        QCOMPARE(control("txtvtpnumber")->palette().color(QPalette::Text), colours::normalText);

        set("txtvtpnumber", "31");
        for (int i = 3; i < 63; ++i)
            press(i, i);
        QCOMPARE(control<QLineEdit>("txtlwmnumber")->text(), QStringLiteral("63"));
        QCOMPARE(control("txtlwmnumber")->palette().color(QPalette::Text), colours::warning);
        QCOMPARE(control("txtvtpnumber")->palette().color(QPalette::Text), colours::warning);
    }

    void doubleClickCapturesTwice()
    {
        // The toolkit reports a double click as a press followed by a double-click event.
        QTest::mouseClick(control("Picture1"), Qt::LeftButton, {}, QPoint(11, 11));
        QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(11, 11), QPointF(11, 11),
                           Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(control("Picture1"), &second);
        QCOMPARE(entries("lstLWM").size(), 2);
    }

    void pressBeyondSixteenBitsReportsAndKeepsTheLists()
    {
        press(1, 1);
        window->Picture1_MouseDown(QPointF(2, 1e6));
        QCOMPARE(entries("lstLWM").size(), 1);
        QCOMPARE(desktop.messages.size(), size_t(1));
        QCOMPARE(desktop.messages[0].text, QStringLiteral("Run-time error '6':\n\nOverflow"));
    }

    void listButtonsWorkOnTheirOwnList()
    {
        for (int i = 0; i < 3; ++i)
            press(i, i);
        auto *lwm = control<PointList>("lstLWM");
        lwm->selectRow(1);
        QTest::mouseClick(control("cmdlwmclearlistitem"), Qt::LeftButton);
        QCOMPARE(entries("lstLWM"), (QStringList{"LWMPoint 0, 0", "LWMPoint 2, 2"}));
        QCOMPARE(entries("lstVTP").size(), 7);

        lwm->selectRow(1);
        desktop.inputAnswers = {"X"};
        doubleClickRow(lwm, 1);
        QCOMPARE(entries("lstLWM"), (QStringList{"LWMPoint 0, 0", "X", "LWMPoint 2, 2"}));
        QCOMPARE(desktop.prompts, QStringList{"Marlith|Value to insert"});
        doubleClickRow(lwm, 1); // Cancel
        QCOMPARE(entries("lstLWM").size(), 3);

        QTest::mouseClick(control("cmdclearvtplist"), Qt::LeftButton);
        QVERIFY(entries("lstVTP").isEmpty());
        QCOMPARE(entries("lstLWM").size(), 3);
        QCOMPARE(control<QLineEdit>("txtvtpnumber")->text(), QStringLiteral("5"));
        // The counter, not the list, decides: one point and a counter of -1.
        press(9, 9);
        QCOMPARE(entries("lstVTP").size(), 1);
        QCOMPARE(control<QLineEdit>("txtvtpnumber")->text(), QStringLiteral("-1"));
    }

    void deleteAndInsertKeysEditTheFocusedList()
    {
        for (int i = 0; i < 3; ++i)
            press(i, i);
        for (const char *name : {"lstLWM", "lstVTP"}) {
            auto *list = control<PointList>(name);
            const int before = list->count();
            list->selectRow(0);
            QTest::keyClick(list, Qt::Key_Delete);
            QCOMPARE(list->count(), before - 1);
            desktop.inputAnswers = {"typed"};
            list->selectRow(1);
            QTest::keyClick(list, Qt::Key_Insert);
            QCOMPARE(list->entry(1), QStringLiteral("typed"));
            QCOMPARE(list->count(), before);
            // Return inserts as Insert does; a cancelled input box inserts nothing.
            desktop.inputAnswers = {"  returned  "};
            list->selectRow(1);
            QTest::keyClick(list, Qt::Key_Return);
            QCOMPARE(list->entry(1), QStringLiteral("  returned  "));
            QTest::keyClick(list, Qt::Key_Insert);
            QCOMPARE(list->count(), before + 1);
        }
        QCOMPARE(entries("lstLWM"),
                 (QStringList{"LWMPoint 1, 1", "  returned  ", "typed", "LWMPoint 2, 2"}));
    }

    // The picked line type reaches the file; a failing Create is reported and View still
    // opens the file it left.
    void createReportsAFailureAndViewOpensTheOldFile()
    {
        calculateExample();
        press(12, 101);
        auto *types = control<QComboBox>("cbovtptype");
        types->setCurrentIndex(types->findText("\"1139\"  ;asphalt / 2 lanes"));
        click("cmdcreatelwm");
        click("cmdcreatevtp");
        QVERIFY(desktop.messages.empty());
        QVERIFY(file("VTPSource.asm").contains("VTPTextureName \"1139\"  ;asphalt / 2 lanes\r\n"));

        set("txtlatdeg", "north");
        click("cmdcreatelwm");
        // The box keeps its text; the status line adds what failed and where.
        QCOMPARE(desktop.messages.back().text,
                 QStringLiteral("Run-time error '13':\n\nType mismatch"));
        QCOMPARE(message(), "Run-time error 13: the latitude degrees \"north\" are no number in "
                            "this system's format (decimal separator \".\").");
        click("cmdViewLWM");
        QCOMPARE(desktop.editedFiles, QStringList{window->LWMFilePath()});
    }
};

QTEST_MAIN(EditingTest)
#include "editing_test.moc"
