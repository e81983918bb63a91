#include "FlowFixtures.h"
#include "flow/MonthTable.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

using namespace test;

constexpr int kNovember = 1;
constexpr int kFebruary = 4;

class MonthTableSaving : public ::testing::Test {
protected:
    void SetUp() override {
        records = emptyWaterYear(2004);
        setLevelDay(records, day(2003, 11, 1), 40.0F, 45, 38, "R 1 ");
        setLevelDay(records, day(2003, 11, 2), 41.0F, 46, 39);
        setGivenDay(records, day(2003, 11, 3), 250.0F);
        // 4 November keeps its blank (NUL) tag.
        setLevelDay(records, day(2003, 11, 5), 42.0F, 47, 40, "R 2 ");
        file = scratch.path() / "2004_01-001.ard";
        writeFileAtomic(file, fileImage(records));
    }
    Table grid(int monthIndex, const Locale& locale) const {
        return *fillMonthTable(records, yearTables(2004), testStation(), "2004_01-001.ard", monthIndex,
                               locale)
                    .findTable(kMonthGridName);
    }
    DayRecord saved(OleDate date) const {
        auto now = readWaterYearFile(file);
        return recordOf(now, date);
    }

    ScratchDir scratch;
    std::filesystem::path file;
    std::vector<DayRecord> records;
};

TEST_F(MonthTableSaving, UnchangedGridKeepsEveryTagAndOnlyBlankTagsBecomeSpaces) {
    for (const Locale* locale : {&Locale::turkish(), &Locale::american()}) {
        const auto plan = planMonthTableSave(grid(kNovember, *locale), records, *locale);
        ASSERT_EQ(plan.firstRecord, 32u);
        EXPECT_TRUE(plan.kept.empty());
        // Every blank day of the month gets spaces for its NUL tag, nothing else changes.
        EXPECT_EQ(plan.changed.size(), 30u - 4u);
        for (const auto& [n, record] : plan.changed) {
            EXPECT_EQ(record.source, std::string(12, ' '));
            DayRecord expected = records[n - 1];
            expected.source = record.source;
            EXPECT_EQ(record, expected);
        }
    }
}

TEST_F(MonthTableSaving, EditedDaysGetTheEditTagInTheirSecondCharacter) {
    Table g = grid(kNovember, Locale::turkish());
    g.setCell(1, 2, "14:31:00"); // R 1 day: one minute later
    g.setCell(3, 1, "60");       // G day: a level typed in
    g.setCell(4, 3, "5");        // blank day
    g.setCell(5, 5, "42");       // the same value as stored: no edit
    g.setCell(2, 6, "999");      // discharge column: not saved
    const auto before = *readFileBytes(file);
    const auto plan = saveMonthTable(file, g, Locale::turkish());
    EXPECT_TRUE(plan.kept.empty());

    EXPECT_EQ(saved(day(2003, 11, 1)).source, tag("RE1 "));
    EXPECT_EQ(saved(day(2003, 11, 1)).maxTime, OleDate::fromTime(14, 31, 0));
    EXPECT_EQ(saved(day(2003, 11, 3)).source, tag("GE "));
    EXPECT_EQ(saved(day(2003, 11, 3)).maxLevel, 60);
    EXPECT_EQ(saved(day(2003, 11, 3)).meanValue, 250.0F);
    EXPECT_EQ(saved(day(2003, 11, 4)).source, tag(" E"));
    EXPECT_EQ(saved(day(2003, 11, 4)).minLevel, 5);
    EXPECT_EQ(saved(day(2003, 11, 5)).source, tag("R 2 "));
    EXPECT_EQ(saved(day(2003, 11, 2)).source, tag("L  korvelmaş"));

    // Outside November nothing moved; inside it only the records of the plan.
    const auto after = *readFileBytes(file);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t n = 1; n <= kWaterYearRecords; ++n) {
        const bool differs = recordAt(after, DayRecord::kSize, n) != recordAt(before, DayRecord::kSize, n);
        EXPECT_EQ(differs, plan.changed.count(n) == 1) << n;
        if (n < 32 || n > 61) {
            EXPECT_FALSE(differs) << n;
        }
    }
}

TEST_F(MonthTableSaving, UnconvertibleCellsKeepTheStoredValueAndAreReported) {
    Table g = grid(kNovember, Locale::turkish());
    g.setCell(2, 2, "");    // a cleared time
    g.setCell(2, 1, "4:6"); // no number
    g.setCell(2, 3, "44");  // a good edit in the same row
    const auto plan = saveMonthTable(file, g, Locale::turkish());
    ASSERT_EQ(plan.kept.size(), 2u);
    EXPECT_EQ(plan.kept[0].column, 1);
    EXPECT_EQ(plan.kept[0].dateText, "02.11.2003");
    EXPECT_EQ(plan.kept[1].heading, "Max.saat");
    const DayRecord d = saved(day(2003, 11, 2));
    EXPECT_EQ(d.maxLevel, 46);
    EXPECT_EQ(d.maxTime, OleDate::fromTime(14, 30, 0));
    EXPECT_EQ(d.minLevel, 44);
    EXPECT_EQ(d.source, tag("LE korvelmaş"));
    const std::string message = keptCellsMessage(plan.kept);
    EXPECT_NE(message.find("02.11.2003  Max.sev(mm): \"4:6\""), std::string::npos) << message;
    EXPECT_NE(message.find("02.11.2003  Max.saat: \"\""), std::string::npos) << message;
}

TEST_F(MonthTableSaving, AmericanTextsConvertBack) {
    Table g = grid(kNovember, Locale::american());
    EXPECT_EQ(g.cell(1, 2), "2:30:00 PM");
    g.setCell(1, 4, "4:15");
    g.setCell(2, 5, "41.5");
    saveMonthTable(file, g, Locale::american());
    EXPECT_EQ(saved(day(2003, 11, 1)).minTime, OleDate::fromTime(4, 15, 0));
    EXPECT_EQ(saved(day(2003, 11, 2)).meanValue, 41.5F);
    EXPECT_EQ(saved(day(2003, 11, 2)).source, tag("LE korvelmaş"));
}

TEST_F(MonthTableSaving, FebruaryLeavesMarchUntouched) {
    setLevelDay(records, day(2004, 3, 1), 50.0F, 55, 45, "R 2 ");
    writeFileAtomic(file, fileImage(records));
    Table g = grid(kFebruary, Locale::turkish());
    for (int r = 1; r <= 29; ++r)
        g.setCell(r, 1, "77");
    const auto plan = saveMonthTable(file, g, Locale::turkish());
    EXPECT_EQ(plan.changed.size(), 29u);
    EXPECT_EQ(saved(day(2004, 2, 29)).maxLevel, 77);
    EXPECT_EQ(saved(day(2004, 3, 1)).maxLevel, 55);
    EXPECT_EQ(saved(day(2004, 3, 1)).source, tag("R 2 "));
}

TEST_F(MonthTableSaving, NothingIsSavedWithoutTheFirstDay) {
    Table g = grid(kNovember, Locale::turkish());
    g.setCell(1, 0, "01.11.1999");
    g.setCell(1, 1, "5");
    const auto before = *readFileBytes(file);
    const auto plan = saveMonthTable(file, g, Locale::turkish());
    EXPECT_FALSE(plan.firstRecord);
    EXPECT_EQ(*readFileBytes(file), before);
}

} // namespace
} // namespace korvel
