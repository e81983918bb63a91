#include "flow/FlowDuration.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace korvel {

std::optional<double> exceededDischarge(const std::vector<double>& descending, double percent) {
    if (descending.empty())
        return std::nullopt;
    const double n = static_cast<double>(descending.size());
    const double rank = percent / 100.0 * (n + 1.0); // Weibull: P(i) = i / (n + 1)
    if (rank <= 1.0)
        return descending.front();
    if (rank >= n)
        return descending.back();
    const auto below = static_cast<std::size_t>(std::floor(rank));
    const double fraction = rank - static_cast<double>(below);
    return descending[below - 1] + fraction * (descending[below] - descending[below - 1]);
}

std::vector<double> durationCurve(std::vector<double> discharges) {
    std::vector<double> curve;
    if (discharges.empty())
        return curve;
    std::sort(discharges.begin(), discharges.end(), std::greater<>());
    curve.reserve(kDurationPercents);
    for (int p = 1; p <= kDurationPercents; ++p)
        curve.push_back(*exceededDischarge(discharges, p));
    return curve;
}

std::optional<double> FlowDuration::exceeded(int percent) const {
    if (percent < 1 || percent > kDurationPercents || curve.empty())
        return std::nullopt;
    return curve[static_cast<std::size_t>(percent - 1)];
}

FlowDuration computeFlowDuration(const FlowRecord& record) {
    FlowDuration duration;
    std::vector<double> all;
    all.reserve(record.dayCount());
    for (const FlowRecordYear& year : record.years) {
        std::vector<double> discharges;
        discharges.reserve(year.days.size());
        for (const RecordDay& day : year.days)
            discharges.push_back(day.discharge);
        all.insert(all.end(), discharges.begin(), discharges.end());
        YearDuration entry;
        entry.waterYear = year.waterYear;
        entry.days = discharges.size();
        entry.missingDays = year.missingDays;
        entry.curve = durationCurve(std::move(discharges));
        duration.years.push_back(std::move(entry));
    }
    duration.days = all.size();
    duration.missingDays = record.missingDayCount();
    duration.curve = durationCurve(std::move(all));
    return duration;
}

} // namespace korvel
