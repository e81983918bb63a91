#include "flow/DayRating.h"

#include "core/Numbers.h"
#include "store/StationLists.h"

namespace korvel {

namespace {

constexpr std::size_t kWalks = 12;
constexpr std::size_t kLongestWalk = 32;

} // namespace

RatedDay rateDay(const DayRecord& day, const HqTableSet& tables) {
    RatedDay rated;
    const DayDischarge discharge = dayDischarge(day, tables);
    rated.discharge = discharge.discharge;
    rated.hqKey = discharge.hqKey;
    if (sourceIsDischarge(day.source)) {
        rated.givenDischarge = true;
        return rated;
    }
    const auto period = findRatingPeriod(tables, day.date);
    if (!period)
        return rated;
    rated.slot = period->slot;
    rated.period = period->period;
    rated.table = &tables.entries[period->slot].table;
    rated.levelOutOfRange = !rated.discharge.has_value();
    return rated;
}

int monthOfDay(const DayRecord& day) {
    return isCalendarDate(day.date) ? day.date.month() : 0;
}

int dayOfMonthOfDay(const DayRecord& day) {
    return isCalendarDate(day.date) ? day.date.day() : 0;
}

std::vector<MonthWalk> walkMonths(const std::vector<DayRecord>& records) {
    std::vector<MonthWalk> walks;
    walks.reserve(kWalks);
    std::size_t position = 1;
    for (std::size_t w = 0; w < kWalks; ++w) {
        MonthWalk walk;
        walk.first = position;
        walk.month = monthOfDay(dayAt(records, position));
        while (walk.count < kLongestWalk && monthOfDay(dayAt(records, position)) == walk.month) {
            ++walk.count;
            ++position;
        }
        walks.push_back(walk);
    }
    return walks;
}

int monthIndexOfMonth(int month) {
    return (month + 2) % 12;
}

std::string_view monthListItem(int monthIndex) {
    return kMonthList[static_cast<std::size_t>((monthIndex % 12 + 12) % 12)];
}

} // namespace korvel
