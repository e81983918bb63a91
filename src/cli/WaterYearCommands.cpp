#include "cli/CliContext.h"
#include "cli/StationArgument.h"
#include "core/FileIO.h"
#include "flow/YearFromTotals.h"
#include "store/WaterYearFile.h"

#include <memory>

namespace korvel {

namespace {

std::string textField(const std::string& field) {
    // NUL padding shows as nothing, as the screens show it.
    std::string text = field.substr(0, field.find('\0'));
    return text;
}

Sheet waterYearSheet(const std::filesystem::path& file, const std::vector<DayRecord>& records,
                     const Locale& locale) {
    Sheet sheet;
    sheet.caption = file.filename().string();
    Table table(static_cast<int>(records.size()) + 1, 9);
    const char* headings[] = {"Kayıt",    " Tarih",   "Max.sev(mm)", "Max.saat", "Min.sev(mm)",
                              "Min.saat", "Ort.(mm)", "Olç.şekli",   "Ham veri"};
    for (int c = 0; c < 9; ++c)
        table.setCell(0, c, headings[c]);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const DayRecord& day = records[i];
        const int row = static_cast<int>(i) + 1;
        table.setCell(row, 0, std::to_string(i + 1));
        table.setCell(row, 1, day.date.isEmpty() ? std::string() : locale.shortDate(day.date));
        table.setCell(row, 2, std::to_string(day.maxLevel));
        table.setCell(row, 3, locale.longTime(day.maxTime));
        table.setCell(row, 4, std::to_string(day.minLevel));
        table.setCell(row, 5, locale.longTime(day.minTime));
        table.setCell(row, 6, locale.numberText32(day.meanValue));
        table.setCell(row, 7, textField(day.source));
        table.setCell(row, 8, textField(day.rawDataFile));
    }
    sheet.setTable("days", std::move(table));
    sheet.setText("records", std::to_string(records.size()));
    return sheet;
}

} // namespace

void addWaterYearCommands(CLI::App& app, const ActionSlot& slot) {
    auto* wy = app.add_subcommand("wy", "water-year flow files");
    wy->require_subcommand(1);

    auto* create = wy->add_subcommand("create", "create the water-year file of a station");
    auto createArgs = std::make_shared<std::pair<std::string, std::string>>();
    create->add_option("DIR", createArgs->first, "station directory")->required();
    create->add_option("YEAR", createArgs->second, "water year (the year it ends in)")->required();
    create->callback([slot, createArgs] {
        slot([createArgs](CliContext& context) {
            const auto dir = context.existingDirectory(createArgs->first);
            const int year = parseYearArgument(createArgs->second);
            const auto created = createWaterYear(dir, year, stationNumberOf(dir));
            if (created.alreadyExisted)
                throw CliError("file exists already, left untouched: " + created.file.string());
            if (context.json)
                context.printJson({{"file", created.file.string()}, {"records", kWaterYearRecords}});
            else
                context.printLine(created.file.string());
        });
    });

    auto* dump = wy->add_subcommand("dump", "show every day record of a water-year file");
    auto dumpFile = std::make_shared<std::string>();
    dump->add_option("FILE", *dumpFile, "water-year file (*.ard)")->required();
    dump->callback([slot, dumpFile] {
        slot([dumpFile](CliContext& context) {
            const auto file = context.existingFile(*dumpFile);
            const Bytes bytes =
                context.recordFile(file, DayRecord::kSize, kWaterYearFileSizeLimit, "water-year file");
            context.printSheet(waterYearSheet(file, parseWaterYearFile(bytes), context.locale));
        });
    });

    auto* fromMonthly = wy->add_subcommand(
        "from-monthly",
        "build a water year from its twelve monthly flow volumes (million m3, October first)");
    struct MonthlyArguments {
        std::string dir;
        std::string year;
        std::vector<std::string> totals;
        bool replace = false;
    };
    auto monthlyArgs = std::make_shared<MonthlyArguments>();
    fromMonthly->add_option("DIR", monthlyArgs->dir, "station directory")->required();
    fromMonthly->add_option("YEAR", monthlyArgs->year, "water year (the year it ends in)")->required();
    fromMonthly->add_option("TOTALS", monthlyArgs->totals, "twelve monthly volumes, October to September")
        ->required()
        ->expected(12);
    fromMonthly->add_flag("--replace", monthlyArgs->replace,
                          "replace the measured days of an existing file (refused without it)");
    fromMonthly->callback([slot, monthlyArgs] {
        slot([monthlyArgs](CliContext& context) {
            const auto dir = context.existingDirectory(monthlyArgs->dir);
            std::array<std::string, 12> totals;
            std::copy(monthlyArgs->totals.begin(), monthlyArgs->totals.end(), totals.begin());
            const MonthlyTotalsOutcome outcome = buildYearFromMonthlyTotals(
                dir, stationNumberOf(dir), monthlyArgs->year, totals, context.locale,
                monthlyArgs->replace ? MeasuredDays::Replace : MeasuredDays::Keep);
            if (outcome.measuredDays > 0)
                throw CliError(outcome.file.filename().string() + " holds " +
                               std::to_string(outcome.measuredDays) +
                               " measured days that the year would replace; give --replace to replace them");
            if (!outcome.written)
                throw CliError(outcome.message);
            if (context.json)
                context.printJson({{"file", outcome.file.string()}, {"records", outcome.records}});
            else
                context.printLine(outcome.file.string());
        });
    });
}

} // namespace korvel
