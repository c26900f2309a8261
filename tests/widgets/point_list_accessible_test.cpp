// The point list as a screen reader sees it: a list of items named by the entries, their
// selected and focused states, what the list tells a listening reader, and nothing built for
// a reader that is not there.
#include "widgets/point_list.h"

#include <QAccessible>
#include <QtTest>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <functional>

Q_DECLARE_METATYPE(std::function<void(PointList &)>)

namespace {

PointList *watched = nullptr;
QStringList heard;
int questions = 0;

// As a screen reader starting or stopping would.
void setReaderListening(bool on)
{
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(on);
}

QString describe(QAccessibleEvent *e)
{
    const QString row = QString::number(e->child());
    switch (e->type()) {
    case QAccessible::TableModelChanged: {
        const auto *m = static_cast<QAccessibleTableModelChangeEvent *>(e);
        const char *kind =
            m->modelChangeType() == QAccessibleTableModelChangeEvent::RowsInserted  ? "inserted"
            : m->modelChangeType() == QAccessibleTableModelChangeEvent::RowsRemoved ? "removed"
                                                                                    : "reset";
        return QStringLiteral("%1 %2-%3").arg(kind).arg(m->firstRow()).arg(m->lastRow());
    }
    case QAccessible::StateChanged: {
        const auto changed = static_cast<QAccessibleStateChangeEvent *>(e)->changedStates();
        return QStringLiteral("state %1%2%3")
            .arg(row, changed.selected ? " selected" : "", changed.focused ? " focused" : "");
    }
    case QAccessible::Selection:
        return "selection " + row;
    case QAccessible::SelectionRemove:
        return "unselected " + row;
    case QAccessible::Focus:
        return "focus " + row;
    default:
        return "other " + row;
    }
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
        list->resize(136, 250);
        list->show();
        list->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(list.get()));
        list->append({"A", "B", "C", "D"});
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

    void statesFollowSelectionAndFocus_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("focused");
        QTest::addColumn<QString>("states"); // per row: '.' plain, 's' selected, 'f' and focused
        QTest::newRow("none") << -1 << true << "....";
        QTest::newRow("selected") << 1 << false << ".s..";
        QTest::newRow("selected, focused") << 2 << true << "..f.";
    }
    void statesFollowSelectionAndFocus()
    {
        QFETCH(int, selected);
        QFETCH(bool, focused);
        QFETCH(QString, states);
        list->selectRow(selected);
        focused ? list->setFocus() : list->clearFocus();
        QString seen;
        for (int row = 0; row < 4; ++row) {
            const QAccessible::State s = face()->child(row)->state();
            QVERIFY(s.selectable && s.focusable);
            seen += s.focused && s.selected ? 'f' : s.selected ? 's' : s.focused ? '?' : '.';
        }
        QCOMPARE(seen, states);
        QCOMPARE(face()->focusChild(), face()->child(states.indexOf(QRegularExpression("[sf]"))));
    }

    // A reader holding an item goes on reading the same entry while rows come and go.
    void itemsStayOnTheirEntries()
    {
        QAccessibleInterface *c = face()->child(2), *d = face()->child(3);
        const QAccessible::Id cId = QAccessible::uniqueId(c), dId = QAccessible::uniqueId(d);
        list->insertAt(0, "X");
        list->insertAt(4, "Y"); // X A B C Y D
        QCOMPARE(face()->indexOfChild(c), 3);
        QCOMPARE(face()->indexOfChild(d), 5);
        QCOMPARE(d->text(QAccessible::Name), QStringLiteral("D"));
        list->removeAt(1); // X B C Y D
        QCOMPARE(face()->child(2), c);
        QCOMPARE(c->text(QAccessible::Name), QStringLiteral("C"));
        list->removeAt(2);
        QVERIFY(!QAccessible::accessibleInterface(cId));
        QCOMPARE(face()->child(3), d);
        list->clear();
        QVERIFY(!QAccessible::accessibleInterface(dId));
        list->append({"E"});
        const QAccessible::Id eId = QAccessible::uniqueId(face()->child(0));
        list.reset();
        QVERIFY(!QAccessible::accessibleInterface(eId));
    }

    void tellsAListeningReader_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("focused");
        QTest::addColumn<std::function<void(PointList &)>>("change");
        QTest::addColumn<QStringList>("expected");
        using L = PointList &;
        QTest::newRow("append") << 1 << false << std::function([](L l) {
            l.append({"E", "F"});
        }) << QStringList{"inserted 4-5"};
        QTest::newRow("insert") << 1 << false << std::function([](L l) { l.insertAt(1, "X"); })
                                << QStringList{"inserted 1-1"};
        QTest::newRow("remove the selected")
            << 1 << false << std::function([](L l) { l.removeAt(1); })
            << QStringList{"removed 1-1"};
        QTest::newRow("clear") << 1 << false << std::function([](L l) { l.clear(); })
                               << QStringList{"reset -1--1"};
        QTest::newRow("select") << -1 << false << std::function([](L l) { l.selectRow(2); })
                                << QStringList{"state 2 selected", "selection 2"};
        QTest::newRow("unselect") << 2 << false << std::function([](L l) { l.selectRow(-1); })
                                  << QStringList{"state 2 selected", "unselected 2"};
        QTest::newRow("key down, focused")
            << 1 << true << std::function([](L l) { QTest::keyClick(&l, Qt::Key_Down); })
            << QStringList{"state 1 selected focused", "state 2 selected focused", "selection 2",
                           "focus 2"};
        QTest::newRow("focus in") << 3 << false << std::function([](L l) { l.setFocus(); })
                                  << QStringList{"focus 3"};
    }
    void tellsAListeningReader()
    {
        QFETCH(int, selected);
        QFETCH(bool, focused);
        QFETCH(std::function<void(PointList &)>, change);
        QFETCH(QStringList, expected);
        list->selectRow(selected);
        focused ? list->setFocus() : list->clearFocus();
        heard.clear();
        change(*list);
        QCOMPARE(heard, expected);
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
        list->append({"E"});
        list->insertAt(0, "X");
        list->selectRow(1);
        QTest::keyClick(list.get(), Qt::Key_Down);
        list->removeAt(0);
        list->clear();
        setReaderListening(true);
        QCOMPARE(questions, 0);
        list->append({"F"});
        QVERIFY(questions > 0); // the count would have seen a question
    }
};

QTEST_MAIN(PointListAccessibleTest)
#include "point_list_accessible_test.moc"
