#include "store/RainYearFile.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/StationFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace korvel {

namespace fs = std::filesystem;

namespace {

constexpr int kMinYear = 1901;
constexpr int kMaxYear = 9999;

std::string minuteText(int minute) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", minute / 60, minute % 60);
    return buffer;
}

std::string dayMinuteText(OleDate day, int minute) {
    return day.dateText() + " " + minuteText(minute);
}

RainWriteError fileError(std::string message) {
    return RainWriteError{OleDate(), -1, std::move(message)};
}

bool holdsRain(const std::vector<RainDayRecord>& records) {
    for (const RainDayRecord& record : records)
        for (std::size_t m = 0; m < kMinutesPerDay; ++m)
            if (record.minuteRain[m] != 0)
                return true;
    return false;
}

Bytes serializeRecords(const std::vector<RainDayRecord>& records) {
    Bytes bytes;
    bytes.reserve(records.size() * kRainDayRecordSize);
    for (const RainDayRecord& record : records) {
        const Bytes one = serializeRainDayRecord(record);
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    return bytes;
}

// The year of a prompt answer: four digits (spaces around them allowed) in a usable range.
std::optional<int> parseYearAnswer(std::string_view answer) {
    const std::string text = trimmed(answer);
    if (text.size() != 4 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int year = std::stoi(text);
    if (year < kMinYear || year > kMaxYear)
        return std::nullopt;
    return year;
}

// The minute entries of a downloaded day, or the reason the day cannot be stored.
struct DayMinutes {
    std::map<int, std::uint8_t> values;
    std::optional<RainWriteError> error;
};

DayMinutes downloadedMinutes(const DownloadedRainDay& day, int bucketFactor) {
    DayMinutes result;
    const OleDate date = day.day.datePart();
    for (const auto& [minute, tips] : day.tipCounts) {
        if (minute < 0 || minute >= static_cast<int>(kMinutesPerDay)) {
            result.error = RainWriteError{date, minute,
                                          date.dateText() + " günü için geçersiz dakika (" +
                                              std::to_string(minute) + "); bu gün yazılmadı"};
            return result;
        }
        const long long product = static_cast<long long>(tips) * bucketFactor;
        if (product < 0 || product > 255) {
            result.error =
                RainWriteError{date, minute,
                               dayMinuteText(date, minute) + " dakikasındaki yağış (" +
                                   std::to_string(product) + ") bir bayta sığmıyor; bu gün yazılmadı"};
            return result;
        }
        result.values[minute] = static_cast<std::uint8_t>(product);
    }
    return result;
}

// Writes the downloaded days of one year file: one read, one write.
void writeDownloadedYear(const fs::path& path, const std::vector<const DownloadedRainDay*>& days, int endYear,
                         int bucketFactor, RainDownloadResult& result) {
    const std::string name = path.filename().string();
    const std::optional<Bytes> bytes =
        fileExists(path) ? readFileBytes(path, kRainYearFileSizeLimit) : Bytes{};
    if (!bytes) {
        result.errors.push_back(fileError("Dosya okunamadı: " + name));
        return;
    }
    std::vector<RainDayRecord> records = parseRainYearFile(*bytes);
    const bool initialise = rainRecordAt(records, 1).dayDate.isEmpty();
    if (initialise) {
        // Laying out the year again would wipe whatever rain such a damaged file still holds.
        if (holdsRain(records)) {
            result.errors.push_back(fileError("İlk kaydın tarihi boş ama dosyada yağış var; dosya "
                                              "yeniden oluşturulmadı: " +
                                              name));
            return;
        }
        records = newRainYearRecords(endYear);
    }

    std::map<std::size_t, Bytes> changed;
    std::vector<OleDate> written;
    for (const DownloadedRainDay* day : days) {
        const DayMinutes minutes = downloadedMinutes(*day, bucketFactor);
        if (minutes.error) {
            result.errors.push_back(*minutes.error);
            continue;
        }
        const OleDate date = day->day.datePart();
        const std::optional<std::size_t> k = findRecordByDate(records, date);
        if (!k) {
            result.skippedDays.push_back(date);
            continue;
        }
        RainDayRecord& record = records[*k - 1];
        for (const auto& [minute, value] : minutes.values)
            record.minuteRain[static_cast<std::size_t>(minute)] = value;
        changed[*k] = serializeRainDayRecord(record);
        written.push_back(date);
    }

    try {
        if (initialise) {
            Bytes whole = serializeRecords(records);
            // Bytes past the year (never written by this program) are kept as they are.
            const std::size_t laidOut = kRainYearRecords * kRainDayRecordSize;
            if (bytes->size() > laidOut)
                whole.insert(whole.end(), bytes->begin() + static_cast<std::ptrdiff_t>(laidOut),
                             bytes->end());
            writeFileAtomic(path, whole);
            result.initialisedFiles.push_back(path);
        } else {
            writeRecords(path, kRainDayRecordSize, changed);
        }
    } catch (const FileError&) {
        result.errors.push_back(fileError("Dosya yazılamadı: " + name));
        return;
    }
    result.writtenDays.insert(result.writtenDays.end(), written.begin(), written.end());
}

} // namespace

RainDayRecord parseRainDayRecord(const std::uint8_t* data, std::size_t size) {
    const ByteReader in(data, size);
    RainDayRecord record;
    record.dayDate = OleDate(in.f64(RainDayRecordOffsets::dayDate));
    record.recordTag = in.text(RainDayRecordOffsets::recordTag, kRainRecordTagWidth);
    for (std::size_t m = 0; m < kRainMinuteEntries; ++m)
        record.minuteRain[m] = in.u8(RainDayRecordOffsets::minuteRain + m);
    record.padding = in.u8(RainDayRecordOffsets::padding);
    return record;
}

RainDayRecord parseRainDayRecord(const Bytes& bytes) {
    return parseRainDayRecord(bytes.data(), bytes.size());
}

Bytes serializeRainDayRecord(const RainDayRecord& record) {
    ByteWriter out(kRainDayRecordSize);
    out.f64(RainDayRecordOffsets::dayDate, record.dayDate.value());
    out.text(RainDayRecordOffsets::recordTag, kRainRecordTagWidth, record.recordTag);
    for (std::size_t m = 0; m < kRainMinuteEntries; ++m)
        out.u8(RainDayRecordOffsets::minuteRain + m, record.minuteRain[m]);
    out.u8(RainDayRecordOffsets::padding, record.padding);
    return out.take();
}

RainDayRecord newRainDayRecord(OleDate day) {
    RainDayRecord record;
    record.dayDate = day;
    record.recordTag = std::string(kRainRecordTag);
    return record;
}

int dailyTotalTenths(const RainDayRecord& record) {
    int total = 0;
    for (std::size_t m = 0; m < kMinutesPerDay; ++m)
        total += record.minuteRain[m];
    return total;
}

double dailyTotalMm(const RainDayRecord& record) {
    return dailyTotalTenths(record) / 10.0;
}

bool isRainyDay(const RainDayRecord& record) {
    return dailyTotalTenths(record) > 0;
}

std::string rainYearFileName(int endYear, std::string_view stationNumber) {
    char year[16];
    std::snprintf(year, sizeof year, "%04d", endYear);
    std::string number = utf8Left(stationNumber, kRainStationNumberWidth);
    number.append(kRainStationNumberWidth - utf8Length(number), ' ');
    return std::string(year) + "_" + number + ".yrd";
}

std::optional<int> rainYearOfFileName(std::string_view fileName) {
    if (fileName.size() < 4)
        return std::nullopt;
    int year = 0;
    for (char c : fileName.substr(0, 4)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        year = year * 10 + (c - '0');
    }
    return year;
}

int rainWaterYearOfDate(OleDate day) {
    const CivilDate d = day.date();
    return d.month >= 10 ? d.year + 1 : d.year;
}

std::vector<RainDayRecord> parseRainYearFile(const Bytes& bytes) {
    std::vector<RainDayRecord> records;
    const std::size_t count = recordCount(bytes, kRainDayRecordSize);
    records.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t start = i * kRainDayRecordSize;
        records.push_back(
            parseRainDayRecord(bytes.data() + start, std::min(kRainDayRecordSize, bytes.size() - start)));
    }
    return records;
}

