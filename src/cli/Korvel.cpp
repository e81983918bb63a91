#include "cli/Korvel.h"

#include "cli/CliContext.h"
#include "core/FileIO.h"
#include "core/FileWriteJournal.h"
#include "journal/JournalingWriter.h"

#include <ostream>

namespace korvel {

int runKorvel(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const SheetPdfWriter& pdfWriter, const NetworkBookPdfWriter& bookWriter) {
    CLI::App app{"korvel: the KORVEL2000 hydrometry tool", "korvel"};
    app.require_subcommand(1);
    app.fallthrough();
    std::string drive;
    std::string localeName;
    bool json = false;
    app.add_option("--drive", drive, "drive root that stands for c:\\ (default KORVEL_DRIVE or home)");
    app.add_option("--locale", localeName, "locale of numbers and dates (tr_TR, en_US)");
    app.add_flag("--json", json, "print reports as JSON");
    std::string csvDir;
    app.add_option("--csv", csvDir, "also write every grid of a report to DIR/<grid name>.csv");
    std::string pdfFile;
    app.add_option("--pdf", pdfFile, "also render every report of the command into the PDF file FILE");
    bool noJournal = false;
    app.add_flag("--no-journal", noJournal,
                 "write a station's files even when its change journal cannot be written");

    CommandAction action;
    const ActionSlot slot = [&action](CommandAction a) { action = std::move(a); };
    addStationCommands(app, slot);
    addWaterYearCommands(app, slot);
    addHqCommands(app, slot);
    addRainCommands(app, slot);
    addBasinCommands(app, slot);
    addCardCommands(app, slot);
    addRatingCommands(app, slot);
    addTableCommands(app, slot);
    addDemoCommand(app, slot);
    addImportCommands(app, slot);
    addArchiveCommands(app, slot);
    addCorrelateCommands(app, slot);
    // After every other group: it joins a "table" group registered before it.
    addSupplyCommands(app, slot);
    addMultiYearCommands(app, slot);
    addLoggerCommands(app, slot);
    addRainLoggerCommands(app, slot);
    addMeterCommands(app, slot);
    addModemCommands(app, slot);
    addDownloadsCommand(app, slot);
    addSeriesCommands(app, slot);
    addYearbookCommand(app, slot);
    addJournalCommands(app, slot);

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return 0;
    } catch (const CLI::ParseError& e) {
        std::string message = e.what();
        if (const auto* sub = app.get_subcommands().empty() ? nullptr : app.get_subcommands().front()) {
            message += " (see korvel " + sub->get_name() + " --help)";
        }
        err << "korvel: " << message << "\n";
        return 1;
    }

    try {
        CliContext context;
        if (!drive.empty())
            context.paths = Paths(drive);
        if (!localeName.empty()) {
            auto locale = Locale::byName(localeName);
            if (!locale)
                throw CliError("unknown locale: " + localeName);
            context.locale = *locale;
        } else {
            context.locale = Locale::fromEnvironment();
        }
        context.json = json;
        context.bookWriter = bookWriter;
        if (!csvDir.empty())
            context.csvDir = csvDir;
        context.out = &out;
        context.err = &err;
        std::vector<Sheet> reports;
        if (!pdfFile.empty()) {
            if (!pdfWriter)
                throw CliError("this korvel was built without PDF output");
            context.reportSink = [&reports](const Sheet& sheet) { reports.push_back(sheet); };
        }
        // Every change of a station's files is journaled; the demo drive starts without journals.
        const std::string commandName = journalCommandName(args);
        JournalingWriter journal(
            [&commandName] { return commandName; },
            [noJournal](const std::filesystem::path&, const std::string&) { return noJournal; });
        const bool demo = app.get_subcommands().front()->get_name() == "demo";
        const ScopedFileWriteJournal journaling(demo ? nullptr : &journal);
        if (!demo)
            settleStationsNamedIn(context, args);
        if (action)
            action(context);
        if (!pdfFile.empty()) {
            if (reports.empty())
                throw CliError("the command prints no report, so no PDF was written");
            pdfWriter(reports, pdfFile);
        }
        return 0;
    } catch (const CliError& e) {
        err << "korvel: " << e.what() << "\n";
    } catch (const FileError& e) {
        err << "korvel: " << e.what() << "\n";
    } catch (const std::exception& e) {
        err << "korvel: " << e.what() << "\n";
    }
    return 1;
}

} // namespace korvel
