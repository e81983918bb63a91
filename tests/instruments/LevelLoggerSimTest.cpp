#include "core/Numbers.h"
#include "instruments/LevelConversion.h"
#include "instruments/LevelLogger.h"
#include "instruments/LevelLoggerView.h"
#include "instruments/sim/SimulatedLink.h"

#include <gtest/gtest.h>
#include <numeric>

using namespace korvel;
using namespace korvel::sim;
using namespace std::chrono_literals;

namespace {

// What the conversion must make of a day the simulator recorded.
void expectDayMatches(const DayRecord& record, const SimulatedDay& day, int unitCode) {
    const double divisor = levelDivisor(unitCode);
    EXPECT_EQ(record.date, OleDate::fromDate(day.date));
    const double sum = std::accumulate(day.readings.begin(), day.readings.end(), 0.0);
    EXPECT_EQ(record.meanValue, static_cast<float>(roundHalfEven(sum / day.readings.size() / divisor)))
        << record.date.dateText();
    if (day.complete) {
        EXPECT_EQ(record.maxLevel, roundHalfEven(day.maximum.value / divisor));
        EXPECT_EQ(record.maxTime, OleDate::fromTime(day.maximum.hour, day.maximum.minute, 0));
        EXPECT_EQ(record.minLevel, roundHalfEven(day.minimum.value / divisor));
        EXPECT_EQ(record.minTime, OleDate::fromTime(day.minimum.hour, day.minimum.minute, 0));
    } else {
        const int highest = *std::max_element(day.readings.begin(), day.readings.end());
        EXPECT_EQ(record.maxLevel, roundHalfEven(highest / divisor));
    }
}

SimFault fault(SimFault::Kind kind, std::optional<std::uint8_t> command = std::nullopt, Duration delay = {}) {
    SimFault f;
    f.kind = kind;
    f.command = command;
    f.delay = delay;
    return f;
}

class SimulatedLogger : public ::testing::Test {
protected:
    void start(const LevelMemoryPlan& plan) {
        logger = std::make_unique<LevelLoggerSim>(LevelLoggerSim::withMemory(plan, clock.now()));
        link = std::make_unique<SimulatedLink>(*logger, clock);
        exchange = std::make_unique<Exchange>(*link, clock);
    }

    LevelLoggerView information() {
        const CommandOutcome outcome = readInformation(*exchange);
        EXPECT_TRUE(outcome.ok) << outcome.message;
        LevelLoggerView view;
        for (const LoggerReply& r : outcome.replies)
            view.showReply(r.readByte, r.reply, Locale::turkish());
        return view;
    }

    FakeClock clock;
    std::unique_ptr<LevelLoggerSim> logger;
    std::unique_ptr<SimulatedLink> link;
    std::unique_ptr<Exchange> exchange;
};

} // namespace

TEST(SimulatorMemory, ThirtyDaysKeepTheMarkerAndConvertDayByDay) {
    LevelMemoryPlan plan;
    plan.days = 30;
    const LevelMemory memory = generateLevelMemory(plan);
    ASSERT_EQ(memory.image.size(), 32768u);
    ASSERT_EQ(memory.days.size(), 31u);
    EXPECT_EQ(memory.writePosition, 263u + 30 * 203 + 3 + 2 * 41); // 10:00 is the 41st reading
    EXPECT_EQ(std::string(memory.image.begin() + 255, memory.image.begin() + 260), "ALYEL");
    const DecodedLevelDump d = decodeLevelDump(memory.image, "01-001");
    ASSERT_EQ(d.days.size(), 31u);
    EXPECT_TRUE(d.lastDayInProgress);
    for (std::size_t i = 0; i < d.days.size(); ++i)
        expectDayMatches(d.days[i], memory.days[i], plan.unitCode);
    EXPECT_EQ(d.readingsFileName, "KAR15-3 .-26");
}

TEST(SimulatorMemory, TwoHundredDaysWrapTheRingAndConvertFromTheDateSearch) {
    LevelMemoryPlan plan;
    plan.days = 200;
    plan.seed = 7;
    const LevelMemory memory = generateLevelMemory(plan);
    EXPECT_NE(std::string(memory.image.begin() + 255, memory.image.begin() + 260), "ALYEL");
    std::vector<const SimulatedDay*> intact;
    for (const SimulatedDay& day : memory.days)
        if (day.intact)
            intact.push_back(&day);
    EXPECT_EQ(intact.size(), 160u);
    EXPECT_EQ(memory.usedBytes, 32512);
    const DecodedLevelDump d = decodeLevelDump(memory.image, "01-001");
    ASSERT_EQ(d.days.size(), intact.size());
    for (std::size_t i = 0; i < d.days.size(); ++i)
        expectDayMatches(d.days[i], *intact[i], plan.unitCode);
}

