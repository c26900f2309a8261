#include "canvas/overlay.h"
#include "canvas/point_capture.h"
#include "error_of.h"
#include "text/runtime_error.h"

#include <gtest/gtest.h>

namespace {

struct MapCase
{
    float x, y, inner;
    const char *areaColumn, *areaRow;
    const char *lblx, *lbly, *lblvtp2x, *lblvtp2y;
};

TEST(MapCursorToGrid, GivesPixelAndGridReadouts)
{
    const MapCase cases[] = {
        {24, 202, 512, "3", "7", "12, ", "101", "4857, 0, ", "5966, 0"},
        // Halves go to the even pixel.
        {257, 0, 512, "3", "7", "128, ", "0", "4973, 0, ", "5865, 0"},
        {259, 0, 512, "3", "7", "130, ", "0", "4975, 0, ", "5865, 0"},
        // No Calculate yet: area 0, 0.
        {10, 20, 256, "", "", "10, ", "20", "4090, 0, ", "4100, 0"},
        // The right edge maps to pixel 256: the label stops at 255, the grid goes on.
        {511, 0, 512, "5", "0", "255, ", "0", "5611, 0, ", "4080, 0"},
        {255, 255, 255, "31", "31", "255, ", "255", "12239, 0, ", "12239, 0"},
        // Dragged outside the panel.
        {-40, -40, 512, "0", "0", "0, ", "0", "4080, 0, ", "4080, 0"},
        {-40, 600, 512, "5", "0", "0, ", "255", "5335, 0, ", "4380, 0"},
    };
    for (const auto &c : cases) {
        const CursorReadouts r =
            mapCursorToGrid({c.x, c.y, c.inner, c.inner, c.areaColumn, c.areaRow}, 0);
        EXPECT_EQ(r.lblx.toStdString(), c.lblx) << c.x;
        EXPECT_EQ(r.lbly.toStdString(), c.lbly) << c.y;
        EXPECT_EQ(r.lblvtp2x.toStdString(), c.lblvtp2x) << c.x;
        EXPECT_EQ(r.lblvtp2y.toStdString(), c.lblvtp2y) << c.y;
    }
    EXPECT_EQ(mapCursorToGrid({24, 202, 512, 512, "3", "7"}, 1).lblvtp2x, "4857, 1, ");
}

TEST(MapCursorToGrid, FaultsAreRuntimeErrors)
{
    EXPECT_EQ(errorOf([] {
                  mapCursorToGrid({5, 5, 0, 255, "", ""}, 0);
              }),
              RuntimeError::DivisionByZero);
    EXPECT_EQ(errorOf([] { mapCursorToGrid({0, 5, 0, 255, "", ""}, 0); }), RuntimeError::Overflow);
    EXPECT_EQ(errorOf([] {
                  mapCursorToGrid({5, 5, 255, 255, "1e9", ""}, 0);
              }),
              RuntimeError::Overflow);
    EXPECT_EQ(errorOf([] {
                  mapCursorToGrid({1e30f, 5, 255, 255, "", ""}, 0);
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
            capturePoint({p[0], p[1], 512, 512, "3", "7"}, vtpCounter, "0", lwm.size(), vtp.size());
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
        const Capture r = capturePoint({1, 1, 255, 255, "", ""}, c.counter, "0", 9, 9);
        EXPECT_EQ(r.vtpEntries.size(), c.added) << c.counter;
    }
}

TEST(CapturePoint, AfterClearingTheCounterCanGoNegative)
{
    // The VTP list was cleared while its counter read 7.
    Capture c = capturePoint({1, 1, 255, 255, "", ""}, "7", "0", 0, 0);
    ASSERT_EQ(c.vtpEntries.size(), 1);
    EXPECT_EQ(c.vtpEntries[0], "VTPWidePoint 4081, 0, 4081, 0");
    EXPECT_EQ(c.vtpCounter, "-1");
    c = capturePoint({1, 1, 255, 255, "", ""}, c.vtpCounter, "0", 1, 1);
    EXPECT_EQ(c.vtpEntries.size(), 5);
    EXPECT_EQ(c.vtpCounter, "4");
}

TEST(CapturePoint, WidthTextIsCopiedAndWarningsStartAboveTheLimits)
{
    EXPECT_EQ(capturePoint({1, 1, 255, 255, "", ""}, "", "", 0, 0).vtpEntries[3],
              "VTPWidePointWidth ");
    EXPECT_EQ(capturePoint({1, 1, 255, 255, "", ""}, "", "2.5", 0, 0).vtpEntries[3],
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
        const Capture r = capturePoint({1, 1, 255, 255, "", ""}, "5", "0", c.lwm, c.vtp);
        EXPECT_EQ(r.lwmWarning, c.lwmRed) << c.lwm;
        EXPECT_EQ(r.vtpWarning, c.vtpRed) << c.vtp;
    }
}

TEST(CapturePixel, CapturesAsThePressThatMapsToIt)
{
    const float cursors[][2] = {{24, 202}, {257, 259}, {511, 0}, {-40, 600}, {700, -700}};
    for (const char *counter : {"", "2"}) {
        for (const auto &p : cursors) {
            const Capture press =
                capturePoint({p[0], p[1], 512, 512, "5", "31"}, counter, "3", 4, 6);
            const Capture pixel = capturePixel(
                {{p[0] * 256.0 / 512, p[1] * 256.0 / 512}, "5", "31"}, counter, "3", 4, 6);
            EXPECT_EQ(pixel.lwmEntry, press.lwmEntry) << p[0];
            EXPECT_EQ(pixel.vtpEntries, press.vtpEntries) << p[0];
            EXPECT_EQ(pixel.lwmCounter, press.lwmCounter);
            EXPECT_EQ(pixel.vtpCounter, press.vtpCounter);
        }
    }
}

TEST(CaptureRun, PressesInTurnEachReadingTheCounterBeforeIt)
{
    const CaptureRun run = captureRun({{12, 101}, {40, 90}, {60, 70}}, "3", "7", "", "0", 0, 0);
    EXPECT_EQ(run.lwmEntries,
              (QStringList{"LWMPoint 12, 101", "LWMPoint 40, 90", "LWMPoint 60, 70"}));
    EXPECT_EQ(run.vtpEntries.size(), 7);
    EXPECT_EQ(run.vtpEntries[6], "VTPWidePoint 4905, 0, 5935, 0");
    EXPECT_EQ(run.last.lwmCounter, "3");
    EXPECT_EQ(run.last.vtpCounter, "5");
    EXPECT_EQ(run.last.readouts.lbly, "70");

    // After a cleared VTP list whose counter read 7: one point, then a start group.
    const CaptureRun cleared = captureRun({{1, 1}, {2, 2}}, "", "", "7", "0", 10, 0);
    EXPECT_EQ(cleared.vtpEntries.size(), 6);
    EXPECT_EQ(cleared.last.vtpCounter, "4");
    EXPECT_EQ(cleared.last.lwmCounter, "12");

    // An empty run presses nothing; its last press is blank, with no warning to copy.
    const CaptureRun empty = captureRun({}, "3", "7", "5", "0", 70, 70);
    EXPECT_TRUE(empty.lwmEntries.isEmpty() && empty.vtpEntries.isEmpty());
    EXPECT_FALSE(empty.last.lwmWarning || empty.last.vtpWarning);
    EXPECT_EQ(empty.last.areaColumn, 0);
    EXPECT_EQ(empty.last.areaRow, 0);
}

TEST(Overlay, EntriesMapBackToImagePixels)
{
    EXPECT_EQ(lwmEntryPixel(u"LWMPoint 12, 101"), QPointF(12, 101));
    EXPECT_EQ(vtpEntryPixel(u"VTPWidePoint 4857, 0, 5966, 0", 3, 7), QPointF(12, 101));
    EXPECT_FALSE(lwmEntryPixel(u"free text"));
    EXPECT_FALSE(lwmEntryPixel(u"LWMPoint 12"));
    EXPECT_FALSE(vtpEntryPixel(u"VTPWidePointWidth 1", 0, 0));
    EXPECT_FALSE(vtpEntryPixel(u"VTPWidePoint a, b, c, d", 0, 0));
}

} // namespace
