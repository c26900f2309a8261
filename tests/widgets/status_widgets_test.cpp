#include "widgets/edit_commands.h"
#include "widgets/eliding_label.h"
#include "widgets/message_log.h"
#include "widgets/point_list.h"

#include <QClipboard>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>

class StatusWidgetsTest : public QObject
{
    Q_OBJECT

    static void askForToolTip(QWidget *w)
    {
        QHelpEvent ask(QEvent::ToolTip, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(w, &ask);
    }

private slots:
    void longTextIsElidedInTheMiddleAndWholeInTheTooltip()
    {
        const QString text = QStringLiteral("Begin ") + QString(60, u'x') + QStringLiteral(" End");
        ElidingLabel label(text);
        label.resize(label.fontMetrics().horizontalAdvance(text) / 2, 20);
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        QVERIFY(label.isElided());
        // The line still starts with the message.
        const QImage cut = label.grab().toImage();
        label.setText(QStringLiteral("Begin"));
        const QImage begin = label.grab().toImage();
        QCOMPARE(cut.copy(0, 0, 20, 20), begin.copy(0, 0, 20, 20));

        label.setText(text);
        askForToolTip(&label);
        QTRY_COMPARE(QToolTip::text(), text);

        label.resize(label.fontMetrics().horizontalAdvance(text) + 10, 20);
        QVERIFY(!label.isElided());
        askForToolTip(&label);
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void logKeepsTheLastMessagesWithTheirTimes()
    {
        MessageLog log;
        for (int i = 0; i < MessageLog::kept + 5; ++i)
            log.add(QStringLiteral("message %1").arg(i), QTime(9, 0, i % 60));
        log.add(QStringLiteral("two\nlines"), QTime(10, 5, 7));
        const QStringList lines = log.toPlainText().split(u'\n');
        QCOMPARE(lines.size(), MessageLog::kept);
        QCOMPARE(lines.first(), QStringLiteral("09:00:06  message 6"));
        QCOMPARE(lines.last(), QStringLiteral("10:05:07  two lines"));
    }

    // The menu bar takes the focus while the menu is open by its key: the field or list the
    // user was in stays the target, and only another control of the window drops it.
    void editCommandsWorkOnTheLastFieldOrList()
    {
        QWidget window;
        auto *field = new QLineEdit(QStringLiteral("47"), &window);
        auto *list = new PointList(&window);
        const QStringList entries{QStringLiteral("LWMPoint 1, 2"), QStringLiteral("LWMPoint 3, 4")};
        list->setEntries(entries);
        auto *button = new QPushButton(&window);
        auto *bar = new QMenuBar(&window);
        auto *commands = new EditCommands(&window);
        QMenu menu;
        commands->addTo(&menu);
        QStringList copied;
        connect(commands, &EditCommands::copyAllRequested, this,
                [&copied](const QStringList &entries) { copied = entries; });
        const auto action = [&](const char *name) {
            return window.findChild<QAction *>(QLatin1String(name));
        };
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        field->setFocus();
        bar->setFocus(Qt::MenuBarFocusReason);
        emit menu.aboutToShow();
        QVERIFY(action("mnucut")->isEnabled() && !action("mnucopyall")->isEnabled());
        action("mnucut")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("47"));
        QCOMPARE(field->text(), QString());
        action("mnupaste")->trigger();
        action("mnupaste")->trigger();
        QCOMPARE(field->text(), QStringLiteral("4747"));

        list->setFocus();
        QVERIFY(!action("mnupaste")->isEnabled());
        action("mnucopyall")->trigger();
        QCOMPARE(copied, entries);

        field->setFocus();
        field->setSelection(1, 2);
        action("mnucopy")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("74"));

        button->setFocus();
        for (const char *name : {"mnucut", "mnucopy", "mnupaste", "mnucopyall"})
            QVERIFY2(!action(name)->isEnabled(), name);
    }
};

QTEST_MAIN(StatusWidgetsTest)
#include "status_widgets_test.moc"