TEST(SimulatorMemory, CentimetreLoggersRecordCentimetres) {
    LevelMemoryPlan plan;
    plan.unitCode = 10;
    plan.days = 5;
    plan.minutesNow = 23 * 60 + 50; // after the day's last reading: the day is complete
    const LevelMemory memory = generateLevelMemory(plan);
    EXPECT_TRUE(memory.days.back().complete);
    EXPECT_LT(*std::max_element(memory.days[0].readings.begin(), memory.days[0].readings.end()), 1000);
    const DecodedLevelDump d = decodeLevelDump(memory.image, "01-001");
    ASSERT_EQ(d.days.size(), 6u);
    EXPECT_FALSE(d.lastDayInProgress);
    for (std::size_t i = 0; i < d.days.size(); ++i)
        expectDayMatches(d.days[i], memory.days[i], plan.unitCode);
}

TEST(SimulatorFaults, Parsing) {
    const auto slow = parseSimFault("slow=500@0x02*3");
    ASSERT_TRUE(slow);
    EXPECT_EQ(slow->kind, SimFault::Kind::Slow);
    EXPECT_EQ(slow->delay, std::chrono::milliseconds(500));
    EXPECT_EQ(slow->command, std::optional<std::uint8_t>(2));
    EXPECT_EQ(slow->times, 3);
    EXPECT_EQ(parseSimFault("cutoff")->kind, SimFault::Kind::CutOff);
    EXPECT_EQ(parseSimFault("extra@80")->command, std::optional<std::uint8_t>(80));
    EXPECT_FALSE(parseSimFault("loud"));
    EXPECT_FALSE(parseSimFault("extra@0x100"));
    EXPECT_FALSE(parseSimFault("slow=x"));
}

TEST_F(SimulatedLogger, InformationShowsTheLoggerState) {
    LevelMemoryPlan plan;
    plan.days = 10;
    start(plan);
    const LevelLoggerView view = information();
    EXPECT_EQ(view.levelUnitCode, 1);
    EXPECT_EQ(view.fields.text("Text1"), std::to_string(logger->state().levelMm));
    EXPECT_EQ(view.fields.text("Text8"), " mm");
    EXPECT_EQ(view.fields.text("Text2"), "10:00:00");
    EXPECT_EQ(view.fields.text("Text3"), "15.03.2026");
    EXPECT_EQ(view.fields.text("Text4"), "15");
    EXPECT_EQ(view.fields.text("Text5"), "KARASU  ");
    EXPECT_EQ(view.fields.text("Text6"), "01-001  ");
    EXPECT_EQ(view.fields.text("Text7"), "SAKARYA ");
    EXPECT_EQ(view.fields.text("Label9"),
              "Limnigraf Kaydedilebilecek kalan gün sayısı " +
                  std::to_string((32512 - logger->state().memory.usedBytes) / 203));
    EXPECT_EQ(view.fields.text("Label8"), "  PİL ÖMRÜ  1360..Gün");
}

TEST_F(SimulatedLogger, SettingsChangeTheLogger) {
    start({});
    ASSERT_TRUE(writeSetting(*exchange, *timeSetting("08:15")).ok);
    ASSERT_TRUE(writeSetting(*exchange, *dateSetting("01.04.2026")).ok);
    ASSERT_TRUE(writeSetting(*exchange, intervalSetting("30").command).ok);
    ASSERT_TRUE(writeSetting(*exchange, textSetting(0x07, "YENİ")).ok);
    ASSERT_TRUE(writeSetting(*exchange, *levelSetting("0123", 1)).ok);
    const CommandOutcome toggled = writeSetting(*exchange, unitToggle(1));
    ASSERT_TRUE(toggled.ok);
    EXPECT_EQ(logger->state().unitCode, 10);
    LevelLoggerView shown;
    shown.levelUnitCode = 10;
    shown.showReply(toggled.replies[0].readByte, toggled.replies[0].reply, Locale::turkish());
    EXPECT_EQ(shown.fields.text("Text1"), "0012");
    EXPECT_EQ(shown.fields.text("Text8"), " cm");

    const LevelLoggerView view = information();
    EXPECT_EQ(view.fields.text("Text2").substr(0, 5), "08:15");
    EXPECT_EQ(view.fields.text("Text3"), "01.04.2026");
    EXPECT_EQ(view.fields.text("Text4"), "30");
    EXPECT_EQ(view.fields.text("Text5"), "YEN\xC4\xB0    ");
    EXPECT_EQ(logger->state().levelMm, 123);
}

