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
            auto path =
                resolveCaseInsensitive(stationDir / measurementCardFileName(stationNumberOf(stationDir)));
            if (!fileExists(path)) {
                // A card saved under another number still belongs to the station's directory.
                const auto cards = listFiles(stationDir, "*.olc");
                if (cards.size() == 1)
                    path = stationDir / cards.front();
            }
            std::vector<MeasurementCard> records;
            if (const auto bytes = readFileBytes(path)) {
                if (bytes->size() % kMeasurementCardRecordSize != 0)
                    throw CliError("not a measurement card (size " + std::to_string(bytes->size()) +
                                   " is no multiple of 170): " + path.string());
                records = parseMeasurementCardFile(*bytes);
            }
            context.printSheet(measurementCardSheet(records, context.locale));
        });
    });
}

} // namespace korvel
