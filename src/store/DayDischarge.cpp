#include "store/DayDischarge.h"

namespace korvel {

DayDischarge dayDischarge(const DayRecord& day, const HqTableSet& tables) {
    if (sourceIsDischarge(day.source))
        return DayDischarge{static_cast<double>(day.meanValue), std::nullopt};
    const auto found = lookupDischarge(tables, day.date, static_cast<double>(day.meanValue));
    if (!found)
        return DayDischarge{};
    return DayDischarge{found->discharge, found->hqKey};
}

} // namespace korvel
