#include "instruments/sim/LevelMemory.h"

#include "instruments/LevelDump.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvel::sim {

using namespace levellogger;

namespace {

constexpr std::size_t kRingStart = kRingFirst - 1; // the marker follows at 256
constexpr std::size_t kFirstBlock = kRingStart + leveldump::kFirstBlockOffset;
constexpr std::size_t kLeadBytes = kFirstBlock - kRingFirst; // marker and the two bytes after it

// A small generator of its own, so that a seed gives the same memory everywhere.
class Random {
public:
    explicit Random(unsigned seed) : state_(seed * 0x9E3779B97F4A7C15ULL + 0x2545F4914F6CDD1DULL) {}
    double uniform() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }
    double uniform(double low, double high) { return low + (high - low) * uniform(); }

private:
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::uint64_t state_;
};

struct FloodWave {
    double startHour;
    double riseHours;
    double recessionHours;
    double height;
    double at(double hour) const {
        const double t = hour - startHour;
        if (t <= 0)
            return 0;
        if (t < riseHours)
            return height * t / riseHours;
        return height * std::exp(-(t - riseHours) / recessionHours);
    }
};

void setParameter(Bytes& image, int k, std::uint8_t value) {
    image[leveldump::kParameters + static_cast<std::size_t>(k) - 2] = value;
}

void setText(Bytes& image, std::size_t position, const std::string& text) {
    for (std::size_t i = 0; i < leveldump::kTextWidth; ++i)
        image[position - 1 + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : ' ';
}

std::size_t ringPositionOfOffset(std::size_t offset) {
    return advanceRingPosition(kRingFirst, kLeadBytes + offset);
}

Bytes freshImage(const LevelMemoryPlan& plan, CivilDate start) {
    Bytes image(kMemorySize, 0);
    image[0] = 'G';
    for (std::size_t i = 0; i < leveldump::kMarker.size(); ++i)
        image[kRingFirst - 1 + i] = static_cast<std::uint8_t>(leveldump::kMarker[i]);
    setParameter(image, leveldump::kRingStartHigh, static_cast<std::uint8_t>(kRingStart >> 8));
    setParameter(image, leveldump::kRingStartLow, static_cast<std::uint8_t>(kRingStart & 0xFF));
    const std::uint8_t startBytes[] = {0, 0, static_cast<std::uint8_t>(start.day),
                                       static_cast<std::uint8_t>(start.month),
                                       static_cast<std::uint8_t>(start.year % 100)};
    for (int k = leveldump::kReadingsHeaderFirst; k <= leveldump::kReadingsHeaderLast; ++k)
        setParameter(image, k, startBytes[k - leveldump::kReadingsHeaderFirst]);
    setParameter(image, leveldump::kIntervalCode, static_cast<std::uint8_t>(plan.intervalCode));
    setParameter(image, leveldump::kUnitCode, static_cast<std::uint8_t>(plan.unitCode));
    return image;
}

} // namespace

int recordedValue(int levelMm, int unitCode) {
    const int value = unitCode == 1 ? levelMm : static_cast<int>(std::lround(levelMm / 10.0));
    return std::clamp(value, 0, 9999);
}

void updateImageHeader(Bytes& image, const std::string& stationName, const std::string& riverName,
                       const std::string& stationNumber, std::size_t writePosition, CivilDate today) {
    setText(image, leveldump::kStationName, stationName);
    setText(image, leveldump::kRiverName, riverName);
    setText(image, leveldump::kStationNumber, stationNumber);
    setParameter(image, leveldump::kWritePositionHigh, static_cast<std::uint8_t>(writePosition >> 8));
    setParameter(image, leveldump::kWritePositionLow, static_cast<std::uint8_t>(writePosition & 0xFF));
    setParameter(image, leveldump::kNameDay, static_cast<std::uint8_t>(today.day));
    setParameter(image, leveldump::kNameMonth, static_cast<std::uint8_t>(today.month));
    setParameter(image, leveldump::kNameYear, static_cast<std::uint8_t>(today.year % 100));
}

