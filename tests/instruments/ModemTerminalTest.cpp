#include "instruments/ModemTerminal.h"

#include "instruments/FakeLink.h"
#include "instruments/LevelConversion.h"
#include "instruments/sim/LevelLoggerSim.h"
#include "instruments/sim/LevelMemory.h"
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

// A logger memory as the simulator records it, with the run of "I"s some loggers keep before the
// ring (positions 240-255).
LevelMemory modemMemory() {
    LevelMemoryPlan plan;
    plan.days = 40;
    LevelMemory memory = generateLevelMemory(plan);
    for (std::size_t p = 240; p <= 255; ++p)
        memory.image[p - 1] = 'I';
    return memory;
}

// The days the logger wrote whole, as the conversion stores them.
std::vector<std::string> dayTexts(const std::vector<DayRecord>& days) {
    std::vector<std::string> texts;
    for (const DayRecord& d : days)
        texts.push_back(d.date.dateText() + " " + std::to_string(d.meanValue) + " " +
                        std::to_string(d.maxLevel) + " " + std::to_string(d.minLevel));
    return texts;
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
    const Bytes image = modemMemory().image;
    for (const int lead : {0, 3, 19, -1, 20, 25, 100, 250}) {
        // Everything the logger sent arrived; only the lead came before it.
        const AlignedModemImage aligned = alignModemDownload(received(image, lead));
        ASSERT_TRUE(aligned.ok) << "lead " << lead;
        EXPECT_EQ(aligned.image, image) << "lead " << lead;
        EXPECT_EQ(aligned.receivedEnd, kWholeImage) << "lead " << lead;
    }
    // The "G" itself garbled: the end of the "I"s tells where the ring starts.
    Bytes garbled = received(image, 2);
    garbled[3] = 'X';
    Bytes expected = image;
    expected[0] = 'X';
    const AlignedModemImage fromFiller = alignModemDownload(garbled);
    ASSERT_TRUE(fromFiller.ok);
    EXPECT_EQ(fromFiller.image, expected);
}

TEST(ModemAlignment, StrayBytesThatHideNoImageAreRefused) {
    EXPECT_FALSE(alignModemDownload({}).ok);
    EXPECT_FALSE(alignModemDownload(Bytes{'P', 'G', 1, 2, 3}).ok);
    // Line noise: no header that names a write position, an interval and a date.
    Bytes noise(5000);
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<std::uint8_t>(i * 37 + 11);
    EXPECT_FALSE(alignModemDownload(noise).ok);
    // An image whose header was lost with the first bytes.
    const Bytes image = modemMemory().image;
    EXPECT_FALSE(alignModemDownload(received(image, -60)).ok);
}

TEST(ModemAlignment, CutOffImageConvertsOnlyTheDaysThatCameWhole) {
    const LevelMemory memory = modemMemory();
    const DecodedLevelDump whole = decodeLevelDump(memory.image, "01-001");
    ASSERT_EQ(whole.days.size(), 41u);

    // 5000 bytes arrived after a lead of 25: the filler after them must never read as a day.
    Bytes r = received(memory.image, 25);
    r.resize(25 + 1 + 5000);
    const AlignedModemImage aligned = alignModemDownload(r);
    ASSERT_TRUE(aligned.ok);
    EXPECT_EQ(aligned.receivedEnd, 5001u);
    EXPECT_EQ(aligned.image[5000], modem::kImageFill);
    const DecodedLevelDump cut = decodeLevelDump(aligned.image, "01-001", aligned.receivedEnd);
    // Blocks of 203 bytes from position 263: 23 end before position 5001.
    const std::size_t whole_days = (5001 - 263) / 203;
    ASSERT_EQ(cut.days.size(), whole_days);
    EXPECT_EQ(cut.missingDays, static_cast<int>(41 - whole_days));
    EXPECT_FALSE(cut.lastDayInProgress);
    const auto all = dayTexts(whole.days);
    EXPECT_EQ(dayTexts(cut.days), std::vector<std::string>(all.begin(), all.begin() + whole_days));
}

TEST(ModemAlignment, GapAtTheRingEndKeepsTheDaysAfterTheWrap) {
    // A memory that has gone round the ring: the oldest days lie before the ring end, the newest
    // after position 256. A download that lost its last 100 bytes loses only the days across them.
    LevelMemoryPlan plan;
    plan.days = 170;
    const LevelMemory memory = generateLevelMemory(plan);
    const DecodedLevelDump whole = decodeLevelDump(memory.image, "01-001");
    const std::size_t end = 32768 - 100 + 1;
    Bytes cut = memory.image;
    std::fill(cut.begin() + static_cast<std::ptrdiff_t>(end - 1), cut.end(), modem::kImageFill);
    const DecodedLevelDump decoded = decodeLevelDump(cut, "01-001", end);
    ASSERT_GE(decoded.missingDays, 1);
    ASSERT_LE(decoded.missingDays, 2); // 99 ring positions touch at most two 203-byte blocks
    ASSERT_EQ(decoded.days.size() + static_cast<std::size_t>(decoded.missingDays), whole.days.size());
    std::vector<std::string> expected = dayTexts(whole.days);
    const std::vector<std::string> got = dayTexts(decoded.days);
    // The days left out are next to each other, and every other one is as the whole image gives it.
    std::size_t gap = 0;
    while (gap < got.size() && got[gap] == expected[gap])
        ++gap;
    expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(gap),
                   expected.begin() + static_cast<std::ptrdiff_t>(gap) + decoded.missingDays);
    EXPECT_EQ(got, expected);
    EXPECT_LT(gap, got.size()) << "the days after the wrap are kept";
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
        SCOPED_TRACE(lead);
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

TEST_F(ModemLine, CutOffDownloadSaysSoAndStoresOnlyWholeDays) {
    say(dialCommand("3124567"));
    const DecodedLevelDump expected = decodeLevelDump(logger->memoryImage(clock.now()), "01-001");
    logger->addFault(*parseSimFault("cutoff@0x50"));
    const ModemDownload d = downloadOverModem(*exchange, ModemDownloadMode::Normal);
    ASSERT_TRUE(d.ok) << d.message;
    EXPECT_FALSE(d.complete());
    EXPECT_LT(d.receivedEnd, 32768u);
    const DecodedLevelDump decoded = decodeLevelDump(d.image, "01-001", d.receivedEnd);
    EXPECT_EQ(decoded.missingDays + static_cast<int>(decoded.days.size()),
              static_cast<int>(expected.days.size()));
    const auto all = dayTexts(expected.days);
    EXPECT_EQ(dayTexts(decoded.days),
              std::vector<std::string>(all.begin(),
                                       all.begin() + static_cast<std::ptrdiff_t>(decoded.days.size())));
}

TEST(ModemInformationBlock, ImpossibleFieldsAreRefused) {
    Bytes good(81, 0);
    good[12] = 15;
    good[13] = 3;
    good[16] = 1;
    EXPECT_TRUE(modemBlockInRange(good));
    Bytes hour = good;
    hour[11] = 251;
    EXPECT_FALSE(modemBlockInRange(hour));
    Bytes unit = good;
    unit[16] = 254;
    EXPECT_FALSE(modemBlockInRange(unit));
    Bytes battery = good;
    battery[19] = 0x07; // 1792 uses of a 1600-day battery
    EXPECT_FALSE(modemBlockInRange(battery));
}
