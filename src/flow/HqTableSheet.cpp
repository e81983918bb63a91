#include "flow/HqTableSheet.h"

#include "core/Cp1254.h"
#include "core/NumberFormat.h"
#include "flow/StationHeader.h"
#include "store/HqGrid.h"

namespace korvel {

namespace {

std::string fieldText(const std::string& field) {
    return trimmedRight(field.substr(0, field.find('\0')));
}

Table tableGrid(const HqTable& table, const Locale& locale) {
    Table grid(100, 11, 1, 1);
    grid.setColumnWidth(0, 380);
    for (int c = 0; c < 10; ++c) {
        grid.setColumnWidth(c + 1, 750);
        grid.setCell(0, c + 1, " + " + std::to_string(c));
    }
    for (int r = 0; r < 99; ++r)
        grid.setCell(r + 1, 0, std::to_string(10 * r));
    const std::size_t rows = visibleRowCount(table);
    for (std::size_t r = 0; r < rows && r < 99; ++r) {
        for (std::size_t c = 0; c < 10; ++c) {
            const float q = table.discharge[10 * r + c];
            if (q != 0.0f)
                grid.setCell(static_cast<int>(r) + 1, static_cast<int>(c) + 1,
                             formatNumber(q, "##,##0.00", locale));
        }
    }
    return grid;
}

Table periodGrid(const HqTable& table, const Locale& locale) {
    Table grid(16, 2, 1, 0);
    grid.setCell(0, 0, " Başlangıc  ");
    grid.setCell(0, 1, "   Bitiş");
    const std::size_t listed = listedPeriodCount(table);
    for (std::size_t j = 1; j <= listed && j <= HqTable::kPeriods; ++j) {
        grid.setCell(static_cast<int>(j), 0, locale.generalDate(table.validFrom[j]));
        grid.setCell(static_cast<int>(j), 1, locale.generalDate(table.validTo[j]));
    }
    return grid;
}

} // namespace

Sheet hqTableSheet(const HqTable& table, const std::string& fileName, const StationRecord& station,
                   const Locale& locale) {
    Sheet sheet;
    sheet.caption = station.stationNumber + "  nolu istasyonun HQ tablosu değerleri";
    sheet.setTable("table", tableGrid(table, locale));
    sheet.setTable("periods", periodGrid(table, locale));
    sheet.setText("enteredBy", fieldText(table.enteredBy));
    sheet.setText("createdOn", locale.generalDate(table.createdOn));
    sheet.setText("remarks", fieldText(table.remarks));
    sheet.setLabel("enteredBy", "Anahtar tablosunu giren");
    sheet.setLabel("createdOn", "Oluşturma tarihi");
    sheet.setLabel("remarks", "Düşünceler");
    addStationHeader(sheet, station, locale);
    sheet.setText("fileName", "HQ tablo adi:   " + fileName);
    return sheet;
}

} // namespace korvel
