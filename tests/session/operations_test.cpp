#include "error_of.h"
#include "file_bytes.h"
#include "session/counter_hints.h"
#include "session/session.h"
#include "text/failure.h"
#include "text/runtime_error.h"
#include "workfile/work_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <tuple>

namespace {

void type(Session &s, const QStringList &position)
{
    const Field fields[] = {Field::LatDeg, Field::LatMin, Field::LongDeg, Field::LongMin};
    for (int i = 0; i < 4; ++i)
        s.setText(fields[i], position[i]);
}

void calculateExample(Session &s)
{
    type(s, {"47", "30.50", "-122", "18.25"});
    s.calculate();
}

// A press on the image pixel, as a click or a key of the panel makes it.
void press(Session &s, double x, double y)
{
    s.pressPixels({{x, y}}, QStringLiteral("Capture point"));
}

// Everything an undo must give back: both lists, both counters and their warnings.
using State = std::tuple<QStringList, QStringList, QString, QString, bool, bool>;
State state(const Session &s)
{
    return {s.entries(ListSide::Lwm),        s.entries(ListSide::Vtp),
            s.text(Field::LwmCounter),       s.text(Field::VtpCounter),
            s.counterWarning(ListSide::Lwm), s.counterWarning(ListSide::Vtp)};
}

// The grid's tests hold the places; here the typed texts and the locale reach it, and each
// caption its field.
TEST(SessionCalculate, FillsTheSixCaptions)
{
    const struct
    {
        const char *where;
        QStringList typed, captions;
        QLocale::Language language = QLocale::English;
    } cases[] = {
        {"start texts", {"-00", "00.00", "-000", "00.00"}, {"384", "256", "0", "0", "0", "0"}},
        {"Sydney",
         {"-33", "51.30", "151", "12.60"},
         {"706", "352", "18", "9", "-33.855", "151.21"}},
        {"minutes with a decimal comma",
         {"47", "51,5", "-122", "18.25"},
         {"123", "119", "2", "27", "47,8583333333333", "-122,304166666667"},
         QLocale::German},
    };
    for (const auto &c : cases) {
        Session s(QString{});
        s.setLocale(QLocale(c.language));
        type(s, c.typed);
        EXPECT_EQ(errorOf([&] { s.calculate(); }), 0) << c.where;
        const QStringList shown = {s.text(Field::CellX),      s.text(Field::CellY),
                                   s.text(Field::AreaX),      s.text(Field::AreaY),
                                   s.text(Field::LatDecimal), s.text(Field::LngDecimal)};
        EXPECT_EQ(shown, c.captions) << c.where;
    }
}

TEST(SessionPress, APressBeyondSixteenBitsThrowsAndKeepsTheLists)
{
    Session s(QString{});
    calculateExample(s);
    press(s, 1, 1);
    const State before = state(s);
    EXPECT_EQ(errorOf([&] { press(s, 40000, 2); }), RuntimeError::Overflow);
    EXPECT_EQ(errorOf([&] { s.press(QPointF(2, 1e6), QSizeF(255, 255)); }), RuntimeError::Overflow);
    EXPECT_EQ(state(s), before);
}

TEST(SessionHistory, UndoTakesBackPressesOneByOneAndRedoMakesThemAgain)
{
    Session s(QString{});
    calculateExample(s);
    // 30 presses: the first appends a start group, the last turns the VTP warning on.
    std::vector<State> states{state(s)};
    for (int i = 0; i < 30; ++i) {
        press(s, 3 * i, 200 - i);
        states.push_back(state(s));
    }
    EXPECT_TRUE(std::get<5>(states.back()));
    EXPECT_FALSE(std::get<5>(states[29]));
    for (int i = 30; i > 0; --i) {
        s.history()->undo();
        EXPECT_EQ(state(s), states[i - 1]) << i;
    }
    s.history()->undo(); // nothing left: no change
    EXPECT_EQ(state(s), states[0]);
    for (int i = 1; i <= 30; ++i) {
        s.history()->redo();
        EXPECT_EQ(state(s), states[i]) << i;
    }
    // A new edit drops the redos.
    s.history()->undo();
    press(s, 1, 1);
    const State now = state(s);
    s.history()->redo();
    EXPECT_EQ(state(s), now);
    EXPECT_EQ(s.entries(ListSide::Lwm).mid(28), (QStringList{"LWMPoint 84, 172", "LWMPoint 1, 1"}));
}

TEST(SessionHistory, RemoveClearAndInsertComeBackOnBothLists)
{
    Session s(QString{});
    calculateExample(s);
    for (int i = 0; i < 5; ++i)
        press(s, i, 2 * i);
    for (ListSide side : {ListSide::Lwm, ListSide::Vtp}) {
        const State start = state(s);
        const QStringList all = s.entries(side);

        s.select(side, 2);
        s.removeSelected(side);
        QStringList removed = all;
        removed.removeAt(2);
        EXPECT_EQ(s.entries(side), removed);
        const State afterRemove = state(s);
        s.history()->undo();
        EXPECT_EQ(state(s), start);
        s.history()->redo();
        EXPECT_EQ(state(s), afterRemove);
        s.history()->undo();

        s.clearList(side);
        EXPECT_TRUE(s.entries(side).isEmpty());
        s.history()->undo();
        EXPECT_EQ(state(s), start);

        s.select(side, 3);
        s.insertEntry(side, "  typed  ");
        EXPECT_EQ(s.entries(side).at(3), QStringLiteral("  typed  "));
        s.history()->undo();
        EXPECT_EQ(state(s), start);
        // Empty text inserts nothing and leaves nothing to undo but what was.
        s.insertEntry(side, QString());
        EXPECT_EQ(state(s), start);
    }
}

TEST(SessionHistory, CreateAfterUndoWritesWhatItWroteBefore)
{
    QTemporaryDir dir;
    Session s(dir.path());
    calculateExample(s);
    for (int i = 0; i < 4; ++i)
        press(s, 10 + i, 20 + i);
    const QByteArray lwm = fileBytes(s.createLwm()), vtp = fileBytes(s.createVtp());
    press(s, 99, 99);
    s.select(ListSide::Lwm, 1);
    s.removeSelected(ListSide::Lwm);
    s.clearList(ListSide::Vtp);
    s.select(ListSide::Vtp, -1);
    s.insertEntry(ListSide::Vtp, "typed");
    EXPECT_EQ(s.entries(ListSide::Vtp), QStringList{"typed"});
    for (int i = 0; i < 4; ++i)
        s.history()->undo();
    EXPECT_EQ(fileBytes(s.createLwm()), lwm);
    EXPECT_EQ(fileBytes(s.createVtp()), vtp);
}

// Both files from one press; a Create that fails leaves the file it would have replaced.
TEST(SessionCreate, WritesBothFilesAndAFailureKeepsTheOldOne)
{
    QTemporaryDir dir;
    Session s(dir.path());
    s.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    calculateExample(s);
    press(s, 12, 101);
    s.setText(Field::LineType, "\"1139\"  ;asphalt / 2 lanes");
    const QByteArray lwm = fileBytes(s.createLwm());
    EXPECT_TRUE(lwm.contains("\r\nLWMPoly2  01, 0, 0, 0, 0\r\n\r\nLWMPoint 12, 101\r\n\r\n\r\n"));
    const QByteArray vtp = fileBytes(s.createVtp());
    EXPECT_TRUE(vtp.contains("VTPWidePoint 4602, 1, 11066, 0\r\nVTPWidePointWidth 0\r\n"));
    EXPECT_TRUE(vtp.contains("VTPTextureName \"1139\"  ;asphalt / 2 lanes\r\n"));

    s.setText(Field::LatDeg, "north");
    EXPECT_EQ(errorOf([&] { s.createLwm(); }), RuntimeError::TypeMismatch);
    EXPECT_EQ(fileBytes(s.lwmSourcePath()), lwm);
    EXPECT_EQ(s.entries(ListSide::Lwm).size(), 1);
}

// View must tell a Create that could not write from one never pressed: the session keeps
// why the folder refused, until a Create writes or another folder is picked.
TEST(SessionCreate, KeepsWhyTheFolderRefusedUntilAnotherWrite)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeFileBytes(dir.filePath("file"), {}));
    const QString refused = dir.filePath("file/sub"); // a folder under a file
    Session s(refused);
    calculateExample(s);
    press(s, 12, 101);
    EXPECT_EQ(errorOf([&] { s.createLwm(); }), RuntimeError::PathFileAccess);
    EXPECT_FALSE(s.createFailure(ListSide::Lwm).isEmpty());
    EXPECT_TRUE(s.createFailure(ListSide::Vtp).isEmpty());
    s.setText(Field::LatDeg, "north"); // a failure of the text, not of the folder
    EXPECT_EQ(errorOf([&] { s.createVtp(); }), RuntimeError::TypeMismatch);
    EXPECT_TRUE(s.createFailure(ListSide::Vtp).isEmpty());
    s.setOutputFolder(dir.path());
    EXPECT_TRUE(s.createFailure(ListSide::Lwm).isEmpty());
    s.setText(Field::LatDeg, "47");
    s.setOutputFolder(refused);
    EXPECT_EQ(errorOf([&] { s.createLwm(); }), RuntimeError::PathFileAccess);
    s.setOutputFolder(dir.path());
    s.createLwm();
    EXPECT_TRUE(s.createFailure(ListSide::Lwm).isEmpty());
}

