#include "transfer/SeriesImport.h"

#include "core/Cp1254.h"
#include "core/CsvText.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "core/StationFiles.h"
#include "instruments/LevelDump.h"
#include "instruments/ReceivedReadings.h"
#include "transfer/DailySeries.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <variant>

namespace korvel {

namespace {

// The lines of the text with their numbers (from 1), line ends of either kind removed.
std::vector<std::pair<std::size_t, std::string_view>> linesOf(std::string_view text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    std::vector<std::pair<std::size_t, std::string_view>> lines;
    std::size_t number = 1;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(number++, line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::vector<std::string> fieldsOf(std::string_view line, char separator) {
    auto rows = parseCsvText(line, separator);
    return rows.empty() ? std::vector<std::string>{} : std::move(rows.front());
}

// The text, spaces around it left off, with the given decimal mark.
std::optional<double> decimalNumber(std::string text, char decimalSeparator) {
    text = trimmed(text);
    if (decimalSeparator != '.')
        std::replace(text.begin(), text.end(), decimalSeparator, '.');
    return wholeTextNumber<double>(text);
}

std::optional<OleDate> isoTimeOfDay(std::string_view text) {
    // Day 0 of the date count, so that only the time of day remains.
    return parseFormattedDateTime("1899-12-30 " + std::string(text), "yyyy-MM-dd HH:mm:ss");
}

constexpr std::size_t kSeriesColumns = 11;

// One row of the own export as a day record; the reason when it cannot be one.
std::variant<std::optional<DayRecord>, std::string> seriesRow(const std::vector<std::string>& f) {
    if (f.size() != kSeriesColumns)
        return "sütun sayısı " + std::to_string(f.size()) + ", " + std::to_string(kSeriesColumns) + " olmalı";
    const auto date = parseFormattedDateTime(f[0], "yyyy-MM-dd");
    if (!date)
        return "tarih okunamadı: " + f[0];
    const auto quality = dayQualityOfCode(f[7]);
    if (!quality)
        return "kalite kodu bilinmiyor: " + f[7];
    if (*quality == DayQuality::NoData)
        return std::optional<DayRecord>();
    if (trimmed(f[10]).empty())
        return std::string("kaynak etiketi boş");
    DayRecord day;
    day.date = *date;
    day.source = fixedText(f[10], DayRecord::kTextWidth);
    if (sourceIsDischarge(day.source)) {
        const auto discharge = wholeTextNumber<float>(f[6]);
        if (!discharge)
            return "debi okunamadı: " + f[6];
        day.meanValue = *discharge;
        return std::optional(day);
    }
    const auto mean = wholeTextNumber<float>(f[1]);
    const auto maxLevel = wholeTextNumber<std::int16_t>(f[2]);
    const auto maxTime = isoTimeOfDay(f[3]);
    const auto minLevel = wholeTextNumber<std::int16_t>(f[4]);
    const auto minTime = isoTimeOfDay(f[5]);
    if (!mean || !maxLevel || !minLevel)
        return std::string("seviye okunamadı");
    if (!maxTime || !minTime)
        return std::string("saat okunamadı");
    day.meanValue = *mean;
    day.maxLevel = *maxLevel;
    day.maxTime = *maxTime;
    day.minLevel = *minLevel;
    day.minTime = *minTime;
    return std::optional(day);
}

// Takes `width` digits (at least one, at most `width` when the next character is no digit).
bool readDigits(std::string_view text, std::size_t& at, std::size_t width, int& value) {
    std::size_t taken = 0;
    value = 0;
    while (taken < width && at < text.size() && text[at] >= '0' && text[at] <= '9') {
        value = value * 10 + (text[at] - '0');
        ++at;
        ++taken;
    }
    return taken == width || (taken > 0 && width == 2);
}

constexpr int kLargestReading = 65535; // a 16-bit reading of the day-readings file

struct Reading {
    std::size_t line = 0;
    int minute = 0;
    int level = 0;
};

void appendWord(Bytes& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value / 256));
    out.push_back(static_cast<std::uint8_t>(value % 256));
}

// The most frequent gap between successive readings of a day, in minutes.
int commonInterval(const std::map<long long, std::vector<Reading>>& days) {
    std::map<int, std::size_t> gaps;
    for (const auto& [day, readings] : days)
        for (std::size_t i = 1; i < readings.size(); ++i)
            ++gaps[readings[i].minute - readings[i - 1].minute];
    int interval = 0;
    std::size_t most = 0;
    for (const auto& [gap, count] : gaps)
        if (gap > 0 && count > most) {
            interval = gap;
            most = count;
        }
    return interval;
}

// An interval the day-readings file can describe: 1 minute or 5 x code, dividing the day.
bool isLoggerInterval(int minutes) {
    return minutes > 0 && 1440 % minutes == 0 && (minutes == 1 || (minutes % 5 == 0 && minutes / 5 <= 255));
}

std::string readingsFileNameOf(OleDate firstDay) {
    std::string base = "CSV" + std::to_string(firstDay.day()) + "-" + std::to_string(firstDay.month());
    base.resize(8, ' ');
    return base + ".-" + std::to_string(firstDay.year() % 100);
}

ImportedSeries instantaneousDays(std::map<long long, std::vector<Reading>> byDay, ImportedSeries series) {
    const int interval = commonInterval(byDay);
    if (!isLoggerInterval(interval)) {
        series.problems.push_back(
            {0, "okuma aralığı bulunamadı ya da günü bölmüyor: " + std::to_string(interval) + " dakika"});
        return series;
    }
    const int perDay = readingsPerDay(interval);
    Bytes readings{static_cast<std::uint8_t>(interval % 256),
                   1,
                   static_cast<std::uint8_t>(interval / 256),
                   0,
                   0,
                   0,
                   0,
                   0,
                   0,
                   0,
                   0,
                   0,
                   0};
    Bytes texts(25, ' ');
    texts[24] = 0;
    for (auto& [dayNumber, dayReadings] : byDay) {
        const OleDate date(static_cast<double>(dayNumber));
        std::vector<std::optional<int>> slots(static_cast<std::size_t>(perDay));
        for (const Reading& r : dayReadings) {
            if (r.minute % interval != 0)
                series.problems.push_back(
                    {r.line, "saat " + std::to_string(interval) + " dakikalık aralığa uymuyor"});
            else
                slots[static_cast<std::size_t>(r.minute / interval)] = r.level;
        }
        const auto present =
            std::count_if(slots.begin(), slots.end(), [](const auto& s) { return s.has_value(); });
        if (present < perDay) {
            series.problems.push_back(
                {dayReadings.front().line, "gün " + date.dateText() + " eksik: " + std::to_string(present) +
                                               "/" + std::to_string(perDay) + " okuma"});
            continue;
        }
        readings.push_back(static_cast<std::uint8_t>(date.day()));
        readings.push_back(static_cast<std::uint8_t>(date.month()));
        readings.push_back(static_cast<std::uint8_t>(date.year() % 100));
        std::size_t highest = 0;
        std::size_t lowest = 0;
        for (std::size_t i = 0; i < slots.size(); ++i) {
            appendWord(readings, *slots[i]);
            if (*slots[i] > *slots[highest])
                highest = i;
            if (*slots[i] < *slots[lowest])
                lowest = i;
        }
        for (const std::size_t slot : {highest, lowest}) {
            const int minute = static_cast<int>(slot) * interval;
            texts.push_back(static_cast<std::uint8_t>(minute % 60));
            texts.push_back(static_cast<std::uint8_t>(minute / 60));
            appendWord(texts, *slots[slot]);
        }
    }
    if (readings.size() == 13)
        return series;
    const OleDate firstDay = *blockDate(readings[13], readings[14], readings[15]);
    series.readingsFileName = readingsFileNameOf(firstDay);
    // Positions 10-11 repeat the first reading, 12-13 hold the last position written.
    readings[9] = readings[16];
    readings[10] = readings[17];
    readings[11] = static_cast<std::uint8_t>(readings.size() / 256 % 256);
    readings[12] = static_cast<std::uint8_t>(readings.size() % 256);
    series.days = decodeReceivedReadings(readings, texts, series.readingsFileName);
    for (DayRecord& day : series.days)
        day.source =
            std::string(kCsvImportSource) + std::string(DayRecord::kTextWidth - kCsvImportSource.size(), ' ');
    series.readingsFile = std::move(readings);
    return series;
}

} // namespace

std::optional<OleDate> parseFormattedDateTime(std::string_view text, std::string_view format) {
    int year = -1, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    std::size_t at = 0;
    std::size_t f = 0;
    while (f < format.size()) {
        const std::string_view rest = format.substr(f);
        auto take = [&](std::string_view token, std::size_t width, int& value) {
            if (rest.substr(0, token.size()) != token)
                return false;
            f += token.size();
            return readDigits(text, at, width, value) || (value = -99, true);
        };
        if (take("yyyy", 4, year) || take("MM", 2, month) || take("dd", 2, day) || take("HH", 2, hour) ||
            take("mm", 2, minute) || take("ss", 2, second)) {
            if (year == -99 || month == -99 || day == -99 || hour == -99 || minute == -99 || second == -99)
                return std::nullopt;
            continue;
        }
        if (rest.substr(0, 2) == "yy") {
            f += 2;
            if (!readDigits(text, at, 2, year))
                return std::nullopt;
            year = loggerYear(year);
            continue;
        }
        if (at >= text.size() || text[at] != format[f])
            return std::nullopt;
        ++at;
        ++f;
    }
    if (at != text.size() || !isValidDate(year, month, day) || year < 100 || hour > 23 || minute > 59 ||
        second > 59)
        return std::nullopt;
    return OleDate::fromDateTime(year, month, day, hour, minute, second);
}

ImportedSeries parseSeriesCsv(std::string_view text) {
    ImportedSeries series;
    bool headerSeen = false;
    for (const auto& [number, line] : linesOf(text)) {
        if (line.empty() || line.front() == '#')
            continue;
        if (!headerSeen) {
            if (line != kSeriesCsvHeader) {
                series.problems.push_back({number, "başlık satırı beklenen gibi değil"});
                return series;
            }
            headerSeen = true;
            continue;
        }
        auto row = seriesRow(fieldsOf(line, ','));
        if (auto* reason = std::get_if<std::string>(&row))
            series.problems.push_back({number, *reason});
        else if (auto& day = std::get<std::optional<DayRecord>>(row))
            series.days.push_back(*day);
    }
    if (!headerSeen)
        series.problems.push_back({0, "başlık satırı yok"});
    return series;
}

ImportedSeries parseLoggerCsv(std::string_view text, const LoggerCsvFormat& format) {
    ImportedSeries series;
    const bool daily = format.dateFormat.find("HH") == std::string::npos;
    std::map<long long, std::vector<Reading>> byDay;
    std::map<long long, DayRecord> dailyDays;
    const int largestColumn =
        std::max({format.timeColumn, format.levelColumn, format.dateColumn.value_or(1)});
    if (std::min({format.timeColumn, format.levelColumn, format.dateColumn.value_or(1)}) < 1) {
        series.problems.push_back({0, "sütun numaraları 1'den başlar"});
        return series;
    }
    for (const auto& [number, line] : linesOf(text)) {
        if (number <= format.headerLines || trimmed(line).empty())
            continue;
        const auto fields = fieldsOf(line, format.separator);
        if (static_cast<int>(fields.size()) < largestColumn) {
            series.problems.push_back({number, "sütun sayısı " + std::to_string(fields.size()) + ", en az " +
                                                   std::to_string(largestColumn) + " olmalı"});
            continue;
        }
        std::string stamp = trimmed(fields[static_cast<std::size_t>(format.timeColumn - 1)]);
        if (format.dateColumn)
            stamp = trimmed(fields[static_cast<std::size_t>(*format.dateColumn - 1)]) + " " + stamp;
        const auto when = parseFormattedDateTime(stamp, format.dateFormat);
        if (!when || loggerYear(when->year() % 100) != when->year()) {
            series.problems.push_back({number, "tarih okunamadı (" + format.dateFormat + "): " + stamp});
            continue;
        }
        const std::string levelField = fields[static_cast<std::size_t>(format.levelColumn - 1)];
        const auto value = decimalNumber(levelField, format.decimalSeparator);
        if (!value) {
            series.problems.push_back({number, "seviye okunamadı: " + levelField});
            continue;
        }
        const double level = std::round(*value * format.levelScale);
        if (!std::isfinite(level) || level < 0 ||
            level > (daily ? std::numeric_limits<std::int16_t>::max() : kLargestReading)) {
            series.problems.push_back({number, "seviye aralık dışında: " + levelField});
            continue;
        }
        const long long dayNumber = when->dayNumber();
        if (daily) {
            DayRecord day;
            day.date = when->datePart();
            day.meanValue = static_cast<float>(level);
            day.maxLevel = day.minLevel = static_cast<std::int16_t>(level);
            day.source = fixedText(kCsvImportSource, DayRecord::kTextWidth);
            if (!dailyDays.emplace(dayNumber, day).second)
                series.problems.push_back({number, "gün ikinci kez: " + day.date.dateText()});
            continue;
        }
        const TimeOfDay t = when->time();
        const int minute = t.hour * 60 + t.minute;
        const auto earlier = byDay.find(dayNumber);
        if (t.second != 0 || (earlier != byDay.end() && earlier->second.back().minute >= minute)) {
            // The day gets no entry from such a line alone.
            series.problems.push_back({number, "saat sırası ya da saniyesi uymuyor: " + stamp});
            continue;
        }
        byDay[dayNumber].push_back({number, minute, static_cast<int>(level)});
    }
    if (daily) {
        for (auto& [dayNumber, day] : dailyDays)
            series.days.push_back(day);
        return series;
    }
    return instantaneousDays(std::move(byDay), std::move(series));
}

std::size_t measuredDaysReplaced(const std::filesystem::path& stationDir, std::string_view stationNumber,
                                 const std::vector<DayRecord>& days) {
    std::map<int, std::vector<DayRecord>> years;
    std::size_t replaced = 0;
    for (const DayRecord& day : days) {
        const int year = waterYearOfDate(day.date);
        auto it = years.find(year);
        if (it == years.end())
            it = years
                     .emplace(year, readWaterYearFile(resolveCaseInsensitive(
                                        stationDir / waterYearFileName(year, trimmed(stationNumber)))))
                     .first;
        const auto n = findDay(it->second, day.date);
        if (!n)
            continue;
        DayRecord existing = it->second[*n - 1];
        if (!isMeasuredSource(existing.source))
            continue;
        existing.reserved = day.reserved;
        if (!(existing == day))
            ++replaced;
    }
    return replaced;
}

SeriesImportResult writeImportedSeries(const std::filesystem::path& stationDir,
                                       std::string_view stationNumber, const ImportedSeries& series) {
    SeriesImportResult result;
    if (!series.readingsFileName.empty()) {
        result.readingsCopy = stationFilePath(stationDir, series.readingsFileName);
        if (auto problem = receivedCopyProblem(series.readingsFile, result.readingsCopy))
            throw FileError(*problem);
    }
    result.written = writeDays(stationDir, stationNumber, series.days);
    if (!series.readingsFileName.empty())
        writeFileAtomic(result.readingsCopy, series.readingsFile);
    return result;
}

} // namespace korvel
