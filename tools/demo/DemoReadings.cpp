#include "DemoReadings.h"

#include "core/Cp1254.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvel::demo {

namespace {

constexpr int kIntervalMinutes = 15;
constexpr int kUnitMillimetres = 1;
constexpr std::size_t kHeaderSize = 13;
constexpr int kMinutesPerDay = 1440;

struct Anchor {
    int minute;
    double level;
};

// A smooth curve through the anchors: cosine easing between neighbours, so that each anchor is
// a turning point of the curve.
double curveAt(const std::vector<Anchor>& anchors, int minute) {
    for (std::size_t i = 1; i < anchors.size(); ++i) {
        const Anchor& a = anchors[i - 1];
        const Anchor& b = anchors[i];
        if (minute > b.minute)
            continue;
        if (b.minute == a.minute)
            return b.level;
        const double t = static_cast<double>(minute - a.minute) / (b.minute - a.minute);
        return a.level + (b.level - a.level) * (1.0 - std::cos(std::numbers::pi * t)) / 2.0;
    }
    return anchors.back().level;
}

std::vector<int> readingsOfDay(const LevelDay& day) {
    const double mean =
        std::clamp(day.meanLevel, static_cast<double>(day.minLevel), static_cast<double>(day.maxLevel));
    std::vector<Anchor> anchors{{0, mean},
                                {day.maxMinute, static_cast<double>(day.maxLevel)},
                                {day.minMinute, static_cast<double>(day.minLevel)},
                                {kMinutesPerDay, mean}};
    std::sort(anchors.begin(), anchors.end(),
              [](const Anchor& a, const Anchor& b) { return a.minute < b.minute; });
    std::vector<int> values;
    for (int minute = 0; minute < kMinutesPerDay; minute += kIntervalMinutes)
        values.push_back(static_cast<int>(std::lround(curveAt(anchors, minute) * 10.0)));
    return values;
}

Bytes emptyReadingsFile() {
    Bytes file{kIntervalMinutes, kUnitMillimetres, 0, 0};
    file.resize(kHeaderSize, 0);
    return file;
}

// The name the conversion gives the readings of a visit: the station name's first three letters,
// the visit's day and month, padded to eight, ".-" and the year within its century.
std::string visitFileName(const std::string& stationName, const CivilDate& visit) {
    std::string base =
        utf8Left(stationName, 3) + std::to_string(visit.day) + "-" + std::to_string(visit.month);
    base = utf8Left(base, 8);
    base.append(8 - utf8Length(base), ' ');
    return base + ".-" + std::to_string(visit.year % 100);
}

} // namespace

DemoReadingsFiles demoReadingsFiles(const std::vector<LevelDay>& days, const std::string& stationName) {
    DemoReadingsFiles out;
    for (const LevelDay& day : days) {
        if (day.kind != DayKind::Logger)
            continue;
        // The logger is read on the first of each month.
        const CivilDate d = day.date.date();
        const CivilDate visit =
            d.month == 12 ? CivilDate{d.year + 1, 1, 1} : CivilDate{d.year, d.month + 1, 1};
        const std::string name = visitFileName(stationName, visit);
        auto [file, added] = out.files.try_emplace(name, Bytes{});
        if (added)
            file->second = emptyReadingsFile();
        Bytes& bytes = file->second;
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(d.day), static_cast<std::uint8_t>(d.month),
                                   static_cast<std::uint8_t>(d.year % 100)});
        for (const int value : readingsOfDay(day)) {
            bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        }
        out.fileOfDay[day.date.value()] = name;
    }
    return out;
}

} // namespace korvel::demo