LevelMemory erasedLevelMemory(const LevelMemoryPlan& plan) {
    LevelMemory memory;
    memory.image = freshImage(plan, plan.today);
    memory.writePosition = kFirstBlock;
    memory.usedBytes = static_cast<int>(kLeadBytes);
    memory.lastLevelMm = plan.lowestMm;
    updateImageHeader(memory.image, plan.stationName, plan.riverName, plan.stationNumber,
                      memory.writePosition, plan.today);
    return memory;
}

LevelMemory generateLevelMemory(const LevelMemoryPlan& plan) {
    const int interval = intervalMinutesOfCode(plan.intervalCode);
    const int perDay = readingsPerDay(interval);
    const OleDate today = OleDate::fromDate(plan.today);
    const OleDate first = today.plusDays(-plan.days);

    LevelMemory memory;
    memory.image = freshImage(plan, first.date());
    Random random(plan.seed);
    const double range = plan.highestMm - plan.lowestMm;
    const double base = plan.lowestMm + 0.2 * range;
    std::vector<FloodWave> waves;
    for (int d = -3; d <= plan.days; ++d)
        if (random.uniform() < 0.12)
            waves.push_back({d * 24.0 + random.uniform(0, 24), random.uniform(2, 8), random.uniform(12, 60),
                             random.uniform(0.1, 0.6) * range});
    auto levelAt = [&](double hour) {
        double level = base + 0.08 * range * std::sin(2 * std::numbers::pi * hour / (24 * 365.0));
        for (const FloodWave& w : waves)
            level += w.at(hour);
        level += random.uniform(-2, 2);
        return std::clamp(static_cast<int>(std::lround(level)), plan.lowestMm, plan.highestMm);
    };

    std::size_t offset = 0;
    auto put = [&](std::uint8_t b) { memory.image[ringPositionOfOffset(offset++) - 1] = b; };
    std::vector<std::size_t> blockStarts;
    for (int d = 0; d <= plan.days; ++d) {
        SimulatedDay day;
        day.date = first.plusDays(d).date();
        const int count = d < plan.days ? perDay : std::min(perDay, plan.minutesNow / interval + 1);
        blockStarts.push_back(offset);
        put(static_cast<std::uint8_t>(day.date.day));
        put(static_cast<std::uint8_t>(day.date.month));
        put(static_cast<std::uint8_t>(day.date.year % 100));
        for (int i = 0; i < count; ++i) {
            memory.lastLevelMm = levelAt(d * 24.0 + i * interval / 60.0);
            const int value = recordedValue(memory.lastLevelMm, plan.unitCode);
            day.readings.push_back(value);
            const auto bcd = toBcdPair(value);
            put(bcd[0]);
            put(bcd[1]);
        }
        if (count == perDay) {
            auto extreme = [&](std::vector<int>::const_iterator it) {
                const int minutes = static_cast<int>(it - day.readings.begin()) * interval;
                return SimulatedExtreme{minutes % 60, minutes / 60, *it};
            };
            day.maximum = extreme(std::max_element(day.readings.begin(), day.readings.end()));
            day.minimum = extreme(std::min_element(day.readings.begin(), day.readings.end()));
            for (const SimulatedExtreme& e : {day.maximum, day.minimum}) {
                put(static_cast<std::uint8_t>(e.minute));
                put(static_cast<std::uint8_t>(e.hour));
                const auto bcd = toBcdPair(e.value);
                put(bcd[0]);
                put(bcd[1]);
            }
            day.complete = true;
        }
        memory.days.push_back(std::move(day));
    }
    // A block stays whole until the ring comes round to its first byte again.
    for (std::size_t i = 0; i < memory.days.size(); ++i)
        memory.days[i].intact = offset - blockStarts[i] <= kRingSize;
    memory.writePosition = ringPositionOfOffset(offset);
    memory.usedBytes = static_cast<int>(std::min(kRingSize, kLeadBytes + offset));
    updateImageHeader(memory.image, plan.stationName, plan.riverName, plan.stationNumber,
                      memory.writePosition, plan.today);
    return memory;
}

} // namespace korvel::sim
