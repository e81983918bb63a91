#include "transfer/Korvel96Import.h"

#include "core/FileIO.h"
#include "core/Paths.h"

#include <system_error>

namespace korvel {

namespace fs = std::filesystem;

std::optional<fs::path> existingStationTexts(const fs::path& readingsFile) {
    const auto texts = stationTextsPathOf(readingsFile);
    if (!texts)
        return std::nullopt;
    const fs::path found = resolveCaseInsensitive(*texts);
    std::error_code ec;
    if (!fs::is_regular_file(found, ec))
        return std::nullopt;
    return found;
}

ImportOutcome importKorvel96File(const fs::path& readingsFile, std::string_view stationNumber,
                                 const fs::path& stationDir) {
    ImportOutcome outcome;
    outcome.fileName = readingsFile.filename().string();
    outcome.target = stationDir;
    std::error_code ec;
    if (!fs::is_regular_file(readingsFile, ec)) {
        outcome.skippedReason = kReasonUnreadable;
        return outcome;
    }
    if (!existingStationTexts(readingsFile)) {
        const auto texts = stationTextsPathOf(readingsFile);
        outcome.skippedReason = std::string(kReasonNoCompanion) +
                                (texts ? " (" + texts->filename().string() + ")" : std::string());
        return outcome;
    }
    try {
        const ReceivedConversionResult result =
            convertReceivedReadings(readingsFile, stationNumber, stationDir);
        if (!result.converted) {
            outcome.skippedReason = result.message;
            return outcome;
        }
        outcome.written = result.written.written;
        outcome.notes = result.skipped;
        if (result.written.dropped > 0)
            outcome.notes.push_back(std::to_string(result.written.dropped) + " gün yazılamadı");
    } catch (const FileError& e) {
        outcome.skippedReason = e.what();
    }
    return outcome;
}

} // namespace korvel
