#include "flow/LevelSheet.h"

#include "FlowFixtures.h"
#include "common/ExpectCells.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

using namespace test;
using testing::expectCells;

constexpr int kOctober = 0;
constexpr int kNovember = 1;

Table readings(const std::vector<std::array<const char*, 2>>& rows) {
    Table g(kLevelGridRows, kLevelGridColumns, 1, 1);
    int r = 1;
    for (const auto& row : rows) {
        g.setCell(r, 1, row[0]);
        g.setCell(r, 2, row[1]);
        ++r;
    }
    return g;
}

TEST(LevelSheetMeans, MorningOnlyDayUsesTheThreeMornings) {
    Table g = readings({{"120", "125"}, {"130", "0"}, {"150", ""}});
    computeDailyMeans(g);
    EXPECT_EQ(g.cell(2, 3), "134"); // (120 + 13*130 + 4*150) / 18 = 133.9
    EXPECT_EQ(g.cell(2, 2), "");    // the "0" afternoon is emptied
    EXPECT_EQ(g.cell(3, 3), "");    // no morning after day 3
}

TEST(LevelSheetMeans, TwoReadingDayUsesTheAfternoonBefore) {
    Table g = readings({{"90", "100"}, {"110", "130"}, {"120", ""}});
    computeDailyMeans(g);
    EXPECT_EQ(g.cell(2, 3), "118"); // (100 + 550 + 650 + 120) / 12 = 118.3
}

TEST(LevelSheetMeans, MissingReadingsLeaveTheMeanAndHalvesGoToEven) {
    // No afternoon the day before: the mean cell keeps its text.
    Table g = readings({{"100", ""}, {"110", "130"}, {"120", ""}});
    g.setCell(2, 3, "77");
    computeDailyMeans(g);
    EXPECT_EQ(g.cell(2, 3), "77");

    // Day 2: (2 + 13*2 + 4*5) / 18 = 2.67 -> 3; day 3 has no afternoon before it;
    // day 4: (7 + 5*7 + 5*7 + 1) / 12 = 6.5 -> 6.
    Table h = readings({{"2", "6"}, {"2", ""}, {"5", "7"}, {"7", "7"}, {"1", ""}});
    computeDailyMeans(h);
    expectCells(h, {{2, 3, "3"}, {3, 3, ""}, {4, 3, "6"}, {5, 3, ""}});

    // (4 + 13*1 + 4*7) / 18 = 2.5 -> 2.
    Table half = readings({{"4", "9"}, {"1", ""}, {"7", ""}});
    computeDailyMeans(half);
    EXPECT_EQ(half.cell(2, 3), "2");
}

TEST(LevelSheetFill, FillDownCarriesTheNearestReadingAbove) {
    Table g = readings({{"100", ""}, {"", ""}, {"  ", ""}, {"105", ""}, {"", ""}});
    fillDown(g, 1);
    expectCells(g, {{2, 1, "100"}, {3, 1, "100"}, {4, 1, "105"}, {5, 1, "105"}, {33, 1, "105"}, {2, 2, ""}});
}

bool refuseLoggerDays(std::size_t) {
    return false;
}

class LevelSheetFile : public ::testing::Test {
protected:
    void SetUp() override {
        records = emptyWaterYear(2004);
        file = scratch.path() / "2004_01-001.ard";
    }
    Table grid(int month) const { return levelSheetGrid(records, month, Locale::turkish()); }
    ScratchDir scratch;
    std::filesystem::path file;
    std::vector<DayRecord> records;
};

