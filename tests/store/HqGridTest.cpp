#include "store/HqGrid.h"

#include "common/Dates.h"
#include "core/ByteIO.h"
#include "core/Cp1254.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

using korvel::testing::day;

HqGridCells emptyGrid() {
    return HqGridCells(kHqGridCells);
}

std::string noFlags() {
    return std::string(HqTable::kFlagCount, '\0');
}

// The flag byte of a level in a raw flag string.
char flagOf(const std::string& keyFlags, std::size_t level) {
    return keyFlags[level - 1];
}

// ---- filling the gaps ----------------------------------------------------------------------

TEST(HqFillGaps, InterpolatesBetweenTwoKeyValuesAndFlagsTheFilledCells) {
    HqGridCells cells = emptyGrid();
    cells[20] = 100.0;
    cells[25] = 200.0;
    std::string flags = noFlags();

    const auto filled = fillGaps(cells, flags);
    EXPECT_EQ(filled, (std::vector<std::size_t>{21, 22, 23, 24}));
    EXPECT_EQ(cells[21], 120.0);
    EXPECT_EQ(cells[22], 140.0);
    EXPECT_EQ(cells[23], 160.0);
    EXPECT_EQ(cells[24], 180.0);
    for (std::size_t level = 21; level <= 24; ++level)
        EXPECT_EQ(flagOf(flags, level), '2');
    EXPECT_EQ(flagOf(flags, 20), '\0');
    EXPECT_EQ(flagOf(flags, 25), '\0');
    // The gap before the first value (levels 0..19) stays empty.
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_FALSE(cells[i].has_value()) << i;
}

