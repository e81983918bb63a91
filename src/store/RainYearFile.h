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

// The rainfall-year file ("YYYY_SSSSSSSS.yrd"): one 1470-byte record per day of a water
// year, numbered from 1, no header. Record k holds 1 October (YYYY - 1) + (k - 1) days.
inline constexpr std::size_t kRainDayRecordSize = 1470;
inline constexpr std::size_t kRainYearRecords = 366;
// A rainfall-year file holds 366 records (538020 bytes); one far larger is not read.
inline constexpr std::uintmax_t kRainYearFileSizeLimit = 8 * 1024 * 1024;
inline constexpr std::size_t kRainMinuteEntries = 1441;
inline constexpr std::size_t kMinutesPerDay = 1440;
inline constexpr std::size_t kRainRecordTagWidth = 20;
inline constexpr std::size_t kRainStationNumberWidth = 8;
// The tag every record is written with: "L", four spaces, "korvelmas", six spaces.
inline constexpr std::string_view kRainRecordTag = "L    korvelmas      ";

struct RainDayRecordOffsets {
    static constexpr std::size_t dayDate = 0;
    static constexpr std::size_t recordTag = 8;
    static constexpr std::size_t minuteRain = 28;
    static constexpr std::size_t padding = 1469;
};

struct RainDayRecord {
    OleDate dayDate;
    // The 20 tag bytes as stored (cp1254 decoded), NULs and spaces kept.
    std::string recordTag = std::string(kRainRecordTagWidth, '\0');
    // Entry m (0..1439) is the rainfall of the minute starting m minutes after midnight, in
    // tenths of a millimetre; entry 1440 is not a minute of the day.
    std::array<std::uint8_t, kRainMinuteEntries> minuteRain{};
    std::uint8_t padding = 0;

    bool operator==(const RainDayRecord&) const = default;
};

RainDayRecord parseRainDayRecord(const std::uint8_t* data, std::size_t size);
RainDayRecord parseRainDayRecord(const Bytes& bytes);
Bytes serializeRainDayRecord(const RainDayRecord& record);

// An empty day as a new year file holds it: the given date, the standard tag, no rain.
RainDayRecord newRainDayRecord(OleDate day);

// Sum of minutes 0..1439 in tenths of a millimetre, and in millimetres.
int dailyTotalTenths(const RainDayRecord& record);
double dailyTotalMm(const RainDayRecord& record);
bool isRainyDay(const RainDayRecord& record);

// "2004_12-345  .yrd": the end year, "_", the station number in its 8-character field
// (cut to 8 characters or padded with spaces, trailing spaces kept), ".yrd".
std::string rainYearFileName(int endYear, std::string_view stationNumber);
// The year a file name starts with (its first four characters), when they are digits.
std::optional<int> rainYearOfFileName(std::string_view fileName);
// The end year of the water year holding the day: October to December belong to the next year.
int rainWaterYearOfDate(OleDate day);

// Every record of the file in one pass; a trailing partial record is padded with zeros.
std::vector<RainDayRecord> parseRainYearFile(const Bytes& bytes);
// Record k (from 1); a record past the end is a record of zero bytes.
RainDayRecord rainRecordAt(const std::vector<RainDayRecord>& records, std::size_t k);
// The first record number in 1..366 holding the day, or whose day has this month and day of
// month. Empty records (date 0) cover no day and never match.
std::optional<std::size_t> findRecordByDate(const std::vector<RainDayRecord>& records, OleDate day);
std::optional<std::size_t> findRecordByMonthDay(const std::vector<RainDayRecord>& records, int month,
                                                int day);

// The 366 records of a new water year ending in endYear, from 1 October (endYear - 1) on.
std::vector<RainDayRecord> newRainYearRecords(int endYear);

// Why a write was refused; message is the text shown to the user.
struct RainWriteError {
    OleDate day;     // empty when the error concerns a whole file
    int minute = -1; // the offending minute of the day, -1 when no single minute is at fault
    std::string message;
};

struct CreateRainYearResult {
    std::filesystem::path path;
    std::optional<RainWriteError> error;
    bool ok() const { return !error; }
};

