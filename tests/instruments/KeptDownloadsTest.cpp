#include "instruments/KeptDownloads.h"

#include "common/ScratchDirectory.h"
#include "core/FileIO.h"
#include "instruments/CurrentMeter.h"
#include "instruments/LevelLogger.h"
#include "instruments/ModemTerminal.h"
#include "instruments/Reconversion.h"
#include "instruments/RecordingLink.h"
#include "instruments/sim/CurrentMeterSim.h"
#include "instruments/sim/ModemSim.h"
#include "instruments/sim/RainMemory.h"
#include "instruments/sim/ReplayDevice.h"
#include "instruments/sim/SimulatedLink.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::sim;
using korvel::testing::ScratchDirectory;
namespace fs = std::filesystem;

namespace {

const LocalTime kMorning{{2026, 12, 9}, {8, 30, 15}};

// A session on a simulated device, recorded, and the same commands again against its replay.
template <typename Job> auto recordedOn(SimDevice& device, Job job) {
    FakeClock clock;
    SimulatedLink link(device, clock);
    Exchange exchange(link, clock);
    return recordSession(exchange, job);
}

ProtocolLog throughText(const ProtocolLog& log) {
    std::string problem;
    const auto parsed = ProtocolLog::parse(log.text({"instrument: test"}), &problem);
    EXPECT_TRUE(parsed) << problem;
    return parsed.value_or(ProtocolLog{});
}

DownloadSession session(std::string instrument, Bytes image, bool complete) {
    DownloadSession s;
    s.instrument = std::move(instrument);
    s.port = "/dev/ttyS0";
    s.started = kMorning;
    s.image = std::move(image);
    s.complete = complete;
    s.outcome = complete ? "Sagım yapıldı" : "Yeniden deneyin";
    s.log.add(ProtocolLog::Kind::Written, 0, {0x50});
    return s;
}

} // namespace

TEST(ProtocolLogText, EachByteWithTimeDirectionHexAndCharacters) {
    ProtocolLog log;
    log.add(ProtocolLog::Kind::Opened, 0);
    log.add(ProtocolLog::Kind::Written, 3, {0x01});
    log.add(ProtocolLog::Kind::Written, 3, {0x50}); // the same millisecond joins the line
    log.add(ProtocolLog::Kind::Read, 1250, {0x06, 'G', 'A', ' ', 0xD4});
    Bytes long_(18, 'I');
    log.add(ProtocolLog::Kind::Read, 1270, long_);
    log.add(ProtocolLog::Kind::Closed, 3300);
    const std::string text = log.text({"port: Com1"});
    const std::string pad(48 - 6, ' ');
    EXPECT_EQ(text,
              "# port: Com1\n"
              "        0 ms  -- open\n"
              "        3 ms  -> 01 50 " +
                  pad +
                  " |.P|\n"
                  "     1250 ms  <- 06 47 41 20 D4 " +
                  std::string(48 - 15, ' ') +
                  " |.GA .|\n"
                  "     1270 ms  <- 49 49 49 49 49 49 49 49 49 49 49 49 49 49 49 49  |IIIIIIIIIIIIIIII|\n"
                  "     1270 ms  <- 49 49 " +
                  pad +
                  " |II|\n"
                  "     3300 ms  -- close\n");
    const ProtocolLog back = throughText(log);
    ASSERT_EQ(back.entries().size(), log.entries().size());
    for (std::size_t i = 0; i < log.entries().size(); ++i) {
        EXPECT_EQ(back.entries()[i].kind, log.entries()[i].kind);
        EXPECT_EQ(back.entries()[i].ms, log.entries()[i].ms);
        EXPECT_EQ(back.entries()[i].bytes, log.entries()[i].bytes);
    }
    std::string problem;
    EXPECT_FALSE(ProtocolLog::parse("     12 ms  -> 0G\n", &problem));
    EXPECT_EQ(problem, "line 1: not a hex byte");
}

