#include "cli/CliContext.h"
#include "cli/KeptSession.h"
#include "cli/PortSession.h"
#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "instruments/Clock.h"
#include "instruments/LevelConversion.h"
#include "instruments/LevelLogger.h"
#include "instruments/LevelLoggerView.h"
#include "instruments/ReceivedReadings.h"
#include "instruments/Reconversion.h"
#include "platform/PosixSerialLink.h"

#include <memory>

namespace korvel {

namespace {

struct PortOptions {
    std::string port;
};

struct SetOptions {
    std::string time;
    std::string date;
    std::string interval;
    std::string level;
    int unit = 0;
    int unitCode = 0;
    std::optional<std::string> stationName;
    std::optional<std::string> stationNumber;
    std::optional<std::string> riverName;
};

struct ConvertOptions {
    std::string input;
    std::string dir;
    std::string number;
};

struct DownloadCliOptions {
    std::string dump;
    std::string station;
    std::string number;
};

Sheet viewSheet(const LevelLoggerView& view) {
    Sheet sheet = view.fields;
    sheet.caption = std::string(kLevelLoggerCaption);
    if (view.levelUnitCode != 0)
        sheet.setText("levelUnitCode", std::to_string(view.levelUnitCode));
    return sheet;
}

void printDays(const CliContext& context, const std::vector<DayRecord>& days, const WrittenDays& written,
               nlohmann::json extra) {
    if (context.json) {
        nlohmann::json list = nlohmann::json::array();
        for (const DayRecord& d : days)
            list.push_back({{"date", d.date.dateText()},
                            {"meanValue", d.meanValue},
                            {"maxLevel", d.maxLevel},
                            {"maxTime", context.locale.longTime(d.maxTime)},
                            {"minLevel", d.minLevel},
                            {"minTime", context.locale.longTime(d.minTime)}});
        extra["days"] = list;
        extra["written"] = written.written;
        extra["dropped"] = written.dropped;
        context.printJson(extra);
        return;
    }
    for (const auto& [key, value] : extra.items())
        context.printLine(key + ": " + (value.is_string() ? value.get<std::string>() : value.dump()));
    context.printLine("days: " + std::to_string(days.size()) + ", written: " +
                      std::to_string(written.written) + ", dropped: " + std::to_string(written.dropped));
    for (const DayRecord& d : days)
        context.printLine(context.locale.shortDate(d.date) + "\t" + context.locale.numberText32(d.meanValue) +
                          "\t" + std::to_string(d.maxLevel) + "\t" + context.locale.longTime(d.maxTime) +
                          "\t" + std::to_string(d.minLevel) + "\t" + context.locale.longTime(d.minTime));
}

// Converts the image and prints the days; the conversion is noted in the kept download's
// description when there is one. Throws why nothing was converted.
void convertDump(const CliContext& context, const Bytes& dump, const std::filesystem::path& stationDir,
                 const std::string& number, std::optional<KeptDownload> kept = std::nullopt,
                 std::size_t receivedEnd = kWholeImage) {
    const LevelConversionResult r =
        convertLevelDump(dump, number, {stationDir, context.paths.korvel96Root()}, receivedEnd);
    if (!r.converted) {
        noteKeptConversion(context, kept, number, {}, r.message);
        throw CliError(r.message);
    }
    noteKeptConversion(context, kept, number, levelConversionFiles(r, stationDir, number),
                       std::to_string(r.days.size()) + " gün yazıldı");
    printDays(context, r.days, r.written,
              {{"readingsFile", r.readingsFile.string()},
               {"textsFile", r.textsFile.string()},
               {"stationCopy", r.stationCopy.string()},
               {"lastDayInProgress", r.lastDayInProgress}});
}

SettingCommand settingOf(const SetOptions& o) {
    int chosen = 0;
    SettingCommand command;
    if (!o.time.empty()) {
        ++chosen;
        const auto c = timeSetting(o.time);
        if (!c)
            throw CliError("time must be hh:mm: " + o.time);
        command = *c;
    }
    if (!o.date.empty()) {
        ++chosen;
        const auto c = dateSetting(o.date);
        if (!c)
            throw CliError("date must be dd.mm.yyyy: " + o.date);
        command = *c;
    }
    if (!o.interval.empty()) {
        ++chosen;
        const IntervalSetting c = intervalSetting(o.interval);
        if (c.answer != IntervalAnswer::Accepted)
            throw CliError("interval must be one of 1, 2, 5, 10, 15, 30, 60, 120, 240, 360, 720: " +
                           o.interval);
        command = c.command;
    }
    if (!o.level.empty()) {
        ++chosen;
        if (o.unit != 1 && o.unit != 10)
            throw CliError("--level needs --unit 1 or 10 (the logger's unit code)");
        const auto c = levelSetting(o.level, o.unit);
        if (!c)
            throw CliError(std::string(kWrongValue));
        command = *c;
    }
    if (o.unitCode != 0) {
        ++chosen;
        command = unitToggle(o.unitCode == 1 ? 10 : 1);
    }
    const std::pair<const std::optional<std::string>*, std::uint8_t> texts[] = {
        {&o.stationName, levellogger::kStationName},
        {&o.stationNumber, levellogger::kStationNumber},
        {&o.riverName, levellogger::kRiverName}};
    for (const auto& [text, read] : texts)
        if (*text) {
            ++chosen;
            command = textSetting(read, **text);
        }
    if (chosen != 1)
        throw CliError("give exactly one setting");
    return command;
}

} // namespace

void addLoggerCommands(CLI::App& app, const ActionSlot& slot) {
    auto* logger =
        app.add_subcommand("logger", "water-level logger: information, settings, download, conversion");
    logger->require_subcommand(1);

    auto port = std::make_shared<PortOptions>();
    auto addPort = [port](CLI::App* command) { addPortOption(command, port->port); };

    auto* info =
        logger->add_subcommand("info", "read the logger's clock, interval, level, texts and battery");
    addPort(info);
    info->callback([slot, port] {
        slot([port](CliContext& context) {
            PortSession session(port->port);
            const CommandOutcome outcome = readInformation(session.exchange());
            // The fields read before a failure are shown, then the message.
            if (outcome.ok || !outcome.replies.empty())
                context.printSheet(viewSheet(showReplies(LevelLoggerView{}, outcome, context.locale)));
            requireOk(outcome);
        });
    });

    auto set = std::make_shared<SetOptions>();
    auto* setCommand = logger->add_subcommand("set", "change one setting of the logger");
    addPort(setCommand);
    setCommand->add_option("--time", set->time, "logger clock, hh:mm");
    setCommand->add_option("--date", set->date, "logger date, dd.mm.yyyy");
    setCommand->add_option("--interval", set->interval, "recording interval in minutes");
    setCommand->add_option("--level", set->level, "staff level as the four digits shown");
    setCommand->add_option("--unit", set->unit, "the logger's unit code for --level (1 mm, 10 cm)");
    setCommand->add_option("--unit-code", set->unitCode, "switch the level unit to this code (1 or 10)")
        ->check(CLI::IsMember({1, 10}));
    setCommand->add_option("--station-name", set->stationName, "station name (8 characters kept)");
    setCommand->add_option("--station-number", set->stationNumber, "station number (8 characters kept)");
    setCommand->add_option("--river", set->riverName, "river name (8 characters kept)");
    setCommand->callback([slot, port, set] {
        slot([port, set](CliContext& context) {
            const SettingCommand command = settingOf(*set);
            PortSession session(port->port);
            const CommandOutcome outcome = writeSetting(session.exchange(), command);
            requireOk(outcome);
            LevelLoggerView view;
            view.levelUnitCode = command.writeByte == levellogger::kUnitToggle ? set->unitCode : set->unit;
            context.printSheet(viewSheet(showReplies(std::move(view), outcome, context.locale)));
        });
    });

    auto* erase = logger->add_subcommand("erase", "erase the logger's memory");
    addPort(erase);
    erase->callback([slot, port] {
        slot([port](CliContext& context) {
            PortSession session(port->port);
            eraseAndReport(session, context);
        });
    });

    auto download = std::make_shared<DownloadCliOptions>();
    auto* downloadCommand = logger->add_subcommand(
        "download", "download the memory into c:\\korvel96\\hamdata.96 (and convert it)");
    addPort(downloadCommand);
    downloadCommand->add_option("--dump", download->dump, "write the dump here instead");
    downloadCommand->add_option("--station", download->station, "convert into this station directory");
    downloadCommand->add_option("--number", download->number, "the confirmed station number for --station");
    downloadCommand->callback([slot, port, download] {
        slot([port, download](CliContext& context) {
            if (!download->station.empty() && trimmed(download->number).empty())
                throw CliError("--station needs --number");
            const std::filesystem::path dumpFile = download->dump.empty()
                                                       ? levelDumpPath(context.paths.korvel96Root())
                                                       : context.path(download->dump);
            const std::filesystem::path stationDir = download->station.empty()
                                                         ? std::filesystem::path()
                                                         : context.existingDirectory(download->station);
            PortSession session(port->port);
            auto [outcome, recorded] = recordedSession(session.exchange(), kLevelInstrument, session.port(),
                                                       [](Exchange& e) { return downloadWithCount(e, {}); });
            std::optional<KeptDownload> kept;
            if (!stationDir.empty()) {
                describeDownload(recorded, outcome);
                recorded.settings = levelImageSettings(recorded.image);
                kept = keepSession(context, stationDir, recorded);
            }
            if (!outcome.ok)
                throw CliError(outcome.message);
            writeRawLoggerDump(dumpFile, outcome.image);
            if (download->station.empty()) {
                if (context.json)
                    context.printJson({{"dump", dumpFile.string()}, {"bytes", outcome.image.size()}});
                else
                    context.printLine(std::string(kDownloadDone) + ": " + dumpFile.string());
                return;
            }
            convertDump(context, outcome.image, stationDir, download->number, kept);
        });
    });

    auto reconvert = std::make_shared<ConvertOptions>();
    auto* reconvertCommand = logger->add_subcommand(
        "reconvert", "convert a kept download (sagimlar/*.bin) into the station's water years again");
    reconvertCommand->add_option("IMAGE", reconvert->input, "the kept image")->required();
    reconvertCommand->add_option("DIR", reconvert->dir, "station directory")->required();
    reconvertCommand->add_option("--number", reconvert->number, "the confirmed station number")->required();
    reconvertCommand->callback([slot, reconvert] {
        slot([reconvert](CliContext& context) {
            const ReconversionImage image = levelImageForReconversion(context.path(reconvert->input));
            if (!image.ok())
                throw CliError(image.problem);
            convertDump(context, image.image, context.existingDirectory(reconvert->dir), reconvert->number,
                        image.kept, image.receivedEnd);
        });
    });

    auto convert = std::make_shared<ConvertOptions>();
    auto* convertCommand =
        logger->add_subcommand("convert", "convert a logger dump into the station's water years");
    convertCommand->add_option("DUMP", convert->input, "the 32768-byte dump (c:\\korvel96\\hamdata.96)")
        ->required();
    convertCommand->add_option("DIR", convert->dir, "station directory")->required();
    convertCommand->add_option("--number", convert->number, "the confirmed station number")->required();
    convertCommand->callback([slot, convert] {
        slot([convert](CliContext& context) {
            const auto file = context.existingFile(convert->input);
            const auto dump = readFileBytes(file);
            if (!dump)
                throw CliError("cannot read " + file.string());
            convertDump(context, *dump, context.path(convert->dir), convert->number);
        });
    });

    auto received = std::make_shared<ConvertOptions>();
    auto* receivedCommand = logger->add_subcommand(
        "convert-received",
        "convert a day-readings file of the older program into the directory's water years");
    receivedCommand->add_option("FILE", received->input, "the day-readings file (its texts file beside it)")
        ->required();
    receivedCommand->add_option("DIR", received->dir, "destination station directory")->required();
    receivedCommand->add_option("--number", received->number, "the confirmed station number")->required();
    receivedCommand->callback([slot, received] {
        slot([received](CliContext& context) {
            const auto file = context.existingFile(received->input);
            const ReceivedConversionResult r =
                convertReceivedReadings(file, received->number, context.path(received->dir));
            if (!r.converted)
                throw CliError(r.message);
            printDays(context, r.days, r.written, {{"copy", r.copy.string()}, {"skipped", r.skipped}});
        });
    });
}

} // namespace korvel
