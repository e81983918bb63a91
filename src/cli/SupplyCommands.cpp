#include "cli/CliContext.h"
#include "cli/StationArgument.h"
#include "core/Paths.h"
#include "flow/WaterSupply.h"

#include <memory>

namespace korvel {

namespace {

// The "table" group may be registered by another command file; the supply table joins it.
CLI::App* tableGroup(CLI::App& app) {
    const auto found = app.get_subcommands([](CLI::App* sub) { return sub->get_name() == "table"; });
    if (!found.empty())
        return found.front();
    auto* table = app.add_subcommand("table", "flow tables");
    table->require_subcommand(1);
    return table;
}

} // namespace

void addSupplyCommands(CLI::App& app, const ActionSlot& slot) {
    auto* supply = tableGroup(app)->add_subcommand(
        "supply", "water supply table of a station: the given flow files, or all of them in list order");
    struct Arguments {
        std::string dir;
        std::vector<std::string> files;
    };
    auto args = std::make_shared<Arguments>();
    supply->add_option("DIR", args->dir, "station directory")->required();
    supply->add_option("FILE", args->files, "flow files (*.ard) of the station, in the order to list them");
    supply->callback([slot, args] {
        slot([args](CliContext& context) {
            const auto dir = context.existingDirectory(args->dir);
            std::vector<std::filesystem::path> files;
            if (args->files.empty()) {
                for (const std::string& name : listFiles(dir, "*.ard"))
                    files.push_back(dir / name);
            } else {
                for (const std::string& file : args->files) {
                    const auto inDir = resolveCaseInsensitive(dir / file);
                    files.push_back(std::filesystem::is_regular_file(inDir) ? inDir
                                                                            : context.existingFile(file));
                }
            }
            const HqTableSet tables = loadHqTableSet(dir);
            WaterSupplyTable table(context.locale);
            for (const auto& file : files) {
                const auto records = readWaterYearFile(file);
                if (records.empty())
                    throw CliError("cannot read the flow file " + file.string());
                table.addYear(file.filename().string(), records, tables);
            }
            context.printSheet(waterSupplySheet(table, stationRecordOf(dir), context.locale));
        });
    });
}

} // namespace korvel
