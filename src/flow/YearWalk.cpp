#include "flow/YearWalk.h"

#include "store/DayDischarge.h"

namespace korvel {

namespace {

int monthOf(const DayRecord& record) {
    return record.date.month();
}

} // namespace

const DayRecord& dayRecordAt(const std::vector<DayRecord>& records, std::size_t n) {
    static const DayRecord zeros{};
    return n >= 1 && n <= records.size() ? records[n - 1] : zeros;
}

std::array<WalkedMonth, 12> walkWaterYear(const std::vector<DayRecord>& records) {
    std::array<WalkedMonth, 12> walks{};
    std::size_t position = 1;
    for (WalkedMonth& walk : walks) {
        walk.first = position;
        walk.month = monthOf(dayRecordAt(records, position));
        while (walk.days < kMaxWalkDays && monthOf(dayRecordAt(records, position + walk.days)) == walk.month)
            ++walk.days;
        position += walk.days;
    }
    return walks;
}

std::array<double, 12> monthlyDischargeSums(const std::vector<DayRecord>& records, const HqTableSet& tables) {
    std::array<double, 12> sums{};
    const auto walks = walkWaterYear(records);
    for (std::size_t m = 0; m < walks.size(); ++m)
        for (std::size_t d = 0; d < walks[m].days; ++d) {
            const DayDischarge q = dayDischarge(dayRecordAt(records, walks[m].first + d), tables);
            if (q.discharge)
                sums[m] += *q.discharge;
        }
    return sums;
}

} // namespace korvel
