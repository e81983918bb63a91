#include "cli/CliContext.h"
#include "cli/StationArgument.h"
#include "transfer/Korvel96Import.h"
#include "transfer/StationDestination.h"
#include "transfer/SuvakImport.h"

#include <memory>

namespace korvel {

namespace {

// One imported file: where it went and how many records, its notes; a skipped file is an error.
void reportImport(const CliContext& context, const ImportOutcome& outcome) {
    if (outcome.skipped())
        throw CliError(outcome.fileName + ": " + *outcome.skippedReason);
    if (context.json) {
        context.printJson({{"file", outcome.fileName},
                           {"target", outcome.target.string()},
                           {"written", outcome.written},
                           {"notes", outcome.notes}});
        return;
    }
    context.printLine(outcome.fileName + " -> " + outcome.target.string() + " (" +
                      std::to_string(outcome.written) + ")");
    for (const std::string& note : outcome.notes)
        context.printLine(outcome.fileName + ": " + note);
}

} // namespace

void addImportCommands(CLI::App& app, const ActionSlot& slot) {
    auto* import = app.add_subcommand("import", "data of the older programs");
    import->require_subcommand(1);

    auto* suvak = import->add_subcommand(
        "suvak",
        "take a sibling-program file (o*.**o levels, e*.dat HQ, K*.DAT measurements) into a station");
    auto file = std::make_shared<std::string>();
    auto dir = std::make_shared<std::string>();
    suvak->add_option("FILE", *file, "sibling-program file")->required();
    suvak->add_option("DIR", *dir, "station directory")->required();
    suvak->callback([slot, file, dir] {
        slot([file, dir](CliContext& context) {
            const auto source = context.existingFile(*file);
            const auto stationDir = context.existingDirectory(*dir);
            if (!isStationDirectory(stationDir, context.paths))
                throw CliError(std::string(kSelectionRefusal) + ": " + stationDir.string());
            if (!suvakFileKind(source.filename().string()))
                throw CliError("not a sibling-program file (o*.**o, e*.dat, K*.DAT): " + source.string());
            const ImportOutcome outcome =
                importSuvakFile(source, stationDir, stationNumberOf(stationDir), context.locale);
            reportImport(context, outcome);
        });
    });

    auto* korvel96 = import->add_subcommand(
        "korvel96", "take an older-program download file (*.-*, with its .m* texts file) into a station");
    auto readings = std::make_shared<std::string>();
    auto destination = std::make_shared<std::string>();
    auto number = std::make_shared<std::string>();
    korvel96->add_option("FILE", *readings, "day-readings file, its station-texts file beside it")
        ->required();
    korvel96->add_option("DIR", *destination, "station directory")->required();
    korvel96->add_option("--number", *number, "the confirmed station number")->required();
    korvel96->callback([slot, readings, destination, number] {
        slot([readings, destination, number](CliContext& context) {
            const auto source = context.existingFile(*readings);
            const auto stationDir = context.existingDirectory(*destination);
            if (!isStationDirectory(stationDir, context.paths))
                throw CliError(std::string(kSelectionRefusal) + ": " + stationDir.string());
            const ImportOutcome outcome = importKorvel96File(source, *number, stationDir);
            reportImport(context, outcome);
        });
    });
}

} // namespace korvel
