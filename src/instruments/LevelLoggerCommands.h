#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace korvel::levellogger {

// The command bytes of the water-level logger. A read command is one byte; its reply starts
// with one unused byte followed by the data. A write command is 16 + the read byte, followed by
// the read byte and the data; the logger answers it with the reply of the read.
inline constexpr std::uint8_t kWake = 0x01;
// Over a modem the logger wakes with 0x00, which also asks for its 81-byte information block.
inline constexpr std::uint8_t kModemWake = 0x00;
inline constexpr std::uint8_t kLevel = 0x01;
inline constexpr std::uint8_t kTime = 0x02;
inline constexpr std::uint8_t kDate = 0x03;
inline constexpr std::uint8_t kInterval = 0x04;
inline constexpr std::uint8_t kMemoryUsed = 0x06;
inline constexpr std::uint8_t kStationName = 0x07;
inline constexpr std::uint8_t kStationNumber = 0x08;
inline constexpr std::uint8_t kRiverName = 0x09;
inline constexpr std::uint8_t kBattery = 0x0A;
inline constexpr std::uint8_t kUnitCode = 0x0B;
inline constexpr std::uint8_t kWriteOffset = 0x10;
// The unit toggle writes the unit code and is answered with the level reply.
inline constexpr std::uint8_t kUnitToggle = 0x1B;
inline constexpr std::uint8_t kDownload = 0x50; // "P"
inline constexpr std::uint8_t kSlowDownload = 0x53;
inline constexpr std::uint8_t kSpecialDownload = 0x52;
inline constexpr std::uint8_t kErase = 0x55; // "U"

constexpr std::uint8_t writeByteOf(std::uint8_t readByte) {
    return static_cast<std::uint8_t>(kWriteOffset + readByte);
}

// Reply length of a read byte (the unused first byte included); nothing for other bytes.
constexpr std::optional<std::size_t> replyLength(std::uint8_t readByte) {
    switch (readByte) {
    case kLevel:
        return 6;
    case kTime:
        return 3;
    case kDate:
        return 4;
    case kInterval:
        return 2;
    case kMemoryUsed:
        return 3;
    case kStationName:
    case kStationNumber:
    case kRiverName:
        return 9;
    case kBattery:
        return 6;
    case kUnitCode:
        return 2;
    default:
        return std::nullopt;
    }
}

// The reads of the information command after the unit code, in order.
inline constexpr std::array<std::uint8_t, 9> kInformationReads{
    kLevel, kTime, kDate, kInterval, kMemoryUsed, kStationName, kStationNumber, kRiverName, kBattery};

// The logger memory: 32768 bytes, the data ring at positions 256..32767 (counted from 1).
inline constexpr std::size_t kMemorySize = 32768;
inline constexpr std::size_t kRingFirst = 256;
inline constexpr std::size_t kRingLast = 32767;
inline constexpr std::size_t kRingSize = kRingLast - kRingFirst + 1; // 32512
// A download brings the reply byte to "P" and then the memory image.
inline constexpr std::size_t kDownloadLength = kMemorySize + 1;

// Level digits d1 .. d5 (d1 least significant), one digit value per byte.
inline constexpr std::size_t kLevelDigits = 5;
// The eight characters of a text kept by the logger.
inline constexpr std::size_t kTextLength = 8;
// Battery use counts of a fresh battery.
inline constexpr int kBatteryLife = 1600;

} // namespace korvel::levellogger
