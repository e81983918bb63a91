#include "instruments/RainLogger.h"

#include "common/Dates.h"
#include "common/ScratchDirectory.h"
#include "core/FileIO.h"
#include "instruments/LevelDump.h"
#include "instruments/LevelLoggerCommands.h"

#include <gtest/gtest.h>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

// A rain logger memory image put together byte by byte.
struct RainImage {
    Bytes image = Bytes(levellogger::kMemorySize, 0);

    std::uint8_t& at(std::size_t position) { return image.at(position - 1); }
    RainImage& writePosition(std::size_t p) {
        at(raindump::kWritePosition) = static_cast<std::uint8_t>(p >> 8);
        at(raindump::kWritePosition + 1) = static_cast<std::uint8_t>(p & 0xFF);
        return *this;
    }
    // Writes in ring order from p; gives the position after the bytes.
    std::size_t put(std::size_t p, const Bytes& bytes) {
        for (const std::uint8_t b : bytes) {
            at(p) = b;
            p = nextRingPosition(p);
        }
        return p;
    }
    // A header with its four markers at p, then the tips; gives the position after them.
    std::size_t event(std::size_t p, int hour, int minute, int day, int month, int year, const Bytes& tips) {
        Bytes bytes{'I',
                    'I',
                    0,
                    'I',
                    static_cast<std::uint8_t>(minute),
                    static_cast<std::uint8_t>(hour),
                    static_cast<std::uint8_t>(day),
                    static_cast<std::uint8_t>(month),
                    static_cast<std::uint8_t>(year),
                    0xD4};
        bytes.insert(bytes.end(), tips.begin(), tips.end());
        return put(p, bytes);
    }
};

std::vector<RainDayRecord> yearRecords(const fs::path& path) {
    return parseRainYearFile(readFileBytes(path).value_or(Bytes{}));
}

const char* const kStation = "12-345";
const char* const kFile2004 = "2004_12-345  .yrd";

using korvel::testing::day;

} // namespace

TEST(RainLoggerView, RepliesFillTheFieldsAndTheBucketFactor) {
    const Locale locale = Locale::turkish();
    RainLoggerView view;
    view.showReply(0x0B, {0, 10}, locale);
    view.showReply(0x01, {0, 4, 3, 2, 1, 0}, locale);
    view.showReply(0x04, {0, 2}, locale);
    view.showReply(0x06, {0, 0, 0}, locale);
    view.showReply(0x08, {0, '1', '2', '-', '3', '4', '5', ' ', ' '}, locale);
    EXPECT_EQ(view.unitCode, 10);
    EXPECT_EQ(view.fields.text("Text1"), "1234");
    EXPECT_EQ(view.fields.text("Text4"), "2");
    EXPECT_EQ(view.bucketFactor, 2);
    // No space between the text and the number.
    EXPECT_EQ(view.fields.text("Label9"), "Pluviografta boş RAM uzunluğu32512");
    EXPECT_EQ(view.fields.text("Text6"), "12-345  ");
    view.showReply(0x06, {0, 1, 0}, locale);
    EXPECT_EQ(view.fields.text("Label9"), "Pluviografta boş RAM uzunluğu32256");
}

TEST(RainLoggerView, BucketSettingIsOneByteOrRefused) {
    const auto three = bucketSetting(" 3 ");
    ASSERT_TRUE(three);
    EXPECT_EQ(three->writeByte, 0x14);
    EXPECT_EQ(three->readByte, 0x04);
    EXPECT_EQ(three->data, (Bytes{3}));
    EXPECT_EQ(three->replyLength, 2u);
    EXPECT_EQ(bucketSetting("255")->data, (Bytes{255}));
    EXPECT_EQ(bucketSetting("2.5")->data, (Bytes{2}));
    EXPECT_FALSE(bucketSetting("256"));
    EXPECT_FALSE(bucketSetting("-1"));
    EXPECT_FALSE(bucketSetting("iki"));
    EXPECT_FALSE(bucketSetting(""));
}

