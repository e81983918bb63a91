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
