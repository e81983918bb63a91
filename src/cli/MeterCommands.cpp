#include "cli/CliContext.h"
#include "cli/KeptSession.h"
#include "cli/PortSession.h"
#include "instruments/Clock.h"
#include "instruments/CurrentMeter.h"
#include "platform/PosixSerialLink.h"

#include <memory>

namespace korvel {

namespace {

struct MeterOptions {
    std::string port;
    std::string station;
    std::string a;
    std::string b;
    std::string time;
};

void printCalibration(const CliContext& context, const MeterCalibration& c) {
    Sheet sheet;
    sheet.caption = "Mulinenin katsayısını değiştirir";
    sheet.setText("Text1", context.locale.numberText(c.a));
    sheet.setText("Text2", context.locale.numberText(c.b));
    sheet.setText("Text3", context.locale.numberText(c.time));
    context.printSheet(sheet);
}

} // namespace

void addMeterCommands(CLI::App& app, const ActionSlot& slot) {
    auto* group = app.add_subcommand("meter", "K.3300 current meter: calibration and memory");
    group->require_subcommand(1);
    auto o = std::make_shared<MeterOptions>();
    auto addPort = [o](CLI::App* command) { addPortOption(command, o->port); };

    auto* read = group->add_subcommand("read", "read the calibration back (ÖNCEKİ KATSAYI)");
    addPort(read);
    read->add_option("--station", o->station, "keep the reply and its log in this station directory");
    read->callback([slot, o] {
        slot([o](CliContext& context) {
            const std::filesystem::path stationDir =
                o->station.empty() ? std::filesystem::path() : context.existingDirectory(o->station);
            PortSession session(o->port);
            auto [r, recorded] = recordedSession(session.exchange(), kMeterInstrument, session.port(),
                                                 [](Exchange& e) { return readCalibration(e); });
            const MeterCalibration calibration = decodeCalibration(r.reply);
            if (!stationDir.empty()) {
                recorded.image = r.reply;
                recorded.complete = r.ok;
                recorded.outcome = r.ok ? std::string("ÖNCEKİ KATSAYI") : r.message;
                if (r.ok)
                    recorded.settings = {{"a", context.locale.numberText(calibration.a)},
                                         {"b", context.locale.numberText(calibration.b)},
                                         {"time", context.locale.numberText(calibration.time)}};
                keepSession(context, stationDir, recorded);
            }
            if (!r.ok)
                throw CliError(r.message);
            printCalibration(context, calibration);
        });
    });

    auto* write = group->add_subcommand("write", "write a new calibration (YENİ KATSAYIYI KAYDET)");
    addPort(write);
    write->add_option("--a", o->a, "coefficient A (below 1)")->required();
    write->add_option("--b", o->b, "coefficient B (below 0.1)")->required();
    write->add_option("--time", o->time, "measuring time in seconds (40 or more)")->required();
    write->callback([slot, o] {
        slot([o](CliContext& context) {
            const CalibrationCheck check = checkCalibration(o->a, o->b, o->time, context.locale);
            if (!check.bytes)
                throw CliError(check.message);
            PortSession session(o->port);
            const MeterOutcome r = writeCalibration(session.exchange(), *check.bytes);
            if (!r.ok)
                throw CliError(r.message);
            if (context.json) {
                nlohmann::json bytes = nlohmann::json::array();
                for (const std::uint8_t b : *check.bytes)
                    bytes.push_back(b);
                context.printJson({{"written", bytes}});
            } else {
                std::string text;
                for (const std::uint8_t b : *check.bytes)
                    text += (text.empty() ? "" : " ") + std::to_string(b);
                context.printLine(text);
            }
        });
    });

    auto* erase = group->add_subcommand("erase", "erase the current meter's memory");
    addPort(erase);
    erase->callback([slot, o] {
        slot([o](CliContext& context) {
            PortSession session(o->port);
            const MeterOutcome r = eraseMeter(session.exchange());
            if (!r.ok)
                throw CliError(r.message);
            if (context.json)
                context.printJson({{"erased", true}});
            else
                context.printLine("MULİNE HAFIZASI SİLİNDİ");
        });
    });
}

} // namespace korvel
