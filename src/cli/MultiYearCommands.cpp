#include "cli/CliContext.h"
#include "cli/StationArgument.h"
#include "core/FileIO.h"
#include "flow/FlowDuration.h"
#include "flow/FlowRecord.h"
#include "flow/FlowRecordSheet.h"
#include "rain/IdfSheet.h"
#include "rain/RainfallIdf.h"

#include <memory>

namespace korvel {

namespace {

using nlohmann::json;

CLI::App* existingOrNewGroup(CLI::App& app, const std::string& name, const std::string& description) {
    const auto found = app.get_subcommands([&](CLI::App* sub) { return sub->get_name() == name; });
    if (!found.empty())
        return found.front();
    auto* group = app.add_subcommand(name, description);
    group->require_subcommand(1);
    return group;
}

json optionalNumber(const std::optional<double>& value) {
    return value ? json(*value) : json(nullptr);
}

// [duration][return period] as nested arrays; `scale` turns a depth into an intensity.
json quantilesJson(const IdfAnalysis& idf, const IdfQuantiles& q, bool intensity) {
    json rows = json::array();
    for (std::size_t d = 0; d < idf.maxima.durations.size(); ++d) {
        const double factor = intensity ? intensityOf(1.0, idf.maxima.durations[d]) : 1.0;
        json row = json::array();
        for (const auto& depth : q.depth[d])
            row.push_back(depth ? json(*depth * factor) : json(nullptr));
        rows.push_back(std::move(row));
    }
    return rows;
}

json intervalsJson(const IdfQuantiles& q) {
    json rows = json::array();
    for (const auto& durationIntervals : q.interval) {
        json row = json::array();
        for (const auto& interval : durationIntervals)
            row.push_back(interval ? json::array({(*interval)[0], (*interval)[1]}) : json(nullptr));
        rows.push_back(std::move(row));
    }
    return rows;
}

json idfJson(const IdfAnalysis& idf, const std::vector<LeftOutRainYear>& leftOut) {
    json maxima = json::array();
    for (const auto& row : idf.maxima.depths) {
        json values = json::array();
        for (const auto& depth : row)
            values.push_back(optionalNumber(depth));
        maxima.push_back(std::move(values));
    }
    json gumbel{{"location", json::array()}, {"scale", json::array()}};
    json gev{{"location", json::array()}, {"scale", json::array()}, {"shape", json::array()}};
    for (const DurationFits& fits : idf.fits) {
        gumbel["location"].push_back(fits.gumbel ? json(fits.gumbel->location) : json(nullptr));
        gumbel["scale"].push_back(fits.gumbel ? json(fits.gumbel->scale) : json(nullptr));
        gev["location"].push_back(fits.gev ? json(fits.gev->location) : json(nullptr));
        gev["scale"].push_back(fits.gev ? json(fits.gev->scale) : json(nullptr));
        gev["shape"].push_back(fits.gev ? json(fits.gev->shape) : json(nullptr));
    }
    json left = json::array();
    for (const LeftOutRainYear& year : leftOut)
        left.push_back({{"file", year.file}, {"reason", year.reason}});
    return json{
        {"durations", idf.maxima.durations},
        {"years", idf.maxima.years},
        {"maxima", maxima},
        {"returnPeriods", idf.returnPeriods},
        {"gumbel", gumbel},
        {"gev", gev},
        {"depth",
         {{"gumbel", quantilesJson(idf, idf.gumbel, false)}, {"gev", quantilesJson(idf, idf.gev, false)}}},
        {"intensity",
         {{"gumbel", quantilesJson(idf, idf.gumbel, true)}, {"gev", quantilesJson(idf, idf.gev, true)}}},
        {"interval90", {{"gumbel", intervalsJson(idf.gumbel)}, {"gev", intervalsJson(idf.gev)}}},
        {"resamples", idf.resamples},
        {"leftOut", left}};
}

json durationJson(const FlowDuration& duration) {
    std::vector<int> percents;
    for (int p = 1; p <= kDurationPercents; ++p)
        percents.push_back(p);
    std::vector<int> years;
    json perYear = json::array();
    for (const YearDuration& year : duration.years) {
        years.push_back(year.waterYear);
        perYear.push_back({{"year", year.waterYear},
                           {"days", year.days},
                           {"missingDays", year.missingDays},
                           {"discharge", year.curve}});
    }
    return json{{"percent", percents},   {"discharge", duration.curve},
                {"days", duration.days}, {"missingDays", duration.missingDays},
                {"years", years},        {"perYear", perYear}};
}

json recordJson(const FlowRecord& record) {
    json years = json::array();
    for (const FlowRecordYear& year : record.years) {
        const auto day = [](const std::optional<RecordDay>& d) {
            return d ? json{{"date", d->date.dateText()}, {"discharge", d->discharge}} : json(nullptr);
        };
        years.push_back({{"year", year.waterYear},
                         {"file", year.file},
                         {"mean", year.annualMean},
                         {"largest", day(year.largest)},
                         {"smallest", day(year.smallest)},
                         {"days", year.days.size()},
                         {"missingDays", year.missingDays}});
    }
    return json{{"years", years}};
}

ExtremeDistribution parseDistribution(const std::string& text) {
    if (text == "gumbel")
        return ExtremeDistribution::Gumbel;
    if (text == "gev")
        return ExtremeDistribution::Gev;
    throw CliError("--distribution must be gumbel or gev: " + text);
}

void requireYears(std::size_t years, const std::string& what) {
    if (years < kIdfMinimumYears)
        throw CliError("only " + std::to_string(years) + " usable years in " + what + ", at least " +
                       std::to_string(kIdfMinimumYears) + " are needed");
}

FlowRecord stationFlowRecord(const CliContext& context, const std::string& argument, StationRecord& station) {
    const auto dir = context.existingDirectory(argument);
    station = stationRecordOf(dir);
    FlowRecord record = readFlowRecord(dir, static_cast<double>(station.drainageArea));
    if (record.years.empty())
        throw CliError("no water-year files in " + argument);
    return record;
}

void addIdfCommand(CLI::App& app, const ActionSlot& slot) {
    auto* rain = existingOrNewGroup(app, "rain", "rainfall-year files");
    auto* idf = rain->add_subcommand(
        "idf",
        "intensity-duration-frequency of a rain gauge from all its rainfall years (or a maxima table)");
    struct Arguments {
        std::string dir;
        std::string maxima;
        std::string distribution = "gumbel";
    };
    auto args = std::make_shared<Arguments>();
    idf->add_option("DIR", args->dir, "station directory")->required();
    idf->add_option("--maxima", args->maxima,
                    "annual maxima table (CSV: year; one column per duration in minutes; depths in mm)");
    idf->add_option("--distribution", args->distribution,
                    "distribution of the tables: gumbel (default) or gev");
    idf->callback([slot, args] {
        slot([args](CliContext& context) {
            const ExtremeDistribution shown = parseDistribution(args->distribution);
            const auto dir = context.existingDirectory(args->dir);
            StationRainMaxima station;
            if (args->maxima.empty()) {
                station = collectRainMaxima(dir);
                requireYears(station.maxima.years.size(), args->dir);
            } else {
                const auto file = context.existingFile(args->maxima);
                const auto bytes = readFileBytes(file);
                if (!bytes)
                    throw CliError("cannot read " + file.string());
                const MaximaCsv csv = parseMaximaCsv(std::string(bytes->begin(), bytes->end()));
                if (!csv.maxima)
                    throw CliError(args->maxima + ": " + csv.error);
                station.maxima = *csv.maxima;
                requireYears(station.maxima.years.size(), args->maxima);
            }
            const IdfAnalysis analysis = computeIdf(station.maxima);
            context.printSheet(
                idfSheet(analysis, shown, stationNumberOf(dir), station.leftOut, context.locale),
                json{{"idf", idfJson(analysis, station.leftOut)}});
        });
    });
}

void addFlowCommands(CLI::App& app, const ActionSlot& slot) {
    auto* flow = existingOrNewGroup(app, "flow", "the whole record of a flow station");
    auto* duration = flow->add_subcommand(
        "duration", "flow-duration curve of a station over all its water years and per year");
    auto durationDir = std::make_shared<std::string>();
    duration->add_option("DIR", *durationDir, "station directory")->required();
    duration->callback([slot, durationDir] {
        slot([durationDir](CliContext& context) {
            StationRecord station;
            const FlowDuration curve = computeFlowDuration(stationFlowRecord(context, *durationDir, station));
            context.printSheet(flowDurationSheet(curve, station.stationNumber, context.locale),
                               json{{"duration", durationJson(curve)}});
        });
    });

    auto* record = flow->add_subcommand(
        "record", "annual means, largest and smallest days of every water year of a station");
    auto recordDir = std::make_shared<std::string>();
    record->add_option("DIR", *recordDir, "station directory")->required();
    record->callback([slot, recordDir] {
        slot([recordDir](CliContext& context) {
            StationRecord station;
            const FlowRecord years = stationFlowRecord(context, *recordDir, station);
            context.printSheet(flowRecordSheet(years, station.stationNumber, context.locale),
                               json{{"record", recordJson(years)}});
        });
    });
}

} // namespace

void addMultiYearCommands(CLI::App& app, const ActionSlot& slot) {
    addIdfCommand(app, slot);
    addFlowCommands(app, slot);
}

} // namespace korvel