RainDayRecord rainRecordAt(const std::vector<RainDayRecord>& records, std::size_t k) {
    if (k == 0 || k > records.size())
        return parseRainDayRecord(nullptr, 0);
    return records[k - 1];
}

std::optional<std::size_t> findRecordByDate(const std::vector<RainDayRecord>& records, OleDate day) {
    if (day.isEmpty())
        return std::nullopt;
    const std::size_t last = std::min(records.size(), kRainYearRecords);
    for (std::size_t k = 1; k <= last; ++k)
        if (records[k - 1].dayDate == day)
            return k;
    return std::nullopt;
}

std::optional<std::size_t> findRecordByMonthDay(const std::vector<RainDayRecord>& records, int month,
                                                int day) {
    const std::size_t last = std::min(records.size(), kRainYearRecords);
    for (std::size_t k = 1; k <= last; ++k) {
        const OleDate date = records[k - 1].dayDate;
        if (date.isEmpty())
            continue;
        const CivilDate d = date.date();
        if (d.month == month && d.day == day)
            return k;
    }
    return std::nullopt;
}

std::vector<RainDayRecord> newRainYearRecords(int endYear) {
    std::vector<RainDayRecord> records;
    records.reserve(kRainYearRecords);
    OleDate day = OleDate::fromDate(endYear - 1, 10, 1);
    for (std::size_t k = 0; k < kRainYearRecords; ++k) {
        records.push_back(newRainDayRecord(day));
        day = day.plusDays(1);
    }
    return records;
}

