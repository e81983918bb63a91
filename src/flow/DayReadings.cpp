#include "flow/DayReadings.h"

#include "core/Cp1254.h"
#include "core/Numbers.h"

namespace korvel {

namespace {

constexpr std::size_t kFirstBlock = 13; // byte 14, counted from 0
constexpr int kMinutesPerDay = 1440;

std::optional<OleDate> blockDate(int day, int month, int year) {
    if (year < 30)
        year += 2000;
    else if (year < 100)
        year += 1900;
    if (!isValidDate(year, month, day))
        return std::nullopt;
    return OleDate::fromDate(year, month, day);
}

} // namespace

std::optional<DayReadings> showDayReadings(const Bytes& file, OleDate day, const Locale& locale) {
    if (file.size() < 2)
        return std::nullopt;
    const int interval = file[0];
    if (interval == 0)
        return std::nullopt;
    const int scale = file[1];
    const double divisor = scale == 1 ? 1.0 : scale == 10 ? 0.1 : 2.0;
    const std::size_t readings = static_cast<std::size_t>(kMinutesPerDay / interval);
    const OleDate wanted = day.datePart();

    std::size_t position = kFirstBlock;
    while (position + 3 <= file.size()) {
        const auto date = blockDate(file[position], file[position + 1], file[position + 2]);
        position += 3;
        if (!date || *date != wanted) {
            position += 2 * readings;
            continue;
        }
        DayReadings result;
        result.caption = locale.shortDate(*date) + " anlık ölcümler";
        for (std::size_t j = 0; j < readings && position + 2 <= file.size(); ++j, position += 2) {
            const int raw = file[position] * 256 + file[position + 1];
            const int minute = static_cast<int>(j) * interval;
            const double value = roundHalfEven(raw / divisor);
            result.entries.push_back(locale.longTime(OleDate::fromTime(minute / 60, minute % 60, 0)) +
                                     "...." + generalNumber(value));
            result.readings.push_back({minute, value});
        }
        return result;
    }
    return std::nullopt;
}

std::optional<std::string> dayReadingsFileName(const std::vector<DayRecord>& records, OleDate day) {
    const auto n = findDay(records, day, kWaterYearRecords - 1);
    if (!n)
        return std::nullopt;
    const std::string& field = records[*n - 1].rawDataFile;
    const std::string name = trimmedRight(field.substr(0, field.find('\0')));
    if (name.empty())
        return std::nullopt;
    return name;
}

} // namespace korvel
