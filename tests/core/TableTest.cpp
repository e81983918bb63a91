#include "core/Table.h"

#include "common/ExpectCells.h"
#include "core/Sheet.h"

#include <gtest/gtest.h>

using namespace korvel;
using korvel::testing::expectCells;

TEST(Table, ClipboardTextEndsEveryCellWithATabAndEveryRowWithCrLf) {
    Table table(2, 3);
    table.setCell(0, 0, "gün");
    table.setCell(0, 1, "Ekim");
    table.setCell(1, 0, "1");
    table.setCell(1, 2, "12,5");
    EXPECT_EQ(table.clipboardText(), "gün\tEkim\t\t\r\n1\t\t12,5\t\r\n");
    EXPECT_EQ(Table().clipboardText(), "");
    const std::string emptyRow = std::string(13, '\t') + "\r\n";
    EXPECT_EQ(Table(3, 13).clipboardText(), emptyRow + emptyRow + emptyRow);
}

TEST(Table, CellsOutsideTheTableAreEmptyAndIgnored) {
    Table table(2, 2);
    table.setCell(5, 0, "x");
    table.setCell(-1, 0, "x");
    expectCells(table, {{5, 0, ""}, {0, -1, ""}});
    EXPECT_EQ(table.clipboardText(), "\t\t\r\n\t\t\r\n");
}

TEST(Table, ResizeKeepsTheCellsThatRemain) {
    Table table(2, 2, 1, 1);
    table.setCell(0, 0, "a");
    table.setCell(1, 1, "d");
    table.setColumnWidth(1, 750);
    table.resize(3, 1);
    expectCells(table, {{0, 0, "a"}, {1, 1, ""}});
    EXPECT_EQ(table.columns(), 1);
    table.resize(3, 2);
    EXPECT_EQ(table.cell(1, 1), "");
    EXPECT_EQ(table.columnWidth(1), Table::kDefaultColumnWidth);
    EXPECT_EQ(table.rowHeight(2), Table::kDefaultRowHeight);
    table.resize(0, 0);
    EXPECT_EQ(table.fixedRows(), 0);
    EXPECT_EQ(table.fixedColumns(), 0);
}

TEST(Sheet, NamedTablesAndTextsKeepTheirOrder) {
    Sheet sheet;
    sheet.caption = "Yıllık akım  tablosu";
    sheet.table("MSFlexGrid2") = Table(1, 1);
    sheet.setTable("MSFlexGrid1", Table(2, 2));
    sheet.setText("Label7", "a");
    sheet.setText("Text6", "b");
    sheet.setText("Label7", "c");
    ASSERT_EQ(sheet.tables().size(), 2u);
    EXPECT_EQ(sheet.tables()[0].first, "MSFlexGrid2");
    EXPECT_EQ(sheet.findTable("MSFlexGrid1")->rows(), 2);
    EXPECT_EQ(sheet.findTable("missing"), nullptr);
    EXPECT_EQ(sheet.text("Label7"), "c");
    EXPECT_EQ(sheet.texts().size(), 2u);
    EXPECT_FALSE(sheet.hasText("Label1"));
    EXPECT_EQ(sheet.text("Label1"), "");
}

TEST(SheetAlignment, SpanningColumnsAndTheirGroupsGetOneWidth) {
    // A month heading over an H and a Q column: a narrow heading takes the pair's width, a wide
    // one widens the pair's last column. A hidden column stays hidden and takes no width.
    std::vector<double> strip = {30, 50, 200, 40};
    std::vector<double> daily = {20, 30, 40, 60, 70, 0, 25};
    EXPECT_TRUE(alignColumnWidths(strip, daily, {1, 2, 2, 2}));
    EXPECT_EQ(strip, (std::vector<double>{30, 70, 200, 40}));
    EXPECT_EQ(daily, (std::vector<double>{30, 30, 40, 60, 140, 0, 40}));
    EXPECT_FALSE(alignColumnWidths(strip, daily, {1, 2, 2, 2}));
}

TEST(SheetAlignment, AGridUnderTwoOthersLinesUpWithBoth) {
    Sheet sheet;
    sheet.setTable("strip", Table(1, 3));
    sheet.setTable("daily", Table(2, 5));
    sheet.setTable("summary", Table(2, 3));
    sheet.alignColumns("strip", "daily", {1, 2, 2});
    sheet.alignColumns("summary", "daily", {1, 2, 2});
    std::vector<std::vector<double>> widths = {{10, 10, 10}, {10, 10, 10, 10, 10}, {40, 100, 10}};
    alignSheetColumns(sheet, widths);
    EXPECT_EQ(widths[0], (std::vector<double>{40, 100, 20}));
    EXPECT_EQ(widths[1], (std::vector<double>{40, 10, 90, 10, 10}));
    EXPECT_EQ(widths[2], (std::vector<double>{40, 100, 20}));
}
