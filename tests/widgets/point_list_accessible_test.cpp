// The point list as a screen reader sees it: a list of items named by the entries, their
// selected and focused states, what the list tells a listening reader, and nothing built for
// a reader that is not there.
#include "shown_entries.h"
#include "widgets/point_list.h"

#include <QAccessible>
#include <QtTest>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <map>

namespace {

PointList *watched = nullptr;
QStringList heard;
int questions = 0;

// As a screen reader starting or stopping would.
void setReaderListening(bool on)
{
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(on);
}

// One line per event, as the expectations below spell them.
QString describe(QAccessibleEvent *e)
{
    if (e->type() == QAccessible::TableModelChanged) {
        const auto *m = static_cast<QAccessibleTableModelChangeEvent *>(e);
        const char *const kinds[] = {"reset", "data", "inserted", "", "removed", ""};
        const QString rows = QStringLiteral(" %1-%2").arg(m->firstRow()).arg(m->lastRow());
        return kinds[m->modelChangeType()] + (m->firstRow() < 0 ? QString() : rows);
    }
    const std::map<int, const char *> names = {{QAccessible::StateChanged, "state "},
                                               {QAccessible::Selection, "selection "},
                                               {QAccessible::SelectionRemove, "unselected "},
                                               {QAccessible::Focus, "focus "}};
    QString said = names.count(e->type()) ? names.at(e->type()) : "? ";
    said += QString::number(e->child());
    if (e->type() == QAccessible::StateChanged) {
        const auto changed = static_cast<QAccessibleStateChangeEvent *>(e)->changedStates();
        said += QString(changed.selected ? " selected" : "") + (changed.focused ? " focused" : "");
    }
    return said;
}

void listen(QAccessibleEvent *e)
{
    if (e->object() == watched && (e->child() >= 0 || e->type() == QAccessible::TableModelChanged))
        heard << describe(e);
}

// Installed after the list's own factory, so asked first; it only counts.
QAccessibleInterface *countQuestions(const QString &className, QObject *)
{
    questions += className == QLatin1String("PointList");
    return nullptr;
}

} // namespace

class PointListAccessibleTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<PointList> list;
    ShownEntries shown;

    QAccessibleInterface *face() const { return QAccessible::queryAccessibleInterface(list.get()); }

