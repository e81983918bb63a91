#include "instruments/ModemTerminal.h"

#include "instruments/FakeLink.h"
#include "instruments/LevelConversion.h"
#include "instruments/sim/ModemSim.h"
#include "instruments/sim/SimulatedLink.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::sim;

namespace {

Bytes block(int unitCode, std::initializer_list<std::uint8_t> digits) {
    Bytes b(81, 0);
    std::size_t i = 1;
    for (const std::uint8_t d : digits)
        b[i++] = d;
    b[8] = 0x10; // 4096 bytes in use
    b[9] = 0x00;
    b[10] = 5;
    b[11] = 14;
    b[12] = 15;
    b[13] = 3;
    b[14] = 26;
    b[15] = 3;
    b[16] = static_cast<std::uint8_t>(unitCode);
    b[18] = 0xE8; // battery use 1000
    b[19] = 0x03;
    const std::string texts = "KARASU  01-001  SAKARYA ";
    std::copy(texts.begin(), texts.end(), b.begin() + 22);
    return b;
}

std::string text(const ModemInformationView& v, const char* name) {
    return v.logger.fields.hasText(name) ? v.logger.fields.text(name) : "<none>";
}

Bytes received(const Bytes& image, int lead) {
    Bytes r(lead > 0 ? static_cast<std::size_t>(lead) : 0u, std::uint8_t{0x0D});
    r.push_back('P');
    r.insert(r.end(), image.begin(), image.end());
    if (lead < 0)
        r.erase(r.begin(), r.begin() + (-lead));
    return r;
}

Bytes modemImage() {
    Bytes image(32768, 0);
    image[0] = 'G';
    for (std::size_t p = 240; p <= 255; ++p)
        image[p - 1] = 'I';
    image[255] = 'A';
    for (std::size_t i = 256; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + 1);
    return image;
}

} // namespace

TEST(ModemDialling, NumberCommandAndConnectTime) {
    EXPECT_EQ(dialNumber(" 0 ", " 3124567 "), "0,3124567");
    EXPECT_EQ(dialNumber("   ", "3124567"), "3124567");
    EXPECT_EQ(dialCommand("0,3124567"), "ATDT0,3124567\r\n");
    EXPECT_EQ(connectTimeText(3 * 3600 + 4 * 60 + 5), "03:04:05");
}

TEST(ModemInformationBlock, MillimetreLoggerShowsDischargeAndElevation) {
    HqTable rating;
    rating.discharge[234] = 12.5f;
    rating.discharge[235] = 99.0f;
    // L = 2345 mm; 234.5 rounds to the even 234.
    const ModemInformationView v =
        showModemBlock(block(1, {5, 4, 3, 2, 0}), &rating, 100.5, Locale::turkish());
    EXPECT_EQ(v.level, 2345);
    EXPECT_EQ(text(v, "Text1"), "2345");
    EXPECT_EQ(text(v, "Text8"), " mm");
    EXPECT_EQ(text(v, "Text2"), "14:05:00");
    EXPECT_EQ(text(v, "Text3"), "15.03.2026");
    EXPECT_EQ(text(v, "Text4"), "15");
    EXPECT_EQ(text(v, "Text5"), "KARASU  ");
    EXPECT_EQ(text(v, "Text6"), "01-001  ");
    EXPECT_EQ(text(v, "Text7"), "SAKARYA ");
    EXPECT_EQ(text(v, "Label8"), "  PİL ÖMRÜ  600..Gün");
    EXPECT_EQ(text(v, "Label9"), "Limnigraf Kaydedilebilecek kalan gün sayısı 139");
    EXPECT_EQ(text(v, "Text12"), "12,5");
    EXPECT_EQ(text(v, "Text11"), "102,845.m");
}

TEST(ModemInformationBlock, CentimetreLoggerHasNoDischarge) {
    HqTable rating;
    rating.discharge[123] = 1.0f;
    const ModemInformationView v = showModemBlock(block(10, {9, 3, 2, 1, 0}), &rating, 0, Locale::turkish());
    EXPECT_EQ(v.level, 123);
    EXPECT_EQ(text(v, "Text1"), "0123");
    EXPECT_EQ(text(v, "Text8"), " cm");
    EXPECT_EQ(text(v, "Text12"), "<none>");
    EXPECT_EQ(text(v, "Text11"), "<none>"); // no elevation
    EXPECT_EQ(text(showModemBlock(block(10, {9, 3, 2, 1, 0}), nullptr, 50, Locale::turkish()), "Text11"),
              "51,23.m");
}

