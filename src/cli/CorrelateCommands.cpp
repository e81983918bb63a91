#include "cli/CliContext.h"
#include "cli/StationArgument.h"
#include "core/NumberFormat.h"
#include "flow/CandidateSearch.h"

#include <memory>

namespace korvel {

namespace {

std::string refusalText(const CompletionOutcome& outcome, const std::string& year) {
    using Status = CompletionOutcome::Status;
    switch (outcome.status) {
    case Status::AlreadyComplete:
        return "the target station has a complete water year " + year + " already";
    case Status::MeasuredDaysKept:
        return outcome.targetFile.filename().string() + " holds " + std::to_string(outcome.measuredDays) +
               " measured days that the completion would replace; give --replace to replace them";
    case Status::NotReferenceYear:
        return "the reference station has no complete water year " + year;
    case Status::NoReferenceFile:
        return "cannot read the reference flow file of " + year;
    case Status::LineNotInvertible:
        return "the fitted line has slope b = 0: no target value can be derived from the reference";
    case Status::Completed:
        break;
    }
    return {};
}

} // namespace

void addCorrelateCommands(CLI::App& app, const ActionSlot& slot) {
    auto* group = app.add_subcommand("correlate", "inter-station correlation");
    group->require_subcommand(1);

    auto* scan = group->add_subcommand(
        "scan", "find the stations of the data root whose monthly flows correlate with the station's");
    auto scanDir = std::make_shared<std::string>();
    scan->add_option("DIR", *scanDir, "station directory of the target")->required();
    scan->callback([slot, scanDir] {
        slot([scanDir](CliContext& context) {
            const auto dir = context.existingDirectory(*scanDir);
            const StationYears target = scanStationYears(dir);
            const CandidateSearch search = scanAllStations(context.paths.dataRoot(), target, context.locale);
            std::vector<std::filesystem::path> incomplete = target.incompleteFiles;
            incomplete.insert(incomplete.end(), search.incompleteFiles().begin(),
                              search.incompleteFiles().end());
            Sheet sheet = correlationSheet(target, incomplete, search.candidates(), context.paths);
            sheet.setText("stations", std::to_string(search.stationsScanned()));
            sheet.setText("files", std::to_string(search.filesScanned()));
            context.printSheet(sheet);
        });
    });

    auto* complete = group->add_subcommand(
        "complete", "complete a water year of the station from a correlating reference station");
    struct Arguments {
        std::string dir;
        std::string referenceDir;
        std::string year;
        bool replace = false;
    };
    auto args = std::make_shared<Arguments>();
    complete->add_option("DIR", args->dir, "station directory of the target")->required();
    complete->add_option("REFDIR", args->referenceDir, "station directory of the reference")->required();
    complete->add_option("YEAR", args->year, "water year to complete (the year it ends in)")->required();
    complete->add_flag("--replace", args->replace,
                       "fill measured days without a mean too (refused without it)");
    complete->callback([slot, args] {
        slot([args](CliContext& context) {
            const auto dir = context.existingDirectory(args->dir);
            const auto referenceDir = context.existingDirectory(args->referenceDir);
            const int year = parseYearArgument(args->year);
            const StationYears target = scanStationYears(dir);
            const StationYears reference = scanStationYears(referenceDir);
            const auto fit = correlate(target, reference);
            if (!fit)
                throw CliError("no line can be fitted: the stations have no common complete water year");
            if (!isCorrelationCandidate(*fit))
                throw CliError("the reference does not correlate with the station (r = " +
                               (fit->r ? formatNumber(*fit->r, "0.0000", context.locale) : std::string("-")) +
                               ", needed 0.85 to 0.9999)");
            const std::string line = candidateLine(*fit, reference, context.locale);
            const CompletionOutcome outcome =
                completeYear(target, waterYearFileName(year, stationNumberOf(dir)), reference, *fit, line,
                             args->year, args->replace ? MeasuredDays::Replace : MeasuredDays::Keep);
            if (outcome.status != CompletionOutcome::Status::Completed)
                throw CliError(refusalText(outcome, args->year));
            if (context.json) {
                context.printJson({{"file", outcome.targetFile.string()},
                                   {"filled", outcome.filledDays},
                                   {"uncovered", outcome.uncoveredDays},
                                   {"r", *fit->r},
                                   {"b", fit->b},
                                   {"a", fit->a},
                                   {"line", line}});
            } else {
                context.printLine(line);
                context.printLine("fit: " + fitText(*fit, context.locale));
                context.printLine(outcome.targetFile.string() + ": " + std::to_string(outcome.filledDays) +
                                  " days filled, " + std::to_string(outcome.uncoveredDays) +
                                  " days without reference discharge left as they were");
            }
        });
    });
}

} // namespace korvel
