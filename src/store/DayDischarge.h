#pragma once

#include "store/HqTable.h"
#include "store/WaterYearFile.h"

#include <optional>
#include <string>

namespace korvel {

struct DayDischarge {
    std::optional<double> discharge;
    // The key of the rating table used; none on a day that carries its discharge itself.
    std::optional<std::string> hqKey;
};

// The day's mean discharge: meanValue itself on a "G" or "K" day, otherwise the rating
// table valid on the day read at the mean level rounded half to even.
DayDischarge dayDischarge(const DayRecord& day, const HqTableSet& tables);

} // namespace korvel
