#include "cli/CliContext.h"
#include "core/Cp1254.h"
#include "rain/BasinTables.h"

#include <memory>

namespace korvel {

namespace {

struct BasinArguments {
    std::string table;
    std::string flow;
    std::vector<std::string> rain;
};

Sheet basinSheet(int table, const BasinInputs& inputs, const Locale& locale) {
    switch (table) {
    case 1:
        return basinRainSheet(inputs, locale);
    case 2:
        return basinDailySheet(inputs, locale);
    case 3:
        return basinRunoffSheet(inputs, locale);
    default:
        return rainyDaySheet(inputs, locale);
    }
}

} // namespace

void addBasinCommands(CLI::App& app, const ActionSlot& slot) {
    auto* basin = app.add_subcommand("basin", "basin tables of three rain gauges and one flow gauge");
    auto args = std::make_shared<BasinArguments>();
    basin
        ->add_option("TABLE", args->table,
                     "1 basin rainfall, 2 daily rainfall and discharge, "
                     "3 rainfall and runoff, 4 rainy-day classes")
        ->required();
    basin->add_option("--flow", args->flow, "water-year file (*.ard) of the flow gauge")->required();
    basin->add_option("--rain", args->rain, "the three rainfall-year files (*.yrd)")->required()->expected(3);
    basin->callback([slot, args] {
        slot([args](CliContext& context) {
            const std::string table = trimmed(args->table);
            if (table != "1" && table != "2" && table != "3" && table != "4")
                throw CliError("table must be 1, 2, 3 or 4: " + args->table);
            if (args->rain.size() != kBasinGaugeCount)
                throw CliError("--rain takes exactly three rainfall-year files");
            std::array<std::filesystem::path, kBasinGaugeCount> rainFiles;
            for (std::size_t s = 0; s < rainFiles.size(); ++s)
                rainFiles[s] = context.existingFile(args->rain[s]);
            const auto flowFile = context.existingFile(args->flow);
            context.printSheet(
                basinSheet(table[0] - '0', loadBasinInputs(flowFile, rainFiles), context.locale));
        });
    });
}

} // namespace korvel
