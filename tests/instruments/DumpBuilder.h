#pragma once

#include "ScriptedLogger.h"
#include "instruments/LevelDump.h"

#include <string>
#include <vector>

namespace korvel::testing {

struct BlockExtreme {
    int minute;
    int hour;
    int value;
};

// A logger memory image put together byte by byte for the conversion tests.
class DumpBuilder {
public:
    Bytes image = Bytes(levellogger::kMemorySize, 0);

    DumpBuilder() { texts("ABCDEFGH", "RIVERXYZ", "01-001  "); }

    DumpBuilder& texts(const std::string& station, const std::string& river, const std::string& number) {
        text(leveldump::kStationName, station);
        text(leveldump::kRiverName, river);
        text(leveldump::kStationNumber, number);
        return *this;
    }
    DumpBuilder& p(int k, int value) {
        at(leveldump::kParameters + static_cast<std::size_t>(k) - 1) = static_cast<std::uint8_t>(value);
        return *this;
    }
    DumpBuilder& ringStart(std::size_t position) {
        return p(leveldump::kRingStartHigh, static_cast<int>(position >> 8))
            .p(leveldump::kRingStartLow, static_cast<int>(position & 0xFF));
    }
    DumpBuilder& writePosition(std::size_t position) {
        return p(leveldump::kWritePositionHigh, static_cast<int>(position >> 8))
            .p(leveldump::kWritePositionLow, static_cast<int>(position & 0xFF));
    }
    DumpBuilder& interval(int code) { return p(leveldump::kIntervalCode, code); }
    DumpBuilder& unit(int code) { return p(leveldump::kUnitCode, code); }
    DumpBuilder& nameDate(int day, int month, int year) {
        return p(leveldump::kNameDay, day).p(leveldump::kNameMonth, month).p(leveldump::kNameYear, year);
    }
    // The marker after ringStart, so that the first block begins at `firstBlock`.
    DumpBuilder& markerBefore(std::size_t firstBlock) {
        const std::size_t start = firstBlock - leveldump::kFirstBlockOffset;
        ringStart(start);
        for (std::size_t i = 0; i < leveldump::kMarker.size(); ++i)
            at(start + 1 + i) = static_cast<std::uint8_t>(leveldump::kMarker[i]);
        return *this;
    }

    std::uint8_t& at(std::size_t position) { return image.at(position - 1); }

    // Writes bytes in ring order from a position; gives the position after them.
    std::size_t put(std::size_t position, const Bytes& bytes) {
        for (const std::uint8_t b : bytes) {
            at(position) = b;
            position = nextRingPosition(position);
        }
        return position;
    }
    // A day block: date, readings as bcdPairs, and (when given) maximum and minimum.
    std::size_t block(std::size_t position, int day, int month, int year, const std::vector<int>& readings,
                      std::optional<BlockExtreme> maximum = std::nullopt,
                      std::optional<BlockExtreme> minimum = std::nullopt) {
        Bytes bytes = bytesOf({day, month, year});
        for (const int r : readings) {
            const auto bcd = toBcdPair(r);
            bytes.insert(bytes.end(), bcd.begin(), bcd.end());
        }
        for (const auto& e : {maximum, minimum})
            if (e) {
                const auto bcd = toBcdPair(e->value);
                bytes.insert(bytes.end(), {static_cast<std::uint8_t>(e->minute),
                                           static_cast<std::uint8_t>(e->hour), bcd[0], bcd[1]});
            }
        return put(position, bytes);
    }

private:
    void text(std::size_t position, const std::string& cp1254) {
        for (std::size_t i = 0; i < leveldump::kTextWidth; ++i)
            at(position + i) = i < cp1254.size() ? static_cast<std::uint8_t>(cp1254[i]) : ' ';
    }
};

} // namespace korvel::testing