TEST(HqFillGaps, GapWithoutValueAfterItEndsTheFill) {
    HqGridCells cells = emptyGrid();
    cells[1] = 10.0;
    cells[3] = 30.0;
    cells[10] = 100.0;
    std::string flags = noFlags();

    const auto filled = fillGaps(cells, flags);
    EXPECT_EQ(filled, (std::vector<std::size_t>{2, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(cells[2], 20.0);
    EXPECT_EQ(cells[4], 40.0);
    EXPECT_EQ(cells[9], 90.0);
    EXPECT_FALSE(cells[0].has_value());
    for (std::size_t i = 11; i < kHqGridCells; ++i)
        ASSERT_FALSE(cells[i].has_value()) << i;
    EXPECT_EQ(flagOf(flags, 11), '\0');
}

TEST(HqFillGaps, FilledCellsHoldWhatTheGridShows) {
    HqGridCells cells = emptyGrid();
    cells[0] = 100.0;
    cells[3] = 200.0;
    std::string flags = noFlags();
    fillGaps(cells, flags);
    EXPECT_DOUBLE_EQ(*cells[1], 133.33);
    EXPECT_DOUBLE_EQ(*cells[2], 166.67);
}

TEST(HqFillGaps, FlagsAlreadySetStay) {
    HqGridCells cells = emptyGrid();
    cells[20] = 100.0;
    cells[25] = 200.0;
    std::string flags = noFlags();
    flags[22 - 1] = '1';
    flags[23 - 1] = '8';
    fillGaps(cells, flags);
    EXPECT_EQ(flagOf(flags, 21), '2');
    EXPECT_EQ(flagOf(flags, 22), '1');
    EXPECT_EQ(flagOf(flags, 23), '8');
    EXPECT_EQ(flagOf(flags, 24), '2');
}

TEST(HqFillGaps, CellHoldingZeroAnchorsTheFirstGap) {
    HqGridCells cells = emptyGrid();
    cells[0] = 0.0;
    cells[10] = 100.0;
    std::string flags = noFlags();
    const auto filled = fillGaps(cells, flags);
    EXPECT_EQ(filled.size(), 9u);
    EXPECT_EQ(cells[1], 10.0);
    EXPECT_EQ(cells[9], 90.0);
    EXPECT_EQ(cells[0], 0.0);
}

// ---- saving the screen into the table ------------------------------------------------------

TEST(HqApplyGrid, FirstSaveFlagsTypedAndEmptyCells) {
    HqTable t;
    t.discharge[995] = 9.0F;
    t.discharge[7] = 4.0F;
    HqGridCells cells = emptyGrid();
    cells[0] = 5.0;
    cells[1] = 7.5;
    cells[989] = 12345.5;

    applyGridToTable(t, cells, {}, "Ali", day(2004, 5, 1), "yok");
    EXPECT_EQ(t.discharge[0], 5.0F);
    EXPECT_EQ(t.discharge[1], 7.5F);
    EXPECT_EQ(t.discharge[7], 0.0F);
    EXPECT_EQ(t.discharge[989], 12345.5F);
    EXPECT_EQ(t.discharge[995], 9.0F);
    EXPECT_EQ(t.keyFlag(1), '1');
    EXPECT_EQ(t.keyFlag(2), '8');
    EXPECT_EQ(t.keyFlag(989), '1');
    EXPECT_EQ(t.keyFlag(990), '\0');
    EXPECT_EQ(t.keyFlag(1000), '\0');
    EXPECT_EQ(t.createdOn, day(2004, 5, 1));
    EXPECT_EQ(t.enteredBy, "Ali");
    EXPECT_EQ(t.remarks, "yok");
}

TEST(HqApplyGrid, LaterSavesNeverChangeAFlag) {
    HqTable t;
    HqGridCells cells = emptyGrid();
    cells[1] = 7.5;
    applyGridToTable(t, cells, {}, "", std::nullopt, "");

    cells[1].reset(); // emptied after the first save
    cells[2] = 3.0;   // typed into a cell that was empty at the first save
    applyGridToTable(t, cells, {}, "", std::nullopt, "");
    EXPECT_EQ(t.discharge[1], 0.0F);
    EXPECT_EQ(t.keyFlag(1), '1');
    EXPECT_EQ(t.discharge[2], 3.0F);
    EXPECT_EQ(t.keyFlag(2), '8');
}

TEST(HqApplyGrid, FilledTableSavesInterpolatedValuesWithFlag2) {
    HqTable t;
    HqGridCells cells = emptyGrid();
    cells[20] = 100.0;
    cells[25] = 200.0;
    fillGaps(cells, t.keyFlags);
    applyGridToTable(t, cells, {}, "", std::nullopt, "");

    const HqTable back = parseHqTable(serializeHqTable(t));
    EXPECT_EQ(back.discharge[22], 140.0F);
    EXPECT_EQ(back.keyFlag(22), '2');
    EXPECT_EQ(back.keyFlag(20), '1');
    EXPECT_EQ(back.keyFlag(19), '8');
    EXPECT_EQ(visibleRowCount(back), 99u);
}

TEST(HqApplyGrid, PeriodsStopAtTheFirstRowWithoutStart) {
    HqTable t;
    t.validTo[2] = day(2005, 9, 30);
    t.validFrom[4] = day(1999, 1, 1);
    t.validTo[4] = day(1999, 12, 31);
    const std::vector<HqPeriodRow> periods = {
        {day(2003, 10, 1), day(2004, 9, 30)},
        {day(2004, 10, 1), std::nullopt},
        {std::nullopt, day(2007, 1, 1)},
        {day(2006, 1, 1), day(2006, 12, 31)},
    };
    applyGridToTable(t, emptyGrid(), periods, "", std::nullopt, "");
    EXPECT_EQ(t.validFrom[1], day(2003, 10, 1));
    EXPECT_EQ(t.validTo[1], day(2004, 9, 30));
    EXPECT_EQ(t.validFrom[2], day(2004, 10, 1));
    EXPECT_EQ(t.validTo[2], day(2005, 9, 30));
    EXPECT_TRUE(t.validTo[3].isEmpty());
    // The stored period below the first row without a start is cleared.
    EXPECT_TRUE(t.validFrom[4].isEmpty());
    EXPECT_TRUE(t.validTo[4].isEmpty());
    EXPECT_EQ(listedPeriodCount(t), 2u);
}

// A period cleared on the grid no longer gives discharges.
TEST(HqApplyGrid, APeriodTakenOffTheGridIsNoLongerInForce) {
    HqTable t;
    t.discharge[50] = 7.5F;
    t.validFrom[1] = day(2003, 10, 1);
    t.validTo[1] = day(2004, 9, 30);
    t.validFrom[2] = day(2004, 10, 1);
    t.validTo[2] = day(2005, 9, 30);
    HqTableSet set;
    set.entries.push_back(HqTableSlot{"01_01-001.HQ", t});
    ASSERT_TRUE(lookupDischarge(set, day(2005, 1, 5), 50.0));

    applyGridToTable(set.entries[0].table, gridCellsOfTable(t),
                     {{day(2003, 10, 1), day(2004, 9, 30)}, {std::nullopt, std::nullopt}}, "", std::nullopt,
                     "");
    EXPECT_FALSE(findRatingPeriod(set, day(2005, 1, 5)));
    EXPECT_TRUE(findRatingPeriod(set, day(2004, 1, 5)));
}

TEST(HqApplyGrid, BoxTextsAreCutToTheirFieldWidth) {
    HqTable t;
    t.createdOn = day(2001, 1, 1);
    std::string longName;
    for (int i = 0; i < 60; ++i)
        longName += "ş";
    applyGridToTable(t, emptyGrid(), {}, longName, std::nullopt, std::string(250, 'x'));
    EXPECT_EQ(utf8Length(t.enteredBy), 50u);
    EXPECT_EQ(t.remarks, std::string(200, 'x'));
    EXPECT_EQ(t.createdOn, day(2001, 1, 1));
    const Bytes b = serializeHqTable(t);
    EXPECT_EQ(b[5557], 0xFE);
    EXPECT_EQ(b[5558], 'x');
}

// ---- opening a table -----------------------------------------------------------------------

TEST(HqOpenTable, RowsStopAfterTheFirstRowNeverSavedBeyond) {
    HqTable t;
    EXPECT_EQ(visibleRowCount(t), 1u);
    for (std::size_t level = 1; level <= 35; ++level)
        t.setKeyFlagIfUnset(level, '1');
    EXPECT_EQ(visibleRowCount(t), 4u);
}

TEST(HqOpenTable, GridShowsNonZeroValuesOfVisibleRows) {
    HqTable t;
    for (std::size_t level = 1; level <= 9; ++level)
        t.setKeyFlagIfUnset(level, '1');
    t.discharge[0] = 1.0F;
    t.discharge[5] = 3.0F;
    t.discharge[12] = 8.0F; // beyond the rows ever saved
    const HqGridCells cells = gridCellsOfTable(t);
    ASSERT_EQ(cells.size(), kHqGridCells);
    EXPECT_EQ(cells[0], 1.0);
    EXPECT_FALSE(cells[1].has_value());
    EXPECT_EQ(cells[5], 3.0);
    EXPECT_FALSE(cells[12].has_value());
}

} // namespace
} // namespace korvel
