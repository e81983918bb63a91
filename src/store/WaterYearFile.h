#pragma once

#include "core/ByteIO.h"
#include "core/OleDate.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// One day of a water-year flow file ("*.ard"): a 128-byte record, the fields packed into
// its first 56 bytes. Text fields hold their 12 characters decoded from cp1254 with NUL
// bytes kept, so a record read and written again keeps every byte.
struct DayRecord {
    static constexpr std::size_t kSize = 128;
    static constexpr std::size_t kTextWidth = 12;
    static constexpr std::size_t kReservedOffset = 56;

    OleDate date;
    std::int16_t maxLevel = 0;
    OleDate maxTime;
    std::int16_t minLevel = 0;
    OleDate minTime;
    // The daily mean level; on a day whose source starts with "G" or "K", the mean discharge.
    float meanValue = 0.0F;
    std::string source = std::string(kTextWidth, '\0');
    std::string rawDataFile = std::string(kTextWidth, '\0');
    // Bytes 56..127, which no field uses; kept as read so that rewriting a record leaves them.
    std::array<std::uint8_t, kSize - kReservedOffset> reserved{};

    bool operator==(const DayRecord&) const = default;
};

// A short buffer reads as if padded with zero bytes.
DayRecord parseDayRecord(const std::uint8_t* data, std::size_t size);
DayRecord parseDayRecord(const Bytes& bytes);
Bytes serializeDayRecord(const DayRecord& record);

// "G" or "K" first: meanValue is already a discharge and no rating table is consulted.
bool sourceIsDischarge(std::string_view source);
// No data for the day: a leading NUL, or nothing but spaces and NULs.
bool isBlankSource(std::string_view source);
// A day measured at the station (logger, staff gauge, imports): its tag is neither blank nor
// one of the discharge tags "G"/"K" that days derived from other figures carry.
bool isMeasuredSource(std::string_view source);

inline constexpr std::size_t kWaterYearRecords = 366;
// A water-year file holds 366 records (46848 bytes); one far larger is not read.
inline constexpr std::uintmax_t kWaterYearFileSizeLimit = 1024 * 1024;

// "2004_01-001.ard": the year the water year ends in, "_", the station number trimmed.
std::string waterYearFileName(int year, std::string_view stationNumber);
// October to December belong to the water year of the following calendar year.
int waterYearOfDate(OleDate date);
// 1 October of the year before.
OleDate firstDayOfWaterYear(int year);
// True for a date the calendar functions can take: finite, not empty, years 100..9999.
bool isCalendarDate(OleDate date);

// Every record of the file; a trailing partial record reads as if padded with zeros.
std::vector<DayRecord> parseWaterYearFile(const Bytes& bytes);
// The records of the file, none when it is missing, unreadable or far too large.
std::vector<DayRecord> readWaterYearFile(const std::filesystem::path& file);

// Record n (from 1); past the end of the file a record reads as zeros.
DayRecord dayAt(const std::vector<DayRecord>& records, std::size_t n);
// Number (from 1) of the first record among 1..limit whose date equals the given one. The
// empty date is never looked for.
std::optional<std::size_t> findDay(const std::vector<DayRecord>& records, OleDate date,
                                   std::size_t limit = kWaterYearRecords);
// Number of the first record among 1..365 whose date lies in the given month.
std::optional<std::size_t> firstRecordOfMonth(const std::vector<DayRecord>& records, int month);

// Overwrites the given records (numbered from 1) in place; the file is created when missing.
void writeDayRecords(const std::filesystem::path& file, const std::map<std::size_t, DayRecord>& records);

struct CreatedWaterYear {
    std::filesystem::path file;
    bool alreadyExisted = false;
};

// Creates the file of the given water year with 366 records holding only their dates.
// A file that exists already is left untouched. Throws std::invalid_argument for a year
// outside 101..9999 and FileError when the file cannot be written.
CreatedWaterYear createWaterYear(const std::filesystem::path& stationDir, int year,
                                 std::string_view stationNumber);

struct WrittenDays {
    std::size_t written = 0;
    // Days without a place in their file: an empty or impossible date, or a date the file's
    // records do not carry.
    std::size_t dropped = 0;
};

// Writes each day into the file of its water year, creating and initialising the file on
// its first day: a file whose first record has the empty date gets 366 records dated from
// 1 October on, the other fields repeating that first record. Each day goes to the record
// carrying its date; the record's bytes 56..127 stay as they were.
WrittenDays writeDays(const std::filesystem::path& stationDir, std::string_view stationNumber,
                      const std::vector<DayRecord>& days);

} // namespace korvel
