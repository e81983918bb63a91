#include "flow/YearFromTotals.h"

#include "common/ExpectCells.h"
#include "common/ScratchDirectory.h"
#include "core/FileIO.h"
#include "core/KeyFilters.h"
#include "store/WaterYearFile.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace korvel;
using korvel::testing::expectCells;
using korvel::testing::ScratchDirectory;

namespace {

std::array<std::string, 12> totals(std::string_view each = "1") {
    std::array<std::string, 12> t;
    t.fill(std::string(each));
    return t;
}

MonthlyTotalsOutcome build(const ScratchDirectory& dir, std::string_view year,
                           const std::array<std::string, 12>& t, MeasuredDays measured = MeasuredDays::Keep) {
    return buildYearFromMonthlyTotals(dir.path(), "01-001  ", year, t, Locale::turkish(), measured);
}

float storedFloat(const Bytes& file, std::size_t record, std::size_t offset) {
    float value = 0;
    std::memcpy(&value, file.data() + (record - 1) * DayRecord::kSize + offset, sizeof value);
    return value;
}

} // namespace

TEST(YearFromMonthlyTotals, LeapWaterYearWritesOneGDayPerDayFromFirstOctober) {
    ScratchDirectory dir;
    auto t = totals("3");
    t[0] = "2,678";
    t[4] = "1,45"; // February 2004 has 29 days
    const MonthlyTotalsOutcome outcome = build(dir, "2004", t);
    ASSERT_TRUE(outcome.written) << outcome.message;
    EXPECT_EQ(outcome.message, "su yılı oluşturuldu ve katıt edildi");
    EXPECT_EQ(outcome.file.filename(), "2004_01-001.ard");
    EXPECT_EQ(outcome.records, 366u);

    const Bytes file = *readFileBytes(outcome.file);
    ASSERT_EQ(file.size(), 366u * 128u);
    const auto days = parseWaterYearFile(file);
    EXPECT_EQ(days.front().date, OleDate::fromDate(2003, 10, 1));
    EXPECT_EQ(days[151].date, OleDate::fromDate(2004, 2, 29));
    EXPECT_EQ(days.back().date, OleDate::fromDate(2004, 9, 30));
    for (const DayRecord& day : days) {
        ASSERT_EQ(day.source, "G           ");
        ASSERT_EQ(day.rawDataFile, "            ");
        ASSERT_EQ(day.maxLevel, 0);
        ASSERT_EQ(day.minLevel, 0);
        ASSERT_TRUE(day.maxTime.isEmpty());
        ASSERT_TRUE(day.minTime.isEmpty());
    }
    // October: 2.678 x 1000 / 86.4 / 31 on each of its 31 days, as a 32-bit float.
    const float october = static_cast<float>(2.678 * 1000.0 / 86.4 / 31.0);
    EXPECT_NEAR(october, 0.99985, 1e-5);
    for (std::size_t k = 1; k <= 31; ++k)
        ASSERT_EQ(storedFloat(file, k, 28), october);
    EXPECT_EQ(days[31].meanValue, static_cast<float>(3.0 * 1000.0 / 86.4 / 30.0)); // 1 November
    EXPECT_EQ(days[151].meanValue, static_cast<float>(1.45 * 1000.0 / 86.4 / 29.0));
    EXPECT_EQ(days[151].meanValue, days[123].meanValue); // 1 February
}

TEST(YearFromMonthlyTotals, CommonYearLeavesRecord366AsItWas) {
    ScratchDirectory dir;
    const auto created = createWaterYear(dir.path(), 2003, "01-001");
    Bytes before = *readFileBytes(created.file);
    before[365 * 128 + 40] = 0x5A; // something in record 366
    before[10 * 128 + 100] = 0x77; // bytes no field uses in record 11
    korvel::testing::writeBytes(created.file, before);

    const MonthlyTotalsOutcome outcome = build(dir, "2003", totals("2"));
    ASSERT_TRUE(outcome.written);
    EXPECT_EQ(outcome.records, 365u);
    const Bytes after = *readFileBytes(created.file);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_TRUE(std::equal(after.begin() + 365 * 128, after.end(), before.begin() + 365 * 128));
    EXPECT_EQ(after[10 * 128 + 100], 0x77);
    const auto days = parseWaterYearFile(after);
    EXPECT_EQ(days[364].date, OleDate::fromDate(2003, 9, 30));
    EXPECT_EQ(days[364].source, "G           ");
}

