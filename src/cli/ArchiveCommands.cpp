#include "cli/CliContext.h"
#include "transfer/StationDestination.h"
#include "transfer/ZipArchive.h"

#include <memory>

namespace korvel {

void addArchiveCommands(CLI::App& app, const ActionSlot& slot) {
    auto* archive = app.add_subcommand("archive", "zip archives of station files");
    archive->require_subcommand(1);

    auto* pack = archive->add_subcommand("pack", "compress one station file into ZIPDIR/<name>.zip");
    auto file = std::make_shared<std::string>();
    auto zipDir = std::make_shared<std::string>();
    pack->add_option("FILE", *file, "station file")->required();
    pack->add_option("ZIPDIR", *zipDir, "exchange directory (at a drive root: its korvelzip directory)")
        ->required();
    pack->callback([slot, file, zipDir] {
        slot([file, zipDir](CliContext& context) {
            const auto source = context.existingFile(*file);
            const auto exchange = context.existingDirectory(*zipDir);
            try {
                const auto dir =
                    packingDirectory(exchange, context.paths, isDriveRoot(exchange, context.paths));
                const auto written = packFile(source, dir);
                if (context.json)
                    context.printJson({{"archive", written.string()}});
                else
                    context.printLine(written.string());
            } catch (const ArchiveError& e) {
                throw CliError(e.what());
            }
        });
    });

    auto* unpack = archive->add_subcommand("unpack", "extract an archive's file into a station directory");
    auto zip = std::make_shared<std::string>();
    auto stationDir = std::make_shared<std::string>();
    unpack->add_option("ZIP", *zip, "archive named <file>.zip")->required();
    unpack->add_option("STATIONDIR", *stationDir, "station directory")->required();
    unpack->callback([slot, zip, stationDir] {
        slot([zip, stationDir](CliContext& context) {
            const auto source = context.existingFile(*zip);
            const auto dir = context.existingDirectory(*stationDir);
            if (!isStationDirectory(dir, context.paths))
                throw CliError(std::string(kSelectionRefusal) + ": " + dir.string());
            try {
                const auto restored = unpackArchive(source, dir);
                if (context.json)
                    context.printJson({{"file", restored.string()}});
                else
                    context.printLine(restored.string());
            } catch (const ArchiveError& e) {
                throw CliError(e.what());
            }
        });
    });
}

} // namespace korvel
