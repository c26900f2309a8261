#include "cli/areas_command.h"

#include "command_cases.h"
#include "ogr_files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(AreasCommand, ExitsWithTheRightCode)
{
    QTemporaryDir dir;
    // Over areas 1, 2 and 3 of row 27 in cell 123, 120.
    const QString lake = dir.filePath("lake.geojson");
    ASSERT_TRUE(writeVectorFile(
        lake, "GeoJSON",
        {{wkbPolygon,
          {"POLYGON((-122.316 47.505,-122.296 47.505,-122.296 47.515,-122.316 47.505))"}}}));
    const QString points = dir.filePath("points.geojson");
    ASSERT_TRUE(writeVectorFile(points, "GeoJSON", {{wkbPoint, {"POINT(1 2)"}}}));
    expectCommandCases(
        runAreasCommand, lake,
        {
            {"no file", {}, 2, 0},
            {"no folder", {"IN"}, 2, 0},
            {"two files", {"IN", "IN", "--output-folder", "OUT"}, 2, 0},
            {"unknown option", {"IN", "--output-folder", "OUT", "--colour", "blue"}, 2, 0},
            {"unknown line type", {"IN", "--output-folder", "OUT", "--line-type", "9999"}, 2, 0},
            {"layer beyond 100", {"IN", "--output-folder", "OUT", "--vtp-layer", "101"}, 2, 0},
            {"width no number", {"IN", "--output-folder", "OUT", "--vtp-width", "wide"}, 2, 0},
            {"altitude no number", {"IN", "--output-folder", "OUT", "--altitude", "12 m"}, 2, 0},
            {"fill neither water nor land",
             {"IN", "--output-folder", "OUT", "--fill", "ice"},
             2,
             0},
            {"only points", {points, "--output-folder", "OUT"}, 1, 0},
            {"land", {"IN", "--output-folder", "OUT", "--fill", "land"}, 0, 3},
            {"a lake",
             {"IN", "--output-folder", "OUT", "--altitude", "12", "--line-type", "1139"},
             0,
             3},
        });
}

} // namespace
