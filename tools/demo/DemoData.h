#pragma once

#include "core/OleDate.h"

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace korvel::demo {

// Random numbers that come out the same on every machine: the engine's raw output only,
// never the library's distributions (their results differ between implementations).
class DemoRandom {
public:
    explicit DemoRandom(std::uint32_t seed) : engine_(seed) {}
    double uniform() { return static_cast<double>(engine_()) / 4294967296.0; }
    double between(double low, double high) { return low + (high - low) * uniform(); }
    int integer(int low, int high) { return low + static_cast<int>(uniform() * (high - low + 1)); }
    bool chance(double p) { return uniform() < p; }

private:
    std::mt19937 engine_;
};

enum class DayKind { Missing, Logger, StaffOne, StaffTwo };

// One synthetic day of water levels (mm on the gauge).
struct LevelDay {
    OleDate date;
    DayKind kind = DayKind::Missing;
    int maxLevel = 0;
    int maxMinute = 0;
    int minLevel = 0;
    int minMinute = 0;
    double meanLevel = 0.0;
};

// A river's daily levels from first to last (inclusive): a seasonal base with snowmelt in
// spring and storm floods that recede over a few days. `kindOf` decides how each day was read.
struct RiverShape {
    double baseLevel = 70.0;
    double springRise = 140.0;
    double stormScale = 260.0;
};
std::vector<LevelDay> synthesizeLevels(OleDate first, OleDate last, const RiverShape& shape,
                                       DemoRandom& random);

// Discharge in m3/s (to the litre) for level index 0..1000 of a power-law rating:
// q = c * (h - h0)^1.6.
std::array<float, 1001> ratingCurve(double zeroLevel, double dischargeAt300);

// One storm over the basin, shared by the gauges with their own scale and lag.
struct Storm {
    OleDate day;
    int startMinute = 0;
    int durationMinutes = 0;
    double depthMm = 0.0;
};
std::vector<Storm> synthesizeStorms(OleDate first, OleDate last, DemoRandom& random);

// Tenths of a millimetre per minute for one gauge and one day, from the storms that touch it.
std::array<std::uint8_t, 1440> gaugeRainOfDay(const std::vector<Storm>& storms, OleDate day, double scale,
                                              int lagMinutes);

} // namespace korvel::demo
