#include "instruments/LevelConversion.h"
#include "instruments/sim/LevelMemory.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

// A full memory: 15-minute readings, the ring wrapped, about 160 days in it.
const Bytes& fullMemory() {
    static const Bytes image = [] {
        sim::LevelMemoryPlan plan;
        plan.days = 200;
        return sim::generateLevelMemory(plan).image;
    }();
    return image;
}

// Finding the blocks and building the day records and both side files, in memory.
void decodeFullMemory(benchmark::State& state) {
    for (auto _ : state) {
        DecodedLevelDump d = decodeLevelDump(fullMemory(), "01-001");
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(decodeFullMemory)->Unit(benchmark::kMicrosecond);

// The whole conversion with its files: side files, the station copy and the water years.
void convertFullMemory(benchmark::State& state) {
    std::random_device seed;
    const fs::path drive = fs::temp_directory_path() / ("korvel-bench-" + std::to_string(seed()));
    const LevelConversionTarget target{drive / "korvel2000" / "Ankara" / "01" / "01-001", drive / "korvel96"};
    for (auto _ : state) {
        LevelConversionResult r = convertLevelDump(fullMemory(), "01-001", target);
        benchmark::DoNotOptimize(r);
    }
    fs::remove_all(drive);
}
BENCHMARK(convertFullMemory)->Unit(benchmark::kMicrosecond);

} // namespace
