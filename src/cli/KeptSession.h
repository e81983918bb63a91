#pragma once

#include "cli/CliContext.h"
#include "instruments/KeptDownloads.h"
#include "instruments/RecordingLink.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace korvel {

// Keeps a session in the station's kept-downloads folder. A folder that cannot be written does
// not undo the download: the command goes on and says so on standard error.
std::optional<KeptDownload> keepSession(const CliContext& context, const std::filesystem::path& stationDir,
                                        const DownloadSession& session);

// Notes a conversion in the description of a kept download (when there is one).
void noteKeptConversion(const CliContext& context, std::optional<KeptDownload>& kept,
                        std::string_view station, std::vector<std::string> files, std::string_view outcome);

// Runs `job` on the exchange with the session recorded: its result, and the session (instrument,
// port, the local time it began, the log) to fill in and keep.
template <typename Job>
auto recordedSession(Exchange& exchange, std::string_view instrument, std::string_view port, Job&& job) {
    DownloadSession session;
    session.instrument = std::string(instrument);
    session.port = std::string(port);
    session.started = localNow();
    auto recorded = recordSession(exchange, std::forward<Job>(job));
    session.log = std::move(recorded.log);
    return std::make_pair(std::move(recorded.result), std::move(session));
}

} // namespace korvel
