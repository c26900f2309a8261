#include "widgets/eliding_label.h"
#include "widgets/message_log.h"

#include <QHelpEvent>
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
};

QTEST_MAIN(StatusWidgetsTest)
#include "status_widgets_test.moc"
