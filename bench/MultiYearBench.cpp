#include "core/FileIO.h"
#include "flow/FlowDuration.h"
#include "flow/FlowRecord.h"
#include "rain/RainfallIdf.h"
#include "store/HqTable.h"
#include "store/RainYearFile.h"
#include "store/WaterYearFile.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

constexpr int kYears = 30;
constexpr int kFirstYear = 1975;

// A station directory under the temporary directory, removed at the end of the run.
struct StationDir {
    fs::path path = fs::temp_directory_path() / ("korvel-bench-" + std::to_string(std::random_device{}()));
    StationDir() { fs::create_directories(path); }
    ~StationDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

// Thirty rainfall years in which every minute has rain: the most windows the analysis can meet.
const StationDir& rainStation() {
    static const StationDir dir = [] {
        StationDir made;
        std::mt19937 engine(1975);
        for (int year = kFirstYear; year < kFirstYear + kYears; ++year) {
            Bytes bytes;
            for (RainDayRecord record : newRainYearRecords(year)) {
                for (std::size_t m = 0; m < kMinutesPerDay; ++m)
                    record.minuteRain[m] = static_cast<std::uint8_t>(1 + engine() % 40);
                const Bytes one = serializeRainDayRecord(record);
                bytes.insert(bytes.end(), one.begin(), one.end());
            }
            writeFileAtomic(made.path / rainYearFileName(year, "01-003"), bytes);
        }
        return made;
    }();
    return dir;
}

// Thirty water years of logger days rated through one table covering them all.
const StationDir& flowStation() {
    static const StationDir dir = [] {
        StationDir made;
        std::mt19937 engine(1975);
        for (int year = kFirstYear; year < kFirstYear + kYears; ++year) {
            Bytes bytes;
            for (OleDate d = firstDayOfWaterYear(year); d < firstDayOfWaterYear(year + 1);
                 d = d.plusDays(1)) {
                DayRecord day;
                day.date = d;
                day.meanValue = static_cast<float>(40 + engine() % 400);
                day.maxLevel = static_cast<std::int16_t>(day.meanValue + 10);
                day.minLevel = static_cast<std::int16_t>(day.meanValue - 10);
                day.source = "L  korvelmaş";
                const Bytes one = serializeDayRecord(day);
                bytes.insert(bytes.end(), one.begin(), one.end());
            }
            writeFileAtomic(made.path / waterYearFileName(year, "01-001"), bytes);
        }
        HqTable table;
        for (std::size_t level = 0; level < HqTable::kLevels; ++level)
            table.discharge[level] = 0.01F * static_cast<float>(level);
        table.validFrom[1] = firstDayOfWaterYear(kFirstYear);
        table.validTo[1] = firstDayOfWaterYear(kFirstYear + kYears);
        writeHqTable(made.path / hqTableFileName(1, "01-001"), table);
        return made;
    }();
    return dir;
}

// Target: under 2 s for the whole IDF, files read and analysed, 1000 resamples per fit.
void BM_RainfallIdfThirtyYears(benchmark::State& state) {
    const fs::path& dir = rainStation().path;
    for (auto _ : state) {
        const StationRainMaxima maxima = collectRainMaxima(dir);
        IdfAnalysis idf = computeIdf(maxima.maxima, kIdfResamples);
        benchmark::DoNotOptimize(idf);
    }
}
BENCHMARK(BM_RainfallIdfThirtyYears)->Unit(benchmark::kMillisecond)->Iterations(3);

// Target: under 100 ms for the flow-duration curve, files read and every day rated.
void BM_FlowDurationThirtyYears(benchmark::State& state) {
    const fs::path& dir = flowStation().path;
    for (auto _ : state) {
        FlowDuration duration = computeFlowDuration(readFlowRecord(dir, 100.0));
        benchmark::DoNotOptimize(duration);
    }
}
BENCHMARK(BM_FlowDurationThirtyYears)->Unit(benchmark::kMillisecond);

} // namespace
