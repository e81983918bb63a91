#include "cli/CliContext.h"
#include "transfer/NetworkYearbook.h"

#include <memory>
#include <stdexcept>

namespace korvel {

namespace {

struct YearbookArguments {
    std::string root;
    std::string year;
    std::string pdf;
    std::string region;
    std::string basin;
};

void runYearbook(CliContext& context, const YearbookArguments& args) {
    const int year = parseYearArgument(args.year);
    const auto root = context.existingDirectory(args.root);
    if (!context.bookWriter)
        throw CliError("this korvel was built without PDF output");
    NetworkBookPlan plan;
    try {
        plan = planNetworkBook(root, year, args.region, args.basin);
    } catch (const std::invalid_argument& e) {
        throw CliError(e.what());
    }
    const NetworkBookSummary summary = context.bookWriter(plan, context.path(args.pdf), context.locale);
    if (context.json) {
        nlohmann::json missing = nlohmann::json::array();
        for (const MissingStation& m : summary.missing)
            missing.push_back(
                {{"region", m.region}, {"basin", m.basin}, {"number", m.number}, {"reason", m.reason}});
        context.printJson(
            {{"pages", summary.pages}, {"sections", summary.printedSections}, {"missing", missing}});
        return;
    }
    context.printLine(args.pdf + ": " + std::to_string(summary.pages) + " sayfa, " +
                      std::to_string(summary.printedSections) + " bölüm");
    for (const MissingStation& m : summary.missing)
        context.printLine("Eksik veriler: " + m.region + "/" + m.basin + "/" + m.number + ": " + m.reason);
}

} // namespace

void addYearbookCommand(CLI::App& app, const ActionSlot& slot) {
    auto* yearbook =
        app.add_subcommand("yearbook", "the yearbook of every station of a data root as one PDF");
    auto args = std::make_shared<YearbookArguments>();
    yearbook->add_option("ROOT", args->root, "data root (c:\\korvel2000\\)")->required();
    yearbook->add_option("--year", args->year, "water year (the year it ends in)")->required();
    yearbook->add_option("--pdf", args->pdf, "the PDF file to write")->required();
    yearbook->add_option("--region", args->region, "only this region (directory name)");
    yearbook->add_option("--basin", args->basin, "only this basin (directory name)");
    yearbook->callback([slot, args] { slot([args](CliContext& context) { runYearbook(context, *args); }); });
}

} // namespace korvel
