#include "ScriptedLogger.h"
#include "instruments/LevelLogger.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
using namespace std::chrono_literals;

namespace {

class LoggerCommand : public ::testing::Test {
protected:
    void SetUp() override {
        logger.replies = {{0x01, bytesOf({0x01, 5, 4, 3, 2, 1})},
                          {0x02, bytesOf({0x02, 30, 14})},
                          {0x03, bytesOf({0x03, 15, 3, 26})},
                          {0x04, bytesOf({0x04, 3})},
                          {0x06, bytesOf({0x06, 0, 0})},
                          {0x07, bytesOf({0x07, 'K', 'A', 'R', 'A', 'S', 'U', ' ', ' '})},
                          {0x08, bytesOf({0x08, '0', '1', '-', '0', '0', '1', ' ', ' '})},
                          {0x09, bytesOf({0x09, 'S', 'A', 'K', 'A', 'R', 'Y', 'A', ' '})},
                          {0x0A, bytesOf({0x0A, 0, 0, 0, 0, 0})},
                          {0x0B, bytesOf({0x0B, 1})}};
        logger.attach(link);
    }

    // The bytes written after the wake-up bursts: the commands and the data.
    Bytes commandsWritten() const {
        Bytes out;
        for (const auto& w : link.writes())
            if (!(w.bytes.size() == 1 && w.bytes[0] == 0x01) || !out.empty())
                out.insert(out.end(), w.bytes.begin(), w.bytes.end());
        return out;
    }

    FakeClock clock;
    ScriptedLink link{clock};
    Exchange exchange{link, clock};
    ScriptedLogger logger;
};

} // namespace

TEST_F(LoggerCommand, InformationReadsTheUnitCodeThenEveryField) {
    const CommandOutcome outcome = readInformation(exchange);
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(outcome.wakeAttempts, 1);
    EXPECT_EQ(commandsWritten(), bytesOf({0x0B, 0x01, 0x02, 0x03, 0x04, 0x06, 0x07, 0x08, 0x09, 0x0A}));
    ASSERT_EQ(outcome.replies.size(), 10u);
    EXPECT_EQ(outcome.replies[0].readByte, 0x0B);
    EXPECT_EQ(outcome.replies[0].reply, bytesOf({0x0B, 1}));
    EXPECT_EQ(outcome.replies[1].reply, bytesOf({0x01, 5, 4, 3, 2, 1}));
    EXPECT_EQ(outcome.replies[9].readByte, 0x0A);
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(link.openCount(), 1);
}

TEST_F(LoggerCommand, InformationGivesUpAfterSixWakeUps) {
    logger.silent = true;
    const CommandOutcome outcome = readInformation(exchange);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "Yeniden deneyin");
    EXPECT_EQ(outcome.wakeAttempts, 6);
    EXPECT_TRUE(outcome.replies.empty());
    // Six bursts of 1000 + 1 wake-up bytes, the port opened once and closed at the end.
    EXPECT_EQ(link.allWritten(), Bytes(6 * 1001, 0x01));
    EXPECT_EQ(link.openCount(), 1);
    EXPECT_FALSE(link.isOpen());
    // Six first waits of 2 s each.
    EXPECT_GT(clock.elapsed(), 12s);
    EXPECT_LT(clock.elapsed(), 12s + 6 * (Exchange::kPollSlice + 1ms));
}

TEST_F(LoggerCommand, AMissingUnitCodeReplyCountsAsARetryToo) {
    logger.silentTo = {0x0B};
    const CommandOutcome outcome = readInformation(exchange);
    EXPECT_EQ(outcome.message, "Yeniden deneyin");
    EXPECT_EQ(outcome.wakeAttempts, 6);
    Bytes commands;
    for (const auto& w : link.writes())
        if (w.bytes[0] != 0x01)
            commands.push_back(w.bytes[0]);
    EXPECT_EQ(commands, Bytes(6, 0x0B));
}

TEST_F(LoggerCommand, ALaterAttemptSucceeds) {
    logger.ignoreTimes[0x0B] = 2;
    const CommandOutcome outcome = readInformation(exchange);
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.wakeAttempts, 3);
    EXPECT_EQ(outcome.replies.size(), 10u);
}

