#pragma once

#include "core/Paths.h"
#include "store/StationMap.h"
#include "store/StationRecord.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

inline constexpr std::string_view kMissingNumberOrRegionMessage =
    "Lutfen istasyon numarası ve bölge adını giriniz";
inline constexpr std::string_view kShortStationNumberMessage =
    "Lutfen istasyon numarası 01-001 gibi beş hane giriniz";
inline constexpr std::string_view kMissingDrainageAreaMessage = "Lutfen yagış alanını giriniz";
inline constexpr std::string_view kInvalidDirectoryNameMessage =
    "İstasyon numarası ve bölge adı \\ / : * ? \" < > | karakterlerini içeremez, \".\" veya \"..\" olamaz";
inline constexpr std::string_view kPasswordPrompt = "Şifre kullanmayı düşünüyorsanız şimdi girin";

// The texts of the station screen's boxes as typed. Numbers use "." as decimal separator
// (the screen enters a typed comma as a period); a comma is accepted as well.
struct StationEntry {
    std::string stationNumber;
    std::string riverName;
    std::string stationName;
    std::string regionName;
    std::string openingDate;
    std::string elevation;
    std::string drainageArea;
    std::string thiessenArea;
    std::string coordinates;
    std::string note;
    std::string phoneNumber;
    std::string dialPrefix;
    std::string modemHqFile;
    std::string basinName;
};

// The number a screen box holds; text without a number gives 0.
double entryNumber(std::string_view text);

// The message refusing the entry, nothing when it may be saved.
std::optional<std::string> validateStationEntry(const StationEntry& entry);

// True when saving asks for a password: the phone number is not empty.
bool asksForPassword(const StationEntry& entry);

// The record the entry saves: text fields trimmed, numbers through the entry rule (a number
// that does not fit keeps the loaded value), password from the typed answer (cut to 12,
// trimmed) when one was asked for and given, else the loaded one.
StationRecord buildStationRecord(const StationEntry& entry, const std::optional<std::string>& typedPassword,
                                 const StationRecord& loaded);

// dataRoot / region / first two characters of the number / number, both trimmed; an existing
// directory differing only in case is used.
std::filesystem::path stationDirectory(const std::filesystem::path& dataRoot, std::string_view regionName,
                                       std::string_view stationNumber);

struct SaveStationResult {
    bool saved = false;                     // genel.tan was written
    std::string message;                    // refusal or failure to show; empty when all went well
    StationRecord record;                   // the record written
    std::filesystem::path stationDir;       // the station directory, the new current station
    std::optional<MapPosition> mapPosition; // the station's place on the map, none for blank coordinates
    bool mapPointStored = false;
};

// The save command: validation (nothing written when refused), the record from the screen
// texts, the station directories, genel.tan, and the station's point in genel.har.
SaveStationResult saveStation(const Paths& paths, const StationEntry& entry,
                              const std::optional<std::string>& typedPassword, const StationRecord& loaded);

} // namespace korvel
