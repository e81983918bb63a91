#include "cli/CliContext.h"
#include "cli/StationArgument.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "flow/HqTableSheet.h"
#include "store/HqTable.h"

#include <memory>

namespace korvel {

void addHqCommands(CLI::App& app, const ActionSlot& slot) {
    auto* hq = app.add_subcommand("hq", "rating (HQ) tables");
    hq->require_subcommand(1);

    auto* show = hq->add_subcommand("show", "show a rating table as the rating table screen does");
    auto showFile = std::make_shared<std::string>();
    show->add_option("FILE", *showFile, "rating table file (*.HQ)")->required();
    show->callback([slot, showFile] {
        slot([showFile](CliContext& context) {
            const auto file = context.existingFile(*showFile);
            const auto bytes = readFileBytes(file);
            if (!bytes)
                throw CliError("cannot read " + file.string());
            if (bytes->size() != HqTable::kSize)
                throw CliError("not a rating table (size " + std::to_string(bytes->size()) +
                               ", not 5758): " + file.string());
            const StationRecord station = stationRecordOf(file.parent_path());
            context.printSheet(
                hqTableSheet(parseHqTable(*bytes), file.filename().string(), station, context.locale));
        });
    });

    auto* lookup =
        hq->add_subcommand("lookup", "the discharge of a level on a date, from the station's tables");
    struct LookupArgs {
        std::string dir, date, level;
    };
    auto args = std::make_shared<LookupArgs>();
    lookup->add_option("DIR", args->dir, "station directory")->required();
    lookup->add_option("DATE", args->date, "date (dd.mm.yyyy)")->required();
    lookup->add_option("LEVEL", args->level, "water level (mm)")->required();
    lookup->callback([slot, args] {
        slot([args](CliContext& context) {
            const auto dir = context.existingDirectory(args->dir);
            const OleDate date = parseDateArgument(args->date);
            const double level = parseNumberArgument(args->level, context.locale);
            const HqTableSet tables = loadHqTableSet(dir);
            const auto found = lookupDischarge(tables, date, level);
            if (context.json) {
                nlohmann::json result{{"discharge", nullptr}, {"hqKey", nullptr}};
                if (found) {
                    // The tables hold 32-bit values: show the value as stored, not its binary tail.
                    result["discharge"] = numericValue(generalNumber32(static_cast<float>(found->discharge)));
                    result["hqKey"] = found->hqKey;
                }
                context.printJson(result);
            } else {
                if (found)
                    context.printLine(context.locale.numberText32(static_cast<float>(found->discharge)) +
                                      " m3/s  (" + found->hqKey + ")");
                else if (findRatingPeriod(tables, date))
                    context.printLine("level " + args->level +
                                      (level < 0.0 || level > 1000.0
                                           ? " lies outside the rating table (0..1000)"
                                           : " lies outside the rated range of the table"));
                else
                    context.printLine("no table covers " + date.dateText());
            }
        });
    });
}

} // namespace korvel