// Measured days of record 366 stay out of the count: a common year does not write that record.
// A year of "G" days is rebuilt without a question.
TEST(YearFromMonthlyTotals, MeasuredDaysAreReplacedOnlyWithLeave) {
    ScratchDirectory dir;
    const auto created = createWaterYear(dir.path(), 2003, "01-001");
    auto days = readWaterYearFile(created.file);
    for (std::size_t k : {5u, 6u, 200u, 365u}) {
        days[k].source = "L  korvelmaş";
        days[k].meanValue = 120.0F;
    }
    days[40].source = "R 1         ";
    Bytes image;
    for (const DayRecord& day : days) {
        const Bytes record = serializeDayRecord(day);
        image.insert(image.end(), record.begin(), record.end());
    }
    korvel::testing::writeBytes(created.file, image);

    const MonthlyTotalsOutcome kept = build(dir, "2003", totals("2"));
    EXPECT_FALSE(kept.written);
    EXPECT_EQ(kept.measuredDays, 4u);
    EXPECT_EQ(kept.message, "Su yılı dosyasında ölçülmüş 4 gün var; aylık toplamlardan hesaplanan değerler "
                            "bu günlerin yerine yazılacak. Değiştirilsin mi?");
    EXPECT_EQ(*readFileBytes(created.file), image);

    const MonthlyTotalsOutcome replaced = build(dir, "2003", totals("2"), MeasuredDays::Replace);
    ASSERT_TRUE(replaced.written);
    EXPECT_EQ(readWaterYearFile(created.file)[5].source, "G           ");
    EXPECT_EQ(readWaterYearFile(created.file)[365].source, "L  korvelmaş");
    EXPECT_TRUE(build(dir, "2003", totals("3")).written);
}

TEST(YearFromMonthlyTotals, ChecksRunInOrderAndRefuseWithoutWriting) {
    ScratchDirectory dir;
    auto gap = totals();
    gap[7] = "";
    EXPECT_EQ(build(dir, "03", gap).message, "Lütfen eksik deger birakmayınız..");
    EXPECT_EQ(build(dir, "03", totals()).message, "Lütfen su yılını doğru giriniz");
    EXPECT_EQ(build(dir, "20045", totals()).message, "Lütfen su yılını doğru giriniz");
    EXPECT_EQ(build(dir, "", totals()).message, "Lütfen su yılını doğru giriniz");
    EXPECT_EQ(build(dir, "20a4", totals()).message, "Lütfen su yılını giriniz");
    // Four characters that form a number no file can carry.
    EXPECT_EQ(build(dir, "-200", totals()).message, "Lütfen su yılını doğru giriniz");
    EXPECT_EQ(build(dir, "20,5", totals()).message, "Lütfen su yılını doğru giriniz");
    auto colon = totals();
    colon[2] = "1:5";
    const MonthlyTotalsOutcome notNumber = build(dir, "2004", colon);
    EXPECT_FALSE(notNumber.written);
    EXPECT_EQ(notNumber.message, "Aralık ayının toplam akımı okunamadı: \"1:5\"");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(YearFromMonthlyTotals, TotalTypedWithADotIsEnteredWithAComma) {
    std::string cell = "0";
    for (char32_t key : std::u32string_view(U"2.678"))
        cell = monthlyTotalsKey(cell, key, {1, 0}).text;
    EXPECT_EQ(cell, "2,678");
    // Either separator is read as the decimal point, whatever the locale's group separator.
    ScratchDirectory dir;
    auto t = totals();
    t[0] = cell;
    const auto outcome =
        buildYearFromMonthlyTotals(dir.path(), "01-001", "2004", t, Locale::american(), MeasuredDays::Keep);
    ASSERT_TRUE(outcome.written);
    EXPECT_NEAR(readWaterYearFile(outcome.file)[0].meanValue, 0.99985, 1e-5);
}

TEST(YearFromMonthlyTotals, NewYearButtonCountsOnOrStartsFromToday) {
    const OleDate today = OleDate::fromDate(2005, 6, 14);
    EXPECT_EQ(nextWaterYearText("", today), "2005");
    EXPECT_EQ(nextWaterYearText("   ", today), "2005");
    EXPECT_EQ(nextWaterYearText("2004", today), "2005");
    EXPECT_EQ(nextWaterYearText("1999x", today), "2000");
    const Table grid = monthlyTotalsTable();
    EXPECT_EQ(grid.rows(), 2);
    EXPECT_EQ(grid.fixedRows(), 1);
    EXPECT_EQ(grid.fixedColumns(), 0);
    expectCells(grid, {{0, 0, "Ekim"}, {0, 10, "Agustos"}, {1, 3, ""}});
}
