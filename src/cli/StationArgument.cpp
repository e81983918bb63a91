#include "cli/StationArgument.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"

namespace korvel {

StationRecord stationRecordOf(const std::filesystem::path& stationDir) {
    removeStaleTemporaries(stationDir);
    StationRecord record = loadStationRecord(stationDir, "");
    if (trimmed(record.stationNumber).empty())
        record.stationNumber = fixedText(stationDir.filename().string(), StationRecord::stationNumberWidth);
    return record;
}

std::string stationNumberOf(const std::filesystem::path& stationDir) {
    return stationRecordOf(stationDir).stationNumber;
}

} // namespace korvel
