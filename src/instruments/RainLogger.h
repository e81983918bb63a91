#pragma once

#include "core/ByteIO.h"
#include "core/Locale.h"
#include "core/Sheet.h"
#include "instruments/LevelLogger.h"
#include "instruments/LevelLoggerSettings.h"
#include "store/RainYearFile.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The rain logger speaks the water-level logger's byte commands; only the meaning of some
// replies differs (0x01 total rainfall, 0x04 bucket setting, 0x06 memory in use).
namespace rainlogger {
inline constexpr int kWakeRepeats = 4000;
inline constexpr std::array<std::uint8_t, 9> kInformationReads{0x01, 0x02, 0x03, 0x04, 0x06,
                                                               0x07, 0x08, 0x09, 0x0A};
inline constexpr std::uint8_t kBucket = 0x04;
inline constexpr std::uint8_t kBucketWrite = 0x14;
} // namespace rainlogger

inline constexpr std::string_view kRainLoggerCaption = "Pluviograf ile iletişim & sağım";
inline constexpr std::string_view kRainFreeMemoryText = "Pluviografta boş RAM uzunluğu";
inline constexpr std::string_view kBucketPrompt = "pluviograf kefe ayarı";
inline constexpr std::string_view kRecordingCompleted = "Kayıd tamamlandı";

// The rain logger's raw dump, "c:\korvel96\hamdata.plu".
inline constexpr std::string_view kRainDumpName = "hamdata.plu";
std::filesystem::path rainDumpPath(const std::filesystem::path& korvel96Root);

// What the rain logger screen shows (Text1 total rainfall, Text2 time, Text3 date, Text4 bucket
// setting, Text5-7 texts, Label9 free memory, Label8 battery life, Text10 battery gauge), and
// the bucket factor every converted tip count is multiplied by.
struct RainLoggerView {
    Sheet fields;
    int bucketFactor = 0; // 0 until the information or the bucket setting ran
    int unitCode = 0;     // kept from the 0x0B reply, not shown

    void showReply(std::uint8_t readByte, const Bytes& reply, const Locale& locale);
};

// The bucket setting: one byte, the answer as a whole number 0..255 (halves rounded to even).
// Nothing for an answer that is not a number in that range: it is never sent wrapped.
std::optional<SettingCommand> bucketSetting(std::string_view answer);

// "Pluviograftan Bilgileri Al": the information frame with 4000 wake-up bytes and the rain
// logger's reads.
CommandOutcome readRainInformation(Exchange& exchange);
// The download's options: 4000 wake-up bytes, otherwise as the water-level logger's "P".
DownloadOptions rainDownloadOptions();

// Positions (from 1) of the rain logger's memory image.
namespace raindump {
inline constexpr std::size_t kStationName = 6;    // 6..13
inline constexpr std::size_t kRegionName = 14;    // 14..21
inline constexpr std::size_t kStationNumber = 22; // 22..29
inline constexpr std::size_t kFirstIsEvent = 34;  // 34..35, high byte first
inline constexpr std::size_t kWritePosition = 50; // 50..51, high byte first
inline constexpr std::uint8_t kMarker = 0x49;     // "I"
inline constexpr std::uint8_t kHeaderEnd = 0xD4;
inline constexpr std::size_t kHeaderSize = 10;
} // namespace raindump

struct RainDumpHeader {
    std::string stationName; // UTF-8 of the 8 cp1254 bytes
    std::string regionName;
    std::string stationNumber;
    bool firstIsEvent = false;
    std::size_t writePosition = 0;
};
RainDumpHeader readRainDumpHeader(const Bytes& dump);

// Whether position q is byte 5 (the start minute) of a valid event header: bytes q-4..q-1 each
// 0 or "I", day 1..31 at q+2, month 1..12 at q+3 and 0xD4 at q+5, in ring order.
bool isRainEventHeader(const Bytes& dump, std::size_t q);

// One event found in the ring.
struct RainEvent {
    std::size_t position = 0; // of the start minute
    int minute = 0, hour = 0, day = 0, month = 0, year = 0;
    std::vector<std::uint8_t> tips; // one count per minute from the start on
};

struct DecodedRainDump {
    bool scanned = false; // false: the write position lies outside the ring
    RainDumpHeader header;
    std::vector<RainEvent> events;
    // The tips placed on their days and minutes: an event running past midnight goes on at
    // minute 0 of the next day; a later event overwrites the same minute.
    std::vector<DownloadedRainDay> days;
};

// Scans the ring from the position after the write position round to it.
DecodedRainDump decodeRainDump(const Bytes& dump);

// A minute whose tip count times the bucket factor does not fit a minute entry: 255 is stored.
struct ClippedRainMinute {
    OleDate day;
    int minute = 0; // of the day, 0..1439
    int product = 0;
    // "12.03.2026 10:05: 100 x 3 = 300 sığmaz, 255 yazıldı"
    std::string text(int bucketFactor) const;
};

struct RainConversionResult {
    bool converted = false;
    std::string message; // "Kayıd tamamlandı", or why nothing or not everything was written
    DecodedRainDump decoded;
    RainDownloadResult written;
    std::vector<ClippedRainMinute> clipped;
};

// Writes the tips of the dump times the bucket factor into the station's rainfall-year files.
// A product above 255 is stored as 255, the largest value a minute holds, and listed in `clipped`
// (and in the message); the rest of its day is stored as it came.
RainConversionResult convertRainDump(const Bytes& dump, std::string_view stationNumber,
                                     const std::filesystem::path& stationDir, int bucketFactor);

} // namespace korvel
