#include "core/CsvText.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

Table sampleGrid() {
    Table grid(3, 3, 1, 1);
    grid.setCell(0, 0, " Tarih");
    grid.setCell(0, 1, "HQ (l/s)");
    grid.setCell(0, 2, "Olç.şekli");
    grid.setCell(1, 0, "01.10.2003");
    grid.setCell(1, 1, "12,50");
    grid.setCell(1, 2, "say \"L\"");
    grid.setCell(2, 0, "02.10.2003");
    return grid;
}

TEST(CsvText, WritesBomSeparatorsAndQuotes) {
    EXPECT_EQ(csvText(sampleGrid(), ';'), "\xEF\xBB\xBF Tarih;HQ (l/s);Olç.şekli\r\n"
                                          "01.10.2003;12,50;\"say \"\"L\"\"\"\r\n"
                                          "02.10.2003;;\r\n");
    // With a comma separator the decimal comma is quoted so the number stays one field.
    EXPECT_NE(csvText(sampleGrid(), ',').find("01.10.2003,\"12,50\","), std::string::npos);
}

TEST(CsvText, SeparatorFollowsTheDecimalSeparator) {
    EXPECT_EQ(csvSeparator(Locale::turkish()), ';');
    EXPECT_EQ(csvSeparator(Locale::american()), ',');
}

TEST(CsvText, RoundTripKeepsEveryCell) {
    const Table grid = sampleGrid();
    for (char separator : {';', ','}) {
        const auto rows = parseCsvText(csvText(grid, separator), separator);
        ASSERT_EQ(rows.size(), 3u);
        for (int r = 0; r < grid.rows(); ++r) {
            ASSERT_EQ(rows[static_cast<std::size_t>(r)].size(), 3u);
            for (int c = 0; c < grid.columns(); ++c)
                EXPECT_EQ(rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)], grid.cell(r, c));
        }
    }
}

TEST(CsvText, LineBreakInsideQuotesStaysInTheField) {
    const auto rows = parseCsvText("a;\"b\r\nc\";d\r\n", ';');
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"a", "b\r\nc", "d"}));
}

} // namespace
} // namespace korvel