TEST_F(LevelSheetFile, ShowsTheDayBeforeAndOrdersTheReadingsByTheirHour) {
    DayRecord& before = recordOf(records, day(2003, 10, 31));
    before.maxLevel = 140;
    before.maxTime = OleDate::fromTime(16, 0, 0);
    before.minLevel = 120;
    before.minTime = OleDate::fromTime(8, 0, 0);
    before.meanValue = 131.0F;
    DayRecord& first = recordOf(records, day(2003, 11, 1));
    first.maxLevel = 150;
    first.maxTime = OleDate::fromTime(8, 0, 0);
    first.minLevel = 0;
    const Table g = grid(kNovember);
    EXPECT_EQ(g.cell(0, 0), "  Tarih");
    EXPECT_EQ(g.columnWidth(0), 900);
    expectCells(g, {{1, 0, "31.10.2003"}, {1, 1, "120"}, {1, 2, "140"}, {1, 3, "131"}, {2, 1, "150"}});
    expectCells(g, {{2, 2, ""}, {2, 3, ""}, {31, 0, "30.11.2003"}, {32, 0, ""}});

    const Table october = grid(kOctober);
    expectCells(october, {{1, 0, ""}, {2, 0, "01.10.2003"}, {32, 0, "31.10.2003"}});
}

TEST_F(LevelSheetFile, DischargeDayBeforeTheMonthHidesIt) {
    setGivenDay(records, day(2003, 11, 30), 12.0F);
    EXPECT_EQ(grid(2).cell(2, 0), "");
    EXPECT_EQ(grid(2).cell(0, 0), "  Tarih");
    setGivenDay(records, day(2003, 10, 1), 12.0F);
    EXPECT_EQ(grid(kOctober).cell(2, 0), "");
    EXPECT_EQ(grid(kNovember).cell(2, 0), "01.11.2003");
}

TEST_F(LevelSheetFile, SaveWritesTheTaggedDaysThatHaveAMorningReading) {
    recordOf(records, day(2003, 11, 4)).rawDataFile = tag("Yen1-2  .-4");
    writeFileAtomic(file, fileImage(records));
    Table g = grid(kNovember);
    g.setCell(2, 1, "120");
    g.setCell(2, 2, "140");
    g.setCell(2, 3, "131");
    g.setCell(3, 1, "150");
    g.setCell(3, 2, "130");
    g.setCell(4, 2, "135"); // afternoon only: not written
    g.setCell(5, 1, "90");  // one reading, no mean
    const auto before = *readFileBytes(file);
    EXPECT_EQ(saveLevelSheet(file, g, refuseLoggerDays), 3u);
    EXPECT_EQ(g.cell(5, 3), "0");

    auto saved = readWaterYearFile(file);
    const DayRecord& two = recordOf(saved, day(2003, 11, 1));
    EXPECT_EQ(two.maxLevel, 140);
    EXPECT_EQ(two.maxTime, OleDate::fromTime(16, 0, 0));
    EXPECT_EQ(two.minLevel, 120);
    EXPECT_EQ(two.minTime, OleDate::fromTime(8, 0, 0));
    EXPECT_EQ(two.meanValue, 131.0F);
    EXPECT_EQ(two.source, tag("R 2 "));
    const DayRecord& falling = recordOf(saved, day(2003, 11, 2));
    EXPECT_EQ(falling.maxLevel, 150);
    EXPECT_EQ(falling.maxTime, OleDate::fromTime(8, 0, 0));
    EXPECT_EQ(falling.minLevel, 130);
    const DayRecord& one = recordOf(saved, day(2003, 11, 4));
    EXPECT_EQ(one.source, tag("R 1 "));
    EXPECT_EQ(one.maxLevel, 90);
    EXPECT_EQ(one.minLevel, 0);
    EXPECT_EQ(one.rawDataFile, tag("Yen1-2  .-4"));
    EXPECT_EQ(recordOf(saved, day(2003, 11, 3)), recordOf(records, day(2003, 11, 3)));

    // Only the three records changed; shown again, the sheet gives back what was typed.
    const auto after = *readFileBytes(file);
    int differing = 0;
    for (std::size_t n = 1; n <= kWaterYearRecords; ++n)
        differing += recordAt(after, DayRecord::kSize, n) != recordAt(before, DayRecord::kSize, n);
    EXPECT_EQ(differing, 3);
    const Table again = levelSheetGrid(saved, kNovember, Locale::turkish());
    expectCells(again, {{2, 2, "140"}, {3, 2, "130"}, {5, 1, "90"}, {5, 2, ""}});

    // Saving the same sheet again writes nothing.
    Table same = again;
    EXPECT_EQ(saveLevelSheet(file, same, refuseLoggerDays), 0u);
}