TEST(ModemAlignment, EveryLeadGivesTheSameImage) {
    const Bytes image = modemImage();
    EXPECT_EQ(alignModemDownload(received(image, 0)), image);
    EXPECT_EQ(alignModemDownload(received(image, 3)), image);  // "G" at byte 4
    EXPECT_EQ(alignModemDownload(received(image, 19)), image); // "G" at byte 20
    // The reply byte lost: "G" at byte 0, the ring start found after the "I"s.
    EXPECT_EQ(alignModemDownload(received(image, -1)), image);
    // The "G" itself garbled: no "G" among bytes 0..20, the "I"s tell.
    Bytes garbled = received(image, 2);
    garbled[3] = 'X';
    Bytes expected = image;
    expected[0] = 'X';
    EXPECT_EQ(alignModemDownload(garbled), expected);
    // Too far off for either rule: taken as it came.
    const Bytes farOff = received(image, 30);
    EXPECT_EQ(alignModemDownload(farOff), Bytes(farOff.begin() + 1, farOff.begin() + 32769));
}

TEST(ModemAlignment, ShortDownloadIsFilledWithP) {
    Bytes r{'P', 'G', 1, 2, 3};
    const Bytes image = alignModemDownload(r);
    ASSERT_EQ(image.size(), 32768u);
    EXPECT_EQ(image[0], 'G');
    EXPECT_EQ(image[3], 3);
    EXPECT_EQ(image[4], 0x50);
    EXPECT_EQ(image.back(), 0x50);
    EXPECT_EQ(alignModemDownload({}).front(), 0x50);
}

class ModemLine : public ::testing::Test {
protected:
    void SetUp() override {
        LevelMemoryPlan plan;
        plan.days = 12;
        LevelLoggerSim::State state = LevelLoggerSim::withMemory(plan, clock.now()).state();
        state.behindModem = true;
        state.batteryCount = 1000;
        logger = std::make_unique<LevelLoggerSim>(state, clock.now());
        modem = std::make_unique<ModemSim>(*logger);
        link = std::make_unique<SimulatedLink>(*modem, clock);
        exchange = std::make_unique<Exchange>(*link, clock);
    }

    std::string say(const std::string& text) {
        exchange->openPort();
        exchange->write(Bytes(text.begin(), text.end()));
        exchange->awaitAny(Seconds(2));
        clock.advance(std::chrono::milliseconds(50));
        const Bytes reply = exchange->readAll();
        return std::string(reply.begin(), reply.end());
    }

    FakeClock clock;
    std::unique_ptr<LevelLoggerSim> logger;
    std::unique_ptr<ModemSim> modem;
    std::unique_ptr<SimulatedLink> link;
    std::unique_ptr<Exchange> exchange;
};

TEST_F(ModemLine, DialReadDownloadEachModeAndHangUp) {
    EXPECT_EQ(say("AT\r"), "\r\nOK\r\n");
    EXPECT_EQ(say(dialCommand(dialNumber("0", "3124567"))), "\r\nCONNECT 19200\r\n");
    EXPECT_EQ(modem->dialled(), (std::vector<std::string>{"0,3124567"}));

    const ModemInformation info = readModemInformation(*exchange);
    ASSERT_TRUE(info.ok) << info.message;
    ASSERT_EQ(info.block.size(), 81u);
    const ModemInformationView view = showModemBlock(info.block, nullptr, 0, Locale::turkish());
    EXPECT_EQ(text(view, "Text6"), "01-001  ");
    EXPECT_EQ(text(view, "Text3"), "15.03.2026");
    EXPECT_EQ(view.level, logger->state().levelMm % 10000);
    EXPECT_TRUE(link->isOpen()) << "the call holds the port";

    const Bytes expected = logger->memoryImage(clock.now());
    const std::pair<ModemDownloadMode, int> runs[] = {{ModemDownloadMode::Normal, 0},
                                                      {ModemDownloadMode::Slow, 3},
                                                      {ModemDownloadMode::Special, -1},
                                                      {ModemDownloadMode::Normal, 19}};
    for (const auto& [mode, lead] : runs) {
        modem->setDownloadLead(lead);
        const ModemDownload d = downloadOverModem(*exchange, mode);
        ASSERT_TRUE(d.ok) << d.message << " lead " << lead;
        EXPECT_EQ(d.image, expected) << "lead " << lead;
        const DecodedLevelDump decoded = decodeLevelDump(d.image, "01-001");
        EXPECT_EQ(decoded.days.size(), 13u) << "lead " << lead;
    }
    EXPECT_EQ(logger->commands().back(), levellogger::kDownload);

    EXPECT_EQ(say(std::string(modem::kHangUp) + "\r"), "\r\nNO CARRIER\r\n");
    EXPECT_FALSE(modem->connected());
}

TEST_F(ModemLine, NoCallNoLogger) {
    // Without a connection the wake-up bytes reach no logger: eight attempts, then "Yeniden deneyin".
    const ModemInformation info = readModemInformation(*exchange);
    EXPECT_FALSE(info.ok);
    EXPECT_EQ(info.wakeAttempts, 8);
    EXPECT_EQ(info.message, "Yeniden deneyin");
    const ModemDownload d = downloadOverModem(*exchange, ModemDownloadMode::Normal);
    EXPECT_FALSE(d.ok);
}
