#include "canvas/point_capture.h"
#include "exchange/vertex_presses.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const GridPlace seattle{123, 120, 3, 7};

TEST(VertexPresses, OutsideVerticesPressLikeADraggedCursor)
{
    const struct
    {
        double x, y;
        bool outsideArea, outsideCell;
        const char *lwm, *vtp;
    } cases[] = {
        {12, 101, false, false, "LWMPoint 12, 101", "VTPWidePoint 4857, 0, 5966, 0"},
        {-0.4, 255.4, false, false, "LWMPoint 0, 255", "VTPWidePoint 4845, 0, 6120, 0"},
        {-0.6, 3, true, false, "LWMPoint 0, 3", "VTPWidePoint 4844, 0, 5868, 0"},
        {300, 3, true, false, "LWMPoint 255, 3", "VTPWidePoint 5145, 0, 5868, 0"},
        {-800, 3, true, true, "LWMPoint 0, 3", "VTPWidePoint 4080, 0, 5868, 0"},
        {1e5, -1e5, true, true, "LWMPoint 255, 0", "VTPWidePoint 12239, 0, 4080, 0"},
    };
    for (const auto &c : cases) {
        const VertexPresses p = vertexPresses(seattle, {pixelGeoPoint(seattle, {c.x, c.y})});
        ASSERT_EQ(p.positions.size(), 1u);
        EXPECT_EQ(p.outsideArea, c.outsideArea) << c.x;
        EXPECT_EQ(p.outsideCell, c.outsideCell) << c.x;
        const CaptureRun run = captureRun(p.positions, 3, 7, "5", "0", 0, 0);
        EXPECT_EQ(run.lwmEntries.at(0), c.lwm) << c.x;
        EXPECT_EQ(run.vtpEntries.at(0), c.vtp) << c.x;
    }
}

TEST(VertexPresses, PlacesOffTheGlobeAreSkipped)
{
    const GeoPoint inside = pixelGeoPoint(seattle, {1, 1});
    const std::vector<GeoPoint> vertices = {
        inside, {NAN, 1}, {1, INFINITY}, {90.5, 0}, {0, 1e300}, {-90, 360}, inside,
    };
    const VertexPresses p = vertexPresses(seattle, vertices);
    EXPECT_EQ(p.positions.size(), 3u);
    EXPECT_EQ(p.skipped, 4);
    // The south pole is still a place, far outside this cell.
    EXPECT_EQ(p.outsideCell, 1);
    const ShapeCandidate candidate{"t", ShapeCandidate::Kind::Line, 7, 0, 0};
    EXPECT_TRUE(importRefusal(candidate, p).isEmpty());
    // What was odd comes first, so that a narrow status line keeps it.
    const StatusText summary = importSummary("/x/a.gpx", candidate, {vertices, 3, 2, {}}, p);
    EXPECT_TRUE(summary.warning);
    EXPECT_EQ(summary.text, "1 vertex outside the area, and outside the cell; 4 skipped, not a "
                            "place on the globe; only the first of 3 parts; 2 holes left out.  "
                            "Pressed 3 vertices of \u201ct\u201d (line) from a.gpx.");
    EXPECT_TRUE(importRefusal(candidate, vertexPresses(seattle, {{NAN, NAN}}))
                    .contains("None of the 1 vertices"));
}

} // namespace
