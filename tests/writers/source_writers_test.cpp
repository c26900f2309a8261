#include "error_of.h"
#include "file_bytes.h"
#include "golden.h"
#include "text/runtime_error.h"
#include "writers/source_writers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <system_error>

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);
const QLocale german(QLocale::German, QLocale::Germany);

// Compares two files line by line and names the first line that differs.
::testing::AssertionResult sameFile(const QByteArray &actual, const QByteArray &expected)
{
    const QList<QByteArray> a = actual.split('\n'), e = expected.split('\n');
    for (qsizetype i = 0; i < std::max(a.size(), e.size()); ++i) {
        const QByteArray al = i < a.size() ? a[i] : "<end of file>";
        const QByteArray el = i < e.size() ? e[i] : "<end of file>";
        if (al != el)
            return ::testing::AssertionFailure() << "line " << i + 1 << ": got [" << al.data()
                                                 << "] expected [" << el.data() << "]";
    }
    return ::testing::AssertionSuccess();
}

QList<QByteArray> lines(const QByteArray &file)
{
    QList<QByteArray> l = file.split('\n');
    EXPECT_TRUE(l.last().isEmpty()); // the file ends in a line end
    l.removeLast();
    for (QByteArray &line : l) {
        EXPECT_TRUE(line.endsWith('\r'));
        line.chop(1);
    }
    return l;
}

LwmInputs seattleLwm()
{
    return {"47",
            "30.50",
            "-122",
            "18.25",
            "123",
            "120",
            "2",
            "27",
            "3",
            "0",
            {"LWMPoint 12, 101", "LWMPoint 40, 90", "LWMPoint 60, 70"}};
}

VtpInputs seattleVtp()
{
    return {"47",
            "30.50",
            "-122",
            "18.25",
            "123",
            "120",
            "8",
            "5",
            "\"1139\"  ;asphalt / 2 lanes",
            {"VTPWidePoint 4602, 1, 11066, 0", "VTPWidePointWidth 1",
             "VTPWidePoint 4602, 1, 11066, 0", "VTPWidePointWidth 0",
             "VTPWidePoint 4602, 0, 11066, 0", "VTPWidePoint 4630, 0, 11055, 0",
             "VTPWidePoint 4650, 0, 11035, 0"}};
}

TEST(LwmWriter, WorkedExampleComesOutByteForByte)
{
    const QByteArray file = lwmSourceText(seattleLwm(), english);
    EXPECT_TRUE(sameFile(file, golden("lwm_worked_example.asm")));
    EXPECT_TRUE(file.endsWith("LWMEnd        label        word\r\n\r\n"));
}

LwmAreaInputs seattleArea(std::vector<LwmPolygon> polygons)
{
    const LwmInputs one = seattleLwm();
    return {one.latDeg, one.latMin, one.longDeg, one.longMin,  one.cellX,
            one.cellY,  one.areaX,  one.areaY,   one.altitude, std::move(polygons)};
}

// One water polygon is the window's file; more are each written as that one is, in order,
// under a header that counts them, in its extended form from 7 on.
TEST(LwmAreaWriter, WritesEveryPolygonInOrderUnderAHeaderThatCountsThem)
{
    const LwmInputs one = seattleLwm();
    EXPECT_EQ(lwmAreaText(seattleArea({{LwmFill::Water, one.lwmNumber, one.entries}}), english),
              lwmSourceText(one, english));

    const LwmAreaInputs lakeIslandPond = seattleArea({
        {LwmFill::Water, "3", {"LWMPoint 1, 1", "LWMPoint 9, 1", "LWMPoint 9, 9"}},
        {LwmFill::Water, "63", QStringList(63, "LWMPoint 20, 20")},
        {LwmFill::Land, "3", {"LWMPoint 2, 2", "LWMPoint 3, 2", "LWMPoint 3, 3"}},
    });
    const QList<QByteArray> l = lines(lwmAreaText(lakeIslandPond, english));
    EXPECT_EQ(l[28], "LWMDataAreaDrawPolygons 3, 3, 1, 2, 27");
    EXPECT_EQ(l[30], "LWMPoly2  03, 0, 0, 0, 0");
    EXPECT_EQ(l[32], "LWMPoint 1, 1");
    EXPECT_EQ(l[35], "");
    EXPECT_EQ(l[36], "LWMPoly2Ex  63, 0, 0, 0, 0, 0");
    EXPECT_EQ(l[38 + 63], "");
    EXPECT_EQ(l[39 + 63], "LWMPoly2  03, 0, 1, 0, 0");
    EXPECT_EQ(l[41 + 63], "LWMPoint 2, 2");
    EXPECT_EQ(l[44 + 63], "");
    EXPECT_EQ(l[45 + 63], "");
    EXPECT_TRUE(l[46 + 63].contains("datamark_1"));

    const struct
    {
        int polygons;
        const char *header;
    } headers[] = {
        {6, "LWMDataAreaDrawPolygons 6, 3, 1, 2, 27"},
        {7, "LWMDataAreaDrawPolygonsEx 7, 3, 1, 2, 27, 0"},
        {lwmPolygonLimit, "LWMDataAreaDrawPolygonsEx 7, 3, 1, 2, 27, 255"},
    };
    for (const auto &c : headers) {
        const LwmAreaInputs in =
            seattleArea(std::vector<LwmPolygon>(std::size_t(c.polygons), {LwmFill::Land, "0", {}}));
        EXPECT_EQ(lines(lwmAreaText(in, english))[28].toStdString(), c.header);
    }
    const LwmAreaInputs tooMany =
        seattleArea(std::vector<LwmPolygon>(lwmPolygonLimit + 1, {LwmFill::Water, "0", {}}));
    try {
        lwmAreaText(tooMany, english);
        ADD_FAILURE() << "more polygons than an area takes were written";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number(), RuntimeError::Overflow);
        EXPECT_TRUE(e.detail().contains("area 2, 27 of cell 123_120")) << qPrintable(e.detail());
    }
}