CreateRainYearResult createRainYear(const fs::path& stationDir, std::string_view answerText,
                                    std::string_view stationNumber) {
    CreateRainYearResult result;
    const std::optional<int> year = parseYearAnswer(answerText);
    if (!year) {
        result.error = fileError("Geçerli bir su yılı giriniz (dört haneli yıl, örneğin 2004)");
        return result;
    }
    const std::string name = rainYearFileName(*year, stationNumber);
    result.path = stationDir / name;
    std::error_code ec;
    if (fs::exists(result.path, ec) || ec) {
        result.error = fileError("Bu yağış yılı dosyası zaten var: " + name);
        return result;
    }
    try {
        writeFileAtomic(stationFilePath(stationDir, name), serializeRecords(newRainYearRecords(*year)));
    } catch (const FileError&) {
        result.error = fileError("Dosya yazılamadı: " + name);
    }
    return result;
}

std::vector<RainDayRecord> readRainYear(const std::vector<RainDayRecord>& records, int endYear) {
    const OleDate endDate = OleDate::fromDate(endYear, 10, 1);
    std::vector<RainDayRecord> year;
    for (std::size_t k = 1; k <= kRainYearRecords; ++k) {
        RainDayRecord record = rainRecordAt(records, k);
        if (record.dayDate == endDate)
            break;
        year.push_back(std::move(record));
    }
    return year;
}

std::optional<std::vector<RainDayRecord>> loadRainYear(const fs::path& path) {
    const std::optional<Bytes> bytes = readFileBytes(path, kRainYearFileSizeLimit);
    if (!bytes)
        return std::nullopt;
    const int endYear = rainYearOfFileName(path.filename().string()).value_or(0);
    return readRainYear(parseRainYearFile(*bytes), endYear);
}

RainDateRepair repairRainDates(std::vector<RainDayRecord> records) {
    RainDateRepair repair;
    repair.records = std::move(records);
    if (repair.records.empty() || repair.records.front().dayDate.isEmpty())
        return repair;
    const OleDate first = repair.records.front().dayDate;
    for (std::size_t i = 1; i < repair.records.size(); ++i) {
        const OleDate expected = first.plusDays(static_cast<long long>(i));
        if (repair.records[i].dayDate != expected) {
            repair.records[i].dayDate = expected;
            repair.rewritten.push_back(i + 1);
        }
    }
    return repair;
}

void writeRainRecords(const fs::path& path, const std::vector<RainDayRecord>& records,
                      const std::vector<std::size_t>& numbers) {
    std::map<std::size_t, Bytes> changed;
    for (std::size_t k : numbers)
        if (k >= 1 && k <= records.size())
            changed[k] = serializeRainDayRecord(records[k - 1]);
    writeRecords(path, kRainDayRecordSize, changed);
}

namespace {

// A calendar date (years 100..9999) inside the water year ending in endYear, when one is given.
bool isDateOfWaterYear(OleDate date, std::optional<int> endYear) {
    static const double firstCalendarDay = OleDate::fromDate(100, 1, 1).value();
    static const double afterLastCalendarDay = OleDate::fromDate(9999, 12, 31).value() + 1.0;
    const double v = date.value();
    if (!std::isfinite(v) || v < firstCalendarDay || v >= afterLastCalendarDay)
        return false;
    if (!endYear)
        return true;
    return v >= OleDate::fromDate(*endYear - 1, 10, 1).value() &&
           v < OleDate::fromDate(*endYear, 10, 1).value();
}

} // namespace

