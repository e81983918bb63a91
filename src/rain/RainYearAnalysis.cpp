#include "rain/RainYearAnalysis.h"

#include "core/FileIO.h"

#include <cstdint>

namespace korvel {

namespace {

constexpr std::size_t kWindowDays = kRainYearRecords + 1; // the year and the day after record 366

void report(const RainProgress& progress, std::size_t record) {
    if (progress)
        progress(static_cast<int>(record));
}

} // namespace

int monthColumn(int month) {
    return month >= 10 ? month - 9 : month + 3;
}

int columnMonth(int column) {
    return column > 3 ? column - 3 : column + 9;
}

int RainYearAnalysis::dayTenths(int month, int day) const {
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return 0;
    return dailyTenths[static_cast<std::size_t>(monthColumn(month))][static_cast<std::size_t>(day)];
}

void fillDailyGrid(const std::vector<RainDayRecord>& records, std::size_t yearDays,
                   RainYearAnalysis& analysis, const RainProgress& progress) {
    analysis.yearDays = yearDays;
    for (std::size_t k = 1; k <= yearDays; ++k) {
        report(progress, k);
        const RainDayRecord& record = records[k - 1];
        const int total = dailyTotalTenths(record);
        // Minute amounts are never negative, so the running sum of a day passes the largest
        // day exactly when the day's total does: the earliest of equal days keeps it.
        if (total > analysis.largestDayTenths) {
            analysis.largestDayTenths = total;
            analysis.largestDay = record.dayDate;
        }
        if (total > 0)
            ++analysis.rainyDays;
        analysis.annualTenths += total;
        const CivilDate date = record.dayDate.date();
        analysis.dailyTenths[static_cast<std::size_t>(monthColumn(date.month))]
                            [static_cast<std::size_t>(date.day)] = total;
    }
}

DurationMaxima computeDurationMaxima(const std::vector<RainDayRecord>& records,
                                     const RainProgress& progress) {
    // prefix[i] is the sum of the first i minutes of records 1..367 laid end to end, so a window
    // of d minutes starting at minute m of record k sums to prefix[s + d] - prefix[s] with
    // s = (k - 1) * 1440 + m.
    static const RainDayRecord noRecord = parseRainDayRecord(nullptr, 0);
    std::vector<std::int32_t> prefix(kWindowDays * kMinutesPerDay + 1, 0);
    for (std::size_t day = 0; day < kWindowDays; ++day) {
        const RainDayRecord& record = day < records.size() ? records[day] : noRecord;
        const std::size_t base = day * kMinutesPerDay;
        for (std::size_t m = 0; m < kMinutesPerDay; ++m)
            prefix[base + m + 1] = prefix[base + m] + record.minuteRain[m];
    }

    DurationMaxima maxima{};
    for (std::size_t k = 1; k <= kRainYearRecords; ++k) {
        report(progress, k);
        const RainDayRecord& record = k <= records.size() ? records[k - 1] : noRecord;
        const std::size_t base = (k - 1) * kMinutesPerDay;
        for (std::size_t m = 0; m < kMinutesPerDay; ++m) {
            if (record.minuteRain[m] == 0)
                continue;
            const std::int32_t start = prefix[base + m];
            for (std::size_t i = 0; i < kRainDurationCount; ++i) {
                const std::int32_t sum =
                    prefix[base + m + static_cast<std::size_t>(kRainDurations[i])] - start;
                if (sum > maxima[i].tenths)
                    maxima[i] = DurationMaximum{sum, record.dayDate, static_cast<int>(m)};
            }
        }
    }
    return maxima;
}

void fillMonthlySummary(RainYearAnalysis& analysis) {
    for (std::size_t column = 1; column <= 12; ++column) {
        RainMonthSummary summary;
        for (std::size_t day = 1; day <= 31; ++day) {
            const int tenths = analysis.dailyTenths[column][day];
            if (tenths == 0)
                continue;
            ++summary.rainyDays;
            summary.totalTenths += tenths;
            if (tenths > summary.largestTenths)
                summary.largestTenths = tenths;
        }
        analysis.months[column] = summary;
    }
}

RainYearRun analyseRainYear(std::vector<RainDayRecord> fileRecords, std::optional<int> endYear,
                            const RainProgress& progress) {
    RainYearRun run;
    run.dates = repairRainYearDates(std::move(fileRecords), endYear);
    fillDailyGrid(run.dates.records, run.dates.yearDays, run.analysis, progress);
    run.analysis.durations = computeDurationMaxima(run.dates.records, progress);
    fillMonthlySummary(run.analysis);
    return run;
}

std::optional<RainYearFileAnalysis> analyseRainYearFile(const std::filesystem::path& path,
                                                        const RainProgress& progress) {
    const std::optional<Bytes> bytes = readFileBytes(path, kRainYearFileSizeLimit);
    if (!bytes)
        return std::nullopt;
    RainYearRun run =
        analyseRainYear(parseRainYearFile(*bytes), rainYearOfFileName(path.filename().string()), progress);
    RainYearFileAnalysis result;
    result.analysis = run.analysis;
    result.rewritten = run.dates.rewritten;
    result.repairRefused = run.dates.repairRefused;
    try {
        writeRainRecords(path, run.dates.records, run.dates.rewritten);
    } catch (const FileError&) {
        result.repairWritten = false;
    }
    return result;
}

std::optional<RainDayAt> findRainDayOfCell(const std::filesystem::path& path, int row, int column) {
    if (row < 1 || row > 31 || column < 0 || column > 12)
        return std::nullopt;
    const std::optional<Bytes> bytes = readFileBytes(path, kRainYearFileSizeLimit);
    if (!bytes)
        return std::nullopt;
    const std::vector<RainDayRecord> records = parseRainYearFile(*bytes);
    const std::optional<std::size_t> k = findRecordByMonthDay(records, columnMonth(column), row);
    if (!k)
        return std::nullopt;
    return RainDayAt{*k, records[*k - 1]};
}

} // namespace korvel