TEST_F(LoggerCommand, AReplyOfTheWrongLengthEndsTheInformationKeepingWhatCameBefore) {
    logger.replies[0x03] = bytesOf({0x03, 15, 3, 26, 0}); // 5 bytes where 4 are awaited
    const CommandOutcome outcome = readInformation(exchange);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "Yeniden deneyin");
    ASSERT_EQ(outcome.replies.size(), 3u); // unit code, level, time
    EXPECT_EQ(outcome.replies.back().readByte, 0x02);
    EXPECT_FALSE(link.isOpen());
    // The date's wait ran its 4 s.
    EXPECT_GT(clock.elapsed(), 4s);
}

TEST_F(LoggerCommand, AnUnopenablePortIsReportedAtOnce) {
    link.setOpenFails(true);
    const CommandOutcome outcome = readInformation(exchange);
    EXPECT_EQ(outcome.message, "Secili comm port uygun deyil");
    EXPECT_EQ(outcome.wakeAttempts, 1);
    EXPECT_TRUE(link.writes().empty());
}

TEST_F(LoggerCommand, SettingWritesTheWriteByteThenTheReadByteAndTheData) {
    const auto level = levelSetting("0123", 1);
    ASSERT_TRUE(level);
    const CommandOutcome outcome = writeSetting(exchange, *level);
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(commandsWritten(), bytesOf({0x11, 0x01, 3, 2, 1, 0, 0}));
    ASSERT_EQ(logger.settings.size(), 1u);
    EXPECT_EQ(logger.settings[0].data, bytesOf({3, 2, 1, 0, 0}));
    ASSERT_EQ(outcome.replies.size(), 1u);
    EXPECT_EQ(outcome.replies[0].readByte, 0x01);
    EXPECT_EQ(outcome.replies[0].reply.size(), 6u);
    EXPECT_FALSE(link.isOpen());
}

