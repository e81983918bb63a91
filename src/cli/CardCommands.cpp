#include "cli/CliContext.h"
#include "cli/StationArgument.h"
#include "core/FileIO.h"
#include "core/Paths.h"
#include "flow/MeasurementCardSheet.h"

#include <memory>

namespace korvel {

void addCardCommands(CLI::App& app, const ActionSlot& slot) {
    auto* card = app.add_subcommand("card", "discharge measurement cards");
    card->require_subcommand(1);

    auto* show = card->add_subcommand("show", "show the measurement card of a station");
    auto dir = std::make_shared<std::string>();
    show->add_option("DIR", *dir, "station directory")->required();
    show->callback([slot, dir] {
        slot([dir](CliContext& context) {
            const auto stationDir = context.existingDirectory(*dir);
            const auto path = measurementCardPathOf(stationDir);
            std::vector<MeasurementCard> records;
            if (fileExists(path))
                records = parseMeasurementCardFile(context.recordFile(
                    path, kMeasurementCardRecordSize, kMeasurementCardSizeLimit, "measurement card"));
            context.printSheet(measurementCardSheet(records, context.locale));
        });
    });

    auto* import = card->add_subcommand("import", "take a sibling-program measurement list into the card");
    auto importArgs = std::make_shared<std::pair<std::string, std::string>>();
    import->add_option("FILE", importArgs->first, "measurement list (K*.DAT)")->required();
    import->add_option("DIR", importArgs->second, "station directory of the card")->required();
    import->callback([slot, importArgs] {
        slot([importArgs](CliContext& context) {
            const auto source = context.existingFile(importArgs->first);
    const auto stationDir = context.existingDirectory(importArgs->second);
    const MeasurementImportResult result =
        importMeasurementRecords(source, stationDir, stationNumberOf(stationDir));
    if (context.json) {
        nlohmann::json refused = nlohmann::json::array();
        for (const auto& line : result.refused)
            refused.push_back({{"line", line.lineNumber}, {"message", line.message}});
        context.printJson(
            {{"card", result.cardPath.string()}, {"imported", result.imported}, {"refused", refused}});
        return;
    }
    context.printLine(result.cardPath.string() + ": " + std::to_string(result.imported) +
                      " measurements imported");
    for (const auto& line : result.refused)
        context.printLine("line " + std::to_string(line.lineNumber) + " left out: " + line.message);
});
} // namespace korvel
);
}

} // namespace korvel
