#include "cli/CliContext.h"
#include "cli/StationArgument.h"
#include "core/Numbers.h"
#include "flow/RatingFit.h"
#include "flow/RatingSheet.h"
#include "flow/RatingTable.h"

#include <chrono>
#include <cmath>
#include <memory>

namespace korvel {

namespace {

// The options "rating fit" and "rating save" share.
struct FitArguments {
    std::string dir;
    std::string from;
    std::string to;
    std::string segments = "auto";
    std::string breaks;
    std::string exclude;
    std::string extrapolateTo;
};

void addFitOptions(CLI::App* command, FitArguments& args) {
    command->add_option("--from", args.from, "first date of the gaugings (dd.mm.yyyy; default: all)");
    command->add_option("--to", args.to, "last date of the gaugings (dd.mm.yyyy; default: all)");
    command->add_option("--segments", args.segments, "auto, 1, 2 or 3 segments (default auto)");
    command->add_option("--breaks", args.breaks, "breakpoint levels H1,H2 (mm; default: found by the fit)");
    command->add_option("--exclude", args.exclude, "card rows left out of the fit, ROW,...");
    command->add_option("--extrapolate-to", args.extrapolateTo,
                        "level (mm) up to which the curve extends beyond the gauged range");
}

std::vector<std::string> commaSeparated(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        parts.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return parts;
}

double levelArgument(const std::string& text) {
    if (!isNumericText(text))
        throw CliError("not a level (mm): " + text);
    return numericValue(text);
}

RatingFitOptions fitOptionsOf(const FitArguments& args) {
    RatingFitOptions options;
    if (args.segments == "1" || args.segments == "2" || args.segments == "3")
        options.segments = std::stoi(args.segments);
    else if (args.segments != "auto")
        throw CliError("--segments takes auto, 1, 2 or 3, not " + args.segments);
    if (!args.breaks.empty())
        for (const std::string& part : commaSeparated(args.breaks))
            options.breaks.push_back(levelArgument(part));
    if (!args.extrapolateTo.empty())
        options.extrapolateTo = levelArgument(args.extrapolateTo);
    return options;
}

std::set<std::size_t> excludedRowsOf(const std::string& text) {
    std::set<std::size_t> rows;
    if (text.empty())
        return rows;
    for (const std::string& part : commaSeparated(text)) {
        const double row = isNumericText(part) ? numericValue(part) : 0.0;
        if (!(row >= 1.0) || row != std::floor(row) || row > 1e6)
            throw CliError("not a card row: " + part);
        rows.insert(static_cast<std::size_t>(row));
    }
    return rows;
}

struct StationFit {
    std::filesystem::path stationDir;
    StationRecord station;
    RatingFit fit;
};

StationFit fitOfStation(const CliContext& context, const FitArguments& args) {
    StationFit result;
    result.stationDir = context.existingDirectory(args.dir);
    result.station = stationRecordOf(result.stationDir);
    std::optional<OleDate> from;
    std::optional<OleDate> to;
    if (!args.from.empty())
        from = parseDateArgument(args.from);
    if (!args.to.empty())
        to = parseDateArgument(args.to);
    if (from && to && *to < *from)
        throw CliError("--to " + args.to + " lies before --from " + args.from);
    const RatingFitOptions options = fitOptionsOf(args);
    const auto gaugings =
        gaugingsOfCardFile(measurementCardPathOf(result.stationDir), from, to, excludedRowsOf(args.exclude));
    result.fit = fitRating(gaugings, options);
    return result;
}

nlohmann::json fitJson(const RatingFit& fit) {
    nlohmann::json segments = nlohmann::json::array();
    for (const RatingSegment& s : fit.curve.segments)
        segments.push_back(
            {{"fromLevel", s.fromLevel}, {"toLevel", s.toLevel}, {"a", s.a}, {"e", s.e}, {"b", s.b}});
    nlohmann::json gaugings = nlohmann::json::array();
    for (const GaugingFit& g : fit.gaugings)
        gaugings.push_back({{"row", g.gauging.row},
                            {"date", g.gauging.date.dateText()},
                            {"level", g.gauging.level},
                            {"discharge", g.gauging.discharge},
                            {"fitted", g.fitted},
                            {"deviationPercent", g.deviationPercent},
                            {"inBand", g.inBand},
                            {"excluded", g.gauging.excluded}});
    nlohmann::json curve = nlohmann::json::array();
    for (const CurvePoint& p : fit.points)
        curve.push_back({{"level", p.level},
                         {"discharge", p.discharge},
                         {"confidenceLow", p.confidenceLow},
                         {"confidenceHigh", p.confidenceHigh},
                         {"predictionLow", p.predictionLow},
                         {"predictionHigh", p.predictionHigh}});
    return {{"segments", segments},
            {"segmentsChosen", fit.segmentsChosen},
            {"standardErrorPercent", fit.standardErrorPercent},
            {"coveredFrom", fit.coveredFrom},
            {"coveredTo", fit.coveredTo},
            {"gaugings", gaugings},
            {"curve", curve}};
}

OleDate today() {
    using namespace std::chrono;
    const auto days =
        duration_cast<duration<long long, std::ratio<86400>>>(system_clock::now().time_since_epoch());
    constexpr double kUnixEpoch = 25569.0; // 1 January 1970 in days since 30 December 1899
    return OleDate(kUnixEpoch + static_cast<double>(days.count()));
}

} // namespace

void addRatingCommands(CLI::App& app, const ActionSlot& slot) {
    auto* rating = app.add_subcommand("rating", "rating curves fitted from the measurement card");
    rating->require_subcommand(1);

    auto* fit = rating->add_subcommand("fit", "fit the rating curve to the card's gaugings and show it");
    auto fitArgs = std::make_shared<FitArguments>();
    fit->add_option("DIR", fitArgs->dir, "station directory")->required();
    addFitOptions(fit, *fitArgs);
    fit->callback([slot, fitArgs] {
        slot([fitArgs](CliContext& context) {
            const StationFit result = fitOfStation(context, *fitArgs);
            context.printSheet(ratingSheet(result.fit, result.station, context.locale),
                               nlohmann::json{{"fit", fitJson(result.fit)}});
        });
    });

    struct SaveArguments {
        FitArguments fit;
        int number = 0;
        std::string validFrom;
        std::string validTo;
        bool endEarlier = false;
    };
    auto* save = rating->add_subcommand("save", "save the fitted curve as a new HQ table of the station");
    auto saveArgs = std::make_shared<SaveArguments>();
    save->add_option("DIR", saveArgs->fit.dir, "station directory")->required();
    save->add_option("NUMBER", saveArgs->number, "number of the new table (0..99)")->required();
    save->add_option("--valid-from", saveArgs->validFrom, "first day the table is valid (dd.mm.yyyy)")
        ->required();
    save->add_option("--valid-to", saveArgs->validTo, "last day the table is valid (dd.mm.yyyy)")->required();
    save->add_flag("--end-earlier", saveArgs->endEarlier,
                   "end the periods of earlier tables that run on over --valid-from the day before it");
    addFitOptions(save, saveArgs->fit);
    save->callback([slot, saveArgs] {
        slot([saveArgs](CliContext& context) {
            const OleDate validFrom = parseDateArgument(saveArgs->validFrom);
            const OleDate validTo = parseDateArgument(saveArgs->validTo);
            const StationFit result = fitOfStation(context, saveArgs->fit);
            const HqTable table = ratingHqTable(result.fit, validFrom, validTo, today(), context.locale);
            SavedRatingTable saved =
                saveRatingTable(result.stationDir, saveArgs->number, result.station.stationNumber, table);
            const std::string name = saved.file.filename().string();
            std::vector<std::string> ended;
            if (saveArgs->endEarlier) {
                const auto running = periodsRunningOver(result.stationDir, name, validFrom);
                endPeriodsBefore(result.stationDir, running, validFrom);
                for (const RunningPeriod& p : running)
                    ended.push_back(p.key + " period " + std::to_string(p.period));
                saved.earlierKeys = earlierTablesOverlapping(result.stationDir, name, validFrom, validTo);
            }
            if (context.json) {
                context.printJson({{"file", saved.file.string()},
                                   {"earlierTables", saved.earlierKeys},
                                   {"endedPeriods", ended}});
                return;
            }
            context.printLine(saved.file.string() + ": written, valid " + validFrom.dateText() + " - " +
                              validTo.dateText());
            for (const std::string& period : ended)
                context.printLine("ended the day before " + validFrom.dateText() + ": table " + period);
            for (const std::string& key : saved.earlierKeys)
                context.printLine("note: table " + key +
                                  " comes first and covers part of this period; there it is used instead");
        });
    });
}

} // namespace korvel