RainYearDates repairRainYearDates(std::vector<RainDayRecord> fileRecords, std::optional<int> endYear) {
    RainYearDates result;
    result.records = std::move(fileRecords);
    if (result.records.size() < kRainYearRecords)
        result.records.resize(kRainYearRecords, parseRainDayRecord(nullptr, 0));
    const OleDate first = result.records.front().dayDate;
    const std::optional<OleDate> endDate =
        endYear ? std::optional<OleDate>(OleDate::fromDate(*endYear, 10, 1)) : std::nullopt;
    const bool countable = !first.isEmpty() && isDateOfWaterYear(first, endYear);
    if (!first.isEmpty() && !countable)
        result.repairRefused = "Kayıt 1'in tarihi su yılının bir günü değil; tarihler düzeltilmedi";
    result.yearDays = kRainYearRecords;
    for (std::size_t k = 1; k <= kRainYearRecords; ++k) {
        RainDayRecord& record = result.records[k - 1];
        const OleDate expected = countable ? first.plusDays(static_cast<long long>(k - 1)) : OleDate();
        if (countable && record.dayDate != expected) {
            record.dayDate = expected;
            result.rewritten.push_back(k);
        }
        if (endDate && record.dayDate == *endDate) {
            result.yearDays = k - 1;
            break;
        }
    }
    return result;
}

std::optional<RainDateRepair> loadRainYearRepaired(const fs::path& path) {
    const std::optional<Bytes> bytes = readFileBytes(path, kRainYearFileSizeLimit);
    if (!bytes)
        return std::nullopt;
    RainYearDates dates =
        repairRainYearDates(parseRainYearFile(*bytes), rainYearOfFileName(path.filename().string()));
    writeRainRecords(path, dates.records, dates.rewritten);
    dates.records.resize(dates.yearDays);
    return RainDateRepair{std::move(dates.records), std::move(dates.rewritten)};
}

RainDownloadResult writeDownloadedRain(const fs::path& stationDir, std::string_view stationNumber,
                                       const std::vector<DownloadedRainDay>& days, int bucketFactor) {
    std::map<int, std::vector<const DownloadedRainDay*>> byYear;
    for (const DownloadedRainDay& day : days)
        byYear[rainWaterYearOfDate(day.day.datePart())].push_back(&day);

    RainDownloadResult result;
    for (const auto& [endYear, yearDays] : byYear) {
        fs::path file;
        try {
            file = stationFilePath(stationDir, rainYearFileName(endYear, stationNumber));
        } catch (const FileError& e) {
            result.errors.push_back(fileError(e.what()));
            continue;
        }
        writeDownloadedYear(file, yearDays, endYear, bucketFactor, result);
    }
    return result;
}

RainEditResult applyEditedMinutes(RainDayRecord record, const EditedRainMinutes& minuteMm) {
    RainEditResult result;
    for (std::size_t m = 0; m < kMinutesPerDay; ++m) {
        if (!minuteMm[m]) {
            record.minuteRain[m] = 0;
            continue;
        }
        const std::optional<std::uint8_t> tenths =
            *minuteMm[m] < 0.0 ? std::nullopt : roundToByte(*minuteMm[m] * 10.0);
        if (!tenths) {
            const int minute = static_cast<int>(m);
            result.error =
                RainWriteError{record.dayDate, minute,
                               minuteText(minute) + " dakikasındaki değer kaydedilemez: 0 ile 25,5 mm "
                                                    "arasında olmalı"};
            return result;
        }
        record.minuteRain[m] = *tenths;
    }
    result.record = std::move(record);
    return result;
}

RainEditResult writeEditedRainDay(const fs::path& path, std::size_t recordNumber,
                                  const RainDayRecord& dayBuffer, const EditedRainMinutes& minuteMm) {
    if (recordNumber < 1 || recordNumber > kRainYearRecords) {
        RainEditResult refused;
        refused.error =
            RainWriteError{dayBuffer.dayDate, -1, "Geçersiz kayıt numarası: " + std::to_string(recordNumber)};
        return refused;
    }
    RainEditResult result = applyEditedMinutes(dayBuffer, minuteMm);
    if (!result.ok())
        return result;
    try {
        writeRecords(path, kRainDayRecordSize, {{recordNumber, serializeRainDayRecord(*result.record)}});
    } catch (const FileError&) {
        result.error = RainWriteError{dayBuffer.dayDate, -1, "Dosya yazılamadı: " + path.filename().string()};
        result.record.reset();
    }
    return result;
}

} // namespace korvel