// The new-year command: answerText is the answer to the year prompt, the END year of the
// water year. Refuses an answer that is not a four-digit year and a file that already
// exists (which is left untouched); otherwise writes the 366 empty records as a whole file.
CreateRainYearResult createRainYear(const std::filesystem::path& stationDir, std::string_view answerText,
                                    std::string_view stationNumber);

// The records a reader works on: from record 1 on, stopping before the record dated 1 October
// endYear or after record 366. Records past the end of the file read as zero records.
std::vector<RainDayRecord> readRainYear(const std::vector<RainDayRecord>& records, int endYear);
// The same for a file on disk, the end year taken from the file name; nothing when the file
// cannot be read.
std::optional<std::vector<RainDayRecord>> loadRainYear(const std::filesystem::path& path);

struct RainDateRepair {
    std::vector<RainDayRecord> records;
    std::vector<std::size_t> rewritten; // numbers (from 1) of the records given a new date
};

// Record k is expected to hold record 1's date + (k - 1) days; records with another date get
// the expected date, their tag and minutes unchanged. With no date in record 1 there is
// nothing to count from, and nothing is changed.
RainDateRepair repairRainDates(std::vector<RainDayRecord> records);
// The first pass of the one-year analysis over the records of a whole file: records 1..366 in
// order (those past the end of the file as zero records), each given its expected date first
// and then compared with 1 October endYear, where the year ends. A record that only got the end
// date from the repair still ends the year. With no end year the year runs to record 366.
// Dates are counted only from a record-1 date that is a calendar date inside the water year
// ending in endYear (any calendar date with no end year); from another date nothing is changed
// and repairRefused says why.
struct RainYearDates {
    std::vector<RainDayRecord> records; // the file's records, at least the ones the pass read
    std::vector<std::size_t> rewritten; // numbers (from 1) of the records given a new date
    std::size_t yearDays = 0;           // records 1..yearDays are the days of the year
    std::string repairRefused;          // why the dates were not counted from record 1
};
RainYearDates repairRainYearDates(std::vector<RainDayRecord> fileRecords, std::optional<int> endYear);
// Writes records[k - 1] at number k for every k listed, in place.
void writeRainRecords(const std::filesystem::path& path, const std::vector<RainDayRecord>& records,
                      const std::vector<std::size_t>& numbers);
// Reads the year for the one-year analysis, repairs the dates and writes the repaired records
// back at once; records holds the days of the year. Nothing when the file cannot be read;
// throws FileError when the write fails.
std::optional<RainDateRepair> loadRainYearRepaired(const std::filesystem::path& path);

// The rain logger's tips of one day: minute of the day (0..1439) to tip count.
struct DownloadedRainDay {
    OleDate day;
    std::map<int, int> tipCounts;
};

struct RainDownloadResult {
    std::vector<OleDate> writtenDays;
    std::vector<OleDate> skippedDays; // no record of that date in the year file
    std::vector<RainWriteError> errors;
    std::vector<std::filesystem::path> initialisedFiles;
    bool ok() const { return errors.empty(); }
};

// Writes downloaded rainfall into the station's year files, each file read once and written
// once. A minute reported is overwritten with tip count x bucket factor; other minutes keep
// their value. A day with a product that does not fit a minute entry (0..255) is refused and
// not written at all. A new or empty year file is first laid out as createRainYear does.
RainDownloadResult writeDownloadedRain(const std::filesystem::path& stationDir,
                                       std::string_view stationNumber,
                                       const std::vector<DownloadedRainDay>& days, int bucketFactor);

// Minute values of an edited day in millimetres; an empty cell is nothing.
using EditedRainMinutes = std::array<std::optional<double>, kMinutesPerDay>;

struct RainEditResult {
    std::optional<RainDayRecord> record;
    std::optional<RainWriteError> error;
    bool ok() const { return !error; }
};

// Sets every minute from the edited value x 10, rounded halves to even, empty giving 0. A value
// of more than 255 tenths or below 0 is refused, naming the minute.
RainEditResult applyEditedMinutes(RainDayRecord record, const EditedRainMinutes& minuteMm);
// The same, then the whole record written at its number (1..366); nothing written on refusal.
RainEditResult writeEditedRainDay(const std::filesystem::path& path, std::size_t recordNumber,
                                  const RainDayRecord& dayBuffer, const EditedRainMinutes& minuteMm);

} // namespace korvel
