#pragma once

#include "flow/FlowRecord.h"

#include <vector>

namespace korvel {

// The flow-duration curve: for p = 1 ... 99 the discharge exceeded on p % of the days.

inline constexpr int kDurationPercents = 99;

// The discharge exceeded with probability `percent` / 100 among discharges sorted largest
// first, by the Weibull plotting position: the i-th largest of n is exceeded with probability
// i / (n + 1); between ranks the discharge is interpolated linearly, beyond the first and the
// last rank it is the largest and the smallest. Nothing for an empty sample.
std::optional<double> exceededDischarge(const std::vector<double>& descending, double percent);

// Discharges for p = 1 ... 99 (index p - 1); empty for an empty sample.
std::vector<double> durationCurve(std::vector<double> discharges);

struct YearDuration {
    int waterYear = 0;
    std::size_t days = 0;
    int missingDays = 0;
    std::vector<double> curve; // empty for a year without a discharge
};

struct FlowDuration {
    std::vector<double> curve; // over all years
    std::size_t days = 0;
    std::size_t missingDays = 0;
    std::vector<YearDuration> years;

    // Q5, Q50, Q95: the discharges exceeded on 5, 50 and 95 % of the days.
    std::optional<double> exceeded(int percent) const;
};

FlowDuration computeFlowDuration(const FlowRecord& record);

} // namespace korvel
