#include "canvas/point_capture.h"
#include "golden.h"
#include "workfile/opening.h"
#include "workfile/source_reading.h"
#include "workfile/work_file.h"
#include "workfile_samples.h"

#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);
const QLocale german(QLocale::German, QLocale::Germany);

TEST(SourceReading, WorkedExamplesComeBackAsTheyWereTyped)
{
    const WorkState example = exampleState();
    const LwmReading lwm = readLwmSource(golden("lwm_worked_example.asm"), english);
    const LwmInputs expectedLwm = lwmInputs(example);
    EXPECT_EQ(lwm.inputs.entries, expectedLwm.entries);
    EXPECT_EQ(QStringList({lwm.inputs.latDeg, lwm.inputs.latMin, lwm.inputs.longDeg,
                           lwm.inputs.longMin, lwm.inputs.cellX, lwm.inputs.cellY, lwm.inputs.areaX,
                           lwm.inputs.areaY, lwm.inputs.lwmNumber, lwm.inputs.altitude}),
              QStringList({"47", "30.50", "-122", "18.25", "123", "120", "2", "27", "3", "0"}));
    EXPECT_FALSE(lwm.lfOnly);

    const VtpReading vtp = readVtpSource(golden("vtp_worked_example.asm"), english);
    EXPECT_EQ(vtp.inputs.entries, example.vtp.entries); // the last marker is 0 again
    EXPECT_EQ(QStringList({vtp.inputs.cellX, vtp.inputs.cellY, vtp.inputs.layer,
                           vtp.inputs.vtpNumber, vtp.inputs.lineType}),
              QStringList({"123", "120", "8", "5", "\"1139\"  ;asphalt / 2 lanes"}));
}

TEST(SourceReading, OpenPutsBackOneSideAndTheDecimalDegrees)
{
    WorkState before = exampleState();
    before.latDeg = "12";
    before.latDecimal = "stale";
    before.vtp.selected = 2;
    const Opened lwm = openBytes(golden("lwm_worked_example.asm"), "x.asm", before, english);
    EXPECT_EQ(lwm.kind, OpenedKind::LwmSource);
    WorkState expected = before;
    expected.latDeg = "47";
    expected.latDecimal = "47.5083333333333";
    expected.lwm.selected = -1;
    EXPECT_EQ(lwm.state, expected);

    WorkState empty;
    const Opened vtp = openBytes(golden("vtp_worked_example.asm"), "VTPSource.asm", empty, german);
    EXPECT_EQ(vtp.kind, OpenedKind::VtpSource);
    EXPECT_EQ(vtp.state.lngDecimal, "-122,304166666667");
    EXPECT_EQ(vtp.state.vtp, ListState({exampleState().vtp.entries, -1}));
    EXPECT_TRUE(vtp.state.lwm.entries.isEmpty());
    EXPECT_EQ(vtp.state.areaX, ""); // not in a VTP file, so left as it was
}