TEST(VtpWriter, WorkedExampleComesOutByteForByte)
{
    const VtpInputs in = seattleVtp();
    EXPECT_TRUE(sameFile(vtpSourceText(in, english), golden("vtp_worked_example.asm")));
    EXPECT_EQ(in.entries.last(), "VTPWidePoint 4650, 0, 11035, 0"); // the list keeps its text
}

TEST(LwmWriter, PolygonLineFollowsTheCount)
{
    const struct
    {
        const char *count, *line;
    } cases[] = {
        {"62", "LWMPoly2  62, 0, 0, 0, 0"},         {"63", "LWMPoly2Ex  63, 0, 0, 0, 0, 0"},
        {"70", "LWMPoly2Ex  63, 0, 0, 0, 0, 7"},    {"6.5", "LWMPoly2  06, 0, 0, 0, 0"},
        {"7.5", "LWMPoly2  08, 0, 0, 0, 0"},        {"", "LWMPoly2  00, 0, 0, 0, 0"},
        {"255", "LWMPoly2Ex  63, 0, 0, 0, 0, 192"}, {"abc", "LWMPoly2  00, 0, 0, 0, 0"},
    };
    for (const auto &c : cases) {
        LwmInputs in = seattleLwm();
        in.lwmNumber = c.count;
        EXPECT_EQ(lines(lwmSourceText(in, english))[30].toStdString(), c.line) << c.count;
    }
}

TEST(LwmWriter, EmptyListAndNoCalculateLeaveEmptyPlaces)
{
    LwmInputs in{"-00", "00.00", "-000", "00.00", "", "", "", "", "", "0", {}};
    const QList<QByteArray> l = lines(lwmSourceText(in, english));
    ASSERT_EQ(l.size(), 58);
    EXPECT_EQ(l[0], ";----> FS Coordinates:    -00 00.00   -000 00.00");
    EXPECT_EQ(l[10], "BGLHeader          1, -1, 1, -1, LWMHeader, TerrainHeaderStart");
    EXPECT_EQ(l[20], ";----> Begin Cell__'s ----> Area (LOD 13) data information <----");
    EXPECT_EQ(l[28], "LWMDataAreaDrawPolygons 1, 3, 1, , ");
    EXPECT_EQ(l[30], "LWMPoly2  00, 0, 0, 0, 0");
    EXPECT_EQ(l[31], "");
    EXPECT_EQ(l[32], "");
    EXPECT_EQ(l[33], "");
    EXPECT_TRUE(l[34].startsWith("                  datamark_1"));
    EXPECT_EQ(l[42], "Cell__       EQU        LWMCellID   0, 0, 3, , ");
}

