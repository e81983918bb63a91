#pragma once

#include "core/Locale.h"
#include "core/Sheet.h"
#include "store/HqTable.h"
#include "store/StationRecord.h"
#include "store/WaterYearFile.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The water supply table "MSFlexGrid3": 42 rows x 14 columns with one fixed row and column;
// rows 1..39 one water year each in the order added, row 40 the column totals ("Top."),
// row 41 the column means ("Ort."); every number written "######0.00".
inline constexpr int kSupplyYearRows = 39;
inline constexpr int kSupplyTotalRow = 40;
inline constexpr int kSupplyMeanRow = 41;
inline constexpr std::string_view kSupplyNumberFormat = "######0.00";

// The monthly flow volumes of a water year in million m3, floor(S x 86.4) / 1000 for each
// month's discharge sum S, and in the last place their sum, the annual volume.
std::array<double, 13> waterSupplyVolumes(const std::vector<DayRecord>& records, const HqTableSet& tables);

class WaterSupplyTable {
public:
    enum class AddResult { Added, AlreadyListed, TableFull };

    explicit WaterSupplyTable(const Locale& locale);

    // Adds the water year of a flow file (its year is the first four characters of the name)
    // unless the table is full or lists that year already, then writes the totals and means
    // again from the texts of the listed rows, so that they add up the rounded values shown.
    AddResult addYear(std::string_view flowFileName, const std::vector<DayRecord>& records,
                      const HqTableSet& tables);

    int rowCount() const { return rowCount_; }
    bool listsYear(std::string_view year) const;
    const Table& grid() const { return grid_; }

private:
    void writeTotalsAndMeans();

    Locale locale_;
    Table grid_;
    int rowCount_ = 0;
};

// The screen's texts: the caption, title and units labels, the station header with the
// "Agi No" label, and the grid.
Sheet waterSupplySheet(const WaterSupplyTable& table, const StationRecord& station, const Locale& locale);

} // namespace korvel