// A month of logger days: saving the sheet as shown leaves every byte; a staff reading typed
// over a logger day replaces it only with leave, while a reading on an empty day is written.
TEST_F(LevelSheetFile, LoggerDaysAreReplacedOnlyWithLeave) {
    for (int d = 1; d <= 29; ++d) {
        DayRecord& logger = recordOf(records, day(2003, 11, d));
        logger.maxLevel = static_cast<std::int16_t>(150 + d);
        logger.maxTime = OleDate::fromTime(14, 35, 0);
        logger.minLevel = static_cast<std::int16_t>(120 + d);
        logger.minTime = OleDate::fromTime(3, 10, 0);
        logger.meanValue = 133.4F + static_cast<float>(d);
        logger.source = tag("L  korvelmaş");
        logger.rawDataFile = tag("Yen1-2  .-4");
    }
    writeFileAtomic(file, fileImage(records));
    const auto before = *readFileBytes(file);

    std::vector<std::size_t> asked;
    const auto answer = [&asked](bool replace) {
        return [&asked, replace](std::size_t days) {
            asked.push_back(days);
            return replace;
        };
    };
    Table untouched = grid(kNovember);
    EXPECT_EQ(saveLevelSheet(file, untouched, answer(true)), 0u);
    EXPECT_EQ(*readFileBytes(file), before);
    EXPECT_TRUE(asked.empty());

    Table typed = grid(kNovember);
    typed.setCell(3, 1, "140");  // 2 November, a logger day
    typed.setCell(31, 1, "125"); // 30 November, an empty day
    EXPECT_EQ(saveLevelSheet(file, typed, answer(false)), 1u);
    EXPECT_EQ(asked, std::vector<std::size_t>{1});
    auto saved = readWaterYearFile(file);
    EXPECT_EQ(recordOf(saved, day(2003, 11, 2)), recordOf(records, day(2003, 11, 2)));
    EXPECT_EQ(recordOf(saved, day(2003, 11, 30)).source, tag("R 1 "));

    EXPECT_EQ(saveLevelSheet(file, typed, answer(true)), 1u);
    saved = readWaterYearFile(file);
    const DayRecord& replaced = recordOf(saved, day(2003, 11, 2));
    EXPECT_EQ(replaced.source, tag("R 2 "));
    EXPECT_EQ(replaced.maxLevel, 140);
    EXPECT_EQ(replaced.maxTime, OleDate::fromTime(8, 0, 0));
    EXPECT_EQ(replaced.rawDataFile, tag("Yen1-2  .-4"));
}

TEST(LevelSheetHeader, LabelsFromTheStationRecord) {
    const Sheet s = levelSheet(emptyWaterYear(2004), testStation(), "2004_01-001.ard", 0, Locale::turkish());
    EXPECT_EQ(s.text("Label1"), "Ankara  ARAŞTIRMA ENSTİTÜSÜ");
    EXPECT_EQ(s.text("Label2"), "Agi No..............:   01-001  ");
    EXPECT_EQ(s.text("Label6"), "Yağış Alanı.......:   120 km2");
    EXPECT_EQ(s.text("Label7"), "Kot...................:   845,5 m.");
    EXPECT_EQ(s.text("Label9"), "2004  Su yılı    Ekim ayı");
    EXPECT_EQ(s.caption, "Seviye gözlem cetveli (Eşel)");
}

} // namespace
} // namespace korvel