TEST(LwmWriter, TypedTextsAreCopiedAsTyped)
{
    LwmInputs in = seattleLwm();
    // Control characters never reach a line: a tab is a blank, the rest are dropped.
    in.altitude = "\x1b"
                  "12.5\r";
    in.latDeg = "47.5\x7f";
    in.latMin = "30.50\r\n";
    in.entries = {"free\ttext,\n 0", "\x01"};
    const QList<QByteArray> l = lines(lwmSourceText(in, english));
    EXPECT_EQ(l[0], ";----> FS Coordinates:    47.5 30.50   -122 18.25");
    EXPECT_EQ(l[10], "BGLHeader          48.5, 46.5, -121, -123, LWMHeader, TerrainHeaderStart");
    EXPECT_EQ(l[30], "LWMPoly2  03, 0, 0, 12.5, 0");
    EXPECT_EQ(l[32], "free text, 0");
    EXPECT_EQ(l[33], "");
    EXPECT_EQ(l.size(), 60);
}

TEST(VtpWriter, PolylineCountSplitsAtThirtyOne)
{
    const struct
    {
        const char *count, *first, *extra;
    } cases[] = {
        {"5", "VTPPolyMethod2 05, 1, 0", nullptr},
        {"31", "VTPPolyMethod2 31, 1, 0", nullptr},
        {"32", "VTPPolyMethod2 31, 1, 0", "VTPPolyMethod2Ex 01"},
        {"40", "VTPPolyMethod2 31, 1, 0", "VTPPolyMethod2Ex 09"},
        {"255", "VTPPolyMethod2 31, 1, 0", "VTPPolyMethod2Ex 224"},
        {"", "VTPPolyMethod2 00, 1, 0", nullptr},
        {"abc", "VTPPolyMethod2 00, 1, 0", nullptr},
        {"2.5", "VTPPolyMethod2 02, 1, 0", nullptr},
        {"3.5", "VTPPolyMethod2 04, 1, 0", nullptr},
    };
    for (const auto &c : cases) {
        VtpInputs in = seattleVtp();
        in.vtpNumber = c.count;
        const QList<QByteArray> l = lines(vtpSourceText(in, english));
        EXPECT_EQ(l[31].toStdString(), c.first) << c.count;
        EXPECT_EQ(l[32].toStdString(), c.extra ? c.extra : "") << c.count;
        EXPECT_EQ(l.size(), c.extra ? 97 : 96) << c.count;
    }
}

TEST(VtpWriter, OnlyTheLastEntryGetsItsFirstZeroTurned)
{
    const struct
    {
        QStringList entries;
        const char *block;
    } cases[] = {
        {{"VTPWidePoint 4602, 0, 11066, 0"}, "VTPWidePoint 4602, 1, 11066, 0"},
        {{"VTPWidePoint 4602, 1, 11066, 0"}, "VTPWidePoint 4602, 1, 11066, 1"},
        {{"VTPWidePoint 1, 0, 2, 0", "VTPWidePointWidth 1"},
         "VTPWidePoint 1, 0, 2, 0\r\nVTPWidePointWidth 1"},
        {{"a, 0, 0", "b, 0, 0"}, "a, 0, 0\r\nb, 1, 0"},
        {{}, ""},
    };
    for (const auto &c : cases) {
        VtpInputs in = seattleVtp();
        in.entries = c.entries;
        // The block sits between the template's empty line and its closing width entry.
        const QByteArray file = vtpSourceText(in, english);
        const QByteArray block = QByteArray("\r\n\r\n") + c.block + "\r\nVTPWidePointWidth 0\r\n";
        EXPECT_TRUE(file.contains(block)) << c.block;
    }
}

TEST(VtpWriter, EmptyListStartTextsAndNoCalculate)
{
    VtpInputs in{"-00", "00.00", "-000", "00.00", "", "", "8", "", "Select VTP Road/Line/Shoreline",
                 {}};
    const QList<QByteArray> l = lines(vtpSourceText(in, english));
    ASSERT_EQ(l.size(), 90);
    EXPECT_EQ(l[11], "BGLHeader          1, -1, 1, -1, TerrainHeaderStart, VTPHeader");
    EXPECT_EQ(l[32], "");
    EXPECT_EQ(l[33], "");
    EXPECT_EQ(l[34], "VTPWidePointWidth 0");
    EXPECT_EQ(l[42], "Cellv__       EQU        VTPCellID   0, , ");
    EXPECT_EQ(l[65], "                   VTPTextureName Select VTP Road/Line/Shoreline");
}

