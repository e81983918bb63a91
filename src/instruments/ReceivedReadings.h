#pragma once

#include "core/ByteIO.h"
#include "store/WaterYearFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The texts at the head of a station-texts file: station name, station number and river name,
// 8 characters each.
struct StationTexts {
    std::string stationName;
    std::string stationNumber;
    std::string riverName;
};

// The station-texts file that belongs to a day-readings file: the character after the last "."
// of the name replaced by "m" ("ABC5-10 .-4" -> "ABC5-10 .m4"). Nothing for a name without one.
std::optional<std::filesystem::path> stationTextsPathOf(const std::filesystem::path& readingsFile);
StationTexts parseStationTexts(const Bytes& textsFile);
// The texts of the station-texts file beside a day-readings file (for the station-number
// prompt); nothing when that file cannot be read.
std::optional<StationTexts> readStationTexts(const std::filesystem::path& readingsFile);

// Day records rebuilt from a day-readings file and its station-texts file. The readings are
// divided by 1 (unit code 1), 0.1 (unit code 10) or 2 and rounded one by one; the extremes come
// from the texts file, an hour of 24 counting as 0 and a level above 9800 as 0. A block whose date
// is not valid is passed over (its readings take their fixed place) and the blocks after it are
// still read; each passed-over block adds a line to `skipped` when given ("gün 3: tarih geçersiz
// (00.13.26)").
std::vector<DayRecord> decodeReceivedReadings(const Bytes& readingsFile, const Bytes& textsFile,
                                              std::string_view rawDataFileName,
                                              std::vector<std::string>* skipped = nullptr);

// Why a received day-readings file may not be copied into a station directory under its name:
// the name is that of a station file (water year, HQ table, rain year, measurement card,
// "genel.tan", "genel.har"), or a different file of that name is already there (a file is only
// replaced by a later copy of the same readings: the same header and first day). Nothing when the
// copy is safe.
std::optional<std::string> receivedCopyProblem(const Bytes& readings, const std::filesystem::path& copy);

struct ReceivedConversionResult {
    bool converted = false;
    std::string message; // why nothing was converted
    std::vector<DayRecord> days;
    WrittenDays written;
    std::filesystem::path copy;       // the day-readings file copied into the destination
    std::vector<std::string> skipped; // blocks passed over, one text each
};

// Converts a day-readings file received from elsewhere (the older program's download files) into
// day records of the destination directory's water-year files, named with the confirmed station
// number, and copies the file there. Writes nothing when either file cannot be read, the
// station number cannot name a file, the file holds no day, or the copy would replace a station
// file or another file (receivedCopyProblem). Throws FileError when a file cannot be written.
ReceivedConversionResult convertReceivedReadings(const std::filesystem::path& readingsFile,
                                                 std::string_view stationNumber,
                                                 const std::filesystem::path& destinationDir);

} // namespace korvel
