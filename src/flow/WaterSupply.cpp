#include "flow/WaterSupply.h"

#include "core/Cp1254.h"
#include "core/NumberFormat.h"
#include "flow/StationHeader.h"
#include "flow/YearWalk.h"

#include <cmath>

namespace korvel {

namespace {

constexpr const char* kHeadings[] = {"Su yılı", "Ekim",    "Kasım", "Aralık",     "Ocak",
                                     "Şubat",   "Mart",    "Nisan", "Mayıs",      "Haziran",
                                     "Temmuz",  "Agustos", "Eylül", "Yıllık top."};

} // namespace

std::array<double, 13> waterSupplyVolumes(const std::vector<DayRecord>& records, const HqTableSet& tables) {
    const std::array<double, 12> sums = monthlyDischargeSums(records, tables);
    std::array<double, 13> volumes{};
    for (std::size_t m = 0; m < 12; ++m) {
        volumes[m] = std::floor(sums[m] * 86.4) / 1000.0;
        volumes[12] += volumes[m];
    }
    return volumes;
}

WaterSupplyTable::WaterSupplyTable(const Locale& locale) : locale_(locale), grid_(42, 14, 1, 1) {
    for (int c = 0; c < 14; ++c)
        grid_.setCell(0, c, kHeadings[c]);
    grid_.setCell(kSupplyTotalRow, 0, "Top.");
    grid_.setCell(kSupplyMeanRow, 0, "Ort.");
}

bool WaterSupplyTable::listsYear(std::string_view year) const {
    for (int r = 1; r <= rowCount_; ++r)
        if (grid_.cell(r, 0) == year)
            return true;
    return false;
}

WaterSupplyTable::AddResult WaterSupplyTable::addYear(std::string_view flowFileName,
                                                      const std::vector<DayRecord>& records,
                                                      const HqTableSet& tables) {
    if (rowCount_ == kSupplyYearRows)
        return AddResult::TableFull;
    const std::string year = utf8Left(flowFileName, 4);
    if (listsYear(year))
        return AddResult::AlreadyListed;
    ++rowCount_;
    const std::array<double, 13> volumes = waterSupplyVolumes(records, tables);
    for (int c = 1; c <= 13; ++c)
        grid_.setCell(rowCount_, c,
                      formatNumber(volumes[static_cast<std::size_t>(c - 1)], kSupplyNumberFormat, locale_));
    grid_.setCell(rowCount_, 0, year);
    writeTotalsAndMeans();
    return AddResult::Added;
}

void WaterSupplyTable::writeTotalsAndMeans() {
    for (int c = 1; c <= 13; ++c) {
        float total = 0.0F;
        for (int r = 1; r <= rowCount_; ++r)
            total += static_cast<float>(locale_.parseNumber(grid_.cell(r, c)).value_or(0.0));
        const float mean = total / static_cast<float>(rowCount_);
        grid_.setCell(kSupplyTotalRow, c, formatNumber(total, kSupplyNumberFormat, locale_));
        grid_.setCell(kSupplyMeanRow, c, formatNumber(mean, kSupplyNumberFormat, locale_));
    }
}

Sheet waterSupplySheet(const WaterSupplyTable& table, const StationRecord& station, const Locale& locale) {
    Sheet sheet;
    sheet.caption = "Su temini tablosu";
    sheet.setText("title", "Su Temini Tablosu");
    sheet.setText("units", "Birimler :  Milyon metre küp");
    addStationHeader(sheet, station, locale);
    sheet.setText("stationNumber", "Agi No..............:   " + station.stationNumber);
    sheet.setTable("MSFlexGrid3", table.grid());
    return sheet;
}

} // namespace korvel
