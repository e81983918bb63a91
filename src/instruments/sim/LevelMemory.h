#pragma once

#include "core/ByteIO.h"
#include "core/OleDate.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvel::sim {

// The extreme of a day as the logger writes it after the day's last reading.
struct SimulatedExtreme {
    int minute = 0;
    int hour = 0;
    int value = 0; // the recorded value (bcdPair)
};

// A day the logger recorded, as it stands in its memory.
struct SimulatedDay {
    CivilDate date;
    std::vector<int> readings; // recorded values from 00:00, fewer than N on the day in progress
    SimulatedExtreme maximum;
    SimulatedExtreme minimum;
    bool complete = false; // the maximum and minimum have been written
    bool intact = true;    // no byte of the block has been overwritten by a later turn of the ring
};

// What a memory is generated from: the present moment of the logger's clock, the number of whole
// days recorded before today, the recording parameters and the texts.
struct LevelMemoryPlan {
    CivilDate today{2026, 3, 15};
    int minutesNow = 10 * 60; // time of day of the present moment
    int days = 30;
    int intervalCode = 3; // 15 minutes
    int unitCode = 1;
    std::string stationName = "KARASU  ";
    std::string riverName = "SAKARYA ";
    std::string stationNumber = "01-001  ";
    unsigned seed = 1;
    // Levels in millimetres stay within these bounds.
    int lowestMm = 2000;
    int highestMm = 4800;
};

struct LevelMemory {
    Bytes image; // 32768 bytes, the header filled as of the moment of generation
    std::vector<SimulatedDay> days;
    std::size_t writePosition = 0;
    int usedBytes = 0;
    int lastLevelMm = 0;
};

// The recorded value of a level in millimetres: millimetres with unit code 1, else centimetres.
int recordedValue(int levelMm, int unitCode);

// N days of a river's levels (a base flow, slow seasonal change and flood waves with their
// recession) recorded block after block from the start of the ring, wrapping around it when they
// do not fit, the day in progress cut at the present moment.
LevelMemory generateLevelMemory(const LevelMemoryPlan& plan);

// The memory of an erased logger: the marker at the start of the ring and no block.
LevelMemory erasedLevelMemory(const LevelMemoryPlan& plan);

// Writes the texts and parameters that change after generation into the image header: names,
// interval and unit code, write position, and the date of the present moment (p18-p20).
void updateImageHeader(Bytes& image, const std::string& stationName, const std::string& riverName,
                       const std::string& stationNumber, std::size_t writePosition, CivilDate today);

} // namespace korvel::sim
