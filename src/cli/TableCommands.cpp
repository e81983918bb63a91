#include "cli/CliContext.h"
#include "cli/StationArgument.h"
#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "flow/AnnualFlow.h"
#include "flow/DayRating.h"
#include "flow/MonthTable.h"
#include "flow/YearbookPage.h"
#include "store/WaterYearFile.h"

#include <algorithm>
#include <memory>

namespace korvel {

namespace {

// A flow file with what its tables need: the station directory is the file's folder.
struct FlowInput {
    std::filesystem::path file;
    std::vector<DayRecord> records;
    StationRecord station;
    HqTableSet tables;
};

FlowInput readFlowInput(const CliContext& context, const std::string& argument) {
    FlowInput input;
    input.file = context.existingFile(argument);
    input.records = parseWaterYearFile(
        context.recordFile(input.file, DayRecord::kSize, kWaterYearFileSizeLimit, "water-year file"));
    const auto dir = input.file.parent_path();
    input.station = stationRecordOf(dir);
    input.tables = loadHqTableSet(dir);
    return input;
}

int parseMonthArgument(const std::string& text) {
    const std::string t = trimmed(text);
    if (t.empty() || !std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; }))
        throw CliError("month must be a number 1..12: " + text);
    const double month = numericValue(t);
    if (month != roundHalfEven(month) || month < 1 || month > 12)
        throw CliError("month must be a number 1..12: " + text);
    return static_cast<int>(month);
}

} // namespace

void addTableCommands(CLI::App& app, const ActionSlot& slot) {
    auto* table = app.add_subcommand("table", "flow tables of a water-year file");
    table->require_subcommand(1);

    auto* monthly = table->add_subcommand("monthly", "the monthly flow table of one month");
    auto monthlyArgs = std::make_shared<std::pair<std::string, std::string>>();
    monthly->add_option("FILE", monthlyArgs->first, "water-year file (*.ard)")->required();
    monthly->add_option("MONTH", monthlyArgs->second, "month number 1..12")->required();
    monthly->callback([slot, monthlyArgs] {
        slot([monthlyArgs](CliContext& context) {
            const int month = parseMonthArgument(monthlyArgs->second);
            const FlowInput input = readFlowInput(context, monthlyArgs->first);
            context.printSheet(fillMonthTable(input.records, input.tables, input.station,
                                              input.file.filename().string(), monthIndexOfMonth(month),
                                              context.locale));
        });
    });

    auto* annual = table->add_subcommand("annual", "the annual flow table of the water year");
    auto annualFile = std::make_shared<std::string>();
    annual->add_option("FILE", *annualFile, "water-year file (*.ard)")->required();
    annual->callback([slot, annualFile] {
        slot([annualFile](CliContext& context) {
            const FlowInput input = readFlowInput(context, *annualFile);
            context.printSheet(fillAnnualTable(input.records, input.tables, input.station,
                                               input.file.filename().string(), context.locale));
        });
    });

    auto* yearbook = table->add_subcommand("yearbook", "the yearbook page of the water year");
    auto yearbookFile = std::make_shared<std::string>();
    yearbook->add_option("FILE", *yearbookFile, "water-year file (*.ard)")->required();
    yearbook->callback([slot, yearbookFile] {
        slot([yearbookFile](CliContext& context) {
            const FlowInput input = readFlowInput(context, *yearbookFile);
            const auto flowFiles = listFiles(input.file.parent_path(), "*.ard");
            context.printSheet(fillYearbookPage(input.records, input.tables, input.station,
                                                input.file.filename().string(),
                                                static_cast<int>(flowFiles.size()), context.locale));
        });
    });
}

} // namespace korvel
