#pragma once

#include "rain/RainYearAnalysis.h"

#include <cstdint>
#include <vector>

namespace korvel::testing {

// The duration maxima the plain way: for every record, the window array of that day and the
// next, and from every minute with rain one running sum grown to each duration in turn.
inline DurationMaxima plainDurationMaxima(const std::vector<RainDayRecord>& records) {
    DurationMaxima maxima{};
    for (std::size_t k = 1; k <= kRainYearRecords; ++k) {
        const RainDayRecord day = rainRecordAt(records, k);
        const RainDayRecord next = rainRecordAt(records, k + 1);
        std::vector<int> window(2 * kMinutesPerDay);
        for (std::size_t m = 0; m < kMinutesPerDay; ++m) {
            window[m] = day.minuteRain[m];
            window[kMinutesPerDay + m] = next.minuteRain[m];
        }
        for (std::size_t m = 0; m < kMinutesPerDay; ++m) {
            if (window[m] == 0)
                continue;
            if (window[m] > maxima[0].tenths)
                maxima[0] = DurationMaximum{window[m], day.dayDate, static_cast<int>(m)};
            int sum = window[m];
            std::size_t end = m + 1;
            for (std::size_t i = 1; i < kRainDurationCount; ++i) {
                for (; end < m + static_cast<std::size_t>(kRainDurations[i]); ++end)
                    sum += window[end];
                if (sum > maxima[i].tenths)
                    maxima[i] = DurationMaximum{sum, day.dayDate, static_cast<int>(m)};
            }
        }
    }
    return maxima;
}

} // namespace korvel::testing
