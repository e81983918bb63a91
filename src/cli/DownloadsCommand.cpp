#include "cli/CliContext.h"
#include "core/FileIO.h"
#include "instruments/KeptDownloads.h"

#include <memory>

namespace korvel {

void addDownloadsCommand(CLI::App& app, const ActionSlot& slot) {
    auto dir = std::make_shared<std::string>();
    auto* command = app.add_subcommand("downloads", "list the downloads kept in a station directory");
    command->add_option("DIR", *dir, "station directory")->required();
    command->callback([slot, dir] {
        slot([dir](CliContext& context) {
            const std::filesystem::path stationDir = context.existingDirectory(*dir);
            const std::vector<KeptDownload> kept = listKeptDownloads(stationDir);
            if (context.json) {
                nlohmann::json list = nlohmann::json::array();
                for (const KeptDownload& k : kept)
                    list.push_back(
                        {{"image", stationRelative(k.image, stationDir)},
                         {"log", fileExists(k.log) ? nlohmann::json(stationRelative(k.log, stationDir))
                                                   : nlohmann::json()},
                         {"instrument", k.instrument},
                         {"time", k.time},
                         {"bytes", k.bytes},
                         {"complete", k.complete},
                         {"station", k.station},
                         {"files", k.files}});
                context.printJson({{"downloads", list}});
                return;
            }
            for (const KeptDownload& k : kept)
                context.printLine(k.time + "\t" + k.instrument + "\t" + std::to_string(k.bytes) + "\t" +
                                  (k.complete ? "tam" : "eksik") + "\t" + k.station + "\t" +
                                  stationRelative(k.image, stationDir) + "\t" +
                                  (fileExists(k.log) ? stationRelative(k.log, stationDir) : "-"));
            context.printLine("toplam: " + std::to_string(kept.size()) + " sağım, " +
                              std::to_string(keptDownloadsSize(kept)) + " bayt");
        });
    });
}

} // namespace korvel
