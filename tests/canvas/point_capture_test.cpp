#include "canvas/overlay.h"
#include "canvas/point_capture.h"
#include "error_of.h"
#include "text/runtime_error.h"

#include <gtest/gtest.h>

namespace {

struct MapCase
{
    float x, y, inner;
    double areaColumn, areaRow;
    const char *lblx, *lbly, *lblvtp2x, *lblvtp2y;
};

TEST(MapCursorToGrid, GivesPixelAndGridReadouts)
{
    const MapCase cases[] = {
        {24, 202, 512, 3, 7, "12, ", "101", "4857, 0, ", "5966, 0"},
        // Halves go to the even pixel.
        {257, 0, 512, 3, 7, "128, ", "0", "4973, 0, ", "5865, 0"},
        {259, 0, 512, 3, 7, "130, ", "0", "4975, 0, ", "5865, 0"},
        // No Calculate yet: area 0, 0.
        {10, 20, 256, 0, 0, "10, ", "20", "4090, 0, ", "4100, 0"},
        // The right edge maps to pixel 256: the label stops at 255, the grid goes on.
        {511, 0, 512, 5, 0, "255, ", "0", "5611, 0, ", "4080, 0"},
        {255, 255, 255, 31, 31, "255, ", "255", "12239, 0, ", "12239, 0"},
        // Dragged outside the panel.
        {-40, -40, 512, 0, 0, "0, ", "0", "4080, 0, ", "4080, 0"},
        {-40, 600, 512, 5, 0, "0, ", "255", "5335, 0, ", "4380, 0"},
    };
    for (const auto &c : cases) {
        const CursorReadouts r =
            mapCursorToGrid({c.x, c.y, c.inner, c.inner, c.areaColumn, c.areaRow}, 0);
        EXPECT_EQ(r.lblx.toStdString(), c.lblx) << c.x;
        EXPECT_EQ(r.lbly.toStdString(), c.lbly) << c.y;
        EXPECT_EQ(r.lblvtp2x.toStdString(), c.lblvtp2x) << c.x;
        EXPECT_EQ(r.lblvtp2y.toStdString(), c.lblvtp2y) << c.y;
    }
    EXPECT_EQ(mapCursorToGrid({24, 202, 512, 512, 3, 7}, 1).lblvtp2x, "4857, 1, ");
}

TEST(MapCursorToGrid, FaultsAreRuntimeErrors)
{
    EXPECT_EQ(errorOf([] {
                  mapCursorToGrid({5, 5, 0, 255, 0, 0}, 0);
              }),
              RuntimeError::DivisionByZero);
    EXPECT_EQ(errorOf([] { mapCursorToGrid({0, 5, 0, 255, 0, 0}, 0); }), RuntimeError::Overflow);
    EXPECT_EQ(errorOf([] {
                  mapCursorToGrid({5, 5, 255, 255, 1e9, 0}, 0);
              }),
              RuntimeError::Overflow);
    EXPECT_EQ(errorOf([] {
                  mapCursorToGrid({1e30f, 5, 255, 255, 0, 0}, 0);
              }),
              RuntimeError::Overflow);
}

TEST(CapturePoint, WorkedExampleFillsBothLists)
{
    const float presses[][2] = {{24, 202}, {80, 180}, {120, 140}};
    QStringList lwm, vtp, lwmCounters, vtpCounters;
    QString vtpCounter;
    for (const auto &p : presses) {
        const Capture c =
            capturePoint({p[0], p[1], 512, 512, 3, 7}, vtpCounter, "0", lwm.size(), vtp.size());
        lwm << c.lwmEntry;
        vtp << c.vtpEntries;
        vtpCounter = c.vtpCounter;
        lwmCounters << c.lwmCounter;
        vtpCounters << c.vtpCounter;
        EXPECT_FALSE(c.lwmWarning);
        EXPECT_FALSE(c.vtpWarning);
    }
    EXPECT_EQ(lwm, (QStringList{"LWMPoint 12, 101", "LWMPoint 40, 90", "LWMPoint 60, 70"}));
    EXPECT_EQ(vtp, (QStringList{"VTPWidePoint 4857, 1, 5966, 0", "VTPWidePointWidth 1",
                                "VTPWidePoint 4857, 1, 5966, 0", "VTPWidePointWidth 0",
                                "VTPWidePoint 4857, 0, 5966, 0", "VTPWidePoint 4885, 0, 5955, 0",
                                "VTPWidePoint 4905, 0, 5935, 0"}));
    EXPECT_EQ(lwmCounters, (QStringList{"1", "2", "3"}));
    EXPECT_EQ(vtpCounters, (QStringList{"3", "4", "5"}));
}

TEST(CapturePoint, TheCounterDecidesWhereALineStarts)
{
    const struct
    {
        const char *counter;
        qsizetype added;
    } cases[] = {
        {"", 5}, {"0", 5}, {"1", 5}, {"-1", 5}, {"abc", 5}, {"1.5", 1}, {"2", 1}, {"40", 1},
    };
    for (const auto &c : cases) {
        const Capture r = capturePoint({1, 1, 255, 255, 0, 0}, c.counter, "0", 9, 9);
        EXPECT_EQ(r.vtpEntries.size(), c.added) << c.counter;
    }
}

TEST(CapturePoint, AfterClearingTheCounterCanGoNegative)
{
    // The VTP list was cleared while its counter read 7.
    Capture c = capturePoint({1, 1, 255, 255, 0, 0}, "7", "0", 0, 0);
    ASSERT_EQ(c.vtpEntries.size(), 1);
    EXPECT_EQ(c.vtpEntries[0], "VTPWidePoint 4081, 0, 4081, 0");
    EXPECT_EQ(c.vtpCounter, "-1");
    c = capturePoint({1, 1, 255, 255, 0, 0}, c.vtpCounter, "0", 1, 1);
    EXPECT_EQ(c.vtpEntries.size(), 5);
    EXPECT_EQ(c.vtpCounter, "4");
}

TEST(CapturePoint, WidthTextIsCopiedAndWarningsStartAboveTheLimits)
{
    EXPECT_EQ(capturePoint({1, 1, 255, 255, 0, 0}, "", "", 0, 0).vtpEntries[3],
              "VTPWidePointWidth ");
    EXPECT_EQ(capturePoint({1, 1, 255, 255, 0, 0}, "", "2.5", 0, 0).vtpEntries[3],
              "VTPWidePointWidth 2.5");
    const struct
    {
        qsizetype lwm, vtp;
        bool lwmRed, vtpRed;
    } cases[] = {
        {61, 32, false, false},
        {62, 33, true, true},
        {100000, 100000, true, true},
    };
    for (const auto &c : cases) {
        const Capture r = capturePoint({1, 1, 255, 255, 0, 0}, "5", "0", c.lwm, c.vtp);
        EXPECT_EQ(r.lwmWarning, c.lwmRed) << c.lwm;
        EXPECT_EQ(r.vtpWarning, c.vtpRed) << c.vtp;
    }
}

TEST(CapturePixel, CapturesAsThePressThatMapsToIt)
{
    const float cursors[][2] = {{24, 202}, {257, 259}, {511, 0}, {-40, 600}, {700, -700}};
    for (const char *counter : {"", "2"}) {
        for (const auto &p : cursors) {
            const Capture press = capturePoint({p[0], p[1], 512, 512, 5, 31}, counter, "3", 4, 6);
            const Capture pixel =
                capturePixel({{p[0] * 256.0 / 512, p[1] * 256.0 / 512}, 5, 31}, counter, "3", 4, 6);
            EXPECT_EQ(pixel.lwmEntry, press.lwmEntry) << p[0];
            EXPECT_EQ(pixel.vtpEntries, press.vtpEntries) << p[0];
            EXPECT_EQ(pixel.lwmCounter, press.lwmCounter);
            EXPECT_EQ(pixel.vtpCounter, press.vtpCounter);
        }
    }
}

TEST(CaptureRun, PressesInTurnEachReadingTheCounterBeforeIt)
{
    const CaptureRun run = captureRun({{12, 101}, {40, 90}, {60, 70}}, 3, 7, "", "0", 0, 0);
    EXPECT_EQ(run.lwmEntries,
              (QStringList{"LWMPoint 12, 101", "LWMPoint 40, 90", "LWMPoint 60, 70"}));
    EXPECT_EQ(run.vtpEntries.size(), 7);
    EXPECT_EQ(run.vtpEntries[6], "VTPWidePoint 4905, 0, 5935, 0");
    EXPECT_EQ(run.last.lwmCounter, "3");
    EXPECT_EQ(run.last.vtpCounter, "5");
    EXPECT_EQ(run.last.readouts.lbly, "70");

    // After a cleared VTP list whose counter read 7: one point, then a start group.
    const CaptureRun cleared = captureRun({{1, 1}, {2, 2}}, 0, 0, "7", "0", 10, 0);
    EXPECT_EQ(cleared.vtpEntries.size(), 6);
    EXPECT_EQ(cleared.last.vtpCounter, "4");
    EXPECT_EQ(cleared.last.lwmCounter, "12");

    // An empty run presses nothing; its last press is blank, with no warning to copy.
    const CaptureRun empty = captureRun({}, 3, 7, "5", "0", 70, 70);
    EXPECT_TRUE(empty.lwmEntries.isEmpty() && empty.vtpEntries.isEmpty());
    EXPECT_FALSE(empty.last.lwmWarning || empty.last.vtpWarning);
}

TEST(Overlay, EntriesMapBackToImagePixels)
{
    const GridPlace area{100, 50, 3, 7};
    EXPECT_EQ(lwmEntryPixel(u"LWMPoint 12, 101"), QPointF(12, 101));
    EXPECT_EQ(vtpEntryPixel(u"VTPWidePoint 4857, 0, 5966, 0", area), QPointF(12, 101));
    // Before any Calculate a press places its grid point in area 0, 0.
    EXPECT_EQ(vtpEntryPixel(u"VTPWidePoint 4090, 1, 4100, 0", std::nullopt), QPointF(10, 20));
    EXPECT_EQ(lwmEntryPixel(u"LWMPoint  -3 ,+4 "), QPointF(-3, 4)); // as typed by hand
    for (const char16_t *text :
         {u"free text", u"LWMPoint 12", u"LWMPoint 1, 2, 3", u"LWMPoint 1, 2,", u"LWMPoint , 2",
          u"LWMPoint 1,, 2", u"LWMPoint 1.5, 2"})
        EXPECT_FALSE(lwmEntryPixel(text)) << QString::fromUtf16(text).toStdString();
    EXPECT_FALSE(vtpEntryPixel(u"VTPWidePointWidth 1", area));
    EXPECT_FALSE(vtpEntryPixel(u"VTPWidePoint a, b, c, d", area));
}

// The shapes draw what the presses made, and mark the selected entry's vertex also where
// entries without a place (widths, typed text) come before it.
TEST(Overlay, ShapesOfPressedListsMarkTheSelectedEntry)
{
    const GridPlace area{100, 50, 3, 7};
    const CaptureRun run = captureRun({{12, 101}, {40, 90}, {60, 70}}, 3, 7, "", "4", 0, 0);
    QStringList lwm = run.lwmEntries;
    lwm.insert(1, "typed by hand");
    const Shape polygon = lwmShape(lwm, 2);
    EXPECT_EQ(polygon.points, (QPolygonF{{12, 101}, {40, 90}, {60, 70}}));
    EXPECT_EQ(polygon.mark, 1);
    EXPECT_EQ(lwmShape(lwm, 1).mark, -1);

    // The start group's point, its width entries and its point again, then one a press.
    const Shape line = vtpShape(run.vtpEntries, area, 5);
    EXPECT_EQ(line.points, (QPolygonF{{12, 101}, {12, 101}, {12, 101}, {40, 90}, {60, 70}}));
    EXPECT_EQ(line.mark, 3);
    // What a press appended alone, its selection counted from the start of the list.
    const Shape appended = vtpShape(run.vtpEntries, area, 6, 5);
    EXPECT_EQ(appended.points, (QPolygonF{{40, 90}, {60, 70}}));
    EXPECT_EQ(appended.mark, 1);

    const std::vector<FilledShape> filled =
        filledShapes({{LwmFill::Water, "3", run.lwmEntries}, {LwmFill::Land, "0", {}}});
    ASSERT_EQ(filled.size(), 2u);
    EXPECT_EQ(filled[0].points, polygon.points);
    EXPECT_FALSE(filled[0].land);
    EXPECT_TRUE(filled[1].land && filled[1].points.isEmpty());
}

// A written area shows its polygons and, of its cell's lines, those whose box meets the area
// (pixels 0 to 255), also when the box is flat or only touches the edge.
TEST(Overlay, WrittenAreaKeepsTheLinesOverTheArea)
{
    const GridPlace area{100, 50, 3, 7}; // grid points 4845..5100 across, 5865..6120 down
    const auto line = [](int x1, int y1, int x2, int y2) {
        return QStringList{QStringLiteral("VTPWidePoint %1, 1, %2, 0").arg(x1).arg(y1),
                           QStringLiteral("VTPWidePointWidth 0"),
                           QStringLiteral("VTPWidePoint %1, 0, %2, 0").arg(x2).arg(y2)};
    };
    const std::vector<QStringList> cellLines{
        line(4700, 5966, 5300, 5966),      // flat, across the area
        line(6000, 5900, 6100, 5950),      // in an area to the east
        line(5100, 5900, 5200, 5900),      // from the east edge on
        line(4900, 5000, 4950, 5800),      // north of the area
        {"VTPWidePoint 4900, 1, 5900, 0"}, // a single point draws nothing
    };
    const Overlay overlay = writtenAreaOverlay(
        {{LwmFill::Water, "3", {"LWMPoint 1, 1", "LWMPoint 9, 1", "LWMPoint 9, 9"}},
         {LwmFill::Land, "0", {"LWMPoint 4, 4", "LWMPoint 6, 4", "LWMPoint 5, 6"}}},
        cellLines, area);
    ASSERT_EQ(overlay.filled.size(), 2u);
    EXPECT_TRUE(!overlay.filled[0].land && overlay.filled[1].land);
    ASSERT_EQ(overlay.lines.size(), 2u);
    EXPECT_EQ(overlay.lines[0], (QPolygonF{{-145, 101}, {455, 101}}));
    EXPECT_EQ(overlay.lines[1].first(), QPointF(255, 35));
    EXPECT_TRUE(overlay.polygon.points.isEmpty() && overlay.line.points.isEmpty());
}

} // namespace