// "47.5" once read as 475 in German and the header said 476.
TEST(SessionCreate, DegreesInADecimalCommaLocale)
{
    QTemporaryDir dir;
    Session s(dir.path());
    s.setLocale(QLocale(QLocale::German, QLocale::Germany));
    calculateExample(s);
    const QByteArray good = fileBytes(s.createLwm());
    EXPECT_TRUE(good.contains("BGLHeader          48, 46, -121, -123,"));

    s.setText(Field::LatDeg, "47.5");
    EXPECT_EQ(errorOf([&] { s.createLwm(); }), RuntimeError::TypeMismatch);
    EXPECT_EQ(fileBytes(s.lwmSourcePath()), good);

    s.setText(Field::LatDeg, "47,5");
    EXPECT_EQ(errorOf([&] { s.createLwm(); }), 0);
    EXPECT_TRUE(
        fileBytes(s.lwmSourcePath()).contains("BGLHeader          48.5, 46.5, -121, -123,"));
}

// The work pressed in and typed, for the open tests.
void fill(Session &s)
{
    s.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    calculateExample(s);
    for (auto [x, y] : {std::pair{12, 101}, {40, 90}, {60, 70}})
        press(s, x, y);
    s.setText(Field::LineType, "\"1139\"  ;asphalt / 2 lanes");
    s.setText(Field::Layer, "12");
    s.setText(Field::Altitude, "Höhe 12");
}

