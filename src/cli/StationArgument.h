#pragma once

#include "store/StationRecord.h"

#include <filesystem>
#include <string>

namespace korvel {

// The station a command works on: the record in the directory's genel.tan. When the
// directory has none, the station number is the directory's own name (a station directory
// is named by its number).
StationRecord stationRecordOf(const std::filesystem::path& stationDir);
std::string stationNumberOf(const std::filesystem::path& stationDir);
// The station's measurement card: "<station number>.olc", or the directory's only "*.olc"
// when the card was saved under another number.
std::filesystem::path measurementCardPathOf(const std::filesystem::path& stationDir);

} // namespace korvel
