#include "DemoData.h"

#include <algorithm>
#include <cmath>

namespace korvel::demo {
namespace {

constexpr double kPi = 3.14159265358979323846;

// 0 in late summer, 1 at the height of the spring melt (mid April).
double springFactor(OleDate day) {
    const CivilDate d = day.date();
    const double dayOfYear = day.value() - OleDate::fromDate(d.year, 1, 1).value();
    const double phase = (dayOfYear - 105.0) / 365.0 * 2.0 * kPi;
    return std::max(0.0, std::cos(phase)) * std::max(0.0, std::cos(phase));
}

// Storms are likelier from November to May.
double stormChance(OleDate day) {
    const int month = day.month();
    if (month >= 11 || month <= 5)
        return 0.07;
    return month == 6 || month == 10 ? 0.04 : 0.015;
}

} // namespace

std::vector<LevelDay> synthesizeLevels(OleDate first, OleDate last, const RiverShape& shape,
                                       DemoRandom& random) {
    std::vector<LevelDay> days;
    double flood = 0.0;
    for (OleDate day = first; day <= last; day = day.plusDays(1)) {
        const double base = shape.baseLevel + shape.springRise * springFactor(day);
        const double previousFlood = flood;
        if (random.chance(stormChance(day)))
            flood += shape.stormScale * random.between(0.3, 1.0);
        const double peak = std::min(950.0, base + std::max(flood, previousFlood) + random.between(0, 4));
        const double low = std::max(5.0, base + std::min(flood, previousFlood) * 0.55 - random.between(0, 4));
        LevelDay level;
        level.date = day;
        level.maxLevel = static_cast<int>(std::lround(peak));
        level.minLevel = std::min(level.maxLevel, static_cast<int>(std::lround(low)));
        level.maxMinute = flood > previousFlood ? random.integer(600, 1200) : random.integer(0, 180);
        level.minMinute = flood > previousFlood ? random.integer(0, 300) : random.integer(1260, 1439);
        level.meanLevel = std::round((level.maxLevel * 0.4 + level.minLevel * 0.6) * 10.0) / 10.0;
        level.kind = DayKind::Logger;
        days.push_back(level);
        flood *= 0.55;
    }
    return days;
}

std::array<float, 1001> ratingCurve(double zeroLevel, double dischargeAt300) {
    std::array<float, 1001> q{};
    const double c = dischargeAt300 / std::pow(300.0 - zeroLevel, 1.6);
    for (int h = 0; h <= 1000; ++h) {
        const double depth = h - zeroLevel;
        q[static_cast<std::size_t>(h)] =
            depth > 0 ? static_cast<float>(std::round(c * std::pow(depth, 1.6) * 1000.0) / 1000.0) : 0.0f;
    }
    return q;
}

std::vector<Storm> synthesizeStorms(OleDate first, OleDate last, DemoRandom& random) {
    std::vector<Storm> storms;
    for (OleDate day = first; day <= last; day = day.plusDays(1)) {
        if (!random.chance(stormChance(day) * 2.2))
            continue;
        Storm storm;
        storm.day = day;
        storm.startMinute = random.integer(0, 1380);
        const bool convective = day.month() >= 5 && day.month() <= 9;
        storm.durationMinutes = convective ? random.integer(15, 90) : random.integer(60, 720);
        storm.depthMm = convective ? random.between(3.0, 35.0) : random.between(1.0, 28.0);
        storms.push_back(storm);
    }
    return storms;
}

std::array<std::uint8_t, 1440> gaugeRainOfDay(const std::vector<Storm>& storms, OleDate day, double scale,
                                              int lagMinutes) {
    std::array<std::uint8_t, 1440> minutes{};
    for (const Storm& storm : storms) {
        const long long offset = static_cast<long long>(storm.day.value() - day.value()) * 1440;
        const long long start = offset + storm.startMinute + lagMinutes;
        if (start >= 1440 || start + storm.durationMinutes <= 0)
            continue;
        // A triangular hyetograph peaking at a third of the storm, in tenths of a millimetre.
        const double total = storm.depthMm * scale * 10.0;
        const double peakAt = storm.durationMinutes / 3.0;
        const double height = 2.0 * total / storm.durationMinutes;
        double carry = 0.0;
        for (int m = 0; m < storm.durationMinutes; ++m) {
            const long long minute = start + m;
            if (minute < 0 || minute >= 1440)
                continue;
            const double t = m + 0.5;
            const double shape =
                t < peakAt ? t / peakAt : (storm.durationMinutes - t) / (storm.durationMinutes - peakAt);
            // Tips come in whole tenths: carry the remainder so the storm total is kept.
            const double amount = height * shape + carry;
            const int tenths = static_cast<int>(std::floor(std::max(0.0, amount)));
            carry = amount - tenths;
            const int sum = minutes[static_cast<std::size_t>(minute)] + tenths;
            minutes[static_cast<std::size_t>(minute)] = static_cast<std::uint8_t>(std::min(sum, 255));
        }
    }
    return minutes;
}

} // namespace korvel::demo
