#pragma once

#include "core/ByteIO.h"
#include "instruments/KeptDownloads.h"
#include "instruments/LevelConversion.h"
#include "instruments/LevelLogger.h"
#include "instruments/ModemTerminal.h"
#include "instruments/RainLogger.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvel {

// A kept image on its way to be converted again, or why it cannot be.
struct ReconversionImage {
    std::string problem; // one line; empty when the image can be converted
    Bytes image;         // the memory image
    std::size_t receivedEnd = kWholeImage;
    std::optional<KeptDownload> kept;
    bool ok() const { return problem.empty(); }
};

// A water-level logger image: 32768 bytes that read as a logger memory, or a modem download
// that aligns into one. A shorter image, a rain logger's, or anything else is refused.
ReconversionImage levelImageForReconversion(const std::filesystem::path& file);
// A rain logger image: 32768 bytes with a write position in the ring that do not read as a
// water-level logger's memory.
ReconversionImage rainImageForReconversion(const std::filesystem::path& file);

// The files a conversion wrote: those in the station directory relative to it, others whole.
std::vector<std::string> levelConversionFiles(const LevelConversionResult& result,
                                              const std::filesystem::path& stationDir,
                                              std::string_view stationNumber);
std::vector<std::string> rainConversionFiles(const RainConversionResult& result,
                                             std::string_view stationNumber);

// A download's image (what came of one that failed), whether it is whole and what the user was
// told, into the session to keep. A modem download is kept as its bytes came.
void describeDownload(DownloadSession& session, const DownloadOutcome& outcome);
void describeDownload(DownloadSession& session, const ModemDownload& outcome);

// What an image tells of the device's settings, for the description of a kept download.
std::vector<std::pair<std::string, std::string>> levelImageSettings(const Bytes& image);
std::vector<std::pair<std::string, std::string>> rainImageSettings(const Bytes& image, int bucketFactor);

} // namespace korvel
