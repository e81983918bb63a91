#include "store/WaterYearFile.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Paths.h"
#include "core/StationFiles.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace korvel {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kDate = 0;
constexpr std::size_t kMaxLevel = 8;
constexpr std::size_t kMaxTime = 10;
constexpr std::size_t kMinLevel = 18;
constexpr std::size_t kMinTime = 20;
constexpr std::size_t kMeanValue = 28;
constexpr std::size_t kSource = 32;
constexpr std::size_t kRawDataFile = 44;

constexpr int kFirstWaterYear = 101;
constexpr int kLastWaterYear = 9999;

bool isWaterYear(int year) {
    return year >= kFirstWaterYear && year <= kLastWaterYear;
}

// The record as it stands in the file, zero-padded when the file ends inside it.
bool sameBytes(const Bytes& file, std::size_t n, const Bytes& record) {
    return recordAt(file, DayRecord::kSize, n) == record;
}

// A day whose date, times or mean is not a finite number is never stored: the message names the
// field and the day.
void refuseNonFinite(const DayRecord& day) {
    const auto check = [&](double value, const char* field) {
        if (!std::isfinite(value))
            throw FileError(std::string(field) + " sayı değil (" +
                            (isCalendarDate(day.date) ? day.date.dateText() : "tarihsiz gün") +
                            "); kayıt yazılmadı.");
    };
    check(day.date.value(), "Tarih");
    check(day.maxTime.value(), "Maksimum saati");
    check(day.minTime.value(), "Minimum saati");
    check(static_cast<double>(day.meanValue),
          sourceIsDischarge(day.source) ? "Günlük akım" : "Günlük ortalama");
}

} // namespace

DayRecord parseDayRecord(const std::uint8_t* data, std::size_t size) {
    const ByteReader in(data, size);
    DayRecord r;
    r.date = OleDate(in.f64(kDate));
    r.maxLevel = in.i16(kMaxLevel);
    r.maxTime = OleDate(in.f64(kMaxTime));
    r.minLevel = in.i16(kMinLevel);
    r.minTime = OleDate(in.f64(kMinTime));
    r.meanValue = in.f32(kMeanValue);
    r.source = in.text(kSource, DayRecord::kTextWidth);
    r.rawDataFile = in.text(kRawDataFile, DayRecord::kTextWidth);
    for (std::size_t i = 0; i < r.reserved.size(); ++i)
        r.reserved[i] = in.u8(DayRecord::kReservedOffset + i);
    return r;
}

DayRecord parseDayRecord(const Bytes& bytes) {
    return parseDayRecord(bytes.data(), bytes.size());
}

Bytes serializeDayRecord(const DayRecord& record) {
    ByteWriter out(DayRecord::kSize);
    out.f64(kDate, record.date.value());
    out.i16(kMaxLevel, record.maxLevel);
    out.f64(kMaxTime, record.maxTime.value());
    out.i16(kMinLevel, record.minLevel);
    out.f64(kMinTime, record.minTime.value());
    out.f32(kMeanValue, record.meanValue);
    out.text(kSource, DayRecord::kTextWidth, record.source);
    out.text(kRawDataFile, DayRecord::kTextWidth, record.rawDataFile);
    for (std::size_t i = 0; i < record.reserved.size(); ++i)
        out.u8(DayRecord::kReservedOffset + i, record.reserved[i]);
    return out.take();
}

bool sourceIsDischarge(std::string_view source) {
    return !source.empty() && (source.front() == 'G' || source.front() == 'K');
}

bool isBlankSource(std::string_view source) {
    return isBlankField(source);
}

bool isMeasuredSource(std::string_view source) {
    return !isBlankSource(source) && !sourceIsDischarge(source);
}

std::string waterYearFileName(int year, std::string_view stationNumber) {
    return std::to_string(year) + "_" + trimmed(stationNumber) + ".ard";
}

int waterYearOfDate(OleDate date) {
    const CivilDate d = date.date();
    return d.month >= 10 ? d.year + 1 : d.year;
}

OleDate firstDayOfWaterYear(int year) {
    return OleDate::fromDate(year - 1, 10, 1);
}

bool isCalendarDate(OleDate date) {
    static const double first = OleDate::fromDate(100, 1, 1).value();
    static const double last = OleDate::fromDate(9999, 12, 31).value() + 1.0;
    const double v = date.value();
    return std::isfinite(v) && !date.isEmpty() && v >= first && v < last;
}

std::vector<DayRecord> parseWaterYearFile(const Bytes& bytes) {
    const std::size_t count = recordCount(bytes, DayRecord::kSize);
    std::vector<DayRecord> records;
    records.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t offset = i * DayRecord::kSize;
        records.push_back(parseDayRecord(bytes.data() + offset, bytes.size() - offset));
    }
    return records;
}

std::vector<DayRecord> readWaterYearFile(const fs::path& file) {
    const auto bytes = readFileBytes(file, kWaterYearFileSizeLimit);
    return bytes ? parseWaterYearFile(*bytes) : std::vector<DayRecord>{};
}

