#include "areas/line_parts.h"

#include "grid/grid_constants.h"

#include <gtest/gtest.h>

namespace {

// The west edge of cell 124 and the north edge of cell row 121.
const double edgeX = -180 + 124 * lod::cellWidth;
const double edgeY = 90 - 121 * lod::cellHeight;

struct CutCase
{
    const char *what;
    std::vector<GeoPoint> line;
    std::vector<std::pair<int, int>> cells;
};

TEST(CutAtCells, SplitsOnTheEdgeAndKeepsTheCrossingInBoth)
{
    const double inside = edgeY + 0.1;
    const CutCase cases[] = {
        {"inside one cell", {{inside, edgeX - 0.2}, {inside, edgeX - 0.1}}, {{123, 120}}},
        {"across one edge",
         {{inside, edgeX - 0.2}, {inside, edgeX + 0.1}},
         {{123, 120}, {124, 120}}},
        {"out and back",
         {{inside, edgeX - 0.2}, {inside, edgeX + 0.1}, {inside + 0.01, edgeX - 0.1}},
         {{123, 120}, {124, 120}, {123, 120}}},
        {"over a corner, diagonally",
         {{edgeY + 0.1, edgeX - 0.1}, {edgeY - 0.1, edgeX + 0.1}},
         {{123, 120}, {124, 121}}},
        {"through three cells in one segment",
         {{inside, edgeX - 0.1}, {inside, edgeX + 1.0}},
         {{123, 120}, {124, 120}, {125, 120}, {126, 120}}},
        {"a point repeated", {{inside, edgeX - 0.1}, {inside, edgeX - 0.1}}, {}},
    };
    for (const CutCase &c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<CellLine> parts = cutAtCells(c.line);
        ASSERT_EQ(parts.size(), c.cells.size());
        for (std::size_t i = 0; i < parts.size(); ++i) {
            EXPECT_EQ(parts[i].cellColumn, c.cells[i].first);
            EXPECT_EQ(parts[i].cellRow, c.cells[i].second);
            if (i > 0) {
                const GeoPoint joint = parts[i].points.front();
                EXPECT_EQ(joint.longitude, parts[i - 1].points.back().longitude);
                EXPECT_EQ(joint.latitude, parts[i - 1].points.back().latitude);
                // Exactly on a cell edge.
                const double column = (joint.longitude + 180) / lod::cellWidth;
                const double row = (90 - joint.latitude) / lod::cellHeight;
                EXPECT_TRUE(column == std::floor(column) || row == std::floor(row));
            }
        }
    }
}

TEST(LinePieces, ShareTheirJointsAndStayWithinTheLimit)
{
    std::vector<GeoPoint> line;
    for (int i = 0; i < 500; ++i)
        line.push_back({edgeY + 0.01, edgeX + 0.001 + i * lod::areaWidth / 64});
    const std::vector<LinePresses> pieces = linePieces(124, 120, line, 191);
    ASSERT_EQ(pieces.size(), 3u); // 191 + 190 + 121 points with two shared joints
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_LE(pieces[i].pixels.size(), 191u);
        if (i > 0) {
            const LinePresses &before = pieces[i - 1];
            // The joint, pressed from either piece's area, is the same grid point.
            const double lastX = before.start.areaColumn * 255 + before.pixels.back().x;
            const double firstX = pieces[i].start.areaColumn * 255 + pieces[i].pixels.front().x;
            EXPECT_EQ(lastX, firstX);
        }
    }
}

} // namespace
