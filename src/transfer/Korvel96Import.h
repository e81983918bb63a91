#pragma once

#include "instruments/ReceivedReadings.h"
#include "transfer/ImportReport.h"

#include <filesystem>
#include <string_view>

namespace korvel {

// The older program's download files: day-readings files named "ABC5-10 .-4".
inline constexpr std::string_view kKorvel96ReadingsPattern = "*.-*";

// Reason of the result list when a day-readings file has no station-texts file beside it.
inline constexpr const char* kReasonNoCompanion = "istasyon bilgi dosyası yok";

// The station-texts file beside a day-readings file, as it is found on disk (any case).
// Nothing when the name has no companion or the companion is not there.
std::optional<std::filesystem::path> existingStationTexts(const std::filesystem::path& readingsFile);

// Takes one day-readings file and its station-texts file into the water years of a station
// directory under the confirmed station number. A missing companion, an unreadable file or an
// unusable station number leaves the file out with its reason; nothing is written then.
ImportOutcome importKorvel96File(const std::filesystem::path& readingsFile, std::string_view stationNumber,
                                 const std::filesystem::path& stationDir);

} // namespace korvel
