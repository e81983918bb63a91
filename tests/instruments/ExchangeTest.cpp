#include "instruments/Exchange.h"

#include "instruments/FakeLink.h"
#include "instruments/PortSettings.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace std::chrono_literals;

namespace {

Bytes bytesOf(std::initializer_list<int> values) {
    Bytes b;
    for (int v : values)
        b.push_back(static_cast<std::uint8_t>(v));
    return b;
}

std::size_t countOf(const Bytes& bytes, std::uint8_t value) {
    return static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), value));
}

class ExchangeSteps : public ::testing::Test {
protected:
    FakeClock clock;
    ScriptedLink link{clock};
    Exchange exchange{link, clock};
};

} // namespace

TEST_F(ExchangeSteps, WakeWritesEveryRepetitionAndOneMoreWhenTheLoggerStaysSilent) {
    EXPECT_FALSE(exchange.wakeLogger(1000, 2s));
    const Bytes written = link.allWritten();
    EXPECT_EQ(written.size(), 1001u);
    EXPECT_EQ(countOf(written, 0x01), 1001u);
    EXPECT_TRUE(link.isOpen()); // the caller closes the port
    // The first wait ends once the clock is later than its deadline.
    EXPECT_GT(clock.elapsed(), 2s);
    EXPECT_LT(clock.elapsed(), 2s + Exchange::kPollSlice + 1ms);
}

TEST_F(ExchangeSteps, WakeStopsRepeatingAsSoonAsAByteWaitsThenDiscardsItAndWaitsForTheNext) {
    int wakes = 0;
    link.setResponder([&](ScriptedLink& l, const Bytes& w) {
        if (w == bytesOf({0x01}) && ++wakes == 10)
            l.deliver(bytesOf({0x01}));
        if (wakes == 11)
            l.deliver(bytesOf({0x01, 5, 4, 3, 2, 1}), 30ms);
    });
    EXPECT_TRUE(exchange.wakeLogger(1000, 2s));
    EXPECT_EQ(link.allWritten().size(), 11u);
    // The answer to the burst was discarded; the one to the last wake-up byte waits.
    EXPECT_EQ(link.inCount(), 6u);
    EXPECT_EQ(clock.elapsed(), 30ms);
}

TEST_F(ExchangeSteps, AwaitCountNeedsTheExactLength) {
    link.deliver(bytesOf({0x02, 30}), 100ms);
    EXPECT_FALSE(exchange.awaitCount(3, 2s));
    EXPECT_GT(clock.elapsed(), 2s);

    FakeClock clock2;
    ScriptedLink link2(clock2);
    Exchange exchange2(link2, clock2);
    link2.deliver(bytesOf({0x02, 30, 12}), 100ms);
    EXPECT_TRUE(exchange2.awaitCount(3, 2s));
    EXPECT_EQ(clock2.elapsed(), 100ms);
}

TEST_F(ExchangeSteps, MoreBytesThanAwaitedDoNotEndTheWait) {
    // A reply of 7 bytes where 6 are awaited is no reply: the wait runs into its time-out.
    link.deliver(bytesOf({1, 5, 4, 3, 2, 1, 0}), 10ms);
    EXPECT_FALSE(exchange.awaitCount(6, 4s));
    EXPECT_GT(clock.elapsed(), 4s);
    EXPECT_EQ(link.inCount(), 7u);
}

TEST_F(ExchangeSteps, ADeadlineIsTakenWhenTheWaitStarts) {
    clock.advance(10h);
    link.deliver(bytesOf({0x0B, 1}), 1999ms);
    EXPECT_TRUE(exchange.awaitCount(2, 2s));
    link.readAll();
    link.deliver(bytesOf({0x0B, 1}), 2010ms);
    const auto start = clock.now();
    EXPECT_FALSE(exchange.awaitCount(2, 2s));
    EXPECT_GE(clock.now() - start, 2s);
}