TEST(RainDumpScan, HeaderValidity) {
    RainImage img;
    img.event(300, 10, 5, 5, 11, 3, {});
    EXPECT_TRUE(isRainEventHeader(img.image, 304));
    EXPECT_FALSE(isRainEventHeader(img.image, 305));
    img.at(302) = 7; // a marker byte that is neither 0 nor "I"
    EXPECT_FALSE(isRainEventHeader(img.image, 304));
    img.at(302) = 0;
    img.at(307) = 13; // month 13
    EXPECT_FALSE(isRainEventHeader(img.image, 304));
    img.at(307) = 12;
    img.at(306) = 0; // day 0
    EXPECT_FALSE(isRainEventHeader(img.image, 304));
    img.at(306) = 31;
    img.at(309) = 0xD3;
    EXPECT_FALSE(isRainEventHeader(img.image, 304));
}

TEST(RainDumpScan, ZeroTipsBeforeAnInvalidHeaderAreTipData) {
    RainImage img;
    std::size_t p = img.event(300, 10, 5, 5, 11, 3, {1, 0, 0, 0, 0});
    // Four zero bytes already stand before this "header" whose month is 13.
    p = img.put(p, {7, 6, 5, 13, 3, 0xD4, 2});
    img.writePosition(p);
    const DecodedRainDump decoded = decodeRainDump(img.image);
    ASSERT_EQ(decoded.events.size(), 1u);
    EXPECT_EQ(decoded.events[0].tips, (std::vector<std::uint8_t>{1, 0, 0, 0, 0, 7, 6, 5, 13, 3, 0xD4, 2}));
}

TEST(RainDumpScan, EventsEndAtTheNextHeaderAndAtTheWritePosition) {
    RainImage img;
    std::size_t p = img.event(300, 10, 5, 5, 11, 3, {2, 0, 1});
    p = img.event(p, 12, 0, 5, 11, 3, {3});
    img.writePosition(p);
    const DecodedRainDump decoded = decodeRainDump(img.image);
    ASSERT_TRUE(decoded.scanned);
    ASSERT_EQ(decoded.events.size(), 2u);
    EXPECT_EQ(decoded.events[0].tips, (std::vector<std::uint8_t>{2, 0, 1}));
    EXPECT_EQ(decoded.events[1].hour, 12);
    EXPECT_EQ(decoded.events[1].tips, (std::vector<std::uint8_t>{3}));
    ASSERT_EQ(decoded.days.size(), 1u);
    EXPECT_EQ(decoded.days[0].day, day(2003, 11, 5));
    EXPECT_EQ(decoded.days[0].tipCounts, (std::map<int, int>{{605, 2}, {606, 0}, {607, 1}, {720, 3}}));
}

TEST(RainDumpScan, EventRunningPastMidnightGoesOnAtMinuteZero) {
    RainImage img;
    img.writePosition(img.event(300, 23, 58, 28, 2, 4, {1, 2, 3, 4}));
    const DecodedRainDump decoded = decodeRainDump(img.image);
    ASSERT_EQ(decoded.days.size(), 2u);
    EXPECT_EQ(decoded.days[0].day, day(2004, 2, 28));
    EXPECT_EQ(decoded.days[0].tipCounts, (std::map<int, int>{{1438, 1}, {1439, 2}}));
    EXPECT_EQ(decoded.days[1].day, day(2004, 2, 29));
    EXPECT_EQ(decoded.days[1].tipCounts, (std::map<int, int>{{0, 3}, {1, 4}}));
}

