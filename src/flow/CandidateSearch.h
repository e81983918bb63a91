#pragma once

#include "core/Locale.h"
#include "core/Paths.h"
#include "core/Sheet.h"
#include "flow/Correlation.h"
#include "store/HqTable.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace korvel {

// The station directories under the data root: region, basin and station directories in
// the order the directory lists show them. There is no limit on their number.
std::vector<std::filesystem::path> listStationDirectories(const std::filesystem::path& dataRoot);

// One station's flow files scanned one at a time, so that a screen can show each file and
// stay responsive: the rating tables are loaded once when the scan starts, each file is
// read once.
class StationYearsScan {
public:
    explicit StationYearsScan(std::filesystem::path stationDir);

    bool finished() const { return next_ >= files_.size(); }
    // The name of the file the next step reads; empty when finished.
    std::string nextFile() const;
    void step();
    void run();

    const StationYears& result() const { return years_; }
    StationYears takeResult() { return std::move(years_); }
    std::uint64_t bytesRead() const { return bytesRead_; }

private:
    StationYears years_;
    HqTableSet tables_;
    std::vector<std::string> files_;
    std::size_t next_ = 0;
    std::uint64_t bytesRead_ = 0;
};

// Scans every flow file of a station directory at once.
StationYears scanStationYears(const std::filesystem::path& stationDir);

// A station that correlates with the target: its candidate line and directory.
struct Candidate {
    std::string line;
    std::filesystem::path stationDir;
    CorrelationFit fit;
};

// The search of every station under the data root for references of the target, a flow file
// at a time. Each station's years are correlated with the target's when its last file has
// been read; those within the candidate bounds are listed. The incomplete files found are
// those of the other stations: the target's own are in the target's years.
class CandidateSearch {
public:
    CandidateSearch(const std::filesystem::path& dataRoot, StationYears target, Locale locale);

    bool finished() const;
    // Where the next step reads: the station directory and the flow file name (empty when the
    // station has no flow file).
    const std::filesystem::path& currentStation() const;
    std::string nextFile() const;
    void step();
    void run();

    const std::vector<Candidate>& candidates() const { return candidates_; }
    const std::vector<std::filesystem::path>& incompleteFiles() const { return incompleteFiles_; }
    std::size_t stationsScanned() const { return stationsScanned_; }
    std::size_t stationCount() const { return stations_.size(); }
    std::size_t filesScanned() const { return filesScanned_; }
    std::uint64_t bytesRead() const;

private:
    void finishStation();
    void startStation();

    StationYears target_;
    Locale locale_;
    std::vector<std::filesystem::path> stations_;
    std::size_t station_ = 0;
    std::unique_ptr<StationYearsScan> scan_;
    std::vector<Candidate> candidates_;
    std::vector<std::filesystem::path> incompleteFiles_;
    std::size_t stationsScanned_ = 0;
    std::size_t filesScanned_ = 0;
    std::uint64_t bytesOfFinishedStations_ = 0;
};

// The whole search at once.
CandidateSearch scanAllStations(const std::filesystem::path& dataRoot, const StationYears& target,
                                const Locale& locale);

// The correlation screen's lists as a sheet: the target's complete years ("targetYears"), the
// incomplete files found ("incompleteYears"), the candidate lines ("List4") and their station
// directories ("candidatePaths"), paths in the form stored in files; each list a one-column
// table.
inline constexpr std::string_view kCorrelationCaption =
    "Olçümü yapılmamış  istasyonu , ölçümü yapılmış başka istasyonla korele eder";
Sheet correlationSheet(const StationYears& target, const std::vector<std::filesystem::path>& incompleteFiles,
                       const std::vector<Candidate>& candidates, const Paths& paths);
Table listTable(const std::vector<std::string>& lines);

} // namespace korvel
