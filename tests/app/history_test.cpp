#include "widgets/window_colours.h"
#include "window_driver.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

#include <tuple>

// Undo and redo of presses and list edits, and the lists' context menus, in the real window.
class HistoryTest : public QObject, WindowDriver
{
    Q_OBJECT

    // Everything an undo must give back: both lists, both counters' texts and colours.
    using State = std::tuple<QStringList, QStringList, QString, QString, QColor, QColor>;
    State state()
    {
        auto *lwm = control<QLineEdit>("txtlwmnumber");
        auto *vtp = control<QLineEdit>("txtvtpnumber");
        return {entries("lstLWM"),
                entries("lstVTP"),
                lwm->text(),
                vtp->text(),
                lwm->palette().color(QPalette::Text),
                vtp->palette().color(QPalette::Text)};
    }
    void undo() { QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier); }
    void redo(bool y = false)
    {
        if (y)
            QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
        else
            QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    }
    QAction *menuAction(const char *list, const QString &text)
    {
        const QString name = QLatin1String(list) + QStringLiteral("Menu");
        for (QAction *a : control<QMenu>(name.toLatin1().constData())->actions()) {
            // The text before a tab; the tab's part shows the key.
            const QString shown = a->text().section(QLatin1Char('\t'), 0, 0);
            if (shown == text || shown.startsWith(text + QLatin1Char(' ')))
                return a;
        }
        qFatal("no action %s", qPrintable(text));
    }
    void createBoth()
    {
        click("cmdcreatelwm");
        click("cmdcreatevtp");
    }

private slots:
    void init()
    {
        QVERIFY(start());
        calculateExample();
    }
    void cleanup() { window.reset(); }

    void undoTakesBackPressesOneByOneAndRedoMakesThemAgain()
    {
        // 30 presses: the first appends a start group, the last turns the VTP counter red.
        std::vector<State> states{state()};
        for (int i = 0; i < 30; ++i) {
            press(3 * i, 200 - i);
            states.push_back(state());
        }
        QCOMPARE(std::get<5>(states.back()), colours::warning);
        QCOMPARE(std::get<5>(states[29]), colours::normalText);

        for (int i = 30; i > 0; --i) {
            undo();
            QCOMPARE(state(), states[i - 1]);
        }
        undo(); // nothing left: no change
        QCOMPARE(state(), states[0]);
        for (int i = 1; i <= 30; ++i) {
            redo(i % 2 == 0);
            QCOMPARE(state(), states[i]);
        }
    }

    void createAfterUndoWritesWhatItWroteBefore()
    {
        for (int i = 0; i < 4; ++i)
            press(10 + i, 20 + i);
        createBoth();
        const QByteArray lwm = file("LWMSource.asm"), vtp = file("VTPSource.asm");
        press(99, 99);
        control<PointList>("lstLWM")->selectRow(1);
        click("cmdlwmclearlistitem");
        click("cmdclearvtplist");
        desktop.inputAnswers = {"typed"};
        control<PointList>("lstVTP")->selectRow(-1);
        QTest::keyClick(control("lstVTP"), Qt::Key_Insert);
        QCOMPARE(entries("lstVTP"), QStringList{"typed"});
        for (int i = 0; i < 4; ++i)
            undo();
        createBoth();
        QCOMPARE(file("LWMSource.asm"), lwm);
        QCOMPARE(file("VTPSource.asm"), vtp);
        QVERIFY(desktop.messages.empty());
    }

    void removeClearAndInsertComeBackOnBothLists()
    {
        for (int i = 0; i < 5; ++i)
            press(i, 2 * i);
        for (const char *name : {"lstLWM", "lstVTP"}) {
            const bool lwm = QByteArray(name) == "lstLWM";
            auto *list = control<PointList>(name);
            const State start = state();

            const int count = list->count();
            list->selectRow(2);
            const QString removed = list->entry(2);
            click(lwm ? "cmdlwmclearlistitem" : "cmdvtpclearitem");
            QCOMPARE(list->count(), count - 1);
            const State afterRemove = state();
            undo();
            QCOMPARE(state(), start);
            QCOMPARE(list->entry(2), removed);
            redo();
            QCOMPARE(state(), afterRemove);
            undo();

            click(lwm ? "cmdclearlwmlist" : "cmdclearvtplist");
            QCOMPARE(list->count(), 0);
            undo();
            QCOMPARE(state(), start);

            desktop.inputAnswers = {"  typed  "};
            list->selectRow(3);
            QTest::keyClick(list, Qt::Key_Return);
            QCOMPARE(list->entry(3), QStringLiteral("  typed  "));
            undo();
            QCOMPARE(state(), start);
            // A cancelled input box inserts nothing and leaves nothing to undo but what was.
            QTest::keyClick(list, Qt::Key_Insert);
            QCOMPARE(state(), start);
        }
    }

    void aNewEditDropsTheRedos()
    {
        press(1, 1);
        press(2, 2);
        undo();
        press(3, 3);
        const State now = state();
        redo();
        QCOMPARE(state(), now);
        QCOMPARE(entries("lstLWM"), (QStringList{"LWMPoint 1, 1", "LWMPoint 3, 3"}));
    }

    void aFocusedFieldKeepsCtrlZForItsOwnTyping()
    {
        press(5, 5);
        auto *field = control<QLineEdit>("txtaltitude");
        field->setFocus();
        const QString before = field->text();
        QTest::keyClicks(field, "12");
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(field->text(), before);
        QCOMPARE(entries("lstLWM"), QStringList{"LWMPoint 5, 5"});
    }

    void contextMenuOffersTheListEdits()
    {
        for (int i = 0; i < 3; ++i)
            press(i, i);
        for (const char *name : {"lstLWM", "lstVTP"}) {
            auto *list = control<PointList>(name);
            const State start = state();
            const QStringList all = entries(name);

            emit list->customContextMenuRequested(QPoint(5, 5));
            auto *menu = control<QMenu>((QByteArray(name) + "Menu").constData());
            QTRY_VERIFY(menu->isVisible());
            menu->close();

            menuAction(name, "Copy all entries")->trigger();
            QCOMPARE(desktop.copiedTexts.back(), all.join(QLatin1Char('\n')) + QLatin1Char('\n'));

            list->selectRow(0);
            menuAction(name, "Remove Selected")->trigger();
            QCOMPARE(entries(name), all.mid(1));
            desktop.inputAnswers = {"X"};
            list->selectRow(-1);
            menuAction(name, "Insert…")->trigger();
            QCOMPARE(entries(name).back(), QStringLiteral("X"));
            QCOMPARE(desktop.prompts.back(), QStringLiteral("Marlith|Value to insert"));
            menuAction(name, "Clear")->trigger();
            QCOMPARE(list->count(), 0);

            QAction *undoAction = menuAction(name, "Undo");
            QCOMPARE(undoAction->text(),
                     QStringLiteral("Undo ")
                         + (QByteArray(name) == "lstLWM" ? "Clear LWM List" : "Clear VTP List"));
            for (int i = 0; i < 3; ++i)
                undoAction->trigger();
            QCOMPARE(state(), start);
            menuAction(name, "Redo")->trigger();
            QCOMPARE(entries(name), all.mid(1));
            undoAction->trigger();
        }
    }
};

QTEST_MAIN(HistoryTest)
#include "history_test.moc"