private slots:
    void initTestCase()
    {
        QAccessible::installUpdateHandler(listen);
        setReaderListening(true);
        QVERIFY(QAccessible::isActive());
    }
    void init()
    {
        list = std::make_unique<PointList>();
        watched = list.get();
        shown.show(list.get());
        list->resize(136, 250);
        list->show();
        list->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(list.get()));
        shown.append({"A", "B", "C", "D"});
        heard.clear();
    }
    void cleanup() { list.reset(); }

    void readsOneItemPerRow()
    {
        list->setAccessibleName("LWM point list");
        QAccessibleInterface *l = face();
        QCOMPARE(l->role(), QAccessible::List);
        QCOMPARE(l->text(QAccessible::Name), QStringLiteral("LWM point list"));
        QCOMPARE(l->childCount(), 4);
        for (int row = 0; row < 4; ++row) {
            QAccessibleInterface *item = l->child(row);
            QVERIFY(item && item->isValid());
            QCOMPARE(item->role(), QAccessible::ListItem);
            QCOMPARE(item->text(QAccessible::Name), list->entry(row));
            QCOMPARE(item->parent(), l);
            QCOMPARE(l->indexOfChild(item), row);
            QCOMPARE(l->child(row), item);
            QCOMPARE(l->childAt(item->rect().center().x(), item->rect().center().y()), item);
        }
        QVERIFY(!l->child(4) && !l->child(-1));
        const QRect below = QRect(list->viewport()->mapToGlobal(QPoint(5, 240)), QSize(1, 1));
        QVERIFY(!l->childAt(below.x(), below.y()));
    }

    void statesFollowSelectionAndFocus()
    {
        struct Case
        {
            int selected;
            bool focused;
            const char *states; // per row: '.' plain, 's' selected, 'f' selected and focused
        };
        for (const Case &c : {Case{-1, true, "...."}, {1, false, ".s.."}, {2, true, "..f."}}) {
            list->selectRow(c.selected);
            c.focused ? list->setFocus() : list->clearFocus();
            QString seen;
            for (int row = 0; row < 4; ++row) {
                const QAccessible::State s = face()->child(row)->state();
                QVERIFY(s.selectable && s.focusable);
                seen += s.focused && s.selected ? 'f' : s.selected ? 's' : s.focused ? '?' : '.';
            }
            QCOMPARE(seen, QString(c.states));
            QCOMPARE(face()->focusChild(), face()->child(c.selected));
        }
    }

    // A reader holding an item goes on reading the same entry while rows come and go.
    void itemsStayOnTheirEntries()
    {
        QAccessibleInterface *c = face()->child(2), *d = face()->child(3);
        const QAccessible::Id cId = QAccessible::uniqueId(c), dId = QAccessible::uniqueId(d);
        shown.insertAt(0, "X");
        shown.insertAt(4, "Y"); // X A B C Y D
        QCOMPARE(face()->indexOfChild(c), 3);
        QCOMPARE(face()->indexOfChild(d), 5);
        QCOMPARE(d->text(QAccessible::Name), QStringLiteral("D"));
        shown.removeAt(1); // X B C Y D
        QCOMPARE(face()->child(2), c);
        QCOMPARE(c->text(QAccessible::Name), QStringLiteral("C"));
        shown.removeAt(2);
        QVERIFY(!QAccessible::accessibleInterface(cId));
        QCOMPARE(face()->child(3), d);
        shown.clear();
        QVERIFY(!QAccessible::accessibleInterface(dId));
        shown.append({"E"});
        const QAccessible::Id eId = QAccessible::uniqueId(face()->child(0));
        list.reset();
        QVERIFY(!QAccessible::accessibleInterface(eId));
    }

    void tellsAListeningReader()
    {
        using L = ShownEntries &;
        struct Case
        {
            const char *name;
            int selected;
            bool focused;
            void (*change)(L);
            const char *expected;
        };
        const Case cases[] = {
            {"append", 1, false, [](L l) { l.append(QString("E F").split(' ')); }, "inserted 4-5"},
            {"insert", 1, false, [](L l) { l.insertAt(1, "X"); }, "inserted 1-1"},
            {"remove the selected", 1, false, [](L l) { l.removeAt(1); }, "removed 1-1"},
            {"clear", 1, false, [](L l) { l.clear(); }, "reset"},
            {"select", -1, false, [](L l) { l.list->selectRow(2); },
             "state 2 selected, selection 2"},
            {"unselect", 2, false, [](L l) { l.list->selectRow(-1); },
             "state 2 selected, unselected 2"},
            {"key down, focused", 1, true, [](L l) { QTest::keyClick(l.list, Qt::Key_Down); },
             "state 1 selected focused, state 2 selected focused, selection 2, focus 2"},
            {"focus in", 3, false, [](L l) { l.list->setFocus(); }, "focus 3"},
        };
        for (const Case &c : cases) {
            shown.clear();
            shown.append({"A", "B", "C", "D"});
            list->selectRow(c.selected);
            c.focused ? list->setFocus() : list->clearFocus();
            heard.clear();
            c.change(shown);
            QVERIFY2(heard.join(", ") == c.expected,
                     qPrintable(c.name + QString(": ") + heard.join(", ")));
        }
    }

    void buildsNothingWithoutAReader()
    {
        list->setFocus();
        setReaderListening(false);
        // Forget the interface Qt built while the list was shown, so that any question shows.
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(face()));
        QAccessible::installFactory(countQuestions);
        const auto restore = qScopeGuard([] {
            QAccessible::removeFactory(countQuestions);
            setReaderListening(true);
        });
        questions = 0;
        shown.append({"E"});
        shown.insertAt(0, "X");
        list->selectRow(1);
        QTest::keyClick(list.get(), Qt::Key_Down);
        shown.removeAt(0);
        shown.clear();
        setReaderListening(true);
        QCOMPARE(questions, 0);
        shown.append({"F"});
        QVERIFY(questions > 0); // the count would have seen a question
    }
};

QTEST_MAIN(PointListAccessibleTest)
#include "point_list_accessible_test.moc"
