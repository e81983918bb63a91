#pragma once

#include "store/HqTable.h"
#include "store/WaterYearFile.h"

#include <array>
#include <cstddef>
#include <vector>

namespace korvel {

// One month of a water-year file as the discharge sums walk it: from the record where the walk
// starts, the records that follow while their month stays the month of the first one, at
// most 32. The record that ends a walk is where the next one starts. Unlike the flow tables'
// MonthWalk (walkMonths), a record takes the month of its date value as it stands, so that the
// empty date walks as December.
struct WalkedMonth {
    int month = 0;         // calendar month of the walk's first record
    std::size_t first = 1; // number (from 1) of the walk's first record
    std::size_t days = 0;  // records in the walk
};

inline constexpr std::size_t kMaxWalkDays = 32;

// The twelve walks of a file from record 1; records past the end read as zeros.
std::array<WalkedMonth, 12> walkWaterYear(const std::vector<DayRecord>& records);

// Record n (from 1) without copying; past the end a record of zeros.
const DayRecord& dayRecordAt(const std::vector<DayRecord>& records, std::size_t n);

// The sum of each walk's daily discharges (dayDischarge; days without one add nothing),
// walk 0 being October of a regular file.
std::array<double, 12> monthlyDischargeSums(const std::vector<DayRecord>& records, const HqTableSet& tables);

} // namespace korvel
