#pragma once

#include "core/ByteIO.h"
#include "core/OleDate.h"
#include "instruments/ProtocolLog.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvel {

// Every download is also kept in the station directory, in this folder: the image as it came,
// the protocol log of the session and a description. The name has no extension and starts with
// none of the letters of the other programs' file patterns, so no file list of this program or
// of the older and sibling programs ("*.ard", "*.HQ", "*.yrd", "*.olc", "o*.**o", "e*.dat",
// "K*.DAT", "*.zip") picks it up, and the archive and deletion screens list files only.
inline constexpr std::string_view kKeptDownloadsFolder = "sagimlar";
std::filesystem::path keptDownloadsDir(const std::filesystem::path& stationDir);

// The instruments a kept download names.
inline constexpr std::string_view kLevelInstrument = "level";       // water-level logger, cable
inline constexpr std::string_view kModemInstrument = "level-modem"; // water-level logger, modem
inline constexpr std::string_view kRainInstrument = "rain";         // rain logger
inline constexpr std::string_view kMeterInstrument = "meter";       // current meter calibration

struct LocalTime {
    CivilDate date;
    TimeOfDay time;
};
// The computer's local date and time.
LocalTime localNow();
// "20261209-083015", the start of a kept download's name.
std::string nameStamp(const LocalTime& t);
// "09.12.2026 08:30:15".
std::string timeText(const LocalTime& t);

// One session with an instrument as it ended.
struct DownloadSession {
    std::string instrument;
    std::string port;
    LocalTime started;
    Bytes image;           // exactly as received (a modem download with the bytes before the image)
    bool complete = false; // the whole memory came
    std::string outcome;   // what the user was told
    // Settings read from the device or known to the screen at the time, name and value.
    std::vector<std::pair<std::string, std::string>> settings;
    ProtocolLog log;
};

struct KeptDownload {
    std::filesystem::path image;       // "<stamp>-<instrument>.bin"
    std::filesystem::path log;         // the same name with ".log"
    std::filesystem::path description; // with ".txt"
    std::string instrument;
    std::string port;
    std::string time;
    std::uintmax_t bytes = 0;
    bool complete = false;
    std::string outcome;
    std::vector<std::pair<std::string, std::string>> settings;
    // The last conversion of the image: the confirmed station number, the files written (those
    // in the station directory relative to it) and what the user was told. Each conversion also
    // adds a line to the history.
    std::string station;
    std::vector<std::string> files;
    std::string conversion;
    std::vector<std::string> history;

    // The value of a setting; empty when not kept.
    std::string setting(std::string_view name) const;
};

// Writes the image, its protocol log and its description into the kept-downloads folder of the
// station (created when missing), each whole or not at all. A name already taken within the same
// second gets "-2", "-3", ... Throws FileError.
KeptDownload keepDownload(const std::filesystem::path& stationDir, const DownloadSession& session);

// Adds a conversion of the kept image into `station` to its description and rewrites it.
void noteConversion(KeptDownload& kept, const LocalTime& when, std::string_view station,
                    std::vector<std::string> files, std::string_view outcome);

// The kept download of an image file, read from the description beside it; without one, what
// the file itself tells (its name and size). Nothing when the image does not exist.
std::optional<KeptDownload> readKeptDownload(const std::filesystem::path& image);
// The station's kept downloads, oldest first.
std::vector<KeptDownload> listKeptDownloads(const std::filesystem::path& stationDir);
// The space they take: images, logs and descriptions.
std::uintmax_t keptDownloadsSize(const std::vector<KeptDownload>& downloads);

// A path inside the station directory as written relative to it ("sagimlar/x.bin"); others as
// they are.
std::string stationRelative(const std::filesystem::path& path, const std::filesystem::path& stationDir);

} // namespace korvel
