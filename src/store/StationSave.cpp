#include "store/StationSave.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"

#include <algorithm>
#include <system_error>

namespace korvel {

namespace fs = std::filesystem;

namespace {

// A screen text as its record field holds it, without the padding.
std::string fieldText(std::string_view text, std::size_t width) {
    return trimmed(fixedText(trimmed(text), width));
}

std::string basinPart(std::string_view stationNumber) {
    return utf8Left(stationNumber, 2);
}

// A name that stays one directory level below its parent.
bool isSafeDirectoryName(std::string_view name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 ||
               std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
    });
}

void assignNumber(float& field, std::string_view text) {
    if (const auto hundredths = storedHundredths(entryNumber(text)))
        field = static_cast<float>(static_cast<double>(*hundredths) / 100.0);
}

} // namespace

double entryNumber(std::string_view text) {
    std::string number(text);
    std::replace(number.begin(), number.end(), ',', '.');
    return numericValue(number);
}

std::optional<std::string> validateStationEntry(const StationEntry& entry) {
    const std::string number = trimmed(entry.stationNumber);
    if (number.empty() || trimmed(entry.regionName).empty())
        return std::string(kMissingNumberOrRegionMessage);
    if (utf8Length(number) < 5)
        return std::string(kShortStationNumberMessage);
    // Empty text converts to 0; a drainage area that would be stored as 0 (or not at all,
    // being too large) is refused as well.
    const auto drainage = storedHundredths(entryNumber(entry.drainageArea));
    if (!drainage || *drainage == 0.0f)
        return std::string(kMissingDrainageAreaMessage);
    const std::string region = fieldText(entry.regionName, StationRecord::regionNameWidth);
    const std::string recordNumber = fieldText(entry.stationNumber, StationRecord::stationNumberWidth);
    if (!isSafeDirectoryName(region) || !isSafeDirectoryName(basinPart(recordNumber)) ||
        !isSafeDirectoryName(recordNumber))
        return std::string(kInvalidDirectoryNameMessage);
    return std::nullopt;
}

bool asksForPassword(const StationEntry& entry) {
    return !trimmed(entry.phoneNumber).empty();
}

StationRecord buildStationRecord(const StationEntry& entry, const std::optional<std::string>& typedPassword,
                                 const StationRecord& loaded) {
    using R = StationRecord;
    StationRecord record = loaded;
    const auto text = [](std::string& field, std::string_view value, std::size_t width) {
        field = fixedText(trimmed(value), width);
    };
    text(record.stationNumber, entry.stationNumber, R::stationNumberWidth);
    text(record.regionName, entry.regionName, R::regionNameWidth);
    text(record.riverName, entry.riverName, R::riverNameWidth);
    text(record.stationName, entry.stationName, R::stationNameWidth);
    text(record.openingDate, entry.openingDate, R::openingDateWidth);
    assignNumber(record.elevation, entry.elevation);
    assignNumber(record.drainageArea, entry.drainageArea);
    assignNumber(record.thiessenArea, entry.thiessenArea);
    text(record.coordinates, entry.coordinates, R::coordinatesWidth);
    text(record.note, entry.note, R::noteWidth);
    text(record.phoneNumber, entry.phoneNumber, R::phoneNumberWidth);
    text(record.dialPrefix, entry.dialPrefix, R::dialPrefixWidth);
    text(record.modemHqFile, entry.modemHqFile, R::modemHqFileWidth);
    text(record.basinName, entry.basinName, R::basinNameWidth);
    const std::string password = asksForPassword(entry) && typedPassword
                                     ? utf8Left(*typedPassword, R::passwordWidth)
                                     : loaded.password;
    text(record.password, password, R::passwordWidth);
    return record;
}

fs::path stationDirectory(const fs::path& dataRoot, std::string_view regionName,
                          std::string_view stationNumber) {
    const std::string number = trimmed(stationNumber);
    return resolveCaseInsensitive(dataRoot / trimmed(regionName) / basinPart(number) / number);
}

SaveStationResult saveStation(const Paths& paths, const StationEntry& entry,
                              const std::optional<std::string>& typedPassword, const StationRecord& loaded) {
    SaveStationResult result;
    if (auto refusal = validateStationEntry(entry)) {
        result.message = std::move(*refusal);
        return result;
    }
    result.record = buildStationRecord(entry, typedPassword, loaded);
    result.stationDir =
        stationDirectory(paths.dataRoot(), result.record.regionName, result.record.stationNumber);

    // Directories that exist already are fine; a directory that cannot be made shows up as
    // the failure to write genel.tan.
    std::error_code ec;
    fs::create_directories(result.stationDir, ec);
    try {
        saveStationRecordFile(result.stationDir, result.record);
    } catch (const FileError&) {
        result.message =
            "İstasyon bilgileri kaydedilemedi: " + (result.stationDir / kStationRecordFileName).string();
        return result;
    }
    result.saved = true;

    result.mapPosition = findMapPosition(result.record.coordinates);
    if (!result.mapPosition)
        return result;
    const MapPoint point{result.mapPosition->x, result.mapPosition->y, paths.toWindows(result.stationDir)};
    const StoreMapPointResult stored = storeMapPoint(paths.dataRoot() / kStationMapFileName, point);
    result.mapPointStored = stored.stored;
    result.message = stored.message;
    return result;
}

} // namespace korvel
