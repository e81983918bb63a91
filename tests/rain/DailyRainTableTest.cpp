#include "rain/DailyRainTable.h"

#include "common/Dates.h"
#include "common/ExpectCells.h"
#include "common/ScratchDirectory.h"
#include "core/FileIO.h"

#include <gtest/gtest.h>

using namespace korvel;
using korvel::testing::expectCells;
using korvel::testing::fileBytes;
using korvel::testing::ScratchDirectory;

namespace {

const Locale& tr = Locale::turkish();

using korvel::testing::day;

// A year file of station 01-001 ending in 2004; the day table edits record 46 (15 November 2003).
struct DayFile {
    ScratchDirectory dir;
    std::filesystem::path path = dir / rainYearFileName(2004, "01-001");
    static constexpr std::size_t number = 46;

    DayFile() {
        Bytes bytes;
        for (const RainDayRecord& record : newRainYearRecords(2004)) {
            const Bytes one = serializeRainDayRecord(record);
            bytes.insert(bytes.end(), one.begin(), one.end());
        }
        korvel::testing::writeBytes(path, bytes);
    }
    RainDayRecord record() const { return parseRainYearFile(fileBytes(path))[number - 1]; }
};

// The cell of minute hh:mm.
void setMinute(Table& grid, int hour, int minute, const std::string& text) {
    grid.setCell(minute + 1, hour + 1, text);
}

} // namespace

TEST(DailyRainTable, ShowsOneDayByHourAndMinute) {
    RainDayRecord record = newRainDayRecord(day(2003, 11, 15));
    record.minuteRain[360] = 3; // 06:00
    const Sheet sheet = dailyRainSheet(record, tr);
    EXPECT_EQ(sheet.caption, "Pluviograf değerlerinin günlük yorumu");
    EXPECT_EQ(sheet.text("Label1"), "Gecerli Tarih = 15.11.2003");
    EXPECT_EQ(sheet.text("Text1"), "0,1");

    const Table& grid = *sheet.findTable("MSFlexGrid1");
    ASSERT_EQ(grid.rows(), 61);
    ASSERT_EQ(grid.columns(), 25);
    expectCells(grid, {{0, 1, "0"}, {0, 7, "6"}, {0, 24, "23"}, {1, 0, "1"}, {60, 0, "60"}});
    EXPECT_EQ(grid.columnWidth(0), 400);
    EXPECT_EQ(grid.columnWidth(24), 400);
    int filled = 0;
    for (int row = 1; row < 61; ++row)
        for (int column = 1; column < 25; ++column)
            filled += !grid.cell(row, column).empty();
    EXPECT_EQ(filled, 1);
    EXPECT_EQ(grid.cell(1, 7), "0,3");
    EXPECT_EQ(minuteOfCell(1, 7), 360);
    EXPECT_EQ(minuteOfCell(60, 24), 1439);

    record.minuteRain[1439] = 255;
    EXPECT_EQ(minuteGridTable(record, tr).cell(60, 24), "25,5");
    EXPECT_EQ(minuteGridTable(record, Locale::american()).cell(60, 24), "25.5");
}

TEST(DailyRainTable, FillCoversTheDraggedBlockOnly) {
    Table grid = minuteGridTable(newRainDayRecord(day(2003, 11, 15)), tr);
    EXPECT_EQ(selectionCellCount(5, 3, 7, 4), 6);
    EXPECT_EQ(fillMinuteCells(grid, {5, 3, 7, 4}, "0,1"), 6);
    for (int row = 5; row <= 7; ++row)
        for (int column = 3; column <= 4; ++column)
            EXPECT_EQ(grid.cell(row, column), "0,1");
    expectCells(grid, {{8, 3, ""}, {5, 5, ""}});

    Table untouched = minuteGridTable(newRainDayRecord(day(2003, 11, 15)), tr);
    const Table before = untouched;
    EXPECT_EQ(selectionCellCount(7, 4, 5, 4), 0);
    EXPECT_EQ(selectionCellCount(7, 4, 7, 3), 0);
    EXPECT_EQ(fillMinuteCells(untouched, {7, 4, 5, 4}, "1"), 0); // upwards
    EXPECT_EQ(fillMinuteCells(untouched, {7, 4, 7, 3}, "1"), 0); // to the left
    EXPECT_EQ(fillMinuteCells(untouched, {0, 4, 7, 4}, "1"), 0); // pressed on the hour labels
    EXPECT_EQ(fillMinuteCells(untouched, {7, 0, 7, 4}, "1"), 0); // pressed on the minute labels
    EXPECT_EQ(untouched, before);
    EXPECT_EQ(selectionCellCount(3, 3, 3, 3), 1);
}