TEST(Writers, BadDegreesAndCountsAreRuntimeErrors)
{
    const struct
    {
        const char *latDeg, *count;
        int error;
    } cases[] = {
        {"", "3", RuntimeError::TypeMismatch},    {"abc", "3", RuntimeError::TypeMismatch},
        {"47x", "3", RuntimeError::TypeMismatch}, {"47", "-1", RuntimeError::Overflow},
        {"47", "255.5", RuntimeError::Overflow},  {"47", "300", RuntimeError::Overflow},
        {"x", "300", RuntimeError::TypeMismatch}, {" 47 ", "254.5", 0},
    };
    for (const auto &c : cases) {
        LwmInputs lwm = seattleLwm();
        lwm.latDeg = c.latDeg;
        lwm.lwmNumber = c.count;
        EXPECT_EQ(errorOf([&] { lwmSourceText(lwm, english); }), c.error) << c.latDeg << c.count;
        VtpInputs vtp = seattleVtp();
        vtp.latDeg = c.latDeg;
        vtp.vtpNumber = c.count;
        EXPECT_EQ(errorOf([&] { vtpSourceText(vtp, english); }), c.error) << c.latDeg << c.count;
    }
    LwmInputs badLongitude = seattleLwm();
    badLongitude.longDeg = "W122";
    EXPECT_EQ(errorOf([&] { lwmSourceText(badLongitude, english); }), RuntimeError::TypeMismatch);
}

TEST(Writers, DecimalCommaLocaleWritesTheSameBytes)
{
    LwmInputs en = seattleLwm(), de = seattleLwm();
    en.latDeg = "47.5";
    de.latDeg = "47,5";
    EXPECT_EQ(lwmSourceText(en, english), [&] {
        QByteArray expected = lwmSourceText(de, german);
        return expected.replace("47,5 30.50", "47.5 30.50");
    }());
    VtpInputs ven = seattleVtp(), vde = seattleVtp();
    vde.longDeg = "-122,25";
    ven.longDeg = "-122.25";
    EXPECT_TRUE(vtpSourceText(vde, german).contains("48, 46, -121.25, -123.25,"));
    EXPECT_TRUE(vtpSourceText(ven, english).contains("48, 46, -121.25, -123.25,"));
}

TEST(Writers, TextOutsideLatin1BecomesQuestionMarks)
{
    LwmInputs in = seattleLwm();
    in.entries = {QStringLiteral("LWMPoint 東京, Zürich")};
    const QByteArray file = lwmSourceText(in, english);
    EXPECT_TRUE(file.contains("LWMPoint ??, Z\xfcrich\r\n"));
}

// The lines between the line before a list block and the line after it, both found by
// their start.
QList<QByteArray> block(const QByteArray &file, const char *before, const char *after)
{
    const QList<QByteArray> l = lines(file);
    qsizetype first = 0, last = 0;
    for (qsizetype i = 0; i < l.size(); ++i) {
        if (!first && l[i].startsWith(before))
            first = i + 1;
        if (first && i > first && l[i].startsWith(after))
            last = i;
    }
    return l.mid(first, last - first);
}

TEST(Writers, ListBlocksHoldEachEntryOnItsOwnLine)
{
    const struct
    {
        QStringList entries;
        QList<QByteArray> lwm, vtp;
    } cases[] = {
        {{}, {"", "", ""}, {"", ""}},
        {{"a, 0, 0"}, {"", "a, 0, 0", "", ""}, {"", "a, 1, 0"}},
        {{"b, 0", "x", "c"}, {"", "b, 0", "x", "c", "", ""}, {"", "b, 0", "x", "c"}},
        {{QStringLiteral("\u6771, 0"), QStringLiteral("\U0001D11E, 0, 0")},
         {"", "?, 0", "??, 0, 0", "", ""},
         {"", "?, 0", "??, 1, 0"}},
        {{"", ""}, {"", "", "", "", ""}, {"", "", ""}},
        {{"a\r\nb, 0", "\tc,\x01 0"}, {"", "ab, 0", " c, 0", "", ""}, {"", "ab, 0", " c, 1"}},
    };
    for (const auto &c : cases) {
        LwmInputs lwm = seattleLwm();
        lwm.entries = c.entries;
        EXPECT_EQ(block(lwmSourceText(lwm, english), "LWMPoly2", "                  datamark_1"),
                  c.lwm)
            << c.entries.join('|').toStdString();
        VtpInputs vtp = seattleVtp();
        vtp.entries = c.entries;
        EXPECT_EQ(block(vtpSourceText(vtp, english), "VTPPolyMethod2", "VTPWidePointWidth 0"),
                  c.vtp)
            << c.entries.join('|').toStdString();
    }
}

