#include "instruments/sim/RainMemory.h"

#include "instruments/LevelDump.h"
#include "instruments/LevelLoggerCommands.h"
#include "instruments/RainLogger.h"

#include <random>

namespace korvel::sim {

using namespace levellogger;

namespace {

void putText(Bytes& image, std::size_t position, const std::string& text) {
    for (std::size_t i = 0; i < kTextLength; ++i)
        image[position - 1 + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : ' ';
}

void putWritePosition(LevelMemory& memory) {
    memory.image[raindump::kWritePosition - 1] = static_cast<std::uint8_t>(memory.writePosition >> 8);
    memory.image[raindump::kWritePosition] = static_cast<std::uint8_t>(memory.writePosition & 0xFF);
    memory.usedBytes = static_cast<int>(memory.writePosition - kRingFirst);
}

LevelMemory emptyMemory(const RainMemoryPlan& plan) {
    LevelMemory memory;
    memory.image = Bytes(kMemorySize, 0);
    putText(memory.image, raindump::kStationName, plan.stationName);
    putText(memory.image, raindump::kRegionName, plan.regionName);
    putText(memory.image, raindump::kStationNumber, plan.stationNumber);
    memory.writePosition = kRingFirst;
    putWritePosition(memory);
    return memory;
}

std::uint8_t byte(int value) {
    return static_cast<std::uint8_t>(value);
}

} // namespace

LevelMemory generateRainMemory(const RainMemoryPlan& plan) {
    LevelMemory memory = emptyMemory(plan);
    std::mt19937 random(plan.seed);
    std::size_t p = kRingFirst;
    auto put = [&](std::uint8_t b) {
        if (p <= kRingLast)
            memory.image[p - 1] = b;
        ++p;
    };
    const OleDate today = OleDate::fromDate(plan.today);
    for (int d = plan.days; d >= 1; --d) {
        if (random() % 3 != 0 && d != 1)
            continue;
        const CivilDate date = today.plusDays(-d).date();
        // The last event starts late in the evening and runs on past midnight.
        const int start = d == 1 ? 23 * 60 + 50 : static_cast<int>(random() % (20 * 60));
        const int minutes = d == 1 ? 30 : 10 + static_cast<int>(random() % 60);
        if (p + 10 + static_cast<std::size_t>(minutes) + 8 > kRingLast)
            break;
        for (const std::uint8_t b :
             {byte('I'), byte('I'), byte(0), byte('I'), byte(start % 60), byte(start / 60), byte(date.day),
              byte(date.month), byte(date.year % 100), byte(0xD4)})
            put(b);
        for (int m = 0; m < minutes; ++m) {
            // A quiet spell of four zero tips and a month byte of 13: tip data, not a header.
            if (m == 5 && minutes > 20) {
                for (const std::uint8_t b : {0, 0, 0, 0, 1, 2, 3, 13, 4, 0xD4})
                    put(b);
                m += 9;
                continue;
            }
            put(byte(random() % 4));
        }
    }
    memory.writePosition = p;
    putWritePosition(memory);
    return memory;
}

LevelMemory erasedRainMemory(const RainMemoryPlan& plan) {
    return emptyMemory(plan);
}

LevelLoggerSim rainLoggerSim(const RainMemoryPlan& plan, int bucketFactor, int totalRain, TimePoint now,
                             SimTiming timing) {
    LevelLoggerSim::State state;
    state.clock = OleDate::fromDateTime(plan.today.year, plan.today.month, plan.today.day, 10, 0, 0);
    state.clockSetAt = now;
    state.intervalCode = bucketFactor;
    state.unitCode = 10;
    state.levelMm = totalRain;
    state.stationName = plan.stationName;
    state.stationNumber = plan.stationNumber;
    state.riverName = plan.regionName;
    state.memory = generateRainMemory(plan);
    state.rainLogger = true;
    return LevelLoggerSim(std::move(state), now, timing);
}

} // namespace korvel::sim
