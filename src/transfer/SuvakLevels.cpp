#include "transfer/SuvakLevels.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "transfer/SuvakFields.h"
#include "transfer/SuvakImport.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace korvel {

namespace fs = std::filesystem;

namespace {

// Field positions (from 1) of the staff-gauge form.
constexpr std::size_t kStaffFields = 459 + 28; // at least 28 daily means
constexpr std::size_t kStaffHighest = 411;
constexpr std::size_t kStaffLowest = 415;
constexpr std::size_t kStaffMeanBefore = 459;
std::size_t staffMorning(int day) {
    return 13 * static_cast<std::size_t>(day) - 10;
}

// Field positions of the logger form.
constexpr std::size_t kLoggerFields = 427;
constexpr std::size_t kLoggerHighest = 421;
constexpr std::size_t kLoggerLowest = 425;
std::size_t loggerDay(int day) {
    return 13 * static_cast<std::size_t>(day) + 1;
}

constexpr int kDaysField = 31;
constexpr const char* kStaffSource = "R 1 SUVAK";
constexpr const char* kStaffBothSource = "R 2 SUVAK";
constexpr const char* kLoggerSource = "L  SUVAK";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string fieldProblem(std::size_t n, const char* what, std::string_view text) {
    return "alan " + std::to_string(n) + " " + what + ": \"" + cp1254ToUtf8(text) + "\"";
}

double numberField(const std::vector<std::string>& fields, std::size_t n) {
    const std::string_view text = fieldAt(fields, n);
    if (text.empty())
        return 0.0;
    if (!isNumericText(text))
        throw SuvakFormatError(fieldProblem(n, "sayı değil", text));
    const double value = numericValue(text);
    // Every number ends up in a 32-bit float or a smaller integer.
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        throw SuvakFormatError(fieldProblem(n, "sayı sınır dışında", text));
    return value;
}

std::int16_t levelOf(double value, std::size_t n, std::string_view text) {
    const auto level = roundToInt16(value);
    if (!level)
        throw SuvakFormatError(fieldProblem(n, "seviye sınır dışında", text));
    return *level;
}

std::int16_t levelField(const std::vector<std::string>& fields, std::size_t n) {
    return levelOf(numberField(fields, n), n, fieldAt(fields, n));
}

// The day of the month of an extreme; 0 stands for none.
int dayField(const std::vector<std::string>& fields, std::size_t n) {
    const double value = numberField(fields, n);
    if (value < 0 || value > kDaysField || value != std::floor(value))
        throw SuvakFormatError(fieldProblem(n, "gün değil", fieldAt(fields, n)));
    return static_cast<int>(value);
}

OleDate timeField(const std::vector<std::string>& fields, std::size_t n) {
    const auto time = parseTimeDigits(fieldAt(fields, n));
    if (!time)
        throw SuvakFormatError(fieldProblem(n, "saat değil", fieldAt(fields, n)));
    return *time;
}

struct Extreme {
    std::int16_t level = 0;
    int day = 0;
    OleDate time;
};

Extreme extremeFields(const std::vector<std::string>& fields, std::size_t first) {
    return {levelField(fields, first), dayField(fields, first + 1), timeField(fields, first + 2)};
}

// One step of the conversion: a field that does not hold what it should leaves the step out and
// lists it under `what`.
template <typename Step>
bool runStep(std::vector<std::string>& skipped, const std::string& what, Step&& step) {
    try {
        step();
        return true;
    } catch (const SuvakFormatError& e) {
        skipped.push_back(what + ": " + e.what());
        return false;
    }
}

std::string dayLabel(int day) {
    return "gün " + std::to_string(day);
}

constexpr const char* kHighestLabel = "ayın en yüksek seviyesi";
constexpr const char* kLowestLabel = "ayın en düşük seviyesi";

std::optional<Extreme> extremeStep(std::vector<std::string>& skipped, const char* what,
                                   const std::vector<std::string>& fields, std::size_t first) {
    std::optional<Extreme> extreme;
    runStep(skipped, what, [&] { extreme = extremeFields(fields, first); });
    return extreme;
}

std::optional<OleDate> dayOfMonth(const SuvakLevelName& name, int day) {
    if (!isValidDate(name.year, name.month, day))
        return std::nullopt;
    return OleDate::fromDate(name.year, name.month, day);
}

void requireFields(const std::vector<std::string>& fields, std::size_t count) {
    if (fields.size() < count)
        throw SuvakFormatError(std::string(kReasonTooShort) + " (" + std::to_string(fields.size()) +
                               " alan, en az " + std::to_string(count) + " gerekir)");
}

SuvakLevelMonth convertLoggerMonth(const SuvakLevelName& name, const std::vector<std::string>& fields) {
    requireFields(fields, kLoggerFields);
    SuvakLevelMonth month;
    month.form = SuvakLevelForm::Logger;

    DayRecord record;
    record.source = kLoggerSource;
    record.rawDataFile.clear();
    std::array<std::int16_t, kDaysField + 1> levels{};
    // Days whose field was left out: their extremes have no level of the day to go with.
    std::array<bool, kDaysField + 1> unreadable{};
    for (int d = 1; d <= kDaysField; ++d) {
        const std::size_t n = loggerDay(d);
        const std::string_view text = fieldAt(fields, n);
        if (text.empty() || text == "\\")
            continue;
        double value = 0;
        std::int16_t level = 0;
        if (!runStep(month.skipped, dayLabel(d), [&] {
                value = numberField(fields, n);
                level = levelOf(value, n, text);
            })) {
            unreadable[static_cast<std::size_t>(d)] = true;
            continue;
        }
        levels[static_cast<std::size_t>(d)] = level;
        const auto date = dayOfMonth(name, d);
        if (!date)
            continue;
        record.date = *date;
        record.meanValue = static_cast<float>(value);
        record.maxLevel = record.minLevel = level;
        record.maxTime = record.minTime = OleDate();
        month.days.push_back(record);
    }

    const auto highest = extremeStep(month.skipped, kHighestLabel, fields, kLoggerHighest);
    const auto lowest = extremeStep(month.skipped, kLowestLabel, fields, kLoggerLowest);
    const auto levelOfDay = [&levels](int day) { return levels[static_cast<std::size_t>(day)]; };

    const auto usable = [&unreadable](const std::optional<Extreme>& e) {
        return e && !unreadable[static_cast<std::size_t>(e->day)];
    };
    const auto highestDate = usable(highest) ? dayOfMonth(name, highest->day) : std::nullopt;
    if (highestDate) {
        record.date = *highestDate;
        record.meanValue = levelOfDay(highest->day);
        record.maxLevel = highest->level;
        record.maxTime = highest->time;
        record.minLevel = levelOfDay(highest->day);
        record.minTime = OleDate();
        month.days.push_back(record);
    }
    if (const auto date = usable(lowest) ? dayOfMonth(name, lowest->day) : std::nullopt) {
        record.date = *date;
        record.meanValue = levelOfDay(lowest->day);
        record.minLevel = lowest->level;
        record.minTime = lowest->time;
        if (!highestDate || lowest->day != highest->day) {
            record.maxLevel = levelOfDay(lowest->day);
            record.maxTime = OleDate();
        }
        month.days.push_back(record);
    }
    return month;
}

SuvakLevelMonth convertStaffMonth(const SuvakLevelName& name, const std::vector<std::string>& fields) {
    requireFields(fields, kStaffFields);
    SuvakLevelMonth month;
    month.form = SuvakLevelForm::StaffGauge;

    std::array<std::int16_t, kDaysField + 1> morning{};
    std::array<std::int16_t, kDaysField + 1> afternoon{};
    std::array<bool, kDaysField + 1> readable{};
    for (int d = 1; d <= kDaysField; ++d) {
        const auto i = static_cast<std::size_t>(d);
        readable[i] = runStep(month.skipped, dayLabel(d), [&] {
            morning[i] = levelField(fields, staffMorning(d));
            afternoon[i] = levelField(fields, staffMorning(d) + 1);
        });
    }
    const auto highest = extremeStep(month.skipped, kHighestLabel, fields, kStaffHighest);
    const auto lowest = extremeStep(month.skipped, kLowestLabel, fields, kStaffLowest);

    const OleDate eight = OleDate::fromTime(8, 0, 0);
    const OleDate sixteen = OleDate::fromTime(16, 0, 0);
    for (int d = 1; d <= kDaysField; ++d) {
        double mean = 0;
        if (!runStep(month.skipped, dayLabel(d),
                     [&] { mean = numberField(fields, kStaffMeanBefore + static_cast<std::size_t>(d)); }))
            continue;
        if (d >= 28 && mean == 0.0)
            break;
        const auto date = dayOfMonth(name, d);
        if (!date || !readable[static_cast<std::size_t>(d)])
            continue;
        const std::int16_t at8 = morning[static_cast<std::size_t>(d)];
        const std::int16_t at16 = afternoon[static_cast<std::size_t>(d)];
        DayRecord record;
        record.date = *date;
        record.meanValue = static_cast<float>(mean);
        record.source = at16 != 0 ? kStaffBothSource : kStaffSource;
        record.rawDataFile.clear();
        if (at16 < at8) {
            record.maxLevel = at8;
            record.maxTime = eight;
            record.minLevel = at16;
            record.minTime = sixteen;
        } else {
            record.minLevel = at8;
            record.minTime = eight;
            record.maxLevel = at16;
            record.maxTime = sixteen;
        }
        if (highest && d == highest->day) {
            record.maxLevel = highest->level;
            record.maxTime = highest->time;
        }
        if (lowest && d == lowest->day) {
            record.minLevel = lowest->level;
            record.minTime = lowest->time;
        }
        month.days.push_back(record);
    }
    return month;
}

} // namespace