TEST_F(SimulatedLogger, EraseEmptiesTheMemory) {
    LevelMemoryPlan plan;
    plan.days = 20;
    start(plan);
    const CommandOutcome outcome = eraseMemory(*exchange);
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(logger->erasures(), 1);
    const DecodedLevelDump d = decodeLevelDump(logger->memoryImage(clock.now()), "01-001");
    EXPECT_TRUE(d.found);
    EXPECT_TRUE(d.days.empty());
}

TEST_F(SimulatedLogger, DownloadBringsTheMemoryAtLineSpeed) {
    LevelMemoryPlan plan;
    plan.days = 60;
    start(plan);
    SimTiming timing;
    timing.downloadRate = 1920; // 19200 baud
    logger->setTiming(timing);
    std::size_t updates = 0;
    const DownloadOutcome outcome = downloadMemory(*exchange, {}, [&](std::size_t) { ++updates; });
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(outcome.image, logger->memoryImage(clock.now()));
    EXPECT_GT(updates, 800u); // about 17 s of 20 ms ticks
    EXPECT_EQ(outcome.idleTicks, 0);
    const DecodedLevelDump d = decodeLevelDump(outcome.image, "01-001");
    ASSERT_EQ(d.days.size(), logger->state().memory.days.size());
    for (std::size_t i = 0; i < d.days.size(); ++i)
        expectDayMatches(d.days[i], logger->state().memory.days[i], plan.unitCode);
}

TEST_F(SimulatedLogger, TheLoggerFallsAsleepAndTheWakeUpBurstWakesIt) {
    start({});
    information();
    clock.advance(10s);
    link->open();
    link->inCount();
    EXPECT_TRUE(logger->asleep());
    link->close();
    information();
}

TEST_F(SimulatedLogger, SilenceGivesTryAgainAfterSixAttempts) {
    start({});
    logger->addFault(fault(SimFault::Kind::Silence));
    const CommandOutcome outcome = readInformation(*exchange);
    EXPECT_EQ(outcome.message, "Yeniden deneyin");
    EXPECT_EQ(outcome.wakeAttempts, 6);
}

TEST_F(SimulatedLogger, ASlowReplyRunsIntoTheDeadline) {
    start({});
    logger->addFault(fault(SimFault::Kind::Slow, 0x02, 4100ms));
    CommandOutcome outcome = readInformation(*exchange);
    EXPECT_EQ(outcome.message, "Yeniden deneyin");
    EXPECT_EQ(outcome.replies.size(), 2u);

    start({});
    logger->addFault(fault(SimFault::Kind::Slow, 0x02, 3900ms));
    outcome = readInformation(*exchange);
    EXPECT_TRUE(outcome.ok);
}

TEST_F(SimulatedLogger, AnExtraByteIsAReplyOfTheWrongLength) {
    start({});
    logger->addFault(fault(SimFault::Kind::ExtraByte, 0x03));
    const CommandOutcome outcome = readInformation(*exchange);
    EXPECT_EQ(outcome.message, "Yeniden deneyin");
    ASSERT_EQ(outcome.replies.size(), 3u);
    EXPECT_EQ(outcome.replies.back().readByte, 0x02);
}

TEST_F(SimulatedLogger, AGarbledByteThatCannotBeRealIsATryAgain) {
    start({});
    // Interval code 3 garbled to 252: 1260 minutes do not divide the day.
    logger->addFault(fault(SimFault::Kind::Garbled, 0x04));
    const CommandOutcome outcome = readInformation(*exchange);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "Yeniden deneyin");
    ASSERT_EQ(outcome.replies.size(), 4u);
    EXPECT_EQ(outcome.replies.back().readByte, 0x03);
}

TEST_F(SimulatedLogger, ACutOffDownloadEndsWithTryAgain) {
    start({});
    logger->addFault(fault(SimFault::Kind::CutOff));
    const DownloadOutcome outcome = downloadMemory(*exchange);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "Yeniden deneyin");
    EXPECT_EQ(outcome.received, 32769u / 2);
    EXPECT_TRUE(outcome.image.empty());
}
