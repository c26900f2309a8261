// The panel's overlay kept up by the session's signals, step by step, must be what a panel
// bound afresh to the same session shows: a missed or half-handled signal leaves the shapes
// of an older state on the picture.
#include "lake_area_file.h"
#include "session/session.h"
#include "widgets/image_panel.h"
#include "widgets/session_overlay.h"

#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <functional>

namespace {

QString describe(const Shape &s)
{
    QStringList points;
    for (QPointF p : s.points)
        points << QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
    return QStringLiteral("[%1] mark %2").arg(points.join(u' ')).arg(s.mark);
}

QString describe(const Overlay &o)
{
    QString text = describe(o.polygon) + QStringLiteral(" / ") + describe(o.line);
    for (const FilledShape &f : o.filled)
        text +=
            QStringLiteral(" / %1 %2 points").arg(f.land ? "land" : "water").arg(f.points.size());
    return text;
}

} // namespace

class SessionOverlayTest : public QObject
{
    Q_OBJECT

private slots:
    void followsEveryStepOfTheSession()
    {
        QTemporaryDir dir;
        const QString areaFile = writeLakeAreaFile(dir.path());
        QVERIFY(!areaFile.isEmpty());

        Session session(dir.path());
        ImagePanel panel;
        panel.resize(257, 257);
        new SessionOverlay(session, &panel);
        const auto press = [&](double x, double y) { session.press({x, y}, QSizeF(255, 255)); };
        const auto calculateAt = [&](const char *latMin) {
            session.setText(Field::LatMin, latMin);
            session.calculate();
        };
        struct Step
        {
            const char *name;
            bool drawsOtherwise; // whether the picture changes
            std::function<void()> run;
        };
        const Step steps[] = {
            {"presses before any Calculate", true, [&] { press(10, 20), press(30, 40); }},
            {"Calculate", true,
             [&] {
                 session.setText(Field::LatDeg, "47");
                 session.setText(Field::LongDeg, "-122");
                 session.setText(Field::LongMin, "18.43");
                 calculateAt("30.62");
             }},
            {"presses", true, [&] { press(50, 60), press(70, 80), press(90, 100); }},
            {"select", true,
             [&] { session.select(ListSide::Vtp, 7), session.select(ListSide::Lwm, 3); }},
            {"insert before the selected", true,
             [&] { session.insertEntry(ListSide::Lwm, "LWMPoint 5, 5"); }},
            {"insert text", false, [&] { session.insertEntry(ListSide::Vtp, "by hand"); }},
            {"remove selected", true, [&] { session.removeSelected(ListSide::Lwm); }},
            {"undo", true, [&] { session.history()->undo(); }},
            {"undo twice", true, [&] { session.history()->undo(), session.history()->undo(); }},
            {"redo", true, [&] { session.history()->redo(); }},
            {"Calculate another area", true, [&] { calculateAt("20.00"); }},
            {"clear", true, [&] { session.clearList(ListSide::Vtp); }},
            {"undo the clear", true, [&] { session.history()->undo(); }},
            {"open an area file", true, [&] { session.open(areaFile); }},
            {"press on it", true, [&] { press(128, 128); }},
            {"undo the press and the open", true,
             [&] { session.history()->undo(), session.history()->undo(); }},
            {"redo the open", true, [&] { session.history()->redo(); }},
            {"save", true, [&] { session.save(dir.filePath("work.marlith")); }},
            {"open the area file again", true, [&] { session.open(areaFile); }},
            {"Calculate the same area", false, [&] { calculateAt("30.62"); }},
            {"Calculate another", true, [&] { calculateAt("20.00"); }},
            {"start over", true, [&] { session.startOver(); }},
        };
        QString before = describe(panel.overlay());
        for (const Step &step : steps) {
            step.run();
            ImagePanel fresh;
            new SessionOverlay(session, &fresh);
            const QString now = describe(panel.overlay());
            QVERIFY2(now == describe(fresh.overlay()),
                     qPrintable(QStringLiteral("%1: %2, bound afresh %3")
                                    .arg(step.name, now, describe(fresh.overlay()))));
            QVERIFY2((now != before) == step.drawsOtherwise, step.name);
            before = now;
        }
        QCOMPARE(before, QStringLiteral("[] mark -1 / [] mark -1"));
    }
};

QTEST_MAIN(SessionOverlayTest)
#include "session_overlay_test.moc"