TEST_F(ExchangeSteps, SendWithEchoDiscardDropsWhatWaitsBeforeTheReply) {
    link.deliver(bytesOf({9, 9, 9}));
    link.setResponder([](ScriptedLink& l, const Bytes& w) {
        if (w == bytesOf({0x0B}))
            l.deliver(bytesOf({0x0B, 10}), 5ms);
    });
    ASSERT_TRUE(exchange.sendWithEchoDiscard(0x0B, 2, 2s));
    EXPECT_EQ(link.readAll(), bytesOf({0x0B, 10}));
}

TEST_F(ExchangeSteps, WriteAndDrainWaitsUntilTheOutputIsSent) {
    link.setSendTime(1ms);
    ASSERT_TRUE(exchange.openPort());
    exchange.writeAndDrain(bytesOf({1, 2, 3, 4, 5}));
    EXPECT_EQ(link.outCount(), 0u);
    EXPECT_GE(clock.elapsed(), 5ms);
}

TEST_F(ExchangeSteps, AStoppedExchangeEndsItsWaits) {
    std::stop_source stop;
    Exchange stoppable(link, clock, stop.get_token());
    stop.request_stop();
    EXPECT_FALSE(stoppable.awaitAny(2s));
    EXPECT_LT(clock.elapsed(), 1ms);
}

TEST(PortNaming, PortNumberIsTheFourthCharacter) {
    EXPECT_EQ(portNumberOf("Com4"), 4);
    EXPECT_EQ(portNumberOf("Com12"), 1);
    EXPECT_EQ(portNumberOf("Com"), 0);
    EXPECT_EQ(portNumberOf("Comx"), 0);
}

TEST(PortNaming, ComPortsLeadToDevices) {
#ifndef _WIN32
    EXPECT_EQ(portDevice("Com1"), "/dev/ttyS0");
    EXPECT_EQ(portDevice("Com4"), "/dev/ttyS3");
    const PortDeviceOverride override = [](int n) -> std::optional<std::string> {
        if (n == 2)
            return std::string("/dev/pts/7");
        return std::nullopt;
    };
    EXPECT_EQ(portDevice("Com2", override), "/dev/pts/7");
    EXPECT_EQ(portDevice("Com3", override), "/dev/ttyS2");
#else
    EXPECT_EQ(portDevice("Com4"), "COM4");
#endif
    EXPECT_EQ(portDevice("/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(portDevice("Com"), "");
}

TEST(PortNaming, LineSettingsText) {
    const auto line = parseLineSettings("19200,n,8,1");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->speed, 19200);
    EXPECT_EQ(line->parity, 'n');
    EXPECT_EQ(line->dataBits, 8);
    EXPECT_EQ(line->stopBits, 1);
    EXPECT_TRUE(parseLineSettings("4800,E,7,2"));
    EXPECT_FALSE(parseLineSettings("19200,n,8"));
    EXPECT_FALSE(parseLineSettings("fast,n,8,1"));
    EXPECT_FALSE(parseLineSettings("19200,x,8,1"));
}

TEST(ProbePort, OpensAndClosesAtOnce) {
    FakeClock clock;
    ScriptedLink link(clock);
    EXPECT_EQ(probePort(link, "Com3"), std::nullopt);
    EXPECT_EQ(link.lineSettings(), "19200,n,8,1");
    EXPECT_EQ(link.port(), "Com3");
    EXPECT_EQ(link.openCount(), 1);
    EXPECT_FALSE(link.isOpen());
}

TEST(ProbePort, NothingStoredKeepsThePortAndAnUnopenablePortGivesTheMessage) {
    FakeClock clock;
    ScriptedLink link(clock);
    link.setPort("Com2");
    link.setOpenFails(true);
    EXPECT_EQ(probePort(link, ""), std::optional<std::string>("Secili comm port uygun deyil"));
    EXPECT_EQ(link.port(), "Com2");
}