TEST(SourceReading, TakesBackTheWritersLastEntryChange)
{
    const struct
    {
        const char *written, *entry;
    } cases[] = {
        {"VTPWidePoint 4650, 1, 11035, 0", "VTPWidePoint 4650, 0, 11035, 0"},
        {"VTPWidePoint 4602, 1, 11066, 1", "VTPWidePoint 4602, 1, 11066, 0"},
        {"VTPWidePointWidth 1", "VTPWidePointWidth 1"},
        {"free, 1, 0", "free, 0, 0"},
        {"x, 0, 1", "x, 0, 1"}, // a ", 0" before: the writer changed nothing here
        {"no comma 1", "no comma 1"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(vtpLastEntryBeforeWriting(c.written).toStdString(), c.entry);
}

// The lists and counters of `presses` presses as capture makes them, with the width changed
// now and then.
WorkState captured(QRandomGenerator &random, int presses)
{
    WorkState s = exampleState();
    s.lwm = s.vtp = {};
    s.lwmCounter = s.vtpCounter = QString();
    for (int p = 0; p < presses; ++p) {
        const CursorInput at{float(random.bounded(256)), float(random.bounded(256)), 256, 256,
                             s.areaX.toDouble(),         s.areaY.toDouble()};
        const Capture c = capturePoint(at, s.vtpCounter, QString::number(random.bounded(9)),
                                       s.lwm.entries.size(), s.vtp.entries.size());
        s.lwm.entries << c.lwmEntry;
        s.vtp.entries << c.vtpEntries;
        s.lwmCounter = c.lwmCounter;
        s.vtpCounter = c.vtpCounter;
    }
    return s;
}

TEST(SourceReading, CreateOpenCreateGivesTheSameBytes)
{
    const struct
    {
        const char *latDeg, *latMin, *longDeg, *longMin;
        QLocale locale;
    } places[] = {
        {"47", "30.50", "-122", "18.25", english},
        {"-00", "00.00", "-000", "00.00", english},
        {" 47", "30.50 ", "-122 ", " 18.25", english},
        {"47 ", " 30 50", "  -122 ", "18 25", english},
        {"47,5", "3", "-122,25", "1", german},
        {"1.000", "x", "7", "", german},
    };
    QRandomGenerator random(16);
    for (const auto &place : places) {
        for (const int presses : {0, 1, 2, 5, 31, 40, 62, 63, 120, 200}) {
            WorkState s = captured(random, presses);
            s.latDeg = place.latDeg;
            s.latMin = place.latMin;
            s.longDeg = place.longDeg;
            s.longMin = place.longMin;
            const QByteArray lwm = lwmSourceText(lwmInputs(s), place.locale);
            const LwmInputs lwmBack = readLwmSource(lwm, place.locale).inputs;
            EXPECT_EQ(lwmSourceText(lwmBack, place.locale), lwm) << place.latDeg << presses;
            EXPECT_EQ(lwmBack.entries, s.lwm.entries);

            const QByteArray vtp = vtpSourceText(vtpInputs(s), place.locale);
            const VtpInputs vtpBack = readVtpSource(vtp, place.locale).inputs;
            EXPECT_EQ(vtpSourceText(vtpBack, place.locale), vtp) << place.latDeg << presses;
            EXPECT_EQ(vtpBack.entries, s.vtp.entries);
            EXPECT_EQ(vtpBack.vtpNumber.toInt(), s.vtpCounter.toInt());
        }
    }
}

TEST(SourceReading, TypedEntriesWithoutAOneComeBackByteIdentical)
{
    const QStringList lasts = {"free text, 0", "x, 0, 0", "VTPWidePointWidth 3", "", "ä ß"};
    for (const QString &last : lasts) {
        WorkState s = exampleState();
        s.vtp.entries << last;
        s.lwm.entries << last;
        s.altitude = "12, 0, 5";
        const QByteArray vtp = vtpSourceText(vtpInputs(s), english);
        EXPECT_EQ(vtpSourceText(readVtpSource(vtp, english).inputs, english), vtp)
            << last.toStdString();
        const QByteArray lwm = lwmSourceText(lwmInputs(s), english);
        EXPECT_EQ(lwmSourceText(readLwmSource(lwm, english).inputs, english), lwm)
            << last.toStdString();
    }
}

// A file edited by hand may hold tabs and other control characters: they read as typed text
// would (a tab a blank, the rest dropped), so that Create writes the file Marlith would have.
TEST(SourceReading, ControlCharactersReadAsTypedText)
{
    const QByteArray lwm = golden("lwm_worked_example.asm");
    const QByteArray vtp = golden("vtp_worked_example.asm");
    const struct
    {
        const QByteArray &file;
        const char *was, *edited;
    } cases[] = {
        {lwm, "LWMPoint 12, 101", "LWMPoint\t12,\x01 101"},
        {lwm, "LWMPoly2  03, 0, 0, 0, 0",
         "LWMPoly2  03, 0, 0, \x1b"
         "0\x7f, 0"},
        {lwm, "include TDFHeaders.inc", "include\tTDFHeaders.inc\x0c"},
        {lwm, "47 30.50",
         "4\x02"
         "7 30.50"},
        {vtp, "VTPLayer 8, 0", "VTPLayer 8\x03, 0"},
        {vtp, "VTPWidePoint 4650, 1, 11035, 0", "VTPWidePoint 4650,\x04 1, 11035,\t0"},
    };
    for (const auto &c : cases) {
        const QByteArray edited = QByteArray(c.file).replace(c.was, c.edited);
        ASSERT_NE(edited, c.file) << c.was;
        QString fault;
        QByteArray again;
        fault = faultOf([&] {
            again = &c.file == &vtp ? vtpSourceText(readVtpSource(edited, english).inputs, english)
                                    : lwmSourceText(readLwmSource(edited, english).inputs, english);
        });
        EXPECT_EQ(fault, "<no fault>") << c.was;
        EXPECT_EQ(again, c.file) << c.was;
    }
}

QByteArray replacedLine(QByteArray file, int line, const QByteArray &text)
{
    QList<QByteArray> lines = file.split('\n');
    lines[line - 1] = text + '\r';
    return lines.join('\n');
}

TEST(SourceReading, RefusesFilesNotInTheWritersFormNamingTheLine)
{
    const QByteArray lwm = golden("lwm_worked_example.asm");
    const QByteArray vtp = golden("vtp_worked_example.asm");
    QByteArray mixed = vtp;
    mixed.replace(mixed.indexOf("\r\n", 100), 2, "\n");
    QByteArray lfOnly = lwm;
    lfOnly.replace("\r\n", "\n");
    const struct
    {
        QByteArray file;
        bool vtp;
        const char *fault;
    } cases[] = {
        {replacedLine(lwm, 17, "LWMStart          label        word"), false,
         "Line 17 is not as Marlith writes an LWMSource.asm:\nLWMStart          label"},
        {replacedLine(vtp, 49, "Cellv_123_120       EQU        VTPCellID   0, 123, 121"), true,
         "Line 49 is not as Marlith writes a VTPSource.asm"},
        {replacedLine(vtp, 56, ";----> End Cell_123_121's defination data information <----"), true,
         "Line 56 is not"},
        {replacedLine(lwm, 11,
                      "BGLHeader          48, 46, -121, -123.0, LWMHeader, "
                      "TerrainHeaderStart"),
         false, "Line 11 is not"},
        {replacedLine(lwm, 31, "LWMPoly2Ex  63, 0, 0, 0, 0, 193"), false, "Line 31 is not"},
        {replacedLine(lwm, 31, "LWMPoly2  3, 0, 0, 0, 0"), false, "Line 31 is not"},
        {replacedLine(vtp, 33, "VTPPolyMethod2Ex 300"), true, "Line 33 is not"},
        {replacedLine(vtp, 40, "VTPWidePoint 4650, 0, 11035, 0"), true, "Line 40 is not"},
        {replacedLine(vtp, 1, ";----> FS Coordinates:    47"), true, "Line 1 is not"},
        {replacedLine(lwm, 6, "include TDFHeaders.inc\r\nextra"), false, "Line 7 is not"},
        {lwm.left(lwm.size() - 12), false, "cut off: line 60 has no line end"},
        {lwm.left(lwm.indexOf("\r\n;----> End Cell") + 2), false, "it is cut off after line 39"},
        {QByteArray(lwm).replace("\r\n", "\r"), false, "end in CR alone"},
        {mixed, true, "ends in LF alone, unlike the lines before it"},
        {lfOnly.replace(lfOnly.indexOf('\n', 200), 1, "\r\n"), false, "ends in CR LF, unlike"},
        {QByteArray(vtp).replace("11055", QByteArray("11\0"
                                                     "55",
                                                     5)),
         true, "Line 39 holds a NUL character"},
        {QByteArray(vtp).replace("11055", "11\r55"), true, "Line 39 holds a CR that does not"},
        {QByteArray(";----> FS Coordinates:    ")
             + QByteArray("x\r\n").repeated(maxListEntries + 201),
         false, "more lines than Marlith keeps"},
    };
    for (const auto &c : cases) {
        const QString fault = faultOf([&] {
            c.vtp ? (void)readVtpSource(c.file, english) : (void)readLwmSource(c.file, english);
        });
        EXPECT_TRUE(fault.contains(QLatin1String(c.fault)))
            << c.fault << " -> " << fault.toStdString();
    }
}

LwmAreaInputs areaFile(std::vector<LwmPolygon> polygons)
{
    return {"47", "30.50", "-122", "18.25", "123", "120", "2", "27", "5", std::move(polygons)};
}

const LwmPolygon lake{
    LwmFill::Water, "3", {"LWMPoint 10, 10", "LWMPoint 90, 10", "LWMPoint 90, 90"}};
const LwmPolygon pond{
    LwmFill::Water, "3", {"LWMPoint 100, 1", "LWMPoint 120, 1", "LWMPoint 120, 9"}};
const LwmPolygon island{
    LwmFill::Land, "3", {"LWMPoint 40, 20", "LWMPoint 50, 20", "LWMPoint 50, 30"}};

// An area file comes back whole: every polygon in order, the first water one in the list; the
// window's own file of one water polygon comes back as before. Files that do not add up are
// refused, naming the line.
TEST(SourceReading, AreaFilesComeBackWithEveryPolygon)
{
    const struct
    {
        const char *what;
        std::vector<LwmPolygon> polygons;
        int listed;
    } cases[] = {
        {"a lake, an island and a pond", {lake, island, pond}, 0},
        {"an island alone", {island}, -1},
        {"land first", {island, pond, lake}, 1},
        {"eight ponds", std::vector<LwmPolygon>(8, pond), 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray bytes = lwmAreaText(areaFile(c.polygons), english);
        const LwmReading r = readLwmSource(bytes, english);
        EXPECT_EQ(r.polygons, c.polygons);
        EXPECT_EQ(r.listed, c.listed);
        EXPECT_EQ(r.inputs.entries,
                  c.listed < 0 ? QStringList() : c.polygons[std::size_t(c.listed)].entries);
        EXPECT_EQ(r.inputs.altitude, "5");
        EXPECT_EQ(r.inputs.areaY, "27");
        const Opened opened = openBytes(bytes, "LWM_123_120_2_27.asm", WorkState{}, english);
        EXPECT_EQ(opened.polygons, int(c.polygons.size()));
        EXPECT_EQ(opened.state.areaPolygons.size(), c.polygons.size() - (c.listed >= 0));
    }
    const LwmReading own = readLwmSource(golden("lwm_worked_example.asm"), english);
    EXPECT_TRUE(own.polygons.empty());
    EXPECT_EQ(own.inputs.entries.size(), 3);

    const QByteArray three = lwmAreaText(areaFile({lake, island, pond}), english);
    const struct
    {
        QByteArray file;
        const char *fault;
    } bad[] = {
        {replacedLine(three, 29, "LWMDataAreaDrawPolygons 4, 3, 1, 2, 27"), "Line 49 is not"},
        {replacedLine(three, 29, "LWMDataAreaDrawPolygons 2, 3, 1, 2, 27"), "Line 43 is not"},
        {replacedLine(three, 37, "LWMPoly2  03, 0, 2, 5, 0"), "Line 37 is not"},
        {replacedLine(three, 37, "LWMPoly2  03, 0, 1, 6, 0"), "Line 37 is not"},
        {replacedLine(three, 37, "LWMPoly2  04, 0, 1, 5, 0"), "Line 43 is not"},
    };
    for (const auto &c : bad) {
        const QString fault = faultOf([&] { (void)readLwmSource(c.file, english); });
        EXPECT_TRUE(fault.contains(QLatin1String(c.fault)))
            << c.fault << " -> " << fault.toStdString();
    }
}

TEST(SourceReading, AcceptsLineFeedsAloneAndSaysSo)
{
    QByteArray vtp = golden("vtp_worked_example.asm");
    const VtpReading crlf = readVtpSource(vtp, english);
    const VtpReading lf = readVtpSource(vtp.replace("\r\n", "\n"), english);
    EXPECT_TRUE(lf.lfOnly);
    EXPECT_EQ(vtpSourceText(lf.inputs, english), vtpSourceText(crlf.inputs, english));
}

} // namespace
