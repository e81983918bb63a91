#include "transfer/ImportReport.h"

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

} // namespace korvel
