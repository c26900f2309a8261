#include "workfile/written_areas.h"

#include "areas/area_files.h"
#include "file_bytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A run's folder as the areas job leaves it: two areas of neighbouring cells and the lines
// of each cell, written by the job's own writers.
class WrittenAreasTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const GridPlace lake{401, 121, 4, 9}, pond{402, 121, 0, 0};
        write("LWM_401_121_4_9.asm",
              lwmAreaFileText(lake,
                              {{LwmFill::Water, {{10, 10}, {200, 10}, {200, 200}, {10, 200}}},
                               {LwmFill::Land, {{50, 50}, {90, 50}, {90, 90}}}},
                              {})
                  .bytes);
        write("LWM_402_121_0_0.asm",
              lwmAreaFileText(pond, {{LwmFill::Water, {{5, 5}, {60, 5}, {60, 60}}}}, {}).bytes);
        const GridPlace cell401{401, 121, 0, 0}, cell402{402, 121, 0, 0};
        write("VTP_401_121.asm", vtpPartText(cell401, {{1000, 2300}, {1100, 2400}}, {}));
        write("VTP_401_121_2.asm", vtpPartText(cell401, {{1020, 2310}, {1300, 2310}}, {}));
        write("VTP_402_121.asm", vtpPartText(cell402, {{0, 0}, {80, 80}}, {}));
    }

    void write(const QString &name, const QByteArray &bytes)
    {
        ASSERT_TRUE(writeFileBytes(dir.filePath(name), bytes));
    }

    QTemporaryDir dir;
    // As the job reports them: in the order made, lines and areas mixed.
    const QStringList written{"LWM_401_121_4_9.asm", "VTP_401_121.asm", "VTP_401_121_2.asm",
                              "VTP_402_121.asm", "LWM_402_121_0_0.asm"};
};

std::vector<LwmFill> fills(const WrittenArea &area)
{
    std::vector<LwmFill> f;
    for (const LwmPolygon &p : area.polygons)
        f.push_back(p.fill);
    return f;
}

TEST_F(WrittenAreasTest, StepsThroughTheAreasRoundWithTheLinesOfTheirCell)
{
    WrittenAreas areas(dir.path(), written);
    ASSERT_EQ(areas.count(), 2);
    struct Step
    {
        int by;
        const char *name;
        int cellColumn, areaColumn, areaRow;
        std::vector<LwmFill> fills;
        std::size_t lines;
    };
    const Step steps[] = {
        {1, "LWM_401_121_4_9.asm", 401, 4, 9, {LwmFill::Water, LwmFill::Land}, 2},
        {1, "LWM_402_121_0_0.asm", 402, 0, 0, {LwmFill::Water}, 1},
        {1, "LWM_401_121_4_9.asm", 401, 4, 9, {LwmFill::Water, LwmFill::Land}, 2},
        {-1, "LWM_402_121_0_0.asm", 402, 0, 0, {LwmFill::Water}, 1},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.name);
        const WrittenArea area = areas.step(s.by);
        EXPECT_EQ(area.failure, QString());
        EXPECT_EQ(area.name, QString::fromLatin1(s.name));
        EXPECT_EQ(area.place.cellColumn, s.cellColumn);
        EXPECT_EQ(area.place.cellRow, 121);
        EXPECT_EQ(area.place.areaColumn, s.areaColumn);
        EXPECT_EQ(area.place.areaRow, s.areaRow);
        EXPECT_EQ(fills(area), s.fills);
        EXPECT_EQ(area.lines.size(), s.lines);
    }
    // The first step back shows the last area.
    EXPECT_EQ(WrittenAreas(dir.path(), written).step(-1).name, "LWM_402_121_0_0.asm");
}

TEST_F(WrittenAreasTest, SaysWhatIsGoneSinceTheRun)
{
    ASSERT_TRUE(QFile::remove(dir.filePath("VTP_401_121_2.asm")));
    ASSERT_TRUE(
        writeFileBytes(dir.filePath("LWM_402_121_0_0.asm"), ";----> FS Coordinates: cut off"));
    WrittenAreas areas(dir.path(), written);
    const WrittenArea lake = areas.step(1);
    EXPECT_EQ(lake.lines.size(), 1u);
    EXPECT_EQ(lake.unreadLines, 1);
    const WrittenArea pond = areas.step(1);
    EXPECT_EQ(pond.name, "LWM_402_121_0_0.asm");
    EXPECT_FALSE(pond.failure.isEmpty());
    EXPECT_TRUE(pond.polygons.empty());
    // A run that wrote only lines has no area to show.
    WrittenAreas lines(dir.path(), {"VTP_401_121.asm"});
    EXPECT_EQ(lines.count(), 0);
    EXPECT_EQ(lines.step(1).name, QString());
}

} // namespace
