#include "instruments/Reconversion.h"

#include "core/FileIO.h"
#include "store/RainYearFile.h"

#include <set>

namespace korvel {

namespace fs = std::filesystem;

namespace {

ReconversionImage readImage(const fs::path& file, std::string_view instrument, std::string_view notThis) {
    ReconversionImage r;
    r.kept = readKeptDownload(file);
    const auto bytes = readFileBytes(file, 4 * levellogger::kMemorySize);
    if (!r.kept || !bytes) {
        r.problem = "Ham veri dosyası okunamadı: " + file.string();
        return r;
    }
    r.image = *bytes;
    const std::string& kept = r.kept->instrument;
    const bool otherInstrument =
        !kept.empty() && kept != instrument && !(instrument == kLevelInstrument && kept == kModemInstrument);
    if (otherInstrument)
        r.problem = std::string(notThis) + ": " + file.filename().string();
    else if (kept != kModemInstrument && r.image.size() < levellogger::kMemorySize)
        r.problem = "Ham veri eksik: " + std::to_string(r.image.size()) + " bayt, " +
                    std::to_string(levellogger::kMemorySize) + " olmalı: " + file.filename().string();
    return r;
}

} // namespace

ReconversionImage levelImageForReconversion(const fs::path& file) {
    constexpr std::string_view kNotLevel = "Limnigraf ham verisi değil";
    ReconversionImage r = readImage(file, kLevelInstrument, kNotLevel);
    if (!r.ok())
        return r;
    if (r.kept->instrument == kModemInstrument) {
        AlignedModemImage aligned = alignModemDownload(r.image);
        if (!aligned.ok) {
            r.problem = std::string(kNotLevel) + ": " + file.filename().string();
            return r;
        }
        r.image = std::move(aligned.image);
        r.receivedEnd = aligned.receivedEnd;
        return r;
    }
    if (!readsAsLevelImage(r.image, kWholeImage))
        r.problem = std::string(kNotLevel) + ": " + file.filename().string();
    return r;
}

ReconversionImage rainImageForReconversion(const fs::path& file) {
    constexpr std::string_view kNotRain = "Pluviograf ham verisi değil";
    ReconversionImage r = readImage(file, kRainInstrument, kNotRain);
    if (!r.ok())
        return r;
    if (r.image.size() != levellogger::kMemorySize ||
        !isRingPosition(readRainDumpHeader(r.image).writePosition) || readsAsLevelImage(r.image, kWholeImage))
        r.problem = std::string(kNotRain) + ": " + file.filename().string();
    return r;
}

std::vector<std::string> levelConversionFiles(const LevelConversionResult& result, const fs::path& stationDir,
                                              std::string_view stationNumber) {
    std::set<int> years;
    for (const DayRecord& d : result.days)
        years.insert(waterYearOfDate(d.date));
    std::vector<std::string> files;
    for (const int year : years)
        files.push_back(waterYearFileName(year, stationNumber));
    for (const fs::path& p : {result.stationCopy, result.readingsFile, result.textsFile})
        if (!p.empty())
            files.push_back(stationRelative(p, stationDir));
    return files;
}

std::vector<std::string> rainConversionFiles(const RainConversionResult& result,
                                             std::string_view stationNumber) {
    std::set<int> years;
    for (const OleDate d : result.written.writtenDays)
        years.insert(waterYearOfDate(d));
    std::vector<std::string> files;
    for (const int year : years)
        files.push_back(rainYearFileName(year, stationNumber));
    return files;
}

void describeDownload(DownloadSession& session, const DownloadOutcome& outcome) {
    session.image = outcome.ok ? outcome.image : outcome.partial;
    session.complete = outcome.ok;
    session.outcome = outcome.ok ? std::string(kDownloadDone) : outcome.message;
}

void describeDownload(DownloadSession& session, const ModemDownload& outcome) {
    session.image = outcome.received;
    session.complete = outcome.ok && outcome.complete();
    session.outcome = !outcome.ok          ? outcome.message
                      : outcome.complete() ? std::string(kDownloadDone)
                                           : std::string(kIncompleteDownload);
}

std::vector<std::pair<std::string, std::string>> levelImageSettings(const Bytes& image) {
    if (image.size() < leveldump::kParameters + leveldump::kParameterCount)
        return {};
    const LevelDumpHeader h = readLevelDumpHeader(image);
    return {{"stationName", h.stationName},
            {"riverName", h.riverName},
            {"stationNumber", h.stationNumber},
            {"intervalMinutes", std::to_string(h.intervalMinutes())},
            {"levelUnitCode", std::to_string(h.levelUnitCode())},
            {"writePosition", std::to_string(h.writePosition())}};
}

std::vector<std::pair<std::string, std::string>> rainImageSettings(const Bytes& image, int bucketFactor) {
    std::vector<std::pair<std::string, std::string>> settings;
    if (image.size() >= raindump::kWritePosition + 1) {
        const RainDumpHeader h = readRainDumpHeader(image);
        settings = {{"stationName", h.stationName},
                    {"regionName", h.regionName},
                    {"stationNumber", h.stationNumber},
                    {"writePosition", std::to_string(h.writePosition)}};
    }
    settings.emplace_back("bucketFactor", std::to_string(bucketFactor));
    return settings;
}

} // namespace korvel
