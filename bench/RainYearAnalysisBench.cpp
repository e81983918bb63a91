#include "rain/DurationReference.h"
#include "rain/RainYearAnalysis.h"

#include <benchmark/benchmark.h>
#include <random>

using namespace korvel;

namespace {

// A leap water year in which every minute has rain (527,040 rainy minutes).
std::vector<RainDayRecord> everyMinuteRainy() {
    std::mt19937 engine(2004);
    std::vector<RainDayRecord> records = newRainYearRecords(2004);
    for (RainDayRecord& record : records)
        for (std::size_t m = 0; m < kMinutesPerDay; ++m)
            record.minuteRain[m] = static_cast<std::uint8_t>(1 + engine() % 255);
    return records;
}

void BM_AnalyseFullYear(benchmark::State& state) {
    const std::vector<RainDayRecord> records = everyMinuteRainy();
    for (auto _ : state) {
        RainYearRun run = analyseRainYear(records, 2004);
        benchmark::DoNotOptimize(run);
    }
}
BENCHMARK(BM_AnalyseFullYear)->Unit(benchmark::kMillisecond);

void BM_DurationMaximaFullYear(benchmark::State& state) {
    const std::vector<RainDayRecord> records = everyMinuteRainy();
    for (auto _ : state) {
        DurationMaxima maxima = computeDurationMaxima(records);
        benchmark::DoNotOptimize(maxima);
    }
}
BENCHMARK(BM_DurationMaximaFullYear)->Unit(benchmark::kMillisecond);

// The plain algorithm, for comparison: about 760 million additions on this year.
void BM_PlainDurationMaximaFullYear(benchmark::State& state) {
    const std::vector<RainDayRecord> records = everyMinuteRainy();
    for (auto _ : state) {
        DurationMaxima maxima = korvel::testing::plainDurationMaxima(records);
        benchmark::DoNotOptimize(maxima);
    }
}
BENCHMARK(BM_PlainDurationMaximaFullYear)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
