#include "cli/CliContext.h"
#include "cli/KeptSession.h"
#include "cli/PortSession.h"
#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "instruments/Clock.h"
#include "instruments/LevelConversion.h"
#include "instruments/LevelLoggerView.h"
#include "instruments/RainLogger.h"
#include "instruments/Reconversion.h"
#include "platform/PosixSerialLink.h"

#include <memory>

namespace korvel {

namespace {

struct RainOptions {
    std::string port;
    std::string dump;
    std::string station;
    std::string number;
    std::string bucket;
    std::string input;
};

Sheet viewSheet(const RainLoggerView& view) {
    Sheet sheet = view.fields;
    sheet.caption = std::string(kRainLoggerCaption);
    return sheet;
}

int bucketOf(const std::string& text) {
    const auto setting = bucketSetting(text);
    if (!setting)
        throw CliError("--bucket must be a whole number 0..255: " + text);
    return setting->data[0];
}

// Converts the image and prints what was written; the conversion is noted in the kept
// download's description when there is one.
void convertRain(const CliContext& context, const Bytes& dump, const std::filesystem::path& stationDir,
                 const std::string& number, int bucketFactor,
                 std::optional<KeptDownload> kept = std::nullopt) {
    if (const auto problem = stationNumberProblem(number))
        throw CliError(*problem);
    const RainConversionResult r = convertRainDump(dump, number, stationDir, bucketFactor);
    noteKeptConversion(context, kept, number,
                       r.converted ? rainConversionFiles(r, number) : std::vector<std::string>{}, r.message);
    if (!r.converted)
        throw CliError(r.message);
    if (context.json) {
        nlohmann::json written = nlohmann::json::array();
        for (const OleDate d : r.written.writtenDays)
            written.push_back(d.dateText());
        nlohmann::json skipped = nlohmann::json::array();
        for (const OleDate d : r.written.skippedDays)
            skipped.push_back(d.dateText());
        nlohmann::json errors = nlohmann::json::array();
        for (const RainWriteError& e : r.written.errors)
            errors.push_back(e.message);
        nlohmann::json clipped = nlohmann::json::array();
        for (const ClippedRainMinute& c : r.clipped)
            clipped.push_back(c.text(bucketFactor));
        context.printJson({{"message", std::string(kRecordingCompleted)},
                           {"events", r.decoded.events.size()},
                           {"writtenDays", written},
                           {"skippedDays", skipped},
                           {"clipped", clipped},
                           {"errors", errors}});
    } else {
        context.printLine("events: " + std::to_string(r.decoded.events.size()) +
                          ", days written: " + std::to_string(r.written.writtenDays.size()) +
                          ", skipped: " + std::to_string(r.written.skippedDays.size()));
        for (const OleDate d : r.written.writtenDays)
            context.printLine(context.locale.shortDate(d));
        context.printLine(r.message);
    }
    if (!r.written.ok())
        throw CliError(r.written.errors.front().message);
}

} // namespace

void addRainLoggerCommands(CLI::App& app, const ActionSlot& slot) {
    auto* group =
        app.add_subcommand("rainlogger", "rain logger: information, settings, download, conversion");
    group->require_subcommand(1);
    auto o = std::make_shared<RainOptions>();
    auto addPort = [o](CLI::App* command) { addPortOption(command, o->port); };

    auto* info =
        group->add_subcommand("info", "read the rain logger's total, clock, bucket setting and texts");
    addPort(info);
    info->callback([slot, o] {
        slot([o](CliContext& context) {
            PortSession session(o->port);
            const CommandOutcome outcome = readRainInformation(session.exchange());
            if (outcome.ok || !outcome.replies.empty())
                context.printSheet(viewSheet(showReplies(RainLoggerView{}, outcome, context.locale)));
            requireOk(outcome);
        });
    });

    auto* set = group->add_subcommand("set", "change the bucket setting");
    addPort(set);
    set->add_option("--bucket", o->bucket, "bucket setting, 0..255")->required();
    set->callback([slot, o] {
        slot([o](CliContext& context) {
            const auto command = bucketSetting(o->bucket);
            if (!command)
                throw CliError("--bucket must be a whole number 0..255: " + o->bucket);
            PortSession session(o->port);
            const CommandOutcome outcome = writeSetting(session.exchange(), *command);
            requireOk(outcome);
            context.printSheet(viewSheet(showReplies(RainLoggerView{}, outcome, context.locale)));
        });
    });

    auto* erase = group->add_subcommand("erase", "erase the rain logger's memory");
    addPort(erase);
    erase->callback([slot, o] {
        slot([o](CliContext& context) {
            PortSession session(o->port);
            eraseAndReport(session, context);
        });
    });

    auto* download = group->add_subcommand(
        "download", "download the memory into c:\\korvel96\\hamdata.plu (and convert it)");
    addPort(download);
    download->add_option("--dump", o->dump, "write the dump here instead");
    download->add_option("--station", o->station, "convert into this station directory");
    download->add_option("--number", o->number, "the confirmed station number for --station");
    download->add_option("--bucket", o->bucket, "the bucket factor for --station");
    download->callback([slot, o] {
        slot([o](CliContext& context) {
            if (!o->station.empty() && (trimmed(o->number).empty() || o->bucket.empty()))
                throw CliError("--station needs --number and --bucket");
            const int bucket = o->station.empty() ? 0 : bucketOf(o->bucket);
            const std::filesystem::path dumpFile =
                o->dump.empty() ? rainDumpPath(context.paths.korvel96Root()) : context.path(o->dump);
            const std::filesystem::path stationDir =
                o->station.empty() ? std::filesystem::path() : context.existingDirectory(o->station);
            PortSession session(o->port);
            auto [outcome, recorded] =
                recordedSession(session.exchange(), kRainInstrument, session.port(),
                                [](Exchange& e) { return downloadWithCount(e, rainDownloadOptions()); });
            std::optional<KeptDownload> kept;
            if (!stationDir.empty()) {
                describeDownload(recorded, outcome);
                recorded.settings = rainImageSettings(recorded.image, bucket);
                kept = keepSession(context, stationDir, recorded);
            }
            if (!outcome.ok)
                throw CliError(outcome.message);
            writeRawLoggerDump(dumpFile, outcome.image);
            if (o->station.empty()) {
                if (context.json)
                    context.printJson({{"dump", dumpFile.string()}, {"bytes", outcome.image.size()}});
                else
                    context.printLine(std::string(kDownloadDone) + ": " + dumpFile.string());
                return;
            }
            convertRain(context, outcome.image, stationDir, o->number, bucket, kept);
        });
    });

    auto* reconvert = group->add_subcommand(
        "reconvert", "convert a kept download (sagimlar/*.bin) into the station's rainfall years again");
    reconvert->add_option("IMAGE", o->input, "the kept image")->required();
    reconvert->add_option("DIR", o->station, "station directory")->required();
    reconvert->add_option("--number", o->number, "the confirmed station number")->required();
    reconvert->add_option("--bucket", o->bucket, "the bucket factor")->required();
    reconvert->callback([slot, o] {
        slot([o](CliContext& context) {
            const int bucket = bucketOf(o->bucket);
            const ReconversionImage image = rainImageForReconversion(context.path(o->input));
            if (!image.ok())
                throw CliError(image.problem);
            convertRain(context, image.image, context.existingDirectory(o->station), o->number, bucket,
                        image.kept);
        });
    });

    auto* convert =
        group->add_subcommand("convert", "convert a rain logger dump into the station's rainfall years");
    convert->add_option("DUMP", o->input, "the 32768-byte dump (c:\\korvel96\\hamdata.plu)")->required();
    convert->add_option("DIR", o->station, "station directory")->required();
    convert->add_option("--number", o->number, "the confirmed station number")->required();
    convert->add_option("--bucket", o->bucket, "the bucket factor")->required();
    convert->callback([slot, o] {
        slot([o](CliContext& context) {
            const int bucket = bucketOf(o->bucket);
            const auto file = context.existingFile(o->input);
            const auto dump = readFileBytes(file);
            if (!dump)
                throw CliError("cannot read " + file.string());
            convertRain(context, *dump, context.existingDirectory(o->station), o->number, bucket);
        });
    });
}

} // namespace korvel
