#include "cli/osm_command.h"

#include "command_cases.h"
#include "file_bytes.h"
#include "osm_files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(OsmCommand, ExitsWithTheRightCode)
{
    QTemporaryDir dir;
    const QString extract = dir.filePath("pond.osm");
    ASSERT_TRUE(writePondAndRoad(extract));
    const QString rules = dir.filePath("bad.rules");
    ASSERT_TRUE(writeFileBytes(rules, "natural=water water\nhighway=* road lanes=many\n"));
    expectCommandCases(
        runOsmCommand, extract,
        {
            {"no extract", {"--output-folder", "OUT"}, 2, 0},
            {"no folder", {"IN"}, 2, 0},
            {"cell and box",
             {"IN", "--output-folder", "OUT", "--cell", "401", "122", "--bbox", "8", "47", "9",
              "48"},
             2,
             0},
            {"cell off the grid", {"IN", "--output-folder", "OUT", "--cell", "768", "122"}, 2, 0},
            {"half a cell", {"IN", "--output-folder", "OUT", "--cell", "401"}, 2, 0},
            {"box upside down",
             {"IN", "--output-folder", "OUT", "--bbox", "8", "48", "9", "47"},
             2,
             0},
            // Negative numbers are the box's, not options: the box is read, and holds nothing.
            {"box south and west",
             {"IN", "--output-folder", "OUT", "--bbox", "-9", "-48", "-8", "-47"},
             1,
             0},
            {"altitude no number", {"IN", "--output-folder", "OUT", "--altitude", "12 m"}, 2, 0},
            {"unknown option", {"IN", "--output-folder", "OUT", "--colour", "blue"}, 2, 0},
            {"help", {"--help"}, 0, 0},
            {"nothing to take",
             {"IN", "--output-folder", "OUT", "--no-water", "--no-roads", "--no-waterways"},
             2,
             0},
            {"bad rules", {"IN", "--output-folder", "OUT", "--rules", rules}, 1, 0},
            {"missing rules",
             {"IN", "--output-folder", "OUT", "--rules", dir.filePath("none.rules")},
             1,
             0},
            {"missing extract", {dir.filePath("none.osm"), "--output-folder", "OUT"}, 1, 0},
            {"the cell", {"IN", "--output-folder", "OUT", "--cell", "401", "121"}, 0, 2},
            {"a box west of it",
             {"IN", "--output-folder", "OUT", "--bbox", "7", "47", "7.5", "47.5"},
             1,
             0},
            {"no roads", {"IN", "--output-folder", "OUT", "--no-roads", "--altitude", "12"}, 0, 1},
        });
}

} // namespace
