#include "flow/FlowRecord.h"

#include "flow/AnnualFlow.h"
#include "flow/DayRating.h"

#include <algorithm>
#include <set>
#include <utility>

namespace korvel {

FlowRecordYear flowRecordYear(int waterYear, const std::string& file, const std::vector<DayRecord>& records,
                              const HqTableSet& tables, double drainageArea) {
    FlowRecordYear year;
    year.waterYear = waterYear;
    year.file = file;
    const AnnualFlow flow = computeAnnualFlow(records, tables, drainageArea);
    year.annualMean = flow.annualMean;
    const OleDate first = firstDayOfWaterYear(waterYear);
    const OleDate end = firstDayOfWaterYear(waterYear + 1);
    // The annual table's walks: its days are the records walk.first, walk.first + 1, ...
    const std::vector<MonthWalk> walks = walkMonths(records);
    std::set<long long> taken;
    for (std::size_t m = 0; m < walks.size() && m < flow.months.size(); ++m) {
        const std::vector<AnnualDay>& days = flow.months[m].days;
        for (std::size_t i = 0; i < days.size(); ++i) {
            const DayRecord record = dayAt(records, walks[m].first + i);
            if (!days[i].discharge || isBlankSource(record.source) || !isCalendarDate(record.date))
                continue;
            const OleDate date = record.date.datePart();
            if (date < first || date >= end || !taken.insert(date.dayNumber()).second)
                continue;
            year.days.push_back(RecordDay{date, *days[i].discharge});
        }
    }
    std::sort(year.days.begin(), year.days.end(),
              [](const RecordDay& a, const RecordDay& b) { return a.date < b.date; });
    for (const RecordDay& day : year.days) {
        if (!year.largest || day.discharge > year.largest->discharge)
            year.largest = day;
        if (!year.smallest || day.discharge < year.smallest->discharge)
            year.smallest = day;
    }
    const long long yearDays = end.dayNumber() - first.dayNumber();
    year.missingDays = static_cast<int>(yearDays - static_cast<long long>(year.days.size()));
    return year;
}

std::size_t FlowRecord::dayCount() const {
    std::size_t count = 0;
    for (const FlowRecordYear& year : years)
        count += year.days.size();
    return count;
}

std::size_t FlowRecord::missingDayCount() const {
    std::size_t count = 0;
    for (const FlowRecordYear& year : years)
        count += static_cast<std::size_t>(year.missingDays);
    return count;
}

FlowRecord readFlowRecord(const std::filesystem::path& stationDir, double drainageArea,
                          const FlowRecordProgress& progress) {
    FlowRecord record;
    const HqTableSet tables = loadHqTableSet(stationDir);
    StationYearFiles years = stationYearFiles(stationDir, "*.ard");
    record.leftOut = std::move(years.skipped);
    const int total = static_cast<int>(years.files.size());
    int done = 0;
    for (const YearFile& file : years.files) {
        if (progress)
            progress(done++, total);
        const std::vector<DayRecord> days = readWaterYearFile(stationDir / file.name);
        if (days.empty()) {
            record.leftOut.push_back({file.name, "dosya okunamadı ya da boş"});
            continue;
        }
        record.years.push_back(flowRecordYear(file.year, file.name, days, tables, drainageArea));
    }
    if (progress)
        progress(done, total);
    return record;
}

} // namespace korvel