TEST(Writers, LongEntriesAndManyEntriesStayWhole)
{
    VtpInputs in = seattleVtp();
    in.entries = {QString(100000, u'x') + ", 0"};
    const QByteArray one = vtpSourceText(in, english);
    EXPECT_TRUE(one.contains(QByteArray(100000, 'x') + ", 1\r\nVTPWidePointWidth 0\r\n"));
    LwmInputs many = seattleLwm();
    many.entries = QStringList(100000, QStringLiteral("LWMPoint 1, 2"));
    EXPECT_EQ(lines(lwmSourceText(many, english)).size(), 58 + 100000);
}

TEST(SourceFiles, FailuresLeaveTheEarlierFileAsItWas)
{
    QTemporaryDir dir;
    const QString path = lwmSourcePath(dir.path());
    writeSourceFile(path, "first\r\n");
    writeSourceFile(path, "second\r\n");
    EXPECT_EQ(fileBytes(path), "second\r\n");

    // A directory where the file should be.
    QDir(dir.path()).mkdir("VTPSource.asm");
    EXPECT_EQ(errorOf([&] { writeSourceFile(vtpSourcePath(dir.path()), "x"); }),
              RuntimeError::PathFileAccess);
    EXPECT_TRUE(QFileInfo(vtpSourcePath(dir.path())).isDir());

    // A folder that cannot be written (root ignores permissions, so only check elsewhere).
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    if (!QFile(dir.path() + "/probe").open(QIODevice::WriteOnly)) {
        EXPECT_EQ(errorOf([&] { writeSourceFile(path, "third"); }), RuntimeError::PathFileAccess);
        EXPECT_EQ(fileBytes(path), "second\r\n");
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(SourceFiles, AMissingFolderIsMadeWithTheFirstFile)
{
    QTemporaryDir dir;
    const QString path = lwmSourcePath(dir.filePath("Documents/Marlith"));
    writeSourceFile(path, "made\r\n");
    EXPECT_EQ(fileBytes(path), "made\r\n");

    // A file where a folder should be: the report names the folder and the system's reason.
    ASSERT_TRUE(writeFileBytes(dir.filePath("blocker"), {}));
    const QString folder = QDir::toNativeSeparators(dir.filePath("blocker/Marlith"));
    try {
        writeSourceFile(vtpSourcePath(folder), "x");
        ADD_FAILURE() << "a folder under a file was written";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number(), RuntimeError::PathFileAccess);
        EXPECT_TRUE(e.detail().contains(folder)) << e.detail().toStdString();
        EXPECT_TRUE(e.detail().contains(
            QString::fromStdString(std::make_error_code(std::errc::not_a_directory).message())))
            << e.detail().toStdString();
    }
}

TEST(SourceFiles, AReadOnlyFileIsNotReplaced)
{
    // Renaming over it would work even so; the user marked it to keep it.
    QTemporaryDir dir;
    const QString path = vtpSourcePath(dir.path());
    writeSourceFile(path, "kept\r\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_EQ(errorOf([&] { writeSourceFile(path, "new"); }), RuntimeError::PathFileAccess);
    EXPECT_EQ(fileBytes(path), "kept\r\n");

    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    writeSourceFile(path, "new");
    EXPECT_EQ(fileBytes(path), "new");
}

TEST(SourceFiles, AFileOpenInAnotherProgramIsKeptUntilItIsClosed)
{
    QTemporaryDir dir;
    // A user's folder, with a blank and letters outside the ANSI code page.
    const QString folder = dir.filePath(QStringLiteral("Zo\u00eb's Scenery \u03a9\u6e56"));
    const QString path = lwmSourcePath(folder);
    writeSourceFile(path, "kept\r\n");
    QFile holder(path);
    ASSERT_TRUE(holder.open(QIODevice::ReadOnly));
#ifdef Q_OS_WIN
    // Windows refuses to replace it; elsewhere an open file is no obstacle.
    try {
        writeSourceFile(path, "new\r\n");
        ADD_FAILURE() << "a file open in another program was replaced";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number(), RuntimeError::PathFileAccess);
        EXPECT_TRUE(e.detail().contains(QStringLiteral("another program has the file open")))
            << e.detail().toStdString();
    }
    EXPECT_EQ(fileBytes(path), "kept\r\n");
    holder.close();
#endif
    writeSourceFile(path, "new\r\n");
    EXPECT_EQ(fileBytes(path), "new\r\n");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("LWMSource.asm")});
}

} // namespace
