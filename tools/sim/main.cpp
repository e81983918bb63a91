// korvel-sim: the water-level logger, the rain logger, the current meter or the modem on a
// pseudo-terminal (or standard input and output), or a device replayed from a recorded session, for
// trying the instrument screens and the korvel tool without the instrument.
#include "SimLine.h"
#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/OleDate.h"
#include "instruments/LevelDump.h"
#include "instruments/LevelLoggerSettings.h"
#include "instruments/RainLogger.h"
#include "instruments/sim/CurrentMeterSim.h"
#include "instruments/sim/LevelLoggerSim.h"
#include "instruments/sim/ModemSim.h"
#include "instruments/sim/RainMemory.h"
#include "instruments/sim/ReplayDevice.h"

#include <CLI/CLI.hpp>
#include <atomic>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>

using namespace korvel;
using namespace korvel::sim;

namespace {

std::atomic<bool> stopRequested{false};

extern "C" void onSignal(int) {
    stopRequested.store(true);
}

CivilDate today() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

int minutesNow() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return local.tm_hour * 60 + local.tm_min;
}

// The ring bytes between the marker's end and the write position: the memory in use.
int usedBytesOf(const LevelDumpHeader& header) {
    const std::size_t start = header.ringStart() + 1;
    const std::size_t write = header.writePosition();
    if (!isRingPosition(start) || !isRingPosition(write))
        return 0;
    return static_cast<int>((write + levellogger::kRingSize - start) % levellogger::kRingSize);
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"korvel-sim: a water-level or rain logger on a pseudo-terminal; prints the device path",
                 "korvel-sim"};
    int days = 30;
    int interval = 15;
    int unit = 1;
    std::string date;
    std::string time;
    std::string station = "KARASU";
    std::string river = "SAKARYA";
    std::string number = "01-001";
    unsigned seed = 1;
    int battery = 240;
    std::string memoryFile;
    std::string saveMemory;
    std::string link;
    std::vector<std::string> faultTexts;
    double rate = 0;
    bool stdio = false;
    bool untilEof = false;
    bool verbose = false;
    std::string device = "level";
    int bucket = 1;
    int totalRain = 0;
    int lead = 0;
    std::string replayLog;
    app.add_option("--device", device,
                   "level (water-level logger, default), rain (rain logger), meter (current meter) or modem "
                   "(a Hayes modem with the water-level logger behind it)")
        ->check(CLI::IsMember({"level", "rain", "meter", "modem"}));
    app.add_option("--replay", replayLog,
                   "answer as the device did in a recorded session (a protocol log of a kept download)");
    app.add_option("--lead", lead,
                   "modem: bytes put before each download (negative: first bytes lost), to be aligned");
    app.add_option("--bucket", bucket, "rain logger: bucket setting (default 1)")->check(CLI::Range(0, 255));
    app.add_option("--total", totalRain, "rain logger: total rainfall counter (default 0)")
        ->check(CLI::Range(0, 9999));
    app.add_option("--days", days, "whole days recorded before today (default 30)")
        ->check(CLI::Range(0, 4000));
    app.add_option("--interval", interval, "recording interval in minutes (default 15)");
    app.add_option("--unit", unit, "level unit code: 1 millimetres, 10 centimetres (default 1)");
    app.add_option("--date", date, "the logger's date, dd.mm.yyyy (default today)");
    app.add_option("--time", time, "the logger's time, hh:mm (default now)");
    app.add_option("--station", station, "station name (8 characters)");
    app.add_option("--river", river, "river name (8 characters)");
    app.add_option("--number", number, "station number (8 characters)");
    app.add_option("--seed", seed, "seed of the generated levels");
    app.add_option("--battery", battery, "battery use count");
    app.add_option("--memory", memoryFile, "a 32768-byte memory image to hold instead of generated days");
    app.add_option("--save-memory", saveMemory, "write the memory image as a download would bring it");
    app.add_option("--link", link, "make a symbolic link to the pseudo-terminal under this name");
    app.add_option("--fault", faultTexts,
                   "silence | slow=MS | extra | garble | cutoff, optionally @BYTE (only that command) and *N "
                   "(N times)");
    app.add_option("--rate", rate, "download speed in bytes per second (default: as fast as the line takes)");
    app.add_flag("--stdio", stdio, "answer on standard input and output instead of a pseudo-terminal");
    app.add_flag("--until-stdin-closes", untilEof, "stop when standard input reaches its end");
    app.add_flag("--verbose", verbose, "log each command byte on standard error");
    CLI11_PARSE(app, argc, argv);

    LevelMemoryPlan plan;
    plan.days = days;
    plan.unitCode = unit;
    plan.seed = seed;
    plan.today = today();
    plan.minutesNow = minutesNow();
    if (!date.empty()) {
        const auto d = parseDateText(date);
        if (!d || d->isEmpty()) {
            std::cerr << "korvel-sim: not a date: " << date << "\n";
            return 1;
        }
        plan.today = d->date();
    }
    if (!time.empty()) {
        const auto t = timeSetting(time);
        if (!t) {
            std::cerr << "korvel-sim: not a time (hh:mm): " << time << "\n";
            return 1;
        }
        plan.minutesNow = t->data[1] * 60 + t->data[0];
    }
    const IntervalSetting intervalCode = intervalSetting(std::to_string(interval));
    if (intervalCode.answer != IntervalAnswer::Accepted) {
        std::cerr
            << "korvel-sim: the logger records at 1, 2, 5, 10, 15, 30, 60, 120, 240, 360 or 720 minutes\n";
        return 1;
    }
    plan.intervalCode = intervalCode.command.data[0];
    plan.stationName = fixedField(station, 8);
    plan.riverName = fixedField(river, 8);
    plan.stationNumber = fixedField(number, 8);

    const auto start = std::chrono::steady_clock::now();
    LevelLoggerSim logger = LevelLoggerSim::withMemory(plan, start);
    if (device == "rain") {
        RainMemoryPlan rainPlan;
        rainPlan.today = plan.today;
        rainPlan.days = days;
        rainPlan.seed = seed;
        rainPlan.stationName = plan.stationName;
        rainPlan.regionName = plan.riverName;
        rainPlan.stationNumber = plan.stationNumber;
        logger = rainLoggerSim(rainPlan, bucket, totalRain, start);
        LevelLoggerSim::State state = logger.state();
        state.clock = OleDate::fromDateTime(plan.today.year, plan.today.month, plan.today.day,
                                            plan.minutesNow / 60, plan.minutesNow % 60, 0);
        if (!memoryFile.empty()) {
            const auto image = readFileBytes(memoryFile);
            if (!image || image->size() != levellogger::kMemorySize) {
                std::cerr << "korvel-sim: not a 32768-byte memory image: " << memoryFile << "\n";
                return 1;
            }
            const std::size_t write = readRainDumpHeader(*image).writePosition;
            const int used = isRingPosition(write) ? static_cast<int>(write - levellogger::kRingFirst) : 0;
            state.memory = LevelMemory{*image, {}, write, used, 0};
        }
        logger = LevelLoggerSim(std::move(state), start);
    } else if (!memoryFile.empty()) {
        const auto image = readFileBytes(memoryFile);
        if (!image || image->size() != levellogger::kMemorySize) {
            std::cerr << "korvel-sim: not a 32768-byte memory image: " << memoryFile << "\n";
            return 1;
        }
        LevelLoggerSim::State state = logger.state();
        const LevelDumpHeader header = readLevelDumpHeader(*image);
        state.memory = LevelMemory{*image, {}, header.writePosition(), usedBytesOf(header), state.levelMm};
        logger = LevelLoggerSim(std::move(state), start);
    }
    for (const std::string& text : faultTexts) {
        const auto fault = parseSimFault(text);
        if (!fault) {
            std::cerr << "korvel-sim: unknown fault: " << text << "\n";
            return 1;
        }
        logger.addFault(*fault);
    }
    SimTiming timing;
    timing.downloadRate = rate;
    logger.setTiming(timing);
    logger.setBatteryCount(battery);

    if (device == "modem") {
        LevelLoggerSim::State state = logger.state();
        state.behindModem = true;
        logger = LevelLoggerSim(std::move(state), start);
        logger.setTiming(timing);
        logger.setBatteryCount(battery);
        for (const std::string& text : faultTexts)
            logger.addFault(*parseSimFault(text));
    }
    if (!saveMemory.empty())
        writeFileAtomic(saveMemory, logger.memoryImage(start));

    CurrentMeterSim meter(CalibrationBytes{3, 3, 8, 0, 2, 71});
    ModemSim modem(logger);
    modem.setDownloadLead(lead);
    SimDevice* served = &logger;
    std::unique_ptr<ReplayDevice> replay;
    if (!replayLog.empty()) {
        const auto text = readFileBytes(replayLog);
        std::string problem = "cannot read the file";
        const auto log =
            text ? ProtocolLog::parse(std::string(text->begin(), text->end()), &problem) : std::nullopt;
        if (!log) {
            std::cerr << "korvel-sim: not a protocol log: " << replayLog << ": " << problem << "\n";
            return 1;
        }
        replay = std::make_unique<ReplayDevice>(*log);
        served = replay.get();
    } else if (device == "meter") {
        for (const std::string& text : faultTexts)
            meter.addFault(*parseSimFault(text));
        served = &meter;
    } else if (device == "modem") {
        served = &modem;
    }

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGPIPE, SIG_IGN);
    try {
        SimLine line = stdio ? SimLine::descriptors(0, 1) : SimLine::pseudoTerminal();
        if (!stdio) {
            std::cout << line.path() << std::endl;
            if (!link.empty()) {
                std::error_code ec;
                std::filesystem::remove(link, ec);
                std::filesystem::create_symlink(line.path(), link, ec);
                if (ec)
                    std::cerr << "korvel-sim: cannot link " << link << ": " << ec.message() << "\n";
            }
        }
        line.serve(*served, stopRequested, untilEof && !stdio ? 0 : -1, verbose);
    } catch (const std::exception& e) {
        std::cerr << "korvel-sim: " << e.what() << "\n";
        return 1;
    }
    if (!link.empty()) {
        std::error_code ec;
        std::filesystem::remove(link, ec);
    }
    return 0;
}
