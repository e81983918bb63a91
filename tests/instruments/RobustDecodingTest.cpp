#include "DumpBuilder.h"
#include "instruments/LevelConversion.h"
#include "instruments/LevelLoggerView.h"
#include "instruments/ReceivedReadings.h"

#include <gtest/gtest.h>
#include <random>

using namespace korvel;
using namespace korvel::testing;

// Damaged images and side files of any content decode without a crash and without reading
// outside the buffers; every day found has a real date.
TEST(RobustDecoding, RandomImagesDecode) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 300; ++round) {
        DumpBuilder b;
        for (std::uint8_t& x : b.image)
            x = static_cast<std::uint8_t>(round % 3 == 0 ? byte(random) % 32 : byte(random));
        if (round % 2 == 0)
            b.markerBefore(256 + static_cast<std::size_t>(byte(random)) * 100);
        const DecodedLevelDump d = decodeLevelDump(b.image, "01-001");
        for (const DayRecord& day : d.days)
            EXPECT_TRUE(isCalendarDate(day.date));
        if (d.found) {
            EXPECT_GE(d.readingsFile.size(), 13u);
            EXPECT_GE(d.textsFile.size(), 24u);
            const auto again = decodeReceivedReadings(d.readingsFile, d.textsFile, d.readingsFileName);
            EXPECT_LE(again.size(), d.days.size() + 1);
        }
    }
}

TEST(RobustDecoding, ShortAndRandomSideFiles) {
    std::mt19937 random(777);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 500; ++round) {
        Bytes readings(static_cast<std::size_t>(byte(random) * (round % 5 + 1)));
        for (std::uint8_t& x : readings)
            x = static_cast<std::uint8_t>(byte(random));
        Bytes texts(static_cast<std::size_t>(byte(random)));
        for (std::uint8_t& x : texts)
            x = static_cast<std::uint8_t>(byte(random));
        for (const DayRecord& day : decodeReceivedReadings(readings, texts, "X"))
            EXPECT_TRUE(isCalendarDate(day.date));
    }
}

TEST(RobustDecoding, ShortOrEmptyRepliesShowAsZeros) {
    for (const std::uint8_t read : {0x01, 0x02, 0x03, 0x04, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B}) {
        LevelLoggerView view;
        view.levelUnitCode = 1;
        view.intervalMinutes = 15;
        view.showReply(read, {}, Locale::turkish());
        view.showReply(read, Bytes(40, 0xFF), Locale::turkish());
    }
    LevelLoggerView view;
    view.showReply(0x03, bytesOf({3, 0, 0, 0}), Locale::turkish());
    EXPECT_EQ(view.fields.text("Text3"), "30.11.1999");
    view.showReply(0x03, bytesOf({3, 255, 255, 255}), Locale::turkish());
    EXPECT_FALSE(view.fields.text("Text3").empty());
}