std::optional<SuvakLevelName> parseSuvakLevelName(std::string_view fileName) {
    if (fileName.size() != 12 || !matchesPattern(fileName, kSuvakLevelPattern) || fileName[8] != '.')
        return std::nullopt;
    if (!isDigit(fileName[1]) || !isDigit(fileName[2]) || !isDigit(fileName[9]) || !isDigit(fileName[10]))
        return std::nullopt;
    const int yy = (fileName[1] - '0') * 10 + (fileName[2] - '0');
    const int month = (fileName[9] - '0') * 10 + (fileName[10] - '0');
    if (month < 1 || month > 12)
        return std::nullopt;
    const int waterYear = yy < 30 ? 2000 + yy : 1900 + yy;
    return SuvakLevelName{month >= 10 ? waterYear - 1 : waterYear, month};
}

SuvakLevelMonth convertSuvakLevelMonth(const SuvakLevelName& name, const Bytes& fileBytes) {
    if (!isSuvakText(fileBytes))
        throw SuvakFormatError(kReasonNotText);
    const std::vector<std::string> fields = readFieldList(suvakTextOf(fileBytes));
    if (fields.size() < 4)
        throw SuvakFormatError(kReasonTooShort);
    if (fieldAt(fields, 3).empty() && fieldAt(fields, 4).empty())
        return convertLoggerMonth(name, fields);
    return convertStaffMonth(name, fields);
}

ImportOutcome importSuvakLevels(const fs::path& file, const fs::path& stationDir,
                                std::string_view stationNumber) {
    ImportOutcome outcome;
    outcome.fileName = file.filename().string();
    const auto name = parseSuvakLevelName(outcome.fileName);
    if (!name) {
        outcome.skippedReason = kReasonBadName;
        return outcome;
    }
    const auto source = openImportSource(file, stationNumber, outcome);
    if (!source)
        return outcome;
    const std::string& number = source->stationNumber;
    try {
        const SuvakLevelMonth month = convertSuvakLevelMonth(*name, source->bytes);
        const int waterYear = name->month >= 10 ? name->year + 1 : name->year;
        outcome.target = resolveCaseInsensitive(stationDir / waterYearFileName(waterYear, number));
        outcome.written = writeDays(stationDir, number, month.days).written;
        outcome.notes = month.skipped;
    } catch (const SuvakFormatError& e) {
        outcome.skippedReason = e.what();
    } catch (const FileError& e) {
        outcome.skippedReason = writeFailureReason(e);
    }
    return outcome;
}

} // namespace korvel