TEST(DailyRainTable, SaveWritesTheWholeDayRoundedHalfToEven) {
    DayFile file;
    const Bytes before = fileBytes(file.path);
    RainDayRecord dayBuffer = file.record();
    dayBuffer.minuteRain[100] = 9; // no longer in the grid: saved as 0
    Table grid = minuteGridTable(newRainDayRecord(dayBuffer.dayDate), tr);
    setMinute(grid, 14, 7, "2.5");
    setMinute(grid, 14, 8, "2,5");
    setMinute(grid, 0, 0, "0.25"); // 2.5 tenths -> 2
    setMinute(grid, 0, 1, "0.75"); // 7.5 tenths -> 8
    setMinute(grid, 23, 59, " 25.5 ");
    setMinute(grid, 12, 0, "  ");

    const RainDaySave save = saveRainDay(file.path, DayFile::number, dayBuffer, grid, tr);
    ASSERT_TRUE(save.ok()) << *save.error;
    EXPECT_EQ(save.dayTenths, 25 + 25 + 2 + 8 + 255);
    const RainDayRecord written = file.record();
    EXPECT_EQ(written, *save.record);
    EXPECT_EQ(written.minuteRain[847], 25);
    EXPECT_EQ(written.minuteRain[848], 25);
    EXPECT_EQ(written.minuteRain[0], 2);
    EXPECT_EQ(written.minuteRain[1], 8);
    EXPECT_EQ(written.minuteRain[1439], 255);
    EXPECT_EQ(written.minuteRain[100], 0);
    EXPECT_EQ(written.dayDate, day(2003, 11, 15));
    // Only record 46 changed.
    const Bytes after = fileBytes(file.path);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i < 45 * 1470 || i >= 46 * 1470) {
            ASSERT_EQ(after[i], before[i]) << i;
        }
    }
}

TEST(DailyRainTable, EmptyGridSavesADayOfZeros) {
    DayFile file;
    RainDayRecord dayBuffer = file.record();
    dayBuffer.minuteRain[500] = 40;
    const RainDaySave save = saveRainDay(file.path, DayFile::number, dayBuffer,
                                         minuteGridTable(newRainDayRecord(OleDate()), tr), tr);
    ASSERT_TRUE(save.ok());
    EXPECT_EQ(save.dayTenths, 0);
    EXPECT_EQ(dailyTotalTenths(file.record()), 0);
}

TEST(DailyRainTable, RefusedValuesNameTheirCellAndWriteNothing) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"1:5", "Saat 14 sütunu, 8. satırdaki (14:07) \"1:5\" değeri bir sayı değil. Gün kaydedilmedi."},
        {"1.2.3", "Saat 14 sütunu, 8. satırdaki (14:07) \"1.2.3\" değeri bir sayı değil. Gün kaydedilmedi."},
        {"25.6", "Saat 14 sütunu, 8. satırdaki (14:07) 25.6 mm değeri kaydedilemez: değer 0 ile 25,5 mm "
                 "arasında olmalı. Gün kaydedilmedi."},
        {"25,55", "Saat 14 sütunu, 8. satırdaki (14:07) 25,55 mm değeri kaydedilemez: değer 0 ile 25,5 mm "
                  "arasında olmalı. Gün kaydedilmedi."},
        {"-0.1", "Saat 14 sütunu, 8. satırdaki (14:07) -0.1 mm değeri kaydedilemez: değer 0 ile 25,5 mm "
                 "arasında olmalı. Gün kaydedilmedi."},
        {"1e300", "Saat 14 sütunu, 8. satırdaki (14:07) 1e300 mm değeri kaydedilemez: değer 0 ile 25,5 mm "
                  "arasında olmalı. Gün kaydedilmedi."},
    };
    for (const Case& c : cases) {
        DayFile file;
        const Bytes before = fileBytes(file.path);
        Table grid = minuteGridTable(newRainDayRecord(OleDate()), tr);
        setMinute(grid, 3, 0, "1");
        setMinute(grid, 14, 7, c.text);
        setMinute(grid, 20, 0, "x"); // a later cell is not reached
        const RainDaySave save = saveRainDay(file.path, DayFile::number, file.record(), grid, tr);
        ASSERT_FALSE(save.ok()) << c.text;
        EXPECT_EQ(*save.error, c.message);
        EXPECT_FALSE(save.record);
        EXPECT_EQ(fileBytes(file.path), before) << c.text;
    }
}

TEST(DailyRainTable, BoundaryValuesAreKept) {
    Table grid = minuteGridTable(newRainDayRecord(OleDate()), tr);
    setMinute(grid, 1, 0, "25,54"); // 255.4 tenths -> 255
    setMinute(grid, 1, 1, "-0");
    setMinute(grid, 1, 2, "0,04"); // 0.4 tenths -> 0
    const auto minutes = readMinuteGrid(grid, tr);
    ASSERT_TRUE(std::holds_alternative<EditedRainMinutes>(minutes));
    DayFile file;
    const RainDaySave save = saveRainDay(file.path, DayFile::number, file.record(), grid, tr);
    ASSERT_TRUE(save.ok());
    EXPECT_EQ(file.record().minuteRain[60], 255);
    EXPECT_EQ(file.record().minuteRain[61], 0);
    EXPECT_EQ(file.record().minuteRain[62], 0);
}

TEST(DailyRainTable, NeverWritesPastRecord366) {
    DayFile file;
    const Bytes before = fileBytes(file.path);
    Table grid = minuteGridTable(newRainDayRecord(OleDate()), tr);
    setMinute(grid, 0, 0, "1");
    for (std::size_t number : {std::size_t{0}, std::size_t{367}}) {
        const RainDaySave save = saveRainDay(file.path, number, file.record(), grid, tr);
        EXPECT_FALSE(save.ok());
    }
    EXPECT_EQ(fileBytes(file.path), before);
}
