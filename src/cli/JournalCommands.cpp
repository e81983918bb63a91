#include "cli/CliContext.h"
#include "journal/ChangeUndo.h"
#include "journal/JournalingWriter.h"

#include <memory>

namespace korvel {

namespace fs = std::filesystem;

namespace {

// "1-3, 7" for the records 1, 2, 3 and 7; "tüm dosya" for a file kept whole.
std::string recordRanges(const JournalEntry& entry) {
    if (entry.recordNumbers.empty())
        return entry.sizeBefore ? "-" : "yeni dosya";
    if (entry.recordSize == 0)
        return "tüm dosya";
    std::string text;
    const auto& numbers = entry.recordNumbers;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        text += (text.empty() ? "" : ", ") + std::to_string(numbers[i]);
        if (j > i)
            text += "-" + std::to_string(numbers[j]);
        i = j + 1;
    }
    return text;
}

void printHistory(CliContext& context, const fs::path& dir, const std::optional<std::string>& file) {
    std::vector<JournalEntry> entries;
    if (ChangeJournal::existsIn(dir)) {
        try {
            entries = ChangeJournal(dir, ChangeJournal::Access::read).entries(file);
        } catch (const JournalError& e) {
            throw CliError(e.what());
        }
    }
    nlohmann::json list = nlohmann::json::array();
    for (const JournalEntry& entry : entries) {
        if (entry.state != ChangeState::done)
            continue;
        if (context.json) {
            list.push_back({{"id", entry.id},
                            {"time", journalTimeIso(entry.time)},
                            {"user", entry.user},
                            {"command", entry.command},
                            {"file", entry.file},
                            {"records", entry.recordNumbers},
                            {"undone", entry.undoneBy.has_value()}});
            continue;
        }
        std::string line = std::to_string(entry.id) + "\t" + journalTimeText(entry.time) + "\t" + entry.user +
                           "\t" + entry.command + "\t" + entry.file + "\t" + recordRanges(entry);
        if (entry.undoneBy)
            line += "\tgeri alındı (" + std::to_string(*entry.undoneBy) + ")";
        context.printLine(line);
    }
    if (context.json)
        context.printJson({{"entries", list}});
}

} // namespace

std::string journalCommandName(const std::vector<std::string>& args) {
    std::string name = "korvel";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--drive" || arg == "--locale" || arg == "--csv" || arg == "--pdf") {
            ++i;
            continue;
        }
        if (arg == "--json" || arg == "--no-journal")
            continue;
        name += " " + arg;
    }
    return name;
}

void settleStationsNamedIn(const CliContext& context, const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg.empty() || arg.front() == '-')
            continue;
        std::error_code ec;
        fs::path dir = context.path(arg);
        if (!fs::is_directory(dir, ec))
            dir = dir.parent_path();
        if (dir.empty() || !ChangeJournal::existsIn(dir))
            continue;
        try {
            for (const std::string& line : recoverInterruptedChanges(dir))
                *context.err << "korvel: " << line << "\n";
        } catch (const std::exception& e) {
            // Reading goes on; a write reports the journal again.
            *context.err << "korvel: uyarı: " << e.what() << "\n";
        }
    }
}

void addJournalCommands(CLI::App& app, const ActionSlot& slot) {
    auto* history = app.add_subcommand("history", "the change journal of a station directory, newest first");
    auto dir = std::make_shared<std::string>();
    auto file = std::make_shared<std::string>();
    history->add_option("DIR", *dir, "station directory")->required();
    history->add_option("FILE", *file, "only the changes of this file (its name in DIR)");
    history->callback([slot, dir, file] {
        slot([dir, file](CliContext& context) {
            const fs::path station = context.existingDirectory(*dir);
            std::optional<std::string> only;
            if (!file->empty())
                only = fs::path(*file).filename().string();
            printHistory(context, station, only);
        });
    });

    auto* undo =
        app.add_subcommand("undo", "take back a journaled change and every later change of its file");
    auto undoDir = std::make_shared<std::string>();
    auto entry = std::make_shared<long long>(0);
    undo->add_option("DIR", *undoDir, "station directory")->required();
    undo->add_option("ENTRY", *entry, "entry number, as history lists it")
        ->required()
        ->check(CLI::PositiveNumber);
    undo->callback([slot, undoDir, entry] {
        slot([undoDir, entry](CliContext& context) {
            const fs::path station = context.existingDirectory(*undoDir);
            UndoOutcome outcome;
            try {
                outcome =
                    undoChange(station, *entry, {systemUserName(), "korvel undo " + std::to_string(*entry)});
            } catch (const UndoRefused& e) {
                throw CliError(e.what());
            } catch (const JournalError& e) {
                throw CliError(e.what());
            }
            if (context.json) {
                context.printJson({{"entry", outcome.entry}, {"undone", outcome.undone}});
                return;
            }
            std::string undone;
            for (const long long id : outcome.undone)
                undone += (undone.empty() ? "" : ", ") + std::to_string(id);
            context.printLine("geri alınan değişiklikler: " + undone + "; geri alma " +
                              std::to_string(outcome.entry) + " numaralı değişiklik olarak kaydedildi");
        });
    });
}

} // namespace korvel
