#pragma once

#include "cli/Korvel.h"
#include "core/ByteIO.h"
#include "core/Locale.h"
#include "core/Paths.h"
#include "core/Sheet.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <ostream>
#include <stdexcept>

namespace korvel {

// Bad input to a command: the message is printed as the one line on standard error.
class CliError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What every command works with, set up from the global options once parsing is done.
struct CliContext {
    Paths paths{Paths::defaultDriveRoot()};
    Locale locale = Locale::turkish();
    bool json = false;
    std::ostream* out = nullptr;
    // Notes beside a report that went through (a warning, not a failure).
    std::ostream* err = nullptr;
    // --csv DIR: every grid of a printed report is also written to DIR/<grid name>.csv.
    std::filesystem::path csvDir;
    // --pdf FILE: every printed report is also handed here, to be rendered once the command ends.
    std::function<void(const Sheet&)> reportSink;
    // Renders the yearbook of a network; empty in a tool built without Qt.
    NetworkBookPdfWriter bookWriter;

    // A path argument: a "c:\..." path resolves under the drive root, anything else is
    // taken as a local path (case-insensitively resolved).
    std::filesystem::path path(const std::string& argument) const;
    std::filesystem::path existingFile(const std::string& argument) const;
    std::filesystem::path existingDirectory(const std::string& argument) const;

    // The bytes of a file of fixed-size records for a report. Refused with a message: a file
    // that cannot be read, an empty one, one whose size is no multiple of the record size, and
    // one larger than sizeLimit (far more than the format holds), which is not read at all.
    Bytes recordFile(const std::filesystem::path& file, std::size_t recordSize, std::uintmax_t sizeLimit,
                     const std::string& kind) const;

    // Report output: the sheet as JSON or as caption, grids and texts. The keys of `extra`
    // (an object) join the JSON beside the sheet's own.
    void printSheet(const Sheet& sheet, const nlohmann::json& extra = nlohmann::json::object()) const;
    void printJson(const nlohmann::json& value) const;
    void printLine(const std::string& text) const;
};

// Each command group registers its subcommands; the callback it installs is run after
// parsing with the finished context.
using CommandAction = std::function<void(CliContext&)>;
using ActionSlot = std::function<void(CommandAction)>;

void addStationCommands(CLI::App& app, const ActionSlot& slot);
void addWaterYearCommands(CLI::App& app, const ActionSlot& slot);
void addHqCommands(CLI::App& app, const ActionSlot& slot);
void addRainCommands(CLI::App& app, const ActionSlot& slot);
void addBasinCommands(CLI::App& app, const ActionSlot& slot);
void addCardCommands(CLI::App& app, const ActionSlot& slot);
void addRatingCommands(CLI::App& app, const ActionSlot& slot);
void addTableCommands(CLI::App& app, const ActionSlot& slot);
void addDemoCommand(CLI::App& app, const ActionSlot& slot);
void addImportCommands(CLI::App& app, const ActionSlot& slot);
void addArchiveCommands(CLI::App& app, const ActionSlot& slot);
void addCorrelateCommands(CLI::App& app, const ActionSlot& slot);
// Adds "table supply" to the "table" group, creating the group when no other file has.
void addSupplyCommands(CLI::App& app, const ActionSlot& slot);
void addLoggerCommands(CLI::App& app, const ActionSlot& slot);
void addRainLoggerCommands(CLI::App& app, const ActionSlot& slot);
void addMeterCommands(CLI::App& app, const ActionSlot& slot);
void addModemCommands(CLI::App& app, const ActionSlot& slot);
// "downloads DIR": the downloads kept in a station directory.
void addDownloadsCommand(CLI::App& app, const ActionSlot& slot);
// "rain idf" (joining the "rain" group) and the "flow" group of the station's whole record.
void addMultiYearCommands(CLI::App& app, const ActionSlot& slot);
// "export" of a station's daily series, and "import csv" (joining the "import" group).
void addSeriesCommands(CLI::App& app, const ActionSlot& slot);
// "yearbook": the yearbook of every station of a data root for one water year as one PDF file.
void addYearbookCommand(CLI::App& app, const ActionSlot& slot);
void addJournalCommands(CLI::App& app, const ActionSlot& slot);

// The command as the change journal records it: the arguments without the global options.
std::string journalCommandName(const std::vector<std::string>& args);
// Settles the interrupted changes in the journals of the station directories the arguments
// name (a directory, or a file's directory); what was done goes to the error stream.
void settleStationsNamedIn(const CliContext& context, const std::vector<std::string>& args);

// Shared argument checks, throwing CliError with a clear message.
int parseYearArgument(const std::string& text);
OleDate parseDateArgument(const std::string& text);
double parseNumberArgument(const std::string& text, const Locale& locale);

nlohmann::json sheetToJson(const Sheet& sheet);
std::string sheetToText(const Sheet& sheet);

} // namespace korvel
