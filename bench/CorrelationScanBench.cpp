// Times the search of a whole data root for stations that correlate with a target station.
// The data root is generated once (500 stations x 30 water years, each station with its
// rating table) under KORVEL_BENCH_ROOT, by default korvel-bench-correlation in the temporary
// directory, and reused by later runs. KORVEL_BENCH_STATIONS changes the number of stations.

#include "core/FileIO.h"
#include "core/Locale.h"
#include "flow/CandidateSearch.h"
#include "store/HqTable.h"
#include "store/WaterYearFile.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using namespace korvel;

namespace {

constexpr int kFirstYear = 1975;
constexpr int kYears = 30;
constexpr int kStationsPerBasin = 25;
constexpr int kBasinsPerRegion = 4;

int stationCount() {
    const char* text = std::getenv("KORVEL_BENCH_STATIONS");
    const int count = text != nullptr ? std::atoi(text) : 500;
    return count > 0 ? count : 500;
}

fs::path benchRoot() {
    const char* text = std::getenv("KORVEL_BENCH_ROOT");
    return text != nullptr ? fs::path(text) : fs::temp_directory_path() / "korvel-bench-correlation";
}

// A small deterministic generator, so that every run writes the same data root.
class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : state_(seed) {}
    double uniform() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / 16777216.0;
    }

private:
    std::uint32_t state_;
};

std::string stationNumber(int index) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d-%03d", index / 100 + 1, index % 100 + 1);
    return text;
}

// Levels follow a seasonal wave shared by the stations of a basin, scaled per station, with
// day-to-day noise, so that the stations of one basin correlate and the others less so.
void writeStation(const fs::path& dir, int index) {
    fs::create_directories(dir);
    const std::string number = stationNumber(index);
    HqTable table;
    for (std::size_t level = 1; level < HqTable::kLevels; ++level)
        table.discharge[level] = static_cast<float>(0.02 * std::pow(static_cast<double>(level), 1.6));
    table.validFrom[1] = firstDayOfWaterYear(kFirstYear);
    table.validTo[1] = firstDayOfWaterYear(kFirstYear + kYears).plusDays(-1);
    writeHqTable(dir / hqTableFileName(1, number), table);

    Lcg random(static_cast<std::uint32_t>(7919 * index + 17));
    const int basin = index / kStationsPerBasin;
    const double phase = 0.4 * basin;
    const double scale = 0.6 + 0.8 * random.uniform();
    for (int year = kFirstYear; year < kFirstYear + kYears; ++year) {
        Bytes bytes;
        bytes.reserve(kWaterYearRecords * DayRecord::kSize);
        const OleDate first = firstDayOfWaterYear(year);
        for (std::size_t k = 0; k < kWaterYearRecords; ++k) {
            DayRecord day;
            day.date = first.plusDays(static_cast<long long>(k));
            const double season = std::sin(2.0 * 3.14159265 * (static_cast<double>(k) / 365.0) + phase);
            const double level =
                scale * (300.0 + 180.0 * season) + 40.0 * random.uniform() + 5.0 * (year % 7);
            day.meanValue = static_cast<float>(std::round(level));
            day.maxLevel = static_cast<std::int16_t>(level + 10);
            day.minLevel = static_cast<std::int16_t>(level - 10);
            day.source = "L  korvelmaş";
            const Bytes record = serializeDayRecord(day);
            bytes.insert(bytes.end(), record.begin(), record.end());
        }
        std::ofstream out(dir / waterYearFileName(year, number), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
}

// The data root, generated when its marker of the station count is missing.
fs::path dataRoot() {
    const fs::path drive = benchRoot();
    const fs::path root = drive / "korvel2000";
    const int stations = stationCount();
    const fs::path marker = drive / ("complete-" + std::to_string(stations));
    if (fs::exists(marker))
        return root;
    fs::remove_all(drive);
    for (int i = 0; i < stations; ++i) {
        const int basin = i / kStationsPerBasin;
        const fs::path dir = root / ("Bolge" + std::to_string(basin / kBasinsPerRegion + 1)) /
                             ("Havza" + std::to_string(basin % kBasinsPerRegion + 1)) / stationNumber(i);
        writeStation(dir, i);
    }
    std::ofstream(marker) << stations << "\n";
    return root;
}

void BM_ScanAllStations(benchmark::State& state) {
    const fs::path root = dataRoot();
    const fs::path targetDir = listStationDirectories(root).front();
    const StationYears target = scanStationYears(targetDir);
    const Locale locale = Locale::turkish();
    scanAllStations(root, target, locale); // warms the file cache

    std::uint64_t bytes = 0;
    std::size_t files = 0;
    std::size_t candidates = 0;
    for (auto _ : state) {
        const CandidateSearch search = scanAllStations(root, target, locale);
        bytes = search.bytesRead();
        files = search.filesScanned();
        candidates = search.candidates().size();
        benchmark::DoNotOptimize(candidates);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["stations"] = static_cast<double>(stationCount());
    state.counters["files"] = static_cast<double>(files);
    state.counters["MB_read"] = static_cast<double>(bytes) / 1.0e6;
    state.counters["candidates"] = static_cast<double>(candidates);
}
BENCHMARK(BM_ScanAllStations)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
