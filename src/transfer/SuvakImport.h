#pragma once

#include "core/Locale.h"
#include "transfer/ImportReport.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The three kinds of sibling-program files, by the patterns of their file lists.
enum class SuvakFileKind { Hq, Levels, Measurements };

// The patterns of the three file lists, matched without case.
inline constexpr std::string_view kSuvakHqPattern = "e*.dat";
inline constexpr std::string_view kSuvakLevelPattern = "o*.**o";
inline constexpr std::string_view kSuvakMeasurementPattern = "K*.DAT";

// The kind a file name's pattern gives ("e*.dat", "o*.**o", "K*.DAT", without case).
std::optional<SuvakFileKind> suvakFileKind(std::string_view fileName);

// Takes a measurement list ("K*.DAT") into the station's card (importMeasurementRecords); lines
// refused by the card's conversion become notes. A file shorter than one line or not text is
// skipped with its reason.
ImportOutcome importSuvakMeasurements(const std::filesystem::path& file,
                                      const std::filesystem::path& stationDir,
                                      std::string_view stationNumber);

// One file taken as the given kind (the list it was picked from).
ImportOutcome importSuvakFileAs(SuvakFileKind kind, const std::filesystem::path& file,
                                const std::filesystem::path& stationDir, std::string_view stationNumber,
                                const Locale& locale);

// One file of the kind its name gives; a name of none of the kinds is skipped.
ImportOutcome importSuvakFile(const std::filesystem::path& file, const std::filesystem::path& stationDir,
                              std::string_view stationNumber, const Locale& locale);

// The files of a source directory as the import screen lists them.
struct SuvakSourceFiles {
    std::vector<std::string> hq;           // "e*.dat"
    std::vector<std::string> levels;       // "o*.**o"
    std::vector<std::string> measurements; // "K*.DAT"
};
SuvakSourceFiles listSuvakFiles(const std::filesystem::path& sourceDir);

// Every listed file of the source directory: the HQ files, then the level files, then the
// measurement files.
ImportReport importAllSuvak(const std::filesystem::path& sourceDir, const std::filesystem::path& stationDir,
                            std::string_view stationNumber, const Locale& locale);

} // namespace korvel
