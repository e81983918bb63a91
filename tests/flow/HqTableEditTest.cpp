#include "flow/HqTableEdit.h"

#include "FlowFixtures.h"
#include "common/ExpectCells.h"
#include "flow/HqTableSheet.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

using namespace test;
using testing::expectCells;

const Locale& tr = Locale::turkish();
const Locale& en = Locale::american();

TEST(HqTableEdit, FillExampleThroughTheScreenTexts) {
    Table grid = *hqTableSheet(HqTable{}, "01_01-001.HQ", testStation(), tr).findTable("table");
    grid.setCell(3, 1, "100,00"); // level 20, as shown
    grid.setCell(3, 6, "200");    // level 25, as typed
    HqGridReading reading = hqCellsOfGrid(grid, tr);
    ASSERT_TRUE(reading.unreadable.empty());
    HqTable table;
    const auto filled = fillGaps(reading.cells, table.keyFlags);
    showHqCells(grid, reading.cells, filled, tr);
    expectCells(grid, {{3, 2, "120,00"}, {3, 5, "180,00"}, {3, 6, "200"}});
    for (std::size_t level = 21; level <= 24; ++level)
        EXPECT_EQ(table.keyFlag(level), '2') << level;
    EXPECT_EQ(table.keyFlag(20), '\0');
}

TEST(HqTableEdit, ShownAndTypedNumbersInBothLocales) {
    Table grid(100, 11, 1, 1);
    grid.setCell(1, 1, "1.234,56");
    grid.setCell(1, 2, "12,5");
    grid.setCell(1, 3, "0");
    grid.setCell(1, 4, "1:5");
    const HqGridReading t = hqCellsOfGrid(grid, tr);
    EXPECT_EQ(t.cells[0], 1234.56);
    EXPECT_EQ(t.cells[1], 12.5);
    EXPECT_EQ(t.cells[2], 0.0);
    EXPECT_FALSE(t.cells[3]);
    EXPECT_FALSE(t.cells[4]);
    ASSERT_EQ(t.unreadable.size(), 1u);
    EXPECT_EQ(t.unreadable[0], std::make_pair(1, 4));
    EXPECT_NE(unreadableCellsMessage(t.unreadable, grid).find("Seviye 3: \"1:5\""), std::string::npos);

    grid.setCell(1, 1, "1,234.56");
    const HqGridReading e = hqCellsOfGrid(grid, en);
    EXPECT_EQ(e.cells[0], 1234.56);
    EXPECT_EQ(e.cells[1], 12.5); // typed "." entered as ","
}

TEST(HqTableEdit, PeriodsReadAsShownOrTyped) {
    HqTable table;
    table.validFrom[1] = day(2003, 10, 1);
    table.validTo[1] = day(2004, 9, 30);
    for (const Locale* locale : {&tr, &en}) {
        Table periods = *hqTableSheet(table, "01_01-001.HQ", testStation(), *locale).findTable("periods");
        periods.setCell(2, 0, "01,10,2004"); // "01.10.2004" typed: "." became ","
        periods.setCell(2, 1, "30/09/2005");
        const auto rows = hqPeriodsOfGrid(periods, *locale);
        ASSERT_EQ(rows.size(), 15u);
        EXPECT_EQ(rows[0].start, day(2003, 10, 1));
        EXPECT_EQ(rows[0].end, day(2004, 9, 30));
        EXPECT_EQ(rows[1].start, day(2004, 10, 1));
        EXPECT_FALSE(rows[2].start);
    }
    Table periods(16, 2, 1, 0);
    periods.setCell(1, 0, "30/09/2005");
    EXPECT_EQ(hqPeriodsOfGrid(periods, tr)[0].start, day(2005, 9, 30));
    EXPECT_FALSE(unreadablePeriodsMessage(periods, tr));

    // A mistyped start above the end of the list is named; one below it is not read at all.
    periods.setCell(2, 0, "31,02,2006");
    periods.setCell(4, 0, "xx");
    const auto message = unreadablePeriodsMessage(periods, tr);
    ASSERT_TRUE(message);
    EXPECT_NE(message->find("Satır 2: \"31,02,2006\""), std::string::npos);
    EXPECT_EQ(message->find("Satır 4"), std::string::npos);
}

} // namespace
} // namespace korvel
