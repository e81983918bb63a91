#include "cli/CliContext.h"
#include "cli/KeptSession.h"
#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "instruments/Clock.h"
#include "instruments/LevelConversion.h"
#include "instruments/ModemTerminal.h"
#include "instruments/Reconversion.h"
#include "instruments/RecordingLink.h"
#include "platform/PosixSerialLink.h"

#include <memory>

namespace korvel {

namespace {

struct ModemOptions {
    std::string port;
    std::string prefix;
    std::string phone;
    std::string mode = "normal";
    std::string dump;
    std::string station;
    std::string number;
};

// One telephone call: the port is held from the dial to the hang-up.
class Call {
public:
    // `log`, when given, receives every byte of the call once it has ended.
    Call(const ModemOptions& o, ProtocolLog* log = nullptr) : log_(log) {
        try {
            dial(o);
        } catch (...) {
            if (log_)
                *log_ = recorder_.log();
            throw;
        }
    }
    ~Call() {
        const std::string hangUp = std::string(modem::kHangUp) + "\r";
        exchange_.write(Bytes(hangUp.begin(), hangUp.end()));
        clock_.sleepFor(std::chrono::milliseconds(200));
        exchange_.closePort();
        if (log_)
            *log_ = recorder_.log();
    }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;
    Exchange& exchange() { return exchange_; }

private:
    void dial(const ModemOptions& o) {
        link_.setLineSettings(kInstrumentLine);
        link_.setPort(o.port);
        const std::string number = dialNumber(o.prefix, o.phone);
        if (number.empty())
            throw CliError("--phone is empty");
        if (!exchange_.openPort())
            throw CliError("cannot open " + o.port);
        const std::string dial = dialCommand(number);
        exchange_.write(Bytes(dial.begin(), dial.end()));
        std::string heard;
        const auto deadline = clock_.now() + Seconds(60);
        while (heard.find("CONNECT") == std::string::npos) {
            if (heard.find("NO CARRIER") != std::string::npos || heard.find("BUSY") != std::string::npos ||
                clock_.now() >= deadline) {
                exchange_.closePort();
                throw CliError("no connection: " + heard);
            }
            exchange_.awaitAny(std::chrono::milliseconds(200));
            const Bytes bytes = exchange_.readAll();
            heard.append(bytes.begin(), bytes.end());
        }
        clock_.sleepFor(std::chrono::milliseconds(100));
        exchange_.discardInput();
    }

    ProtocolLog* log_;
    PosixSerialLink link_;
    SteadyClock clock_;
    RecordingLink recorder_{link_, clock_};
    Exchange exchange_{recorder_, clock_};
};

ModemDownloadMode modeOf(const std::string& text) {
    if (text == "slow")
        return ModemDownloadMode::Slow;
    if (text == "special")
        return ModemDownloadMode::Special;
    return ModemDownloadMode::Normal;
}

} // namespace

void addModemCommands(CLI::App& app, const ActionSlot& slot) {
    auto* group = app.add_subcommand("modem", "water-level logger over a telephone modem");
    group->require_subcommand(1);
    auto o = std::make_shared<ModemOptions>();
    auto addCall = [o](CLI::App* command) {
        command->add_option("--port", o->port, "the modem's port")->required();
        command->add_option("--phone", o->phone, "the station's telephone number")->required();
        command->add_option("--prefix", o->prefix, "dial prefix");
    };

    auto* info = group->add_subcommand("info", "dial, read the 81-byte information block, hang up");
    addCall(info);
    info->callback([slot, o] {
        slot([o](CliContext& context) {
            ModemInformation result;
            {
                Call call(*o);
                result = readModemInformation(call.exchange());
            }
            if (!result.ok)
                throw CliError(result.message);
            Sheet sheet = showModemBlock(result.block, nullptr, 0, context.locale).logger.fields;
            sheet.caption = std::string(kModemCaption);
            context.printSheet(sheet);
        });
    });

    auto* download = group->add_subcommand("download", "dial, download the memory, hang up (and convert it)");
    addCall(download);
    download->add_option("--mode", o->mode, "normal, slow or special")
        ->check(CLI::IsMember({"normal", "slow", "special"}));
    download->add_option("--dump", o->dump, "write the dump here instead of c:\\korvel96\\hamdata.96");
    download->add_option("--station", o->station, "convert into this station directory");
    download->add_option("--number", o->number, "the confirmed station number for --station");
    download->callback([slot, o] {
        slot([o](CliContext& context) {
            if (!o->station.empty() && trimmed(o->number).empty())
                throw CliError("--station needs --number");
            const std::filesystem::path stationDir =
                o->station.empty() ? std::filesystem::path() : context.existingDirectory(o->station);
            ModemDownload result;
            DownloadSession session;
            session.instrument = std::string(kModemInstrument);
            session.port = o->port;
            session.started = localNow();
            std::optional<KeptDownload> kept;
            auto keep = [&] {
                if (stationDir.empty())
                    return;
                describeDownload(session, result);
                session.settings = levelImageSettings(result.image);
                kept = keepSession(context, stationDir, session);
            };
            try {
                Call call(*o, &session.log);
                result = downloadOverModem(call.exchange(), modeOf(o->mode));
            } catch (const CliError& e) {
                result.message = e.what();
                keep();
                throw;
            }
            keep();
            if (!result.ok)
                throw CliError(result.message);
            const std::filesystem::path dumpFile =
                o->dump.empty() ? levelDumpPath(context.paths.korvel96Root()) : context.path(o->dump);
            writeRawLoggerDump(dumpFile, result.image);
            if (o->station.empty()) {
                if (context.json)
                    context.printJson({{"dump", dumpFile.string()},
                                       {"received", result.received.size()},
                                       {"complete", result.complete()}});
                else
                    context.printLine(std::string(result.complete() ? kDownloadDone : kIncompleteDownload) +
                                      ": " + dumpFile.string());
                if (!result.complete())
                    throw CliError(std::string(kIncompleteDownload));
                return;
            }
            const LevelConversionResult r = convertLevelDump(
                result.image, o->number, {stationDir, context.paths.korvel96Root()}, result.receivedEnd);
            noteKeptConversion(context, kept, o->number,
                               r.converted ? levelConversionFiles(r, stationDir, o->number)
                                           : std::vector<std::string>{},
                               r.converted ? std::to_string(r.days.size()) + " gün yazıldı" : r.message);
            if (!r.converted)
                throw CliError(r.message);
            if (context.json)
                context.printJson({{"dump", dumpFile.string()},
                                   {"days", r.days.size()},
                                   {"complete", result.complete()},
                                   {"missingDays", r.missingDays}});
            else
                context.printLine("days: " + std::to_string(r.days.size()));
            // The days that came are written; the exit status still tells that some did not.
            if (!result.complete())
                throw CliError(incompleteDownloadMessage(r.days.size(), r.missingDays));
        });
    });
}

} // namespace korvel
