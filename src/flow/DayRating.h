#pragma once

#include "core/OleDate.h"
#include "store/DayDischarge.h"
#include "store/HqTable.h"
#include "store/WaterYearFile.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// A day of a flow table as the tables rate it: its discharge by the day-discharge rule,
// and for a level day the rating table and period that were taken.
struct RatedDay {
    std::optional<double> discharge;
    std::optional<std::string> hqKey;
    // The day carries its discharge itself ("G" or "K"): no table is used.
    bool givenDischarge = false;
    // The table (slot of the set) and period covering the day; none on a "G"/"K" day and on
    // a day outside every period.
    const HqTable* table = nullptr;
    std::size_t slot = 0;
    std::size_t period = 0;
    // A covering table was found but the mean level rounds outside 0..1000 or outside the
    // table's rated range: the day has no discharge and the grids mark it.
    bool levelOutOfRange = false;
};

RatedDay rateDay(const DayRecord& day, const HqTableSet& tables);

// What the discharge cells show for a day whose level lies outside the rating tables.
inline constexpr const char* kLevelOutOfRangeMark = "?";

// The month of a record's date as its date text "dd.mm.yyyy" gives it; 0 for the empty date
// and for a value that is no calendar date.
int monthOfDay(const DayRecord& day);
// The day of the month likewise; 0 when there is none.
int dayOfMonthOfDay(const DayRecord& day);

// One month of a water-year file as the flow tables walk it: the records first .. first +
// count - 1 (numbered from 1), all of the month `month` (0 for records without a date).
struct MonthWalk {
    int month = 0;
    std::size_t first = 1;
    std::size_t count = 0;
};

// The twelve walks over a water-year file: each starts at the record that ended the walk
// before (record 1 for the first), takes that record's month and goes on while the records
// keep it, 32 records at most. Records past the end of the file read as zeros.
std::vector<MonthWalk> walkMonths(const std::vector<DayRecord>& records);

// The month list index (0 = October .. 11 = September) of a month number 1..12.
int monthIndexOfMonth(int month);
// The month list item of an index, taken modulo 12 ("10.ay  Ekim" for 0, 12 and -12).
std::string_view monthListItem(int monthIndex);

// The month headings of a water year's tables, October first.
inline constexpr std::array<const char*, 12> kWaterYearMonthNames = {"Ekim",    "Kasım",  "Aralık",  "Ocak",
                                                                     "Şubat",   "Mart",   "Nisan",   "Mayıs",
                                                                     "Haziran", "Temmuz", "Agustos", "Eylül"};

} // namespace korvel