// Each source puts back its own side only; Create then writes the same bytes.
TEST(SessionOpen, ReopenedSourcesWriteTheSameBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("made")) && QDir().mkpath(dir.filePath("again")));
    Session made(dir.filePath("made"));
    fill(made);
    const QString lwmPath = made.createLwm(), vtpPath = made.createVtp();
    ASSERT_TRUE(QFile::copy(lwmPath, dir.filePath("kept-lwm.txt")));

    Session again(dir.filePath("again"));
    again.setLocale(made.locale());
    EXPECT_FALSE(again.open(dir.filePath("kept-lwm.txt")).workFile);
    EXPECT_EQ(again.entries(ListSide::Lwm), made.entries(ListSide::Lwm));
    EXPECT_TRUE(again.entries(ListSide::Vtp).isEmpty());
    EXPECT_EQ(again.text(Field::LatDecimal), made.text(Field::LatDecimal));
    EXPECT_EQ(again.text(Field::AreaY), QStringLiteral("27"));
    again.open(vtpPath);
    EXPECT_EQ(again.entries(ListSide::Vtp), made.entries(ListSide::Vtp));
    EXPECT_EQ(again.text(Field::LineType), made.text(Field::LineType));
    EXPECT_EQ(fileBytes(again.createLwm()), fileBytes(lwmPath));
    EXPECT_EQ(fileBytes(again.createVtp()), fileBytes(vtpPath));
}

TEST(SessionOpen, AFaultyFileChangesNothing)
{
    QTemporaryDir dir;
    Session s(dir.path());
    fill(s);
    QByteArray vtp = fileBytes(s.createVtp());
    const std::pair<const char *, QByteArray> files[] = {
        {"bad.asm", vtp.replace("VTPLayer 12, 0", "VTPLayer 12; 0")},
        {"newer.marlith", workFileText(s.work()).replace("\"version\": 2", "\"version\": 9")},
    };
    const char *faults[] = {"Line 27 is not as Marlith writes", "written by a newer Marlith"};
    const WorkState before = s.work();
    const int steps = s.history()->count();
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(writeFileBytes(dir.filePath(files[i].first), files[i].second));
        try {
            s.open(dir.filePath(files[i].first));
            ADD_FAILURE() << files[i].first << " opened";
        } catch (const Failure &fault) {
            EXPECT_EQ(fault.what, QStringLiteral("%1 was not opened.").arg(files[i].first));
            EXPECT_TRUE(fault.why.contains(faults[i])) << fault.why.toStdString();
        }
        EXPECT_EQ(s.work(), before);
        EXPECT_EQ(s.history()->count(), steps);
    }
    // A save that cannot write keeps the work unsaved, under its old name.
    EXPECT_THROW(s.save(dir.filePath("no such folder/w.marlith")), Failure);
    EXPECT_TRUE(s.isModified());
    EXPECT_TRUE(s.workFile().isEmpty());
}

} // namespace