TEST_F(LoggerCommand, EachSettingUsesItsOwnBytes) {
    struct Case {
        SettingCommand command;
        Bytes expected;
    };
    const std::vector<Case> cases{
        {*timeSetting("14:05"), bytesOf({0x12, 0x02, 5, 14})},
        {*dateSetting("01/02/2026"), bytesOf({0x13, 0x03, 1, 2, 26})},
        {intervalSetting("15").command, bytesOf({0x14, 0x04, 3})},
        {textSetting(0x07, "ABC"),
         bytesOf({0x17, 0x07, 'A', 'B', 'C', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '})},
        {textSetting(0x08, "01-002"),
         bytesOf({0x18, 0x08, '0', '1', '-', '0', '0', '2', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '})},
        {textSetting(0x09, ""), bytesOf({0x19, 0x09, ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '})},
        {unitToggle(1), bytesOf({0x1B, 0x01, 10})},
    };
    for (const Case& c : cases) {
        FakeClock clock2;
        ScriptedLink link2(clock2);
        logger.attach(link2);
        Exchange exchange2(link2, clock2);
        const CommandOutcome outcome = writeSetting(exchange2, c.command);
        EXPECT_TRUE(outcome.ok) << int(c.command.writeByte);
        Bytes written;
        for (const auto& w : link2.writes())
            if (!(w.bytes.size() == 1 && w.bytes[0] == 0x01) || !written.empty())
                written.insert(written.end(), w.bytes.begin(), w.bytes.end());
        EXPECT_EQ(written, c.expected) << int(c.command.writeByte);
        ASSERT_EQ(outcome.replies.size(), 1u);
        EXPECT_EQ(outcome.replies[0].reply.size(), c.command.replyLength);
    }
}

TEST_F(LoggerCommand, SettingTimesOutAtEachWait) {
    // No echo of the write byte.
    logger.silentTo = {0x12};
    CommandOutcome outcome = writeSetting(exchange, *timeSetting("10:00"));
    EXPECT_EQ(outcome.message, "Yeniden deneyin");
    EXPECT_FALSE(link.isOpen());
    EXPECT_GT(clock.elapsed(), 2s);
    EXPECT_LT(clock.elapsed(), 3s);

    // Echo but no reply to the read byte.
    FakeClock clock2;
    ScriptedLink link2(clock2);
    ScriptedLogger quiet = logger;
    quiet.silentTo = {0x02};
    quiet.attach(link2);
    Exchange exchange2(link2, clock2);
    outcome = writeSetting(exchange2, *timeSetting("10:00"));
    EXPECT_EQ(outcome.message, "Yeniden deneyin");
    EXPECT_EQ(quiet.settings.size(), 1u);
    EXPECT_TRUE(outcome.replies.empty());
}

TEST_F(LoggerCommand, SettingWaitsForTheDataToGoOut) {
    link.setSendTime(std::chrono::microseconds(10));
    const CommandOutcome outcome = writeSetting(exchange, textSetting(0x07, "UZUN ISTASYON"));
    EXPECT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(link.outCount(), 0u);
    EXPECT_EQ(logger.settings.at(0).data.size(), 21u);
}

TEST_F(LoggerCommand, EraseSendsUTwiceOnceTheLoggerAnswers) {
    logger.replies[0x55] = bytesOf({0x55});
    const CommandOutcome outcome = eraseMemory(exchange);
    ASSERT_TRUE(outcome.ok);
    const Bytes all = link.allWritten();
    // Up to 4000 wake-up bytes (the script answers none of them in time), then "U" twice.
    EXPECT_EQ(all.size(), 4002u);
    EXPECT_EQ(Bytes(all.end() - 2, all.end()), bytesOf({0x55, 0x55}));
    EXPECT_FALSE(link.isOpen());
}

TEST_F(LoggerCommand, EraseWithoutAnswerIsAConnectionLost) {
    logger.silent = true;
    const CommandOutcome outcome = eraseMemory(exchange);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "bağlantı kesildi");
    EXPECT_EQ(link.allWritten().back(), 0x55);
    EXPECT_FALSE(link.isOpen());
    EXPECT_GT(clock.elapsed(), 2s);
}

namespace {

// A logger that answers "P" with its reply byte and the image, `perTick` bytes every 20 ms.
void scriptDownload(ScriptedLink& link, const Bytes& image, std::size_t perTick, std::size_t stopAfter) {
    link.setResponder([&image, perTick, stopAfter](ScriptedLink& l, const Bytes& w) {
        if (w == bytesOf({0x01}))
            return;
        if (w == bytesOf({0x50})) {
            Bytes all{0x50};
            all.insert(all.end(), image.begin(), image.end());
            all.resize(std::min(all.size(), stopAfter));
            for (std::size_t sent = 0, tick = 0; sent < all.size(); sent += perTick, ++tick) {
                const std::size_t n = std::min(perTick, all.size() - sent);
                l.deliver(
                    Bytes(all.begin() + static_cast<long>(sent), all.begin() + static_cast<long>(sent + n)),
                    5ms + tick * 20ms);
            }
        }
    });
}

} // namespace

TEST_F(LoggerCommand, DownloadReceivesTheImageTickByTick) {
    Bytes image(32768);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7);
    link.deliver(bytesOf({0x01}), 1ms); // the logger answers the wake-up
    scriptDownload(link, image, 4096, 40000);
    std::vector<std::size_t> progress;
    const DownloadOutcome outcome =
        downloadMemory(exchange, {}, [&](std::size_t n) { progress.push_back(n); });
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(outcome.image, image);
    EXPECT_EQ(outcome.received, 32769u);
    EXPECT_EQ(progress.back(), 32769u);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_FALSE(link.isOpen());
    // "P" follows the wake-up.
    EXPECT_EQ(link.writes().back().bytes, bytesOf({0x50}));
}

TEST_F(LoggerCommand, DownloadCutOffEndsAfterAHundredIdleTicks) {
    const Bytes image(32768, 0x11);
    link.deliver(bytesOf({0x01}), 1ms);
    scriptDownload(link, image, 4096, 16000);
    const DownloadOutcome outcome = downloadMemory(exchange);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "Yeniden deneyin");
    EXPECT_TRUE(outcome.image.empty());
    EXPECT_EQ(outcome.received, 16000u);
    EXPECT_EQ(outcome.idleTicks, 100);
    EXPECT_FALSE(link.isOpen());
}

TEST_F(LoggerCommand, IdleTicksCountOverTheWholeDownload) {
    // 60 idle ticks while the first half trickles in, 40 more later: the limit is reached although
    // no 2-second gap ever happened.
    link.deliver(bytesOf({0x01}), 1ms);
    link.setResponder([](ScriptedLink& l, const Bytes& w) {
        if (w != bytesOf({0x50}))
            return;
        for (int i = 0; i < 200; ++i)
            l.deliver(Bytes(100, 0x22), 10ms + i * 40ms); // every other tick
    });
    const DownloadOutcome outcome = downloadMemory(exchange);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.idleTicks, 100);
    EXPECT_LT(outcome.received, 20000u);
}

TEST_F(LoggerCommand, DownloadWithoutAnswerToPIsATryAgain) {
    link.setResponder({});
    link.deliver(bytesOf({0x01}), 1ms);
    const DownloadOutcome outcome = downloadMemory(exchange);
    EXPECT_EQ(outcome.message, "Yeniden deneyin");
    // The 4 s first wait was met; the 6 s wait for the answer to "P" ran out.
    EXPECT_GT(clock.elapsed(), 6s);
    EXPECT_LT(clock.elapsed(), 7s);
    // 2000 wake-up repetitions would have been written had the logger not answered at once.
    EXPECT_EQ(link.writes().back().bytes, bytesOf({0x50}));
}

TEST_F(LoggerCommand, DownloadOfASilentLoggerWritesTwoThousandWakeUpBytes) {
    logger.silent = true;
    const DownloadOutcome outcome = downloadMemory(exchange);
    EXPECT_EQ(outcome.message, "Yeniden deneyin");
    EXPECT_EQ(link.allWritten(), Bytes(2001, 0x01));
    EXPECT_GT(clock.elapsed(), 4s);
    EXPECT_LT(clock.elapsed(), 5s);
}

TEST_F(LoggerCommand, ADownloadOneByteTooLongIsRefused) {
    Bytes image(32769, 0x33);
    link.deliver(bytesOf({0x01}), 1ms);
    scriptDownload(link, image, 40000, 40000);
    const DownloadOutcome outcome = downloadMemory(exchange);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "Yeniden deneyin");
    EXPECT_EQ(outcome.received, 32770u);
}

TEST_F(LoggerCommand, InformationWithAnotherWakeUpCountAndReads) {
    logger.silent = true;
    const std::uint8_t reads[] = {0x01, 0x04};
    CommandOutcome outcome = readInformation(exchange, 4000, reads, levelReplyInRange);
    EXPECT_EQ(link.allWritten(), Bytes(6 * 4001, 0x01));

    FakeClock clock2;
    ScriptedLink link2(clock2);
    ScriptedLogger answering;
    answering.replies = logger.replies;
    answering.attach(link2);
    Exchange exchange2(link2, clock2);
    outcome = readInformation(exchange2, 4000, reads, levelReplyInRange);
    ASSERT_TRUE(outcome.ok);
    ASSERT_EQ(outcome.replies.size(), 3u);
    EXPECT_EQ(outcome.replies[2].readByte, 0x04);
}

TEST_F(LoggerCommand, RepliesThatCannotBeRealEndTheCommandKeepingTheFieldsBefore) {
    struct Case {
        std::uint8_t read;
        Bytes reply;
        std::size_t kept; // replies before the refused one
    };
    const std::vector<Case> cases = {
        {0x0B, bytesOf({0x0B, 254}), 0},                  // unit code
        {0x01, bytesOf({0x01, 5, 4, 12, 2, 1}), 1},       // a level digit of 12
        {0x02, bytesOf({0x02, 30, 251}), 2},              // hour 251
        {0x03, bytesOf({0x03, 15, 3, 229}), 3},           // year 0229
        {0x03, bytesOf({0x03, 0, 3, 26}), 3},             // day 0
        {0x04, bytesOf({0x04, 7}), 4},                    // 35 minutes do not divide the day
        {0x06, bytesOf({0x06, 0x7F, 0x01}), 5},           // more memory in use than the ring
        {0x0A, bytesOf({0x0A, 0, 0, 0, 0x41, 0x06}), 9}}; // 1601 uses: negative battery days
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.read));
        ScriptedLogger faulty = logger;
        faulty.replies[c.read] = c.reply;
        FakeClock faultyClock;
        ScriptedLink faultyLink{faultyClock};
        Exchange faultyExchange{faultyLink, faultyClock};
        faulty.attach(faultyLink);
        const CommandOutcome outcome = readInformation(faultyExchange);
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.message, "Yeniden deneyin");
        EXPECT_EQ(outcome.replies.size(), c.kept);
        EXPECT_FALSE(faultyLink.isOpen());
    }
    // The edges of the ranges are real.
    logger.replies[0x02] = bytesOf({0x02, 59, 23});
    logger.replies[0x06] = bytesOf({0x06, 0x7F, 0x00});
    logger.replies[0x0A] = bytesOf({0x0A, 0, 0, 0, 0x40, 0x06});
    EXPECT_TRUE(readInformation(exchange).ok);
}