TEST(RecordedSessions, TheLogHoldsEveryByteAndAReplayAnswersTheSame) {
    LevelMemoryPlan plan;
    plan.days = 40;
    FakeClock simClock;
    LevelLoggerSim logger = LevelLoggerSim::withMemory(plan, simClock.now());
    const auto recorded = recordedOn(logger, [](Exchange& e) { return downloadMemory(e); });
    ASSERT_TRUE(recorded.result.ok) << recorded.result.message;
    const Bytes read = recorded.log.allBytes(ProtocolLog::Kind::Read);
    ASSERT_GE(read.size(), 32769u);
    EXPECT_TRUE(std::equal(recorded.result.image.begin(), recorded.result.image.end(), read.end() - 32768));
    EXPECT_EQ(recorded.log.entries().front().kind, ProtocolLog::Kind::Opened);
    EXPECT_EQ(recorded.log.entries().back().kind, ProtocolLog::Kind::Closed);

    ReplayDevice replay(throughText(recorded.log));
    const auto again = recordedOn(replay, [](Exchange& e) { return downloadMemory(e); });
    ASSERT_TRUE(again.result.ok) << again.result.message;
    EXPECT_EQ(again.result.image, recorded.result.image);
    EXPECT_EQ(replay.stepsMatched(), replay.stepCount());
}

TEST(RecordedSessions, RainMeterAndModemReplayAsRecorded) {
    RainMemoryPlan rainPlan;
    LevelLoggerSim rain = rainLoggerSim(rainPlan, 2, 317, {});
    const auto rainRun = [](Exchange& e) { return downloadMemory(e, rainDownloadOptions()); };
    const auto rainRecorded = recordedOn(rain, rainRun);
    ASSERT_TRUE(rainRecorded.result.ok);
    ReplayDevice rainReplay(throughText(rainRecorded.log));
    EXPECT_EQ(recordedOn(rainReplay, rainRun).result.image, rainRecorded.result.image);

    CurrentMeterSim meter(CalibrationBytes{3, 3, 8, 0, 2, 71});
    const auto meterRecorded = recordedOn(meter, [](Exchange& e) { return readCalibration(e); });
    ASSERT_TRUE(meterRecorded.result.ok);
    ReplayDevice meterReplay(throughText(meterRecorded.log));
    const auto meterAgain = recordedOn(meterReplay, [](Exchange& e) { return readCalibration(e); });
    ASSERT_TRUE(meterAgain.result.ok) << meterAgain.result.message;
    EXPECT_EQ(meterAgain.result.reply, meterRecorded.result.reply);

    LevelMemoryPlan plan;
    plan.days = 12;
    LevelLoggerSim::State state = LevelLoggerSim::withMemory(plan, {}).state();
    state.behindModem = true;
    LevelLoggerSim logger(state, {});
    ModemSim modem(logger);
    modem.setDownloadLead(7);
    const auto call = [](Exchange& e) {
        e.openPort();
        const std::string dial = dialCommand("3124567");
        e.write(Bytes(dial.begin(), dial.end()));
        e.awaitAny(Seconds(2));
        e.clock().sleepFor(std::chrono::milliseconds(100));
        e.discardInput();
        return downloadOverModem(e, ModemDownloadMode::Normal);
    };
    const auto modemRecorded = recordedOn(modem, call);
    ASSERT_TRUE(modemRecorded.result.ok) << modemRecorded.result.message;
    ReplayDevice modemReplay(throughText(modemRecorded.log));
    const auto modemAgain = recordedOn(modemReplay, call);
    ASSERT_TRUE(modemAgain.result.ok) << modemAgain.result.message;
    EXPECT_EQ(modemAgain.result.received, modemRecorded.result.received);
}

TEST(RecordedSessions, ACutOffDownloadKeepsWhatCameAndIsNotConvertedAgain) {
    LevelLoggerSim logger = LevelLoggerSim::withMemory({}, {});
    logger.addFault(*parseSimFault("cutoff"));
    const auto recorded = recordedOn(logger, [](Exchange& e) { return downloadMemory(e); });
    ASSERT_FALSE(recorded.result.ok);
    EXPECT_EQ(recorded.result.partial.size(), 32769u / 2 - 1);
    const Bytes whole = logger.memoryImage({});
    EXPECT_TRUE(std::equal(recorded.result.partial.begin(), recorded.result.partial.end(), whole.begin()));

    ScratchDirectory dir;
    DownloadSession s = session(std::string(kLevelInstrument), recorded.result.partial, false);
    s.log = recorded.log;
    const KeptDownload kept = keepDownload(dir.path(), s);
    EXPECT_EQ(readFileBytes(kept.image), recorded.result.partial);
    const auto log = readFileBytes(kept.log);
    ASSERT_TRUE(log);
    EXPECT_TRUE(ProtocolLog::parse(std::string(log->begin(), log->end())));
    const auto listed = listKeptDownloads(dir.path());
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_FALSE(listed[0].complete);
    EXPECT_EQ(listed[0].outcome, "Yeniden deneyin");
    EXPECT_EQ(levelImageForReconversion(kept.image).problem,
              "Ham veri eksik: 16383 bayt, 32768 olmalı: 20261209-083015-level.bin");
}

