#include "file_bytes.h"
#include "session/session.h"
#include "text/runtime_error.h"
#include "workfile/work_file.h"
#include "workfile/workfile_samples.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace {

// The worked example typed and calculated, with a few presses: what a window would hold.
void fill(Session &s)
{
    s.setText(Field::LatDeg, "47");
    s.setText(Field::LatMin, "30.50");
    s.setText(Field::LongDeg, "-122");
    s.setText(Field::LongMin, "18.25");
    s.calculate();
    for (int i = 0; i < 70; ++i)
        s.press(QPointF(3 + i * 3, 250 - i * 3), QSizeF(255, 255));
    s.setText(Field::LineType, "\"1139\"  ;asphalt / 2 lanes");
}

TEST(Session, WritesTheSameBytesFromAVersionOneFileAndItsSave)
{
    QTemporaryDir dir;
    Session made(dir.filePath("made"));
    fill(made);
    ASSERT_TRUE(QDir().mkpath(dir.filePath("made")) && QDir().mkpath(dir.filePath("again")));
    made.createLwm();
    made.createVtp();
    ASSERT_TRUE(writeFileBytes(dir.filePath("old.marlith"), versionOneText(made.work())));

    Session fromOld(dir.filePath("again"));
    EXPECT_TRUE(fromOld.open(dir.filePath("old.marlith")).workFile);
    ASSERT_NO_THROW(fromOld.save(dir.filePath("new.marlith")));
    Session fromNew(dir.filePath("again"));
    fromNew.open(dir.filePath("new.marlith"));
    EXPECT_EQ(fromNew.work(), made.work());
    fromNew.createLwm();
    fromNew.createVtp();
    for (const char *name : {"/LWMSource.asm", "/VTPSource.asm"}) {
        EXPECT_FALSE(fileBytes(dir.filePath("made") + name).isEmpty());
        EXPECT_EQ(fileBytes(dir.filePath("again") + name), fileBytes(dir.filePath("made") + name))
            << name;
    }
}

TEST(Session, EveryChangeOfTheWorkMarksItModified)
{
    const struct
    {
        const char *what;
        std::function<void(Session &)> change;
        bool modifies;
    } cases[] = {
        {"typing", [](Session &s) { s.setText(Field::Altitude, "5"); }, true},
        {"typing the same text", [](Session &s) { s.setText(Field::Altitude, "0"); }, false},
        {"calculate", [](Session &s) { s.calculate(); }, true},
        {"a press",
         [](Session &s) {
             s.press({5, 5}, {255, 255});
         },
         true},
        {"an image",
         [](Session &s) {
             s.setImageSource({"/x.bmp", false, {}});
         },
         true},
        {"a selection", [](Session &s) { s.select(ListSide::Lwm, 0); }, false},
        {"the cursor",
         [](Session &s) {
             s.moveCursor({5, 5}, {255, 255});
         },
         false},
        {"a clear", [](Session &s) { s.clearList(ListSide::Vtp); }, true},
        {"an undo", [](Session &s) { s.history()->undo(); }, true},
    };
    for (const auto &c : cases) {
        Session s(QString{});
        s.press({1, 1}, {255, 255});
        s.setModified(false);
        c.change(s);
        EXPECT_EQ(s.isModified(), c.modifies) << c.what;
    }
}

TEST(Session, CounterWarningFollowsTheCountersText)
{
    const struct
    {
        Field counter;
        const char *text;
        bool warning;
    } cases[] = {
        {Field::LwmCounter, "62", false}, {Field::LwmCounter, "63", true},
        {Field::LwmCounter, "", false},   {Field::VtpCounter, "31", false},
        {Field::VtpCounter, "32", true},  {Field::VtpCounter, "&H20", true},
    };
    for (const auto &c : cases) {
        Session s(QString{});
        s.setText(c.counter, c.text);
        const ListSide side = c.counter == Field::LwmCounter ? ListSide::Lwm : ListSide::Vtp;
        EXPECT_EQ(s.counterWarning(side), c.warning) << c.text;
    }
}

TEST(Session, CalculateKeepsTheCaptionsBeforeAFailingStep)
{
    Session s(QString{});
    s.setText(Field::LatDeg, "1e308");
    s.setText(Field::LatMin, "0");
    s.setText(Field::LongDeg, "7");
    s.setText(Field::LongMin, "0");
    try {
        s.calculate();
        FAIL() << "no run-time error";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number(), RuntimeError::Overflow);
    }
    EXPECT_FALSE(s.text(Field::CellX).isEmpty());
    EXPECT_FALSE(s.place().has_value());
}

TEST(Session, OpenIsOneStepAndUndoPutsBackTheWork)
{
    QTemporaryDir dir;
    Session s(dir.path());
    fill(s);
    ASSERT_NO_THROW(s.save(dir.filePath("w.marlith")));
    const WorkState saved = s.work();
    s.startOver();
    s.press({9, 9}, {255, 255});
    const WorkState before = s.work();
    QSignalSpy places(&s, &Session::placeChanged);
    s.open(dir.filePath("w.marlith"));
    EXPECT_EQ(s.work(), saved);
    EXPECT_FALSE(s.isModified());
    ASSERT_TRUE(s.place());
    EXPECT_EQ(s.place()->areaRow, 27);
    s.history()->undo();
    EXPECT_EQ(s.work(), before);
    EXPECT_FALSE(s.place());
    EXPECT_EQ(places.count(), 2);
    s.history()->redo();
    EXPECT_EQ(s.work(), saved);
    s.history()->undo();
    s.history()->undo(); // and the press before it
    EXPECT_TRUE(s.entries(ListSide::Lwm).isEmpty());
}

} // namespace