TEST(RainDumpScan, EventWrapsRoundTheRing) {
    RainImage img;
    const std::size_t p = img.event(32760, 8, 0, 1, 3, 4, {1, 2, 3, 4, 5});
    EXPECT_EQ(p, 256u + 7u);
    img.writePosition(p);
    const DecodedRainDump decoded = decodeRainDump(img.image);
    ASSERT_EQ(decoded.events.size(), 1u);
    EXPECT_EQ(decoded.events[0].tips, (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
}

TEST(RainDumpScan, FirstPositionTakenAsEventWhenFlagged) {
    RainImage img;
    // Header bytes 5..10 right after the write position, without markers before them and with
    // an end byte that is not 0xD4.
    img.writePosition(400);
    img.put(401, {30, 6, 2, 1, 4, 0, 9, 9});
    img.at(raindump::kFirstIsEvent + 1) = 1;
    const DecodedRainDump decoded = decodeRainDump(img.image);
    ASSERT_FALSE(decoded.events.empty());
    EXPECT_EQ(decoded.events[0].position, 401u);
    EXPECT_EQ(decoded.events[0].hour, 6);
    EXPECT_EQ((std::vector<std::uint8_t>(decoded.events[0].tips.begin(), decoded.events[0].tips.begin() + 2)),
              (std::vector<std::uint8_t>{9, 9}));
    img.at(raindump::kFirstIsEvent + 1) = 0;
    EXPECT_TRUE(decodeRainDump(img.image).events.empty());
}

TEST(RainDumpScan, WritePositionOutsideTheRingIsNotScanned) {
    RainImage img;
    img.writePosition(100);
    EXPECT_FALSE(decodeRainDump(img.image).scanned);
    EXPECT_FALSE(decodeRainDump(Bytes{}).scanned);
}

TEST(RainConversion, TipsTimesTheBucketFactorKeepOtherMinutes) {
    korvel::testing::ScratchDirectory dir;
    // A stored value before and after the event's minutes must stay.
    ASSERT_TRUE(
        writeDownloadedRain(dir.path(), kStation, {{day(2003, 11, 5), {{604, 9}, {608, 8}}}}, 1).ok());
    RainImage img;
    img.writePosition(img.event(300, 10, 5, 5, 11, 3, {2, 0, 1}));
    const RainConversionResult result = convertRainDump(img.image, kStation, dir.path(), 2);
    ASSERT_TRUE(result.converted);
    EXPECT_EQ(result.message, "Kayıd tamamlandı");
    // November 2003 belongs to the water year 2004.
    const std::vector<RainDayRecord> records = yearRecords(dir.path() / kFile2004);
    ASSERT_EQ(records.size(), 366u);
    const RainDayRecord& nov5 = records[35];
    EXPECT_EQ(nov5.dayDate, day(2003, 11, 5));
    EXPECT_EQ(nov5.minuteRain[604], 9);
    EXPECT_EQ(nov5.minuteRain[605], 4);
    EXPECT_EQ(nov5.minuteRain[606], 0);
    EXPECT_EQ(nov5.minuteRain[607], 2);
    EXPECT_EQ(nov5.minuteRain[608], 8);
}

TEST(RainConversion, ProductAboveAByteIsHeldAt255NamingDayAndMinute) {
    korvel::testing::ScratchDirectory dir;
    RainImage img;
    std::size_t p = img.event(300, 10, 5, 5, 11, 3, {2, 200, 7});
    p = img.event(p, 9, 0, 6, 11, 3, {1});
    img.writePosition(p);
    const RainConversionResult result = convertRainDump(img.image, kStation, dir.path(), 2);
    ASSERT_TRUE(result.converted);
    EXPECT_TRUE(result.written.errors.empty());
    ASSERT_EQ(result.clipped.size(), 1u);
    EXPECT_EQ(result.clipped[0].day, day(2003, 11, 5));
    EXPECT_EQ(result.clipped[0].minute, 606);
    EXPECT_EQ(result.clipped[0].text(2), "05.11.2003 10:06: 200 x 2 = 400 sığmaz, 255 yazıldı");
    EXPECT_EQ(result.message, "Kayıd tamamlandı\n05.11.2003 10:06: 200 x 2 = 400 sığmaz, 255 yazıldı");
    const std::vector<RainDayRecord> records = yearRecords(dir.path() / kFile2004);
    EXPECT_EQ(records[35].minuteRain[605], 4); // the rest of the day is stored as it came
    EXPECT_EQ(records[35].minuteRain[606], 255);
    EXPECT_EQ(records[35].minuteRain[607], 14);
    EXPECT_EQ(records[36].minuteRain[540], 2);
}

TEST(RainConversion, BucketFactorZeroWritesZeros) {
    korvel::testing::ScratchDirectory dir;
    ASSERT_TRUE(writeDownloadedRain(dir.path(), kStation, {{day(2003, 11, 5), {{605, 9}}}}, 1).ok());
    RainImage img;
    img.writePosition(img.event(300, 10, 5, 5, 11, 3, {5}));
    ASSERT_TRUE(convertRainDump(img.image, kStation, dir.path(), 0).converted);
    EXPECT_EQ(yearRecords(dir.path() / kFile2004)[35].minuteRain[605], 0);
}

TEST(RainConversion, WrongSizedDumpWritesNothing) {
    korvel::testing::ScratchDirectory dir;
    const RainConversionResult result = convertRainDump(Bytes(100, 0), kStation, dir.path(), 1);
    EXPECT_FALSE(result.converted);
    EXPECT_TRUE(fs::is_empty(dir.path()));
}
