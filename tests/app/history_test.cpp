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
            const QString shown = a->text().section(QLatin1Char('\t'), 0, 0).remove(u'&');
            if (shown == text || shown.startsWith(text + QLatin1Char(' ')))
                return a;
        }
        qFatal("no action %s", qPrintable(text));
    }
private slots:
    void init()
    {
        QVERIFY(start());
        calculateExample();
    }
    void cleanup() { window.reset(); }

    // The keys step the session's history, and the counters' colours follow each step.
    void undoAndRedoKeysStepTheHistory()
    {
        // The 30th press turns the VTP counter red.
        for (int i = 0; i < 29; ++i)
            press(3 * i, 200 - i);
        const State before = state();
        press(90, 170);
        const State after = state();
        QCOMPARE(std::get<5>(after), colours::warning);
        QCOMPARE(std::get<5>(before), colours::normalText);
        for (bool y : {false, true}) {
            undo();
            QCOMPARE(state(), before);
            redo(y);
            QCOMPARE(state(), after);
        }
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

            // Shift+F10 opens the menu as a right click does; its items show their keys.
            window->activateWindow();
            list->setFocus();
            QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
            auto *menu = control<QMenu>((QByteArray(name) + "Menu").constData());
            QTRY_VERIFY(menu->isVisible());
            menu->close();
            QStringList keys;
            for (QAction *a : menu->actions()) {
                if (!a->isSeparator())
                    keys << a->text().section(u'\t', 1) + a->shortcut().toString();
            }
            QCOMPARE(keys, (QStringList{"Del", "Ins", "", "Ctrl+Z", "Ctrl+Y", ""}));

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
                     QStringLiteral("&Undo ")
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
