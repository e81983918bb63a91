#include "cli/CliContext.h"
#include "cli/StationArgument.h"
#include "core/FileIO.h"
#include "transfer/DailySeries.h"
#include "transfer/SeriesImport.h"
#include "transfer/StationDestination.h"

#include <chrono>
#include <cmath>
#include <memory>

namespace korvel {

namespace {

OleDate seriesDateArgument(const std::string& text) {
    if (const auto iso = parseFormattedDateTime(text, "yyyy-MM-dd"))
        return *iso;
    return parseDateArgument(text);
}

OleDate now() {
    using namespace std::chrono;
    const auto seconds = duration_cast<duration<long long>>(system_clock::now().time_since_epoch());
    constexpr double kUnixEpoch = 25569.0; // 1 January 1970 in days since 30 December 1899
    return OleDate(kUnixEpoch + static_cast<double>(seconds.count()) / 86400.0);
}

struct ExportArguments {
    std::string dir;
    std::string from;
    std::string to;
    std::string format = "csv";
    std::string out;
};

struct ImportArguments {
    std::string file;
    std::string dir;
    int timeColumn = 0;
    int dateColumn = 0;
    int levelColumn = 0;
    std::string dateFormat;
    std::string separator = ",";
    std::string decimal = ".";
    std::size_t headerLines = 0;
    double scale = 1.0;
    bool replace = false;

    bool loggerFile() const { return timeColumn > 0 || levelColumn > 0 || !dateFormat.empty(); }
};

char oneCharacter(const std::string& text, const std::string& option) {
    if (text.size() != 1)
        throw CliError(option + " must be one character: " + text);
    return text.front();
}

LoggerCsvFormat loggerFormatOf(const ImportArguments& args) {
    if (args.timeColumn <= 0 || args.levelColumn <= 0)
        throw CliError("a logger file needs --column-time and --column-level (columns from 1)");
    LoggerCsvFormat format;
    format.timeColumn = args.timeColumn;
    if (args.dateColumn > 0)
        format.dateColumn = args.dateColumn;
    format.levelColumn = args.levelColumn;
    if (!args.dateFormat.empty())
        format.dateFormat = args.dateFormat;
    format.separator = oneCharacter(args.separator, "--separator");
    format.decimalSeparator = oneCharacter(args.decimal, "--decimal");
    format.headerLines = args.headerLines;
    if (!std::isfinite(args.scale) || args.scale <= 0)
        throw CliError("--scale must be a positive number");
    format.levelScale = args.scale;
    return format;
}

void reportProblems(const CliContext& context, const ImportedSeries& series) {
    for (const CsvLineProblem& problem : series.problems)
        context.printLine(
            (problem.line > 0 ? "satır " + std::to_string(problem.line) + ": " : std::string()) +
            problem.reason);
}

void runImport(CliContext& context, const ImportArguments& args) {
    const auto source = context.existingFile(args.file);
    const auto stationDir = context.existingDirectory(args.dir);
    if (!isStationDirectory(stationDir, context.paths))
        throw CliError(std::string(kSelectionRefusal) + ": " + stationDir.string());
    const auto bytes = readFileBytes(source);
    if (!bytes)
        throw CliError("cannot read " + source.string());
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    const ImportedSeries series =
        args.loggerFile() ? parseLoggerCsv(text, loggerFormatOf(args)) : parseSeriesCsv(text);
    if (series.days.empty()) {
        reportProblems(context, series);
        throw CliError("no day could be read from " + source.filename().string() + "; nothing written");
    }
    const std::string number = stationNumberOf(stationDir);
    const std::size_t measured = measuredDaysReplaced(stationDir, number, series.days);
    if (measured > 0 && !args.replace)
        throw CliError("the station holds " + std::to_string(measured) +
                       " measured days that the import would replace; give --replace to replace them");
    const SeriesImportResult result = writeImportedSeries(stationDir, number, series);
    if (context.json) {
        nlohmann::json problems = nlohmann::json::array();
        for (const CsvLineProblem& problem : series.problems)
            problems.push_back({{"line", problem.line}, {"reason", problem.reason}});
        context.printJson({{"written", result.written.written},
                           {"dropped", result.written.dropped},
                           {"replacedMeasured", measured},
                           {"readingsFile", series.readingsFileName},
                           {"problems", problems}});
        return;
    }
    context.printLine(source.filename().string() + " -> " + stationDir.string() + " (" +
                      std::to_string(result.written.written) + ")");
    reportProblems(context, series);
}

} // namespace

void addSeriesCommands(CLI::App& app, const ActionSlot& slot) {
    auto* exportCommand = app.add_subcommand("export", "the daily series of a station as CSV or WaterML 2.0");
    auto exportArgs = std::make_shared<ExportArguments>();
    exportCommand->add_option("DIR", exportArgs->dir, "station directory")->required();
    exportCommand->add_option("--from", exportArgs->from, "first day (yyyy-mm-dd or dd.mm.yyyy)")->required();
    exportCommand->add_option("--to", exportArgs->to, "last day (yyyy-mm-dd or dd.mm.yyyy)")->required();
    exportCommand->add_option("--format", exportArgs->format, "csv or waterml2")
        ->check(CLI::IsMember({"csv", "waterml2"}));
    exportCommand->add_option("--out", exportArgs->out, "file to write (default: standard output)");
    exportCommand->callback([slot, exportArgs] {
        slot([exportArgs](CliContext& context) {
            const auto stationDir = context.existingDirectory(exportArgs->dir);
            const OleDate from = seriesDateArgument(exportArgs->from);
            const OleDate to = seriesDateArgument(exportArgs->to);
            if (to < from)
                throw CliError("--to lies before --from");
            const DailySeries series = collectDailySeries(stationDir, stationRecordOf(stationDir), from, to);
            const std::string text =
                exportArgs->format == "csv" ? dailySeriesCsv(series) : dailySeriesWaterMl(series, now());
            if (exportArgs->out.empty())
                *context.out << text;
            else
                writeFileAtomic(context.path(exportArgs->out), text);
        });
    });

    auto* import = app.get_subcommand("import");
    auto* csv = import->add_subcommand(
        "csv", "daily series of the tool's own CSV export, or levels of a logger's CSV file (--column-...)");
    auto importArgs = std::make_shared<ImportArguments>();
    csv->add_option("FILE", importArgs->file, "CSV file")->required();
    csv->add_option("DIR", importArgs->dir, "station directory")->required();
    csv->add_option("--column-time", importArgs->timeColumn,
                    "logger file: column of the time stamp (from 1)");
    csv->add_option("--column-date", importArgs->dateColumn, "logger file: column of the date, when apart");
    csv->add_option("--column-level", importArgs->levelColumn, "logger file: column of the level (from 1)");
    csv->add_option(
        "--date-format", importArgs->dateFormat,
        "logger file: yyyy, yy, MM, dd, HH, mm, ss (default yyyy-MM-dd HH:mm:ss; no HH: daily levels)");
    csv->add_option("--separator", importArgs->separator, "logger file: field separator (default ,)");
    csv->add_option("--decimal", importArgs->decimal, "logger file: decimal separator (default .)");
    csv->add_option("--header-lines", importArgs->headerLines, "logger file: lines to skip at the top");
    csv->add_option("--scale", importArgs->scale, "logger file: factor that turns a level into mm");
    csv->add_flag("--replace", importArgs->replace,
                  "replace measured days of the station (refused without it)");
    csv->callback(
        [slot, importArgs] { slot([importArgs](CliContext& context) { runImport(context, *importArgs); }); });
}

} // namespace korvel
