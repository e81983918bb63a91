#pragma once

#include "core/ByteIO.h"
#include "core/StationFiles.h"
#include "instruments/LevelDump.h"
#include "store/WaterYearFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The tag of the days a logger download writes.
inline constexpr std::string_view kLoggerSource = "L  korvelmaş";
// No block found: neither the marker nor a block date.
inline constexpr std::string_view kNoRecordedDate = "KAYITLI TARIH BULUNAMADI";

// "the download stayed incomplete": fewer bytes came than the memory holds.
inline constexpr std::string_view kIncompleteDownload = "Sağım eksik kaldı";
// What the user is told after converting a cut-off download: the days written and the days that
// did not come, e.g. "Sağım eksik kaldı: 39 gün yazıldı, 12 gün alınamadı".
std::string incompleteDownloadMessage(std::size_t daysWritten, int missingDays);

// The confirmation of the station number before a conversion: the prompt, and the window title
// that the logger's own station number follows.
inline constexpr std::string_view kConfirmStationPrompt =
    "Su   Yıllığa    kayıt   için   şu  an  Aktif  İstasyon  numarasını  onaylıyormusunuz";
inline constexpr std::string_view kConfirmStationTitle = "Limnigraftaki istasyon numarası  ";

// The raw dump of the last download, "c:\korvel96\hamdata.96".
inline constexpr std::string_view kLevelDumpName = "hamdata.96";
std::filesystem::path levelDumpPath(const std::filesystem::path& korvel96Root);
// Writes the image through a temporary file, so that an old dump is replaced whole or not at
// all; the directory is created when missing. Throws FileError.
void writeRawLoggerDump(const std::filesystem::path& file, const Bytes& image);

// The day blocks of a logger memory image turned into day records and the bytes of the two side
// files, without touching a file.
struct DecodedLevelDump {
    bool found = false; // false: no first block (kNoRecordedDate)
    LevelDumpHeader header;
    std::vector<DayRecord> days;
    std::string readingsFileName; // DayReadingsFile
    std::string textsFileName;    // StationTextsFile
    Bytes readingsFile;
    Bytes textsFile;
    // The last day stopped at the logger's write position and was read from the readings present.
    bool lastDayInProgress = false;
    // Day blocks with bytes beyond the end of a cut-off download: not converted.
    int missingDays = 0;
};

// The first image position a download did not reach; kWholeImage when all 32768 bytes came.
inline constexpr std::size_t kWholeImage = levellogger::kMemorySize + 1;

// The position of the first day block: after the marker when it stands at ringStart, else found by
// the date search from the write position. Nothing when neither finds one. Positions from
// `receivedEnd` on were never received and match nothing.
std::optional<std::size_t> firstBlockPosition(const Bytes& dump, const LevelDumpHeader& header,
                                              std::size_t receivedEnd = kWholeImage);

// `stationNumber` is the number the user confirmed (cut or padded to 8 characters for the texts
// file). The image must be 32768 bytes; a shorter one reads as if padded with zeros. The blocks
// are read up to the write position, as the logger wrote them; a block that reaches a position
// from `receivedEnd` on (the filler of a cut-off download) is skipped whole and counted as missing.
DecodedLevelDump decodeLevelDump(const Bytes& dump, std::string_view stationNumber,
                                 std::size_t receivedEnd = kWholeImage);

// Where a conversion writes: the station directory of the current station (water-year files and
// the copy of the day-readings file) and the older program's directory "c:\korvel96" (side files
// under "istasyon\<station number>\").
struct LevelConversionTarget {
    std::filesystem::path stationDir;
    std::filesystem::path korvel96Root;
};

struct LevelConversionResult {
    bool converted = false;
    std::string message; // why nothing was converted
    std::vector<DayRecord> days;
    WrittenDays written;
    std::filesystem::path readingsFile; // in the side-file directory
    std::filesystem::path textsFile;
    std::filesystem::path stationCopy; // the day-readings file copied into the station directory
    bool lastDayInProgress = false;
    int missingDays = 0; // day blocks a cut-off download did not bring
};

// Converts a memory image into day records of the station's water-year files (first-write rule)
// and the two side files. Refuses an image that is not 32768 bytes and a station number that
// cannot name a file; writes nothing when no block is found. Throws FileError when a file cannot
// be written. `receivedEnd` is as for decodeLevelDump.
LevelConversionResult convertLevelDump(const Bytes& dump, std::string_view stationNumber,
                                       const LevelConversionTarget& target,
                                       std::size_t receivedEnd = kWholeImage);

// The side-file directory of a station: "c:\korvel96\istasyon\" + the trimmed station number.
std::filesystem::path sideFileDirectory(const std::filesystem::path& korvel96Root,
                                        std::string_view stationNumber);

} // namespace korvel
