#include "lists/list_editing.h"
#include "text/runtime_error.h"
#include "vector_list.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <stdexcept>
#include <utility>
#include <vector>

namespace {

class FailingList : public VectorList
{
public:
    explicit FailingList(bool throwsRuntimeError)
        : VectorList({"A", "B"}), m_runtime(throwsRuntimeError)
    {
    }
    void clear() override
    {
        if (m_runtime)
            throw RuntimeError(RuntimeError::PathFileAccess);
        throw std::runtime_error("list gone");
    }

private:
    bool m_runtime;
};

QStringList abc()
{
    return {"A", "B", "C"};
}

} // namespace

TEST(RemoveSelected, RemovesEverySelectedEntryAndKeepsOrder)
{
    struct Case
    {
        const char *name;
        std::initializer_list<int> selected;
        QStringList expected;
    };
    const Case cases[] = {
        {"middle", {1}, {"A", "C", "D", "E"}},
        {"first", {0}, {"B", "C", "D", "E"}},
        {"last", {4}, {"A", "B", "C", "D"}},
        {"none", {}, {"A", "B", "C", "D", "E"}},
        // Neighbours catch a forward scan that skips the entry moving into a freed place.
        {"two neighbours", {1, 2}, {"A", "D", "E"}},
        {"spread", {0, 2, 4}, {"B", "D"}},
        {"all", {0, 1, 2, 3, 4}, {}},
    };
    for (const Case &c : cases) {
        VectorList list({"A", "B", "C", "D", "E"}, c.selected);
        xListRemoveSelected(list);
        EXPECT_EQ(list.texts(), c.expected) << c.name;
    }
    VectorList empty({});
    xListRemoveSelected(empty);
    EXPECT_EQ(empty.count(), 0);
}

TEST(RemoveSelected, LongListLosesOnlyTheSelectedEntry)
{
    VectorList list = numbered(20000);
    list.select(12345);
    xListRemoveSelected(list);
    ASSERT_EQ(list.count(), 19999);
    EXPECT_EQ(list.entry(12344), "12344");
    EXPECT_EQ(list.entry(12345), "12346");
    EXPECT_EQ(list.entry(19998), "19999");
}

// A full or empty list ends empty; a failing clear is swallowed and leaves the list.
TEST(ClearList, EmptiesTheListOrSwallowsAFailure)
{
    VectorList full({"A", "B", "C"}, {1});
    clearList(full);
    EXPECT_EQ(full.count(), 0);
    VectorList empty({});
    clearList(empty);
    EXPECT_EQ(empty.count(), 0);
    for (bool runtime : {true, false}) {
        FailingList list(runtime);
        EXPECT_NO_THROW(clearList(list));
        EXPECT_EQ(list.texts(), QStringList({"A", "B"}));
    }
}

TEST(InsertTypedEntry, InsertsBeforeTheSelectedEntry)
{
    struct Case
    {
        const char *name;
        std::initializer_list<int> selected;
        const char *typed;
        QStringList expected;
    };
    const Case cases[] = {
        {"before B", {1}, "X", {"A", "X", "B", "C"}},
        {"before first", {0}, "X", {"X", "A", "B", "C"}},
        {"before last", {2}, "X", {"A", "B", "X", "C"}},
        {"nothing selected appends", {}, "X", {"A", "B", "C", "X"}},
        {"blanks are text", {1}, "   ", {"A", "   ", "B", "C"}},
        {"kept exactly as typed", {1}, " LWMPoint 1,2 ", {"A", " LWMPoint 1,2 ", "B", "C"}},
    };
    for (const Case &c : cases) {
        VectorList list({"A", "B", "C"}, c.selected);
        EXPECT_TRUE(insertTypedEntry(list, QString::fromUtf8(c.typed))) << c.name;
        EXPECT_EQ(list.texts(), c.expected) << c.name;
    }
    VectorList empty({});
    EXPECT_TRUE(insertTypedEntry(empty, "X"));
    EXPECT_EQ(empty.texts(), QStringList({"X"}));
    // The selected entry stays selected and unchanged.
    VectorList list({"A", "B", "C"}, {1});
    insertTypedEntry(list, "X");
    EXPECT_EQ(list.selectedIndex(), 2);
    EXPECT_EQ(list.entry(2), "B");
}

TEST(InsertTypedEntry, EmptyTextChangesNothing)
{
    for (std::initializer_list<int> selected : {std::initializer_list<int>{1}, {}}) {
        VectorList list({"A", "B", "C"}, selected);
        EXPECT_FALSE(insertTypedEntry(list, QString()));
        EXPECT_FALSE(insertTypedEntry(list, QStringLiteral("")));
        EXPECT_EQ(list.texts(), abc());
    }
}

TEST(InsertTypedEntry, LongListInsertsAtTheSelectedPlace)
{
    VectorList list = numbered(20000);
    list.select(19999);
    insertTypedEntry(list, "X");
    ASSERT_EQ(list.count(), 20001);
    EXPECT_EQ(list.entry(19999), "X");
    EXPECT_EQ(list.entry(20000), "19999");
}
