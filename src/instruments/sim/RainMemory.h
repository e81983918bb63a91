#pragma once

#include "core/OleDate.h"
#include "instruments/sim/LevelLoggerSim.h"
#include "instruments/sim/LevelMemory.h"

#include <string>

namespace korvel::sim {

// What a rain logger memory is generated from: the present day, the number of days before it
// that rain may have fallen on, and the texts.
struct RainMemoryPlan {
    CivilDate today{2026, 3, 15};
    int days = 20;
    std::string stationName = "KARASU  ";
    std::string regionName = "SAKARYA ";
    std::string stationNumber = "01-001  ";
    unsigned seed = 1;
};

// Rain events one after another from the start of the ring, a header before each and one tip
// count per minute after it. Some events hold runs of zero tips followed by bytes that look like
// a header but are none (a month of 13), and one event runs past midnight.
LevelMemory generateRainMemory(const RainMemoryPlan& plan);

// An erased rain logger: the write position at the start of the ring, no event.
LevelMemory erasedRainMemory(const RainMemoryPlan& plan);

// A rain logger holding a generated memory: its clock at 10:00 of the plan's day, the given
// bucket setting and total rainfall.
LevelLoggerSim rainLoggerSim(const RainMemoryPlan& plan, int bucketFactor, int totalRain, TimePoint now,
                             SimTiming timing = {});

} // namespace korvel::sim