namespace {

// The untouched form is a position, 0 degrees both ways (its captions are checked with the
// others), and lists without a line yet.
TEST(SessionStart, AnUntouchedFormCalculatesAndPressesAsTyped)
{
    Session s(QString{});
    s.calculate();
    ASSERT_TRUE(s.place());
    press(s, 1, 1);
    EXPECT_EQ(s.entries(ListSide::Vtp).size(), 5); // the first press starts a line
    EXPECT_EQ(s.entries(ListSide::Vtp)[3], "VTPWidePointWidth 0");
    EXPECT_EQ(s.text(Field::LwmCounter), "1");
}

// Far beyond the grid, or too small to tell from zero: reported or computed, never a crash,
// and the lists stay.
TEST(SessionCalculate, ExtremeCoordinatesFailAsRunTimeErrorsAndKeepTheLists)
{
    QTemporaryDir dir;
    Session s(dir.path());
    calculateExample(s);
    for (int i = 0; i < 3; ++i)
        press(s, 20 * i, 30 + i);
    const State kept = state(s);
    const Field fields[] = {Field::LatDeg, Field::LatMin, Field::LongDeg, Field::LongMin};
    for (const char *typed : {"1e308", "-1e308", "1e-320", "-1e-320", "1e309"}) {
        for (Field field : fields) {
            const QString was = s.text(field);
            s.setText(field, typed);
            for (const auto &operation : std::initializer_list<std::function<void()>>{
                     [&] { s.calculate(); }, [&] { s.createLwm(); }, [&] { s.createVtp(); }}) {
                const int number = errorOf(operation);
                EXPECT_TRUE(number == 0 || number == RuntimeError::Overflow
                            || number == RuntimeError::TypeMismatch)
                    << typed << " in " << int(field) << ": " << number;
            }
            s.setText(field, was);
        }
    }
    EXPECT_EQ(state(s), kept);

    // A position a hair from the equator is just the equator's cell and area.
    type(s, {"0", "0", "-122", "18.25"});
    s.calculate();
    const QString cell = s.text(Field::CellY), area = s.text(Field::AreaY);
    s.setText(Field::LatDeg, "1e-320");
    EXPECT_EQ(errorOf([&] { s.calculate(); }), 0);
    EXPECT_EQ(s.text(Field::CellY), cell);
    EXPECT_EQ(s.text(Field::AreaY), area);
}

// What failed and where, for the status line.
TEST(SessionErrors, SayWhatFailed)
{
    const struct
    {
        Field field;
        const char *text;
        QString (Session::*operation)();
        RuntimeError::Number number;
        const char *detail;
    } cases[] = {
        {Field::LwmCounter, "276", &Session::createLwm, RuntimeError::Overflow,
         "the LWM counter 276 is above 255, the most a file can hold"},
        {Field::VtpCounter, "-1", &Session::createVtp, RuntimeError::Overflow,
         "the VTP counter -1 is below 0"},
        {Field::LongDeg, "W122", &Session::createVtp, RuntimeError::TypeMismatch,
         "the longitude degrees \"W122\" are no number in this system's format (decimal "
         "separator \".\")"},
        {Field::LatDeg, "1e307", nullptr, RuntimeError::Overflow,
         "the position \"1e307\" \"30.50\", \"-122\" \"18.25\" is too large for the grid"},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        Session s(dir.path());
        s.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        calculateExample(s);
        s.setText(Field::LineType, "\"1139\"  ;asphalt / 2 lanes");
        s.setText(c.field, c.text);
        try {
            c.operation ? (void)(s.*c.operation)() : s.calculate();
            ADD_FAILURE() << c.text << ": no run-time error";
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.number(), c.number) << c.text;
            EXPECT_EQ(e.detail(), QString::fromUtf8(c.detail));
        }
    }
}

// The files take the counters, not the lists: the hints name a mismatch and agree in silence.
TEST(CounterHints, NameCountersThatMissTheirLists)
{
    const struct
    {
        bool lwm;
        const char *counter;
        int entries;
        const char *hint;
    } cases[] = {
        {true, "3", 3, ""},
        {true, "3", 2,
         "LWM counter 3, but 2 entries in the list, and Create writes the counter: type 2, or "
         "the next point sets it."},
        {true, "", 4,
         "LWM counter empty, but 4 entries in the list, and Create writes the counter: type 4, "
         "or the next point sets it."},
        {false, "6", 0,
         "VTP list empty, but its counter reads 6: the next point would start no line. Type 0 "
         "to start a new line."},
        {false, "7", 5,
         "VTP counter 7, but the list's 5 entries make 3 points, and Create writes the counter: "
         "type 3, or the next point sets it."},
    };
    for (const auto &c : cases) {
        const QString hint =
            c.lwm ? lwmCounterHint(c.counter, c.entries) : vtpCounterHint(c.counter, c.entries);
        EXPECT_EQ(hint, QString::fromLatin1(c.hint)) << c.counter << " " << c.entries;
    }
}

} // namespace
