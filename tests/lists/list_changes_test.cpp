#include "lists/list_changes.h"
#include "lists/list_editing.h"
#include "vector_list.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class FakeCounter : public CounterField
{
public:
    explicit FakeCounter(CounterState s) : m_state(std::move(s)) {}
    CounterState state() const override { return m_state; }
    void setState(const CounterState &s) override { m_state = s; }

private:
    CounterState m_state;
};

// A press as the window makes one: an entry on each list (five on an empty line) and both
// counters rewritten. Undo must not care what the entries say, only where they went.
void press(VectorList &lwm, VectorList &vtp, FakeCounter &lwmCounter, FakeCounter &vtpCounter,
           float x, float y)
{
    const QString at = QStringLiteral("%1, %2").arg(x).arg(y);
    lwm.append(QStringLiteral("LWMPoint ") + at);
    const int added = vtpCounter.state().text.toInt() > 1 ? 1 : 5;
    for (int i = 0; i < added; ++i)
        vtp.append(QStringLiteral("VTPWidePoint ") + at);
    lwmCounter.setState({QString::number(lwm.count()), lwm.count() > 62});
    vtpCounter.setState({QString::number(vtp.count() - 2), vtp.count() - 2 > 31});
}

struct World
{
    VectorList lwm = numbered(3);
    VectorList vtp = numbered(0);
    FakeCounter lwmCounter{{"3", false}};
    FakeCounter vtpCounter{{"0", true}};

    auto snapshot() const
    {
        return std::tuple(lwm.texts(), vtp.texts(), lwmCounter.state(), vtpCounter.state());
    }
};

} // namespace

TEST(PointCaptured, UndoAndRedoRestoreListsAndCountersExactly)
{
    World w;
    // The first press on an empty VTP list appends a start group, later ones single entries.
    for (int presses = 0; presses < 3; ++presses) {
        const auto before = w.snapshot();
        const int vtpBefore = w.vtp.count();
        PointCaptured change(w.lwm, w.vtp, w.lwmCounter, w.vtpCounter);
        press(w.lwm, w.vtp, w.lwmCounter, w.vtpCounter, 40.f + presses, 90.f);
        ASSERT_EQ(change.finish(), ListChange::Outcome::Recorded);
        if (presses == 0) {
            ASSERT_GT(w.vtp.count() - vtpBefore, 1) << "expected a start group";
        }
        const auto after = w.snapshot();

        for (int round = 0; round < 2; ++round) {
            change.undo();
            EXPECT_EQ(w.snapshot(), before) << presses;
            change.redo();
            EXPECT_EQ(w.snapshot(), after) << presses;
        }
    }
}

TEST(PointCaptured, PressesUndoneInTurnGoBackToTheStart)
{
    World w;
    const auto start = w.snapshot();
    std::vector<std::unique_ptr<PointCaptured>> history;
    for (int i = 0; i < 6; ++i) {
        history.push_back(
            std::make_unique<PointCaptured>(w.lwm, w.vtp, w.lwmCounter, w.vtpCounter));
        press(w.lwm, w.vtp, w.lwmCounter, w.vtpCounter, float(10 * i), float(5 * i));
        ASSERT_EQ(history.back()->finish(), ListChange::Outcome::Recorded);
    }
    for (auto it = history.rbegin(); it != history.rend(); ++it)
        (*it)->undo();
    EXPECT_EQ(w.snapshot(), start);
}

TEST(EntriesRemoved, UndoPutsEachEntryBackInItsPlace)
{
    struct Case
    {
        const char *name;
        std::initializer_list<int> selected;
        EntriesRemoved::Which which;
        ListChange::Outcome outcome;
    };
    using W = EntriesRemoved::Which;
    using O = ListChange::Outcome;
    const Case cases[] = {
        {"middle", {2}, W::Selected, O::Recorded},
        {"first", {0}, W::Selected, O::Recorded},
        {"last", {4}, W::Selected, O::Recorded},
        {"spread", {0, 2, 4}, W::Selected, O::Recorded},
        {"nothing selected", {}, W::Selected, O::Unchanged},
        {"clear", {1}, W::All, O::Recorded},
        {"clear, nothing selected", {}, W::All, O::Recorded},
    };
    for (const Case &c : cases) {
        VectorList list({"A", "B", "C", "D", "E"}, c.selected);
        EntriesRemoved change(list, c.which);
        c.which == W::All ? clearList(list) : xListRemoveSelected(list);
        ASSERT_EQ(change.finish(), c.outcome) << c.name;
        if (c.outcome != O::Recorded)
            continue;
        const QStringList after = list.texts();
        change.undo();
        EXPECT_EQ(list.texts(), QStringList({"A", "B", "C", "D", "E"})) << c.name;
        change.redo();
        EXPECT_EQ(list.texts(), after) << c.name;
    }
}

TEST(EntriesRemoved, ClearOfALongListComesBackWhole)
{
    VectorList list = numbered(100000);
    const QStringList before = list.texts();
    EntriesRemoved change(list, EntriesRemoved::Which::All);
    clearList(list);
    ASSERT_EQ(change.finish(), ListChange::Outcome::Recorded);
    change.undo();
    EXPECT_EQ(list.texts(), before);
    change.redo();
    EXPECT_EQ(list.count(), 0);
}

TEST(EntryInserted, UndoTakesOutExactlyTheTypedEntry)
{
    struct Case
    {
        const char *name;
        std::initializer_list<int> selected;
        const char *typed;
    };
    const Case cases[] = {
        {"before the selected", {1}, "X"},
        {"before the first", {0}, " X "},
        {"nothing selected", {}, "X"},
        // The same text as a neighbour: undo must take out the inserted one, not the first match.
        {"a copy of its neighbour", {2}, "B"},
    };
    for (const Case &c : cases) {
        VectorList list({"A", "B", "C"}, c.selected);
        EntryInserted change(list);
        ASSERT_TRUE(insertTypedEntry(list, QString::fromUtf8(c.typed)));
        ASSERT_EQ(change.finish(), ListChange::Outcome::Recorded) << c.name;
        const QStringList after = list.texts();
        change.undo();
        EXPECT_EQ(list.texts(), QStringList({"A", "B", "C"})) << c.name;
        change.redo();
        EXPECT_EQ(list.texts(), after) << c.name;
    }
}

// An abandoned press, a clear of an empty list or one that failed, a cancelled input: nothing
// to undo. A press that took entries away is no press.
TEST(ListChanges, NothingDoneRecordsNothing)
{
    World w;
    EXPECT_EQ(PointCaptured(w.lwm, w.vtp, w.lwmCounter, w.vtpCounter).finish(),
              ListChange::Outcome::Unchanged);
    PointCaptured shrunk(w.lwm, w.vtp, w.lwmCounter, w.vtpCounter);
    w.lwm.removeAt(0);
    EXPECT_EQ(shrunk.finish(), ListChange::Outcome::Inconsistent);

    VectorList empty({});
    EntriesRemoved cleared(empty, EntriesRemoved::Which::All);
    clearList(empty);
    EXPECT_EQ(cleared.finish(), ListChange::Outcome::Unchanged);
    VectorList list({"A", "B"}, {0});
    EXPECT_EQ(EntriesRemoved(list, EntriesRemoved::Which::All).finish(),
              ListChange::Outcome::Unchanged);
    EntryInserted inserted(list);
    insertTypedEntry(list, QString());
    EXPECT_EQ(inserted.finish(), ListChange::Outcome::Unchanged);
}
