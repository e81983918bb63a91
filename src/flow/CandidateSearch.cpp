#include "flow/CandidateSearch.h"

#include "core/FileIO.h"
#include "core/Paths.h"

namespace korvel {

namespace fs = std::filesystem;

std::vector<fs::path> listStationDirectories(const fs::path& dataRoot) {
    std::vector<fs::path> stations;
    for (const std::string& region : listDirectories(dataRoot))
        for (const std::string& basin : listDirectories(dataRoot / region))
            for (const std::string& station : listDirectories(dataRoot / region / basin))
                stations.push_back(dataRoot / region / basin / station);
    return stations;
}

StationYearsScan::StationYearsScan(fs::path stationDir) {
    years_.stationDir = std::move(stationDir);
    for (const std::string& name : listFiles(years_.stationDir, "*.HQ")) {
        if (tables_.entries.size() == HqTableSet::kMaxTables)
            break;
        const std::optional<Bytes> bytes = readFileBytes(years_.stationDir / name);
        if (bytes)
            bytesRead_ += bytes->size();
        tables_.entries.push_back(HqTableSlot{name, bytes ? parseHqTable(*bytes) : HqTable{}});
    }
    files_ = listFiles(years_.stationDir, "*.ard");
    if (!files_.empty())
        years_.lastFlowFile = files_.back();
}

std::string StationYearsScan::nextFile() const {
    return finished() ? std::string() : files_[next_];
}

void StationYearsScan::step() {
    if (finished())
        return;
    const fs::path file = years_.stationDir / files_[next_++];
    const std::optional<Bytes> bytes = readFileBytes(file);
    std::vector<DayRecord> records;
    if (bytes) {
        bytesRead_ += bytes->size();
        records = parseWaterYearFile(*bytes);
    }
    years_.addYear(file, scanWaterYear(records, tables_));
}

void StationYearsScan::run() {
    while (!finished())
        step();
}

StationYears scanStationYears(const fs::path& stationDir) {
    StationYearsScan scan(stationDir);
    scan.run();
    return scan.takeResult();
}

CandidateSearch::CandidateSearch(const fs::path& dataRoot, StationYears target, Locale locale)
    : target_(std::move(target)), locale_(std::move(locale)), stations_(listStationDirectories(dataRoot)) {
    startStation();
}

bool CandidateSearch::finished() const {
    return station_ >= stations_.size();
}

const fs::path& CandidateSearch::currentStation() const {
    static const fs::path none;
    return finished() ? none : stations_[station_];
}

std::string CandidateSearch::nextFile() const {
    return scan_ ? scan_->nextFile() : std::string();
}

void CandidateSearch::startStation() {
    scan_ = finished() ? nullptr : std::make_unique<StationYearsScan>(stations_[station_]);
}

void CandidateSearch::step() {
    if (finished())
        return;
    if (!scan_->finished()) {
        scan_->step();
        ++filesScanned_;
    }
    if (scan_->finished())
        finishStation();
}

void CandidateSearch::finishStation() {
    const StationYears& reference = scan_->result();
    // The target's own files were listed when it was loaded.
    std::error_code ec;
    if (target_.stationDir.empty() || !fs::equivalent(reference.stationDir, target_.stationDir, ec))
        incompleteFiles_.insert(incompleteFiles_.end(), reference.incompleteFiles.begin(),
                                reference.incompleteFiles.end());
    if (const auto fit = correlate(target_, reference); fit && isCorrelationCandidate(*fit))
        candidates_.push_back({candidateLine(*fit, reference, locale_), reference.stationDir, *fit});
    bytesOfFinishedStations_ += scan_->bytesRead();
    ++stationsScanned_;
    ++station_;
    startStation();
}

void CandidateSearch::run() {
    while (!finished())
        step();
}

std::uint64_t CandidateSearch::bytesRead() const {
    return bytesOfFinishedStations_ + (scan_ ? scan_->bytesRead() : 0);
}

CandidateSearch scanAllStations(const fs::path& dataRoot, const StationYears& target, const Locale& locale) {
    CandidateSearch search(dataRoot, target, locale);
    search.run();
    return search;
}

Table listTable(const std::vector<std::string>& lines) {
    Table table(static_cast<int>(lines.size()), 1, 0, 0);
    for (std::size_t i = 0; i < lines.size(); ++i)
        table.setCell(static_cast<int>(i), 0, lines[i]);
    return table;
}

Sheet correlationSheet(const StationYears& target, const std::vector<fs::path>& incompleteFiles,
                       const std::vector<Candidate>& candidates, const Paths& paths) {
    Sheet sheet;
    sheet.caption = std::string(kCorrelationCaption);
    sheet.setTable("targetYears", listTable(target.years));
    std::vector<std::string> incomplete;
    for (const fs::path& file : incompleteFiles)
        incomplete.push_back(incompleteYearLine(paths.toWindows(file)));
    sheet.setTable("incompleteYears", listTable(incomplete));
    std::vector<std::string> lines;
    std::vector<std::string> directories;
    for (const Candidate& candidate : candidates) {
        lines.push_back(candidate.line);
        directories.push_back(paths.toWindows(candidate.stationDir));
    }
    sheet.setTable("List4", listTable(lines));
    sheet.setTable("candidatePaths", listTable(directories));
    return sheet;
}

} // namespace korvel