TEST(KeptDownloadFiles, NamedByTimeAndInstrumentDescribedAndListed) {
    ScratchDirectory dir;
    const Bytes image = LevelLoggerSim::withMemory({}, {}).memoryImage({});
    DownloadSession s = session(std::string(kLevelInstrument), image, true);
    s.settings = levelImageSettings(image);
    KeptDownload first = keepDownload(dir.path(), s);
    const KeptDownload second = keepDownload(dir.path(), s);
    EXPECT_EQ(first.image, dir.path() / "sagimlar" / "20261209-083015-level.bin");
    EXPECT_EQ(second.image.filename(), "20261209-083015-level-2.bin");
    EXPECT_EQ(first.log.filename(), "20261209-083015-level.log");
    noteConversion(first, {{2026, 12, 9}, {8, 31, 0}}, "01-001", {"2027_01-001.ard", "KAR9-12 .-26"},
                   "Kayıd tamamlandı");

    const auto listed = listKeptDownloads(dir.path());
    ASSERT_EQ(listed.size(), 2u);
    const KeptDownload& k = listed[0];
    EXPECT_EQ(k.image, first.image);
    EXPECT_EQ(k.instrument, "level");
    EXPECT_EQ(k.time, "09.12.2026 08:30:15");
    EXPECT_EQ(k.bytes, 32768u);
    EXPECT_TRUE(k.complete);
    EXPECT_EQ(k.station, "01-001");
    EXPECT_EQ(k.files, (std::vector<std::string>{"2027_01-001.ard", "KAR9-12 .-26"}));
    EXPECT_EQ(k.history, (std::vector<std::string>{"09.12.2026 08:31:00 01-001: Kayıd tamamlandı"}));
    EXPECT_EQ(k.setting("stationNumber"), "01-001  ");
    EXPECT_EQ(k.setting("intervalMinutes"), "15");
    EXPECT_EQ(listed[1].station, "");
    std::uintmax_t total = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
        if (entry.is_regular_file())
            total += entry.file_size();
    EXPECT_EQ(keptDownloadsSize(listed), total);
    EXPECT_EQ(stationRelative(k.image, dir.path()), "sagimlar/20261209-083015-level.bin");
}

TEST(KeptDownloadFiles, ReconversionRefusesAnotherInstrumentsImage) {
    ScratchDirectory dir;
    const Bytes level = LevelLoggerSim::withMemory({}, {}).memoryImage({});
    const Bytes rain = generateRainMemory({}).image;
    const KeptDownload keptLevel =
        keepDownload(dir.path(), session(std::string(kLevelInstrument), level, true));
    const KeptDownload keptRain = keepDownload(dir.path(), session(std::string(kRainInstrument), rain, true));
    EXPECT_TRUE(levelImageForReconversion(keptLevel.image).ok());
    EXPECT_EQ(levelImageForReconversion(keptLevel.image).image, level);
    EXPECT_TRUE(rainImageForReconversion(keptRain.image).ok());
    EXPECT_EQ(levelImageForReconversion(keptRain.image).problem,
              "Limnigraf ham verisi değil: 20261209-083015-rain.bin");
    EXPECT_EQ(rainImageForReconversion(keptLevel.image).problem,
              "Pluviograf ham verisi değil: 20261209-083015-level.bin");
    // Without their descriptions the images themselves tell.
    fs::remove(keptLevel.description);
    fs::remove(keptRain.description);
    const fs::path levelCopy = dir / "a.bin";
    const fs::path rainCopy = dir / "b.bin";
    writeFileAtomic(levelCopy, level);
    writeFileAtomic(rainCopy, rain);
    EXPECT_TRUE(levelImageForReconversion(levelCopy).ok());
    EXPECT_FALSE(levelImageForReconversion(rainCopy).ok());
    EXPECT_TRUE(rainImageForReconversion(rainCopy).ok());
    EXPECT_FALSE(rainImageForReconversion(levelCopy).ok());
    EXPECT_EQ(levelImageForReconversion(dir / "none.bin").problem,
              "Ham veri dosyası okunamadı: " + (dir / "none.bin").string());
}
