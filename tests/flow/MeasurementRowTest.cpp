#include "flow/MeasurementRow.h"

#include "common/ExpectCells.h"
#include "common/ScratchDirectory.h"
#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/KeyFilters.h"
#include "flow/MeasurementCardSheet.h"

#include <gtest/gtest.h>

using namespace korvel;
using korvel::testing::expectCells;
using korvel::testing::ScratchDirectory;

namespace {

MeasurementRowCells fullRow() {
    return {"15.03.2004", "  Ayşe Demir ", "7.5", "3.25",          "0.812", "212.5",
            "2640.125",   "Muline",        "İyi", "Yosunlu kesit", "4",     "-3"};
}

// What the user sees after typing the keys into an empty cell of the card.
std::string typed(std::u32string_view keys, int column) {
    std::string cell;
    for (char32_t key : keys)
        cell = measurementCardKey(cell, key, {1, column}).text;
    return cell;
}

// A sibling-program list line with the given date, gauge level and discharge texts.
std::string suvakLine(std::string_view ddmmyyyy, std::string_view level, std::string_view whole,
                      std::string_view decimals) {
    std::string line(133, ' ');
    line.replace(4, 8, ddmmyyyy);
    line.replace(12, 8, "Ali Kaya");
    line.replace(62, level.size(), level);
    line.replace(67, whole.size(), whole);
    line.replace(71, decimals.size(), decimals);
    return line;
}

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

} // namespace

TEST(MeasurementRowConversion, EveryCellGoesToItsField) {
    const ConvertedMeasurementRow row = convertMeasurementRow(fullRow(), Locale::turkish());
    EXPECT_TRUE(row.unconverted.empty());
    const MeasurementCard& r = row.record;
    EXPECT_EQ(r.measurementDate, OleDate::fromDate(2004, 3, 15));
    EXPECT_EQ(r.measuredBy, "Ayşe Demir");
    EXPECT_EQ(r.sectionWidth, 7.5F);
    EXPECT_EQ(r.sectionArea, 3.25F);
    EXPECT_EQ(r.meanVelocity, 0.812F);
    EXPECT_EQ(r.gaugeLevel, 212); // halves to even
    EXPECT_EQ(r.measuredDischarge, 2640.125F);
    EXPECT_EQ(r.measurementMethod, "Muline");
    EXPECT_EQ(r.measurementGrade, "İyi");
    EXPECT_EQ(r.remark, "Yosunlu kesit");
    EXPECT_EQ(r.errorPercent, 4);
    EXPECT_EQ(r.shiftMm, -3);
}

TEST(MeasurementRowConversion, WidthTypedWithACommaIsStoredAsTwelveAndAHalf) {
    const std::string cell = typed(U"12,5", 2);
    EXPECT_EQ(cell, "12.5");
    MeasurementRowCells cells = fullRow();
    cells[2] = cell;
    EXPECT_EQ(convertMeasurementRow(cells, Locale::turkish()).record.sectionWidth, 12.5F);
}

TEST(MeasurementRowConversion, CellsThatDoNotConvertAreZeroAndNamed) {
    MeasurementRowCells cells = fullRow();
    cells[0] = "31.02.2004";
    cells[3] = "";
    cells[5] = "99999";
    cells[10] = "x";
    const ConvertedMeasurementRow row = convertMeasurementRow(cells, Locale::turkish());
    EXPECT_EQ(row.unconverted, (std::vector<int>{0, 3, 5, 10}));
    EXPECT_TRUE(row.record.measurementDate.isEmpty());
    EXPECT_EQ(row.record.sectionArea, 0.0F);
    EXPECT_EQ(row.record.gaugeLevel, 0);
    EXPECT_EQ(row.record.errorPercent, 0);
    // The rest of the row is kept.
    EXPECT_EQ(row.record.sectionWidth, 7.5F);
    EXPECT_EQ(row.record.shiftMm, -3);
    EXPECT_EQ(row.record.remark, "Yosunlu kesit");

    EXPECT_EQ(unconvertedCellsMessage(4, row.unconverted),
              "Satır 4: Tarih, Kesit alan(m2), Eşel seviyesi(mm), Hata (%) hücreleri okunamadı; "
              "0 (tarih boş) olarak kaydedildi.");
    EXPECT_EQ(unconvertedCellsMessage(2, {11}), "Satır 2: Şift(mm) hücresi okunamadı; 0 olarak kaydedildi.");
    EXPECT_EQ(unconvertedCellsMessage(2, {}), "");
}

TEST(MeasurementRowConversion, DatesFollowTheLocale) {
    MeasurementRowCells cells = fullRow();
    cells[0] = "3/15/2004";
    EXPECT_EQ(convertMeasurementRow(cells, Locale::american()).record.measurementDate,
              OleDate::fromDate(2004, 3, 15));
    // A gap row of the card shows the empty date and saves it again.
    cells[0] = Locale::turkish().shortDate(OleDate());
    const auto row = convertMeasurementRow(cells, Locale::turkish());
    EXPECT_TRUE(row.unconverted.empty());
    EXPECT_TRUE(row.record.measurementDate.isEmpty());
}

