#include "cli/osm_command.h"

#include "osm_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(OsmCommand, ExitsWithTheRightCode)
{
    QTemporaryDir dir;
    // A pond and a road in cell 401, 121, area 4, 9.
    const QString extract = dir.filePath("pond.osm");
    ASSERT_TRUE(writeOsmFile(
        extract,
        {{1, 47.3540, 8.0320}, {2, 47.3540, 8.0380}, {3, 47.3580, 8.0380}, {4, 47.3580, 8.0320}},
        {{10, {1, 2, 3, 4, 1}, {{"natural", "water"}}}, {11, {1, 3}, {{"highway", "primary"}}}}));
    const QString rules = dir.filePath("bad.rules");
    QFile bad(rules);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("natural=water water\nhighway=* road lanes=many\n");
    bad.close();
    struct Case
    {
        const char *what;
        QStringList arguments; // "IN" and "OUT" stand for the extract and the output folder
        int exitCode;
        int files;
    };
    const Case cases[] = {
        {"no extract", {"--output-folder", "OUT"}, 2, 0},
        {"no folder", {"IN"}, 2, 0},
        {"cell and box",
         {"IN", "--output-folder", "OUT", "--cell", "401", "122", "--bbox", "8", "47", "9", "48"},
         2,
         0},
        {"cell off the grid", {"IN", "--output-folder", "OUT", "--cell", "768", "122"}, 2, 0},
        {"half a cell", {"IN", "--output-folder", "OUT", "--cell", "401"}, 2, 0},
        {"box upside down", {"IN", "--output-folder", "OUT", "--bbox", "8", "48", "9", "47"}, 2, 0},
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
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir out;
        QStringList arguments = c.arguments;
        arguments.replaceInStrings(QStringLiteral("IN"), extract);
        arguments.replaceInStrings(QStringLiteral("OUT"), out.path());
        EXPECT_EQ(runOsmCommand(arguments), c.exitCode);
        EXPECT_EQ(QDir(out.path()).entryList({"*.asm"}).size(), c.files);
    }
}

} // namespace
