#pragma once

#include "core/ByteIO.h"
#include "core/OleDate.h"
#include "instruments/LevelLoggerCommands.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// The memory image of the water-level logger (`RawLoggerDump`, "c:\korvel96\hamdata.96"):
// 32768 bytes, positions counted from 1 (position p is offset p - 1).
namespace leveldump {
inline constexpr std::size_t kStationName = 6;    // 6..13
inline constexpr std::size_t kRiverName = 14;     // 14..21
inline constexpr std::size_t kStationNumber = 22; // 22..29, as kept in the logger
inline constexpr std::size_t kParameters = 31;    // p1..p24 at 31..54: pk at 30 + k
inline constexpr std::size_t kParameterCount = 24;
inline constexpr std::size_t kTextWidth = 8;
// ringStart (p2, p3) is the position just before the marker; the first block follows at + 8.
inline constexpr std::string_view kMarker = "ALYEL";
inline constexpr std::size_t kFirstBlockOffset = 8;
// Parameter numbers.
inline constexpr int kRingStartHigh = 2;
inline constexpr int kRingStartLow = 3;
inline constexpr int kReadingsHeaderFirst = 4; // p4..p8 go into the day-readings file
inline constexpr int kReadingsHeaderLast = 8;
inline constexpr int kIntervalCode = 9;
inline constexpr int kUnitCode = 10;
inline constexpr int kWritePositionHigh = 14;
inline constexpr int kWritePositionLow = 15;
inline constexpr int kNameDay = 18;
inline constexpr int kNameMonth = 19;
inline constexpr int kNameYear = 20;
// A day block: 3 date bytes, N readings of 2 bytes, the maximum and the minimum of 4 bytes.
inline constexpr std::size_t kDateBytes = 3;
inline constexpr std::size_t kExtremeBytes = 4;
inline constexpr std::size_t kTrailerBytes = 2 * kExtremeBytes;
} // namespace leveldump

// The byte at a position (from 1); positions outside the image read as 0.
std::uint8_t dumpByte(const Bytes& dump, std::size_t position);

// Ring order: after 32767 comes 256, before 256 comes 32767.
constexpr std::size_t nextRingPosition(std::size_t p) {
    return p >= levellogger::kRingLast ? levellogger::kRingFirst : p + 1;
}
constexpr std::size_t previousRingPosition(std::size_t p) {
    return p <= levellogger::kRingFirst ? levellogger::kRingLast : p - 1;
}
constexpr bool isRingPosition(std::size_t p) {
    return p >= levellogger::kRingFirst && p <= levellogger::kRingLast;
}
// The ring position `steps` places after p.
std::size_t advanceRingPosition(std::size_t p, std::size_t steps);

// Reading interval in minutes of an interval code: 5 x code, 0 meaning 1 minute.
int intervalMinutesOfCode(int code);
// Readings per day, N = 1440 / I, and the size of a day block, 2N + 11.
int readingsPerDay(int intervalMinutes);
int dayBlockSize(int intervalMinutes);

// Four decimal digits in two bytes, one per nibble: 0x12 0x34 is 1234.
constexpr int bcdPair(std::uint8_t high, std::uint8_t low) {
    return (high >> 4) * 1000 + (high & 0x0F) * 100 + (low >> 4) * 10 + (low & 0x0F);
}
// A value 0..9999 as its bcdPair bytes.
std::array<std::uint8_t, 2> toBcdPair(int value);

// The divisor of the download's levels: 10 for unit code 1, 1 for 10, 2 for any other code.
double levelDivisor(int levelUnitCode);

// A two-digit year of the logger: 0..29 are 2000..2029, 30..99 are 1930..1999; other values stand
// as they are.
int loggerYear(int year);
// A block date is valid when 1 <= day <= 31, 1 <= month <= 12 and year <= 99. It converts to a
// calendar date when that day exists.
bool isValidBlockDate(int day, int month, int year);
std::optional<OleDate> blockDate(int day, int month, int year);

// The fields of the image header.
struct LevelDumpHeader {
    std::string stationName; // UTF-8 of the 8 cp1254 bytes
    std::string riverName;
    std::string stationNumber;                                         // as kept in the logger
    std::array<std::uint8_t, leveldump::kParameterCount> parameters{}; // p1..p24

    std::uint8_t p(int k) const { return parameters.at(static_cast<std::size_t>(k - 1)); }
    std::size_t ringStart() const;
    std::size_t writePosition() const;
    int intervalMinutes() const;
    int levelUnitCode() const { return p(leveldump::kUnitCode); }
};

LevelDumpHeader readLevelDumpHeader(const Bytes& dump);

// The names of the two side files: the first three characters of the station name, p18, "-",
// p19, the whole padded with spaces to 8 characters, then ".-" + p20 (day readings) or ".m" + p20
// (station texts). Characters that cannot stand in a file name become "_".
std::string sideFileBase(const LevelDumpHeader& header);
std::string dayReadingsFileName(const LevelDumpHeader& header);
std::string stationTextsFileName(const LevelDumpHeader& header);

} // namespace korvel