DayRecord dayAt(const std::vector<DayRecord>& records, std::size_t n) {
    if (n == 0 || n > records.size())
        return DayRecord{};
    return records[n - 1];
}

std::optional<std::size_t> findDay(const std::vector<DayRecord>& records, OleDate date, std::size_t limit) {
    if (date.isEmpty())
        return std::nullopt;
    const std::size_t end = std::min(limit, records.size());
    for (std::size_t n = 1; n <= end; ++n)
        if (records[n - 1].date == date)
            return n;
    return std::nullopt;
}

std::optional<std::size_t> firstRecordOfMonth(const std::vector<DayRecord>& records, int month) {
    const std::size_t end = std::min<std::size_t>(kWaterYearRecords - 1, records.size());
    for (std::size_t n = 1; n <= end; ++n) {
        const OleDate date = records[n - 1].date;
        if (isCalendarDate(date) && date.month() == month)
            return n;
    }
    return std::nullopt;
}

void writeDayRecords(const fs::path& file, const std::map<std::size_t, DayRecord>& records) {
    std::map<std::size_t, Bytes> bytes;
    for (const auto& [n, record] : records) {
        refuseNonFinite(record);
        bytes.emplace(n, serializeDayRecord(record));
    }
    writeRecords(file, DayRecord::kSize, bytes);
}

CreatedWaterYear createWaterYear(const fs::path& stationDir, int year, std::string_view stationNumber) {
    if (!isWaterYear(year))
        throw std::invalid_argument("geçersiz su yılı: " + std::to_string(year));
    CreatedWaterYear result;
    result.file = stationFilePath(stationDir, waterYearFileName(year, stationNumber));
    if (fileExists(result.file)) {
        result.alreadyExisted = true;
        return result;
    }
    Bytes image;
    image.reserve(kWaterYearRecords * DayRecord::kSize);
    const OleDate first = firstDayOfWaterYear(year);
    for (std::size_t n = 1; n <= kWaterYearRecords; ++n) {
        DayRecord record;
        record.date = first.plusDays(static_cast<long long>(n - 1));
        const Bytes bytes = serializeDayRecord(record);
        image.insert(image.end(), bytes.begin(), bytes.end());
    }
    writeFileAtomic(result.file, image);
    return result;
}

WrittenDays writeDays(const fs::path& stationDir, std::string_view stationNumber,
                      const std::vector<DayRecord>& days) {
    WrittenDays result;
    std::map<int, std::vector<const DayRecord*>> byYear;
    for (const DayRecord& day : days) {
        if (!isCalendarDate(day.date) || !isWaterYear(waterYearOfDate(day.date))) {
            ++result.dropped;
            continue;
        }
        refuseNonFinite(day);
        byYear[waterYearOfDate(day.date)].push_back(&day);
    }

    for (const auto& [year, yearDays] : byYear) {
        const fs::path file = stationFilePath(stationDir, waterYearFileName(year, stationNumber));
        Bytes original;
        if (fileExists(file)) {
            auto bytes = readFileBytes(file, kWaterYearFileSizeLimit);
            if (!bytes)
                throw FileError("cannot read " + file.string());
            original = std::move(*bytes);
        }
        std::vector<DayRecord> records = parseWaterYearFile(original);

        const DayRecord first = dayAt(records, 1);
        const bool initialise = first.date.isEmpty();
        if (initialise) {
            records.resize(std::max(records.size(), kWaterYearRecords));
            const OleDate firstDate = firstDayOfWaterYear(year);
            for (std::size_t n = 1; n <= kWaterYearRecords; ++n) {
                records[n - 1] = first;
                records[n - 1].date = firstDate.plusDays(static_cast<long long>(n - 1));
            }
        }

        for (const DayRecord* day : yearDays) {
            const auto n = findDay(records, day->date, kWaterYearRecords);
            if (!n) {
                ++result.dropped;
                continue;
            }
            DayRecord placed = *day;
            placed.reserved = records[*n - 1].reserved;
            records[*n - 1] = placed;
            ++result.written;
        }

        std::map<std::size_t, Bytes> changed;
        for (std::size_t n = 1; n <= records.size(); ++n) {
            Bytes bytes = serializeDayRecord(records[n - 1]);
            if (!sameBytes(original, n, bytes))
                changed.emplace(n, std::move(bytes));
        }
        if (changed.empty())
            continue;
        if (initialise) {
            // A new file is written whole, so that it never exists half-initialised.
            Bytes image = original;
            image.resize(std::max(image.size(), kWaterYearRecords * DayRecord::kSize), 0);
            for (const auto& [n, bytes] : changed)
                std::copy(bytes.begin(), bytes.end(),
                          image.begin() + static_cast<std::ptrdiff_t>((n - 1) * DayRecord::kSize));
            writeFileAtomic(file, image);
        } else {
            writeRecords(file, DayRecord::kSize, changed);
        }
    }
    return result;
}

} // namespace korvel
