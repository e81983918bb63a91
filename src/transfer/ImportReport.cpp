#include "transfer/ImportReport.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/StationFiles.h"

namespace korvel {

void ImportReport::add(const ImportOutcome& outcome) {
    if (outcome.skippedReason) {
        skip(outcome.fileName, *outcome.skippedReason);
        return;
    }
    ++converted_;
    for (const std::string& reason : outcome.notes)
        note(outcome.fileName, reason);
}

void ImportReport::skip(const std::string& fileName, const std::string& reason) {
    lines_.push_back({fileName, reason, true});
}

void ImportReport::note(const std::string& fileName, const std::string& reason) {
    lines_.push_back({fileName, reason, false});
}

std::vector<std::string> ImportReport::texts() const {
    std::vector<std::string> out;
    out.reserve(lines_.size());
    for (const ImportLine& line : lines_)
        out.push_back(line.text());
    return out;
}

void ImportReport::clear() {
    lines_.clear();
    converted_ = 0;
}

std::optional<ImportSource> openImportSource(const std::filesystem::path& file,
                                             std::string_view stationNumber, ImportOutcome& outcome) {
    ImportSource source;
    source.stationNumber = trimmed(stationNumber);
    if (source.stationNumber.empty()) {
        outcome.skippedReason = kReasonNoStationNumber;
        return std::nullopt;
    }
    if (const auto problem = stationNumberProblem(source.stationNumber)) {
        outcome.skippedReason = *problem;
        return std::nullopt;
    }
    auto bytes = readFileBytes(file);
    if (!bytes) {
        outcome.skippedReason = kReasonUnreadable;
        return std::nullopt;
    }
    source.bytes = std::move(*bytes);
    return source;
}

std::string writeFailureReason(const std::exception& error) {
    return std::string("yazılamadı: ") + error.what();
}

} // namespace korvel
