// The point list on its own: selection by mouse and keys, the selected entry through edits,
// following the newest entry, and the width it scrolls over.
#include "shown_entries.h"
#include "widgets/point_list.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QtTest>

namespace {

QStringList numbered(int count, const QString &prefix = QStringLiteral("LWMPoint "))
{
    QStringList entries;
    for (int i = 0; i < count; ++i)
        entries << prefix + QString::number(i);
    return entries;
}

} // namespace

class PointListTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<PointList> list;
    ShownEntries shown;

    QPoint centreOf(int row) const { return list->rowRect(row).center(); }
    int lastTopRow() const { return list->verticalScrollBar()->maximum(); }

private slots:
    void init()
    {
        list = std::make_unique<PointList>();
        shown.show(list.get());
        list->resize(136, 250);
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
    }
    void cleanup() { list.reset(); }

    void clickSelectsOneEntry()
    {
        shown.append({"A", "B", "C", "D"});
        QSignalSpy changed(list.get(), &PointList::selectedEntryChanged);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centreOf(1));
        QCOMPARE(list->selectedIndex(), 1);
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, centreOf(3));
        QCOMPARE(list->selectedIndex(), 3);
        QVERIFY(list->isSelected(3) && !list->isSelected(1));
        // Below the last entry: nothing to select, the selection stays.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, 240));
        QCOMPARE(list->selectedIndex(), 3);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centreOf(3));
        QCOMPARE(changed.count(), 2);
    }

    void keysMoveTheSelection_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        const int last = 49;
        QTest::newRow("down from none") << -1 << int(Qt::Key_Down) << 0;
        QTest::newRow("up from none") << -1 << int(Qt::Key_Up) << last;
        QTest::newRow("up") << 5 << int(Qt::Key_Up) << 4;
        QTest::newRow("down") << 5 << int(Qt::Key_Down) << 6;
        QTest::newRow("up at the top") << 0 << int(Qt::Key_Up) << 0;
        QTest::newRow("down at the end") << last << int(Qt::Key_Down) << last;
        QTest::newRow("home") << 20 << int(Qt::Key_Home) << 0;
        QTest::newRow("end") << 20 << int(Qt::Key_End) << last;
        QTest::newRow("page up at the top") << 3 << int(Qt::Key_PageUp) << 0;
        QTest::newRow("page down near the end") << 45 << int(Qt::Key_PageDown) << last;
    }
    void keysMoveTheSelection()
    {
        QFETCH(int, selected);
        QFETCH(int, key);
        QFETCH(int, expected);
        shown.append(numbered(50));
        list->selectRow(selected);
        list->setFocus();
        QTest::keyClick(list.get(), Qt::Key(key));
        QCOMPARE(list->selectedIndex(), expected);
        // The selected entry is brought into view.
        QVERIFY(list->rowRect(expected).top() >= 0);
        QVERIFY(list->rowRect(expected).bottom() < list->viewport()->height());
    }

    void pageDownMovesByAPage()
    {
        shown.append(numbered(50));
        list->selectRow(0);
        QTest::keyClick(list.get(), Qt::Key_PageDown);
        const int page = list->viewport()->height() / list->rowRect(0).height();
        QVERIFY(page > 1);
        QCOMPARE(list->selectedIndex(), page);
    }

    void doubleClickReportsTheEntry()
    {
        shown.append({"A", "B", "C"});
        QSignalSpy doubleClicked(list.get(), &PointList::doubleClicked);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centreOf(2));
        QCOMPARE(doubleClicked.count(), 1);
        QCOMPARE(doubleClicked.at(0).at(0).toInt(), 2);
        QCOMPARE(list->selectedIndex(), 2);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, 240));
        QCOMPARE(doubleClicked.count(), 1);
    }

    // The selection belongs to an entry, not to a row number.
    void selectionStaysWithItsEntry()
    {
        shown.append({"A", "B", "C", "D"});
        list->selectRow(2);
        QSignalSpy changed(list.get(), &PointList::selectedEntryChanged);
        shown.insertAt(0, "X");
        QCOMPARE(list->entry(list->selectedIndex()), QStringLiteral("C"));
        shown.insertAt(4, "Y");
        QCOMPARE(list->entry(list->selectedIndex()), QStringLiteral("C"));
        shown.removeAt(1);
        QCOMPARE(list->entry(list->selectedIndex()), QStringLiteral("C"));
        shown.removeAt(list->count() - 1);
        QCOMPARE(list->entry(list->selectedIndex()), QStringLiteral("C"));
        QCOMPARE(changed.count(), 0);
        shown.removeAt(list->selectedIndex());
        QCOMPARE(list->selectedIndex(), -1);
        QCOMPARE(list->entries(), QStringList({"X", "B", "Y"}));
        QCOMPARE(changed.count(), 1);
        list->selectRow(0);
        shown.clear();
        QCOMPARE(list->selectedIndex(), -1);
        QCOMPARE(list->count(), 0);
        QCOMPARE(changed.count(), 3);
    }

    // A list showing its newest entry keeps showing it as presses add more; one scrolled
    // back stays where the user put it.
    void newEntriesStayInViewUntilScrolledAway()
    {
        for (int i = 0; i < 40; ++i)
            shown.append({QStringLiteral("VTPWidePoint %1").arg(i)});
        QVERIFY(lastTopRow() > 0);
        QCOMPARE(list->topRow(), lastTopRow());
        QCOMPARE(list->rowAt(list->rowRect(39).center()), 39);
        // A scroll bar that appears for a long entry takes rows away; the end stays in view.
        shown.append({QString(200, QLatin1Char('W'))});
        QCoreApplication::processEvents();
        QVERIFY(list->horizontalScrollBar()->isVisibleTo(list.get()));
        QCOMPARE(list->topRow(), lastTopRow());
        list->verticalScrollBar()->setValue(3);
        shown.append({"later"});
        QCOMPARE(list->topRow(), 3);
        QCOMPARE(list->rowAt(QPoint(5, 1)), 3);
    }

    void scrollsAcrossTheWidestEntry()
    {
        QScrollBar *h = list->horizontalScrollBar();
        shown.append({"A", "B"});
        QCOMPARE(h->maximum(), 0);
        const QString wide(80, QLatin1Char('M'));
        shown.append({wide, wide});
        const int range = h->maximum();
        QVERIFY(range > 0);
        shown.removeAt(2);
        QCOMPARE(h->maximum(), range);
        shown.removeAt(2);
        QCOMPARE(h->maximum(), 0);
        shown.insertAt(0, wide + wide);
        QVERIFY(h->maximum() > range);
        shown.clear();
        QCOMPARE(h->maximum(), 0);
    }

    // Widths are summed from the characters' advances; a row must still reach the end of its
    // text as drawn, kerned or not, with the item views' margin on either side.
    void rowsReachTheEndOfEveryText()
    {
        const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
        for (const QString &text : {QStringLiteral("AVAVAVAV To Wavy Yo LT 11 11 11 11 11 11"),
                                    QStringLiteral("VTPWidePoint 11111, 1, 11111, 1, 77777777"),
                                    QStringLiteral("Zürich ÀÉÎÕÜ ffi fl 東京 AVAV")}) {
            shown.clear();
            shown.append({text});
            const int drawn = list->fontMetrics().horizontalAdvance(text) + 2 * margin;
            QVERIFY2(list->rowRect(0).width() >= drawn, qPrintable(text));
            QVERIFY2(list->rowRect(0).width() <= drawn * 1.05, qPrintable(text)); // not much more
        }
    }
};

QTEST_MAIN(PointListTest)
#include "point_list_test.moc"
