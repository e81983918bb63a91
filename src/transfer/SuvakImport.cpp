#include "transfer/SuvakImport.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Paths.h"
#include "store/MeasurementCard.h"
#include "transfer/SuvakFields.h"
#include "transfer/SuvakHq.h"
#include "transfer/SuvakLevels.h"

namespace korvel {

namespace fs = std::filesystem;

std::optional<SuvakFileKind> suvakFileKind(std::string_view fileName) {
    if (matchesPattern(fileName, kSuvakHqPattern))
        return SuvakFileKind::Hq;
    if (matchesPattern(fileName, kSuvakLevelPattern))
        return SuvakFileKind::Levels;
    if (matchesPattern(fileName, kSuvakMeasurementPattern))
        return SuvakFileKind::Measurements;
    return std::nullopt;
}

ImportOutcome importSuvakMeasurements(const fs::path& file, const fs::path& stationDir,
                                      std::string_view stationNumber) {
    ImportOutcome outcome;
    outcome.fileName = file.filename().string();
    if (!matchesPattern(outcome.fileName, kSuvakMeasurementPattern)) {
        outcome.skippedReason = kReasonBadName;
        return outcome;
    }
    const auto source = openImportSource(file, stationNumber, outcome);
    if (!source)
        return outcome;
    const Bytes& bytes = source->bytes;
    if (!isSuvakText(bytes)) {
        outcome.skippedReason = kReasonNotText;
        return outcome;
    }
    if (bytes.size() < kSuvakMeasurementLineSize) {
        outcome.skippedReason = kReasonTooShort;
        return outcome;
    }
    try {
        const MeasurementImportResult result =
            importMeasurementRecords(bytes, stationDir, source->stationNumber);
        outcome.target = result.cardPath;
        outcome.written = result.imported;
        for (const MeasurementLineRefusal& refusal : result.refused)
            outcome.notes.push_back("satır " + std::to_string(refusal.lineNumber) + ": " + refusal.message);
    } catch (const FileError& e) {
        outcome.skippedReason = writeFailureReason(e);
    }
    return outcome;
}

ImportOutcome importSuvakFileAs(SuvakFileKind kind, const fs::path& file, const fs::path& stationDir,
                                std::string_view stationNumber, const Locale& locale) {
    switch (kind) {
    case SuvakFileKind::Hq:
        return importSuvakHq(file, stationDir, stationNumber, locale);
    case SuvakFileKind::Measurements:
        return importSuvakMeasurements(file, stationDir, stationNumber);
    case SuvakFileKind::Levels:
        break;
    }
    return importSuvakLevels(file, stationDir, stationNumber);
}

ImportOutcome importSuvakFile(const fs::path& file, const fs::path& stationDir,
                              std::string_view stationNumber, const Locale& locale) {
    // A name of no kind goes to the level import, which refuses it by its name.
    const auto kind = suvakFileKind(file.filename().string()).value_or(SuvakFileKind::Levels);
    return importSuvakFileAs(kind, file, stationDir, stationNumber, locale);
}

SuvakSourceFiles listSuvakFiles(const fs::path& sourceDir) {
    return {listFiles(sourceDir, kSuvakHqPattern), listFiles(sourceDir, kSuvakLevelPattern),
            listFiles(sourceDir, kSuvakMeasurementPattern)};
}

ImportReport importAllSuvak(const fs::path& sourceDir, const fs::path& stationDir,
                            std::string_view stationNumber, const Locale& locale) {
    ImportReport report;
    const SuvakSourceFiles files = listSuvakFiles(sourceDir);
    for (const std::string& name : files.hq)
        report.add(importSuvakHq(sourceDir / name, stationDir, stationNumber, locale));
    for (const std::string& name : files.levels)
        report.add(importSuvakLevels(sourceDir / name, stationDir, stationNumber));
    for (const std::string& name : files.measurements)
        report.add(importSuvakMeasurements(sourceDir / name, stationDir, stationNumber));
    return report;
}

} // namespace korvel
