#include "cli/StationArgument.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Paths.h"
#include "store/MeasurementCard.h"

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

std::filesystem::path measurementCardPathOf(const std::filesystem::path& stationDir) {
    const auto path =
        resolveCaseInsensitive(stationDir / measurementCardFileName(stationNumberOf(stationDir)));
    if (!fileExists(path)) {
        const auto cards = listFiles(stationDir, "*.olc");
        if (cards.size() == 1)
            return stationDir / cards.front();
    }
    return path;
}

} // namespace korvel