TEST(MeasurementRowSave, NewCardGetsOneRecordAndRowFivePadsWithZeroRecords) {
    ScratchDirectory dir;
    const auto card = dir / "01-001.olc";
    EXPECT_TRUE(saveMeasurementRow(card, 1, fullRow(), Locale::turkish()).empty());
    ASSERT_EQ(readFileBytes(card)->size(), 170u);

    saveMeasurementRow(card, 2, fullRow(), Locale::turkish());
    MeasurementRowCells partial = fullRow();
    partial[6] = "";
    EXPECT_EQ(saveMeasurementRow(card, 5, partial, Locale::turkish()), (std::vector<int>{6}));
    const Bytes bytes = *readFileBytes(card);
    ASSERT_EQ(bytes.size(), 5u * 170u);
    for (std::size_t i = 2 * 170; i < 4 * 170; ++i)
        ASSERT_EQ(bytes[i], 0) << "byte " << i;
    const auto records = parseMeasurementCardFile(bytes);
    EXPECT_TRUE(records[2].measurementDate.isEmpty());
    EXPECT_EQ(records[4].measuredDischarge, 0.0F);
    EXPECT_EQ(records[4].measuredBy, std::string("Ayşe Demir") + std::string(20, ' '));

    // The zero rows show as the empty date, zeros and blank texts.
    const Table grid = measurementCardTable(records, Locale::turkish());
    expectCells(grid, {{3, 0, "30.12.1899"}, {3, 5, "0"}, {3, 6, "0"}});
}

// A record between saved rows is zero bytes: its texts show empty and go back as spaces.
TEST(MeasurementRowSave, ZeroBytesOfATextFieldReadAsEmptyAndAreWrittenAsSpaces) {
    ScratchDirectory dir;
    const auto card = dir / "01-001.olc";
    saveMeasurementRow(card, 3, fullRow(), Locale::turkish());
    const Table grid =
        measurementCardTable(parseMeasurementCardFile(*readFileBytes(card)), Locale::turkish());
    for (int c : {1, 7, 8, 9})
        EXPECT_EQ(trimmed(grid.cell(1, c)), "") << c;

    MeasurementRowCells shown;
    for (int c = 0; c < 12; ++c)
        shown[static_cast<std::size_t>(c)] = grid.cell(1, c);
    saveMeasurementRow(card, 1, shown, Locale::turkish());
    const Bytes bytes = *readFileBytes(card);
    for (const auto& [offset, width] :
         std::vector<std::pair<std::size_t, std::size_t>>{{8, 30}, {56, 10}, {66, 10}, {76, 50}})
        for (std::size_t i = offset; i < offset + width; ++i)
            ASSERT_EQ(bytes[i], ' ') << "byte " << i;
}

TEST(MeasurementRowSave, ImportThenEditBlanksTheSiblingTag) {
    ScratchDirectory dir;
    const auto card = dir / "01-001.olc";
    saveMeasurementRow(card, 1, fullRow(), Locale::turkish());
    MeasurementRowCells second = fullRow();
    second[0] = "20.04.2004";
    saveMeasurementRow(card, 2, second, Locale::turkish());

    // Line 1 is a new date, line 2 the date of card line 2.
    const std::string list =
        suvakLine("01052004", " 1.25", "  12", "345") + suvakLine("20042004", "0.5", "   3", "000");
    const auto result = importMeasurementRecords(bytesOf(list), dir.path(), "01-001");
    EXPECT_EQ(result.imported, 2u);
    auto records = parseMeasurementCardFile(*readFileBytes(card));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2].gaugeLevel, 125);
    EXPECT_EQ(records[2].measuredDischarge, 12.345F);
    EXPECT_EQ(records[1].measurementDate, OleDate::fromDate(2004, 4, 20));
    EXPECT_EQ(records[1].gaugeLevel, 50);
    EXPECT_EQ(records[1].sourceTag.substr(0, 5), "SUVAK");

    // Editing and saving that line on the card blanks the tag again.
    const Table grid = measurementCardTable(records, Locale::turkish());
    MeasurementRowCells shown;
    for (int c = 0; c < 12; ++c)
        shown[static_cast<std::size_t>(c)] = grid.cell(2, c);
    shown[9] = "düzeltildi";
    EXPECT_TRUE(saveMeasurementRow(card, 2, shown, Locale::turkish()).empty());
    records = parseMeasurementCardFile(*readFileBytes(card));
    EXPECT_EQ(records[1].sourceTag, std::string(20, ' '));
    EXPECT_EQ(records[1].measuredDischarge, 3.0F);
    EXPECT_EQ(trimmedRight(records[1].remark), "düzeltildi");
}
