#include "common/ScratchDirectory.h"
#include "instruments/FakeLink.h"
#include "instruments/RainLogger.h"
#include "instruments/sim/RainMemory.h"
#include "instruments/sim/SimulatedLink.h"
#include "store/RainYearFile.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::sim;

namespace {

class SimulatedRainLogger : public ::testing::Test {
protected:
    void SetUp() override {
        plan.days = 20;
        plan.seed = 3;
        logger = std::make_unique<LevelLoggerSim>(rainLoggerSim(plan, 2, 317, clock.now()));
        link = std::make_unique<SimulatedLink>(*logger, clock);
        exchange = std::make_unique<Exchange>(*link, clock);
    }

    RainMemoryPlan plan;
    FakeClock clock;
    std::unique_ptr<LevelLoggerSim> logger;
    std::unique_ptr<SimulatedLink> link;
    std::unique_ptr<Exchange> exchange;
};

} // namespace

TEST(RainSimulatorMemory, EventsDecodeWithTheirLookAlikeHeadersAsTips) {
    RainMemoryPlan plan;
    plan.days = 20;
    plan.seed = 3;
    const LevelMemory memory = generateRainMemory(plan);
    const DecodedRainDump decoded = decodeRainDump(memory.image);
    ASSERT_TRUE(decoded.scanned);
    ASSERT_GE(decoded.events.size(), 2u);
    bool lookAlike = false;
    for (const RainEvent& e : decoded.events) {
        EXPECT_EQ(e.minute + e.hour * 60 < 1440, true);
        for (std::size_t i = 0; i + 3 < e.tips.size(); ++i)
            lookAlike = lookAlike || (e.tips[i + 3] == 13 && e.tips[i + 5] == 0xD4);
    }
    EXPECT_TRUE(lookAlike);
    // The last event starts at 23:50 the day before and runs 30 minutes into the present day.
    const RainEvent& last = decoded.events.back();
    EXPECT_EQ(last.hour, 23);
    EXPECT_EQ(last.tips.size(), 30u);
    EXPECT_EQ(decoded.days.back().day, OleDate::fromDate(2026, 3, 15));
    EXPECT_EQ(decoded.days.back().tipCounts.rbegin()->first, 19);
}

TEST_F(SimulatedRainLogger, InformationBucketSettingDownloadAndErase) {
    const CommandOutcome info = readRainInformation(*exchange);
    ASSERT_TRUE(info.ok) << info.message;
    RainLoggerView view;
    for (const LoggerReply& r : info.replies)
        view.showReply(r.readByte, r.reply, Locale::turkish());
    EXPECT_EQ(view.bucketFactor, 2);
    EXPECT_EQ(view.fields.text("Text1"), "0317");
    EXPECT_EQ(view.fields.text("Text3"), "15.03.2026");
    EXPECT_EQ(view.fields.text("Text6"), "01-001  ");
    const int used = logger->state().memory.usedBytes;
    EXPECT_EQ(view.fields.text("Label9"), "Pluviografta boş RAM uzunluğu" + std::to_string(32512 - used));

    const CommandOutcome set = writeSetting(*exchange, *bucketSetting("5"));
    ASSERT_TRUE(set.ok) << set.message;
    view.showReply(set.replies.back().readByte, set.replies.back().reply, Locale::turkish());
    EXPECT_EQ(view.bucketFactor, 5);

    const DownloadOutcome download = downloadMemory(*exchange, rainDownloadOptions());
    ASSERT_TRUE(download.ok) << download.message;
    EXPECT_EQ(download.image, logger->state().memory.image);

    korvel::testing::ScratchDirectory dir;
    // The look-alike header bytes count as tips: 0xD4 tips times 5 do not fit a minute entry. Those
    // minutes are stored as 255 and listed; every other minute of their days is stored as it came.
    const RainConversionResult clipped =
        convertRainDump(download.image, "01-001", dir.path(), view.bucketFactor);
    ASSERT_TRUE(clipped.converted);
    EXPECT_TRUE(clipped.written.errors.empty());
    ASSERT_FALSE(clipped.clipped.empty());
    const ClippedRainMinute& first = clipped.clipped.front();
    EXPECT_GT(first.product, 255);
    EXPECT_NE(clipped.message.find(first.text(5)), std::string::npos);
    EXPECT_NE(first.text(5).find("sığmaz, 255 yazıldı"), std::string::npos);
    const auto decodedDay = std::find_if(clipped.decoded.days.begin(), clipped.decoded.days.end(),
                                         [&](const DownloadedRainDay& d) { return d.day == first.day; });
    ASSERT_NE(decodedDay, clipped.decoded.days.end());
    const auto records = parseRainYearFile(
        korvel::testing::fileBytes(dir.path() / rainYearFileName(rainWaterYearOfDate(first.day), "01-001")));
    const auto k = findRecordByDate(records, first.day);
    ASSERT_TRUE(k);
    const RainDayRecord stored = records[*k - 1];
    EXPECT_EQ(stored.minuteRain[static_cast<std::size_t>(first.minute)], 255);
    for (const auto& [minute, count] : decodedDay->tipCounts) {
        if (count * 5 <= 255) {
            EXPECT_EQ(stored.minuteRain[static_cast<std::size_t>(minute)], count * 5) << minute;
        }
    }
    const RainConversionResult converted = convertRainDump(download.image, "01-001", dir.path(), 1);
    ASSERT_TRUE(converted.converted);
    EXPECT_EQ(converted.message, "Kayıd tamamlandı");
    EXPECT_FALSE(converted.written.writtenDays.empty());

    ASSERT_TRUE(eraseMemory(*exchange).ok);
    EXPECT_EQ(logger->erasures(), 1);
    EXPECT_TRUE(decodeRainDump(logger->state().memory.image).events.empty());
}

TEST_F(SimulatedRainLogger, SilentLoggerAsksToTryAgain) {
    logger->addFault({SimFault::Kind::Silence, std::uint8_t{0x04}, {}, -1});
    const CommandOutcome info = readRainInformation(*exchange);
    EXPECT_FALSE(info.ok);
    EXPECT_EQ(info.message, "Yeniden deneyin");
}
