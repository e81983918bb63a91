#include "flow/YearFromTotals.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "core/StationFiles.h"
#include "store/WaterYearFile.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace korvel {

namespace {

constexpr int kFirstWritableYear = 101;

MonthlyTotalsOutcome refused(std::string_view message) {
    MonthlyTotalsOutcome outcome;
    outcome.message = std::string(message);
    return outcome;
}

std::string dischargeSource() {
    std::string source = "G";
    source.resize(DayRecord::kTextWidth, ' ');
    return source;
}

} // namespace

Table monthlyTotalsTable() {
    Table table(2, 12, 1, 0);
    for (int c = 0; c < 12; ++c)
        table.setCell(0, c, kWaterYearMonthNames[static_cast<std::size_t>(c)]);
    return table;
}

float dischargeOfMonthlyTotal(double total, int days) {
    return static_cast<float>(total * 1000.0 / 86.4 / days);
}

MonthlyTotalsOutcome buildYearFromMonthlyTotals(const std::filesystem::path& stationDir,
                                                std::string_view stationNumber, std::string_view yearText,
                                                const std::array<std::string, 12>& totals,
                                                const Locale& locale, MeasuredDays measuredDays) {
    for (const std::string& total : totals)
        if (trimmed(total).empty())
            return refused(kTotalsMissingMessage);
    if (utf8Length(yearText) != 4)
        return refused(kYearMalformedMessage);
    const std::optional<double> yearValue = locale.parseNumber(yearText);
    if (!yearValue)
        return refused(kYearNotNumericMessage);
    if (*yearValue != std::floor(*yearValue) || *yearValue < kFirstWritableYear)
        return refused(kYearMalformedMessage);
    const int year = static_cast<int>(*yearValue);

    std::array<double, 12> values{};
    for (std::size_t c = 0; c < totals.size(); ++c) {
        const std::optional<double> value = locale.parseEnteredNumber(trimmed(totals[c]));
        if (!value || *value < 0.0 || !std::isfinite(dischargeOfMonthlyTotal(*value, 28)))
            return refused(std::string(kWaterYearMonthNames[c]) + " ayının toplam akımı okunamadı: \"" +
                           trimmed(totals[c]) + "\"");
        values[c] = *value;
    }

    const std::filesystem::path file = stationFilePath(stationDir, waterYearFileName(year, stationNumber));
    std::vector<DayRecord> existing;
    if (fileExists(file)) {
        const std::optional<Bytes> bytes = readFileBytes(file);
        if (!bytes)
            throw FileError("cannot read " + file.string());
        existing = parseWaterYearFile(*bytes);
    }
    const std::size_t dayCount =
        static_cast<std::size_t>(firstDayOfWaterYear(year + 1).value() - firstDayOfWaterYear(year).value());
    const std::size_t measured = static_cast<std::size_t>(std::count_if(
        existing.begin(), existing.begin() + static_cast<std::ptrdiff_t>(std::min(dayCount, existing.size())),
        [](const DayRecord& day) { return isMeasuredSource(day.source); }));
    if (measured > 0 && measuredDays == MeasuredDays::Keep) {
        MonthlyTotalsOutcome outcome = refused(measuredDaysQuestion(measured));
        outcome.file = file;
        outcome.measuredDays = measured;
        return outcome;
    }

    std::map<std::size_t, DayRecord> records;
    const std::string source = dischargeSource();
    const std::string noFile(DayRecord::kTextWidth, ' ');
    OleDate day = firstDayOfWaterYear(year);
    std::size_t k = 0;
    for (std::size_t c = 0; c < 12; ++c) {
        const int month = day.month();
        int days = 0;
        for (OleDate d = day; d.month() == month; d = d.plusDays(1))
            ++days;
        const float q = dischargeOfMonthlyTotal(values[c], days);
        for (int i = 0; i < days; ++i, day = day.plusDays(1)) {
            ++k;
            DayRecord record;
            record.date = day;
            record.meanValue = q;
            record.source = source;
            record.rawDataFile = noFile;
            // Bytes no field uses stay as the file had them.
            if (k <= existing.size())
                record.reserved = existing[k - 1].reserved;
            records.emplace(k, std::move(record));
        }
    }
    writeDayRecords(file, records);

    MonthlyTotalsOutcome outcome;
    outcome.written = true;
    outcome.message = std::string(kYearBuiltMessage);
    outcome.file = file;
    outcome.records = k;
    return outcome;
}

std::string measuredDaysQuestion(std::size_t measuredDays) {
    return "Su yılı dosyasında ölçülmüş " + std::to_string(measuredDays) +
           " gün var; aylık toplamlardan hesaplanan değerler bu günlerin yerine yazılacak. "
           "Değiştirilsin mi?";
}

std::string nextWaterYearText(std::string_view yearBox, OleDate today) {
    if (trimmed(yearBox).empty())
        return std::to_string(today.year());
    return generalNumber(numericValue(yearBox) + 1.0);
}

} // namespace korvel
