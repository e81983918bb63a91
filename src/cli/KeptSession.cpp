#include "cli/KeptSession.h"

#include "core/FileIO.h"

namespace korvel {

std::optional<KeptDownload> keepSession(const CliContext& context, const std::filesystem::path& stationDir,
                                        const DownloadSession& session) {
    try {
        return keepDownload(stationDir, session);
    } catch (const FileError& e) {
        if (context.err)
            *context.err << "korvel: the download was not kept: " << e.what() << "\n";
        return std::nullopt;
    }
}

void noteKeptConversion(const CliContext& context, std::optional<KeptDownload>& kept,
                        std::string_view station, std::vector<std::string> files, std::string_view outcome) {
    if (!kept || !fileExists(kept->description))
        return;
    try {
        noteConversion(*kept, localNow(), station, std::move(files), outcome);
    } catch (const FileError& e) {
        if (context.err)
            *context.err << "korvel: the conversion was not noted: " << e.what() << "\n";
    }
}

} // namespace korvel
