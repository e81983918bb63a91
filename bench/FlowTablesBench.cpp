#include "DemoDrive.h"
#include "flow/AnnualFlow.h"
#include "flow/MonthTable.h"
#include "flow/YearbookPage.h"
#include "store/HqTable.h"
#include "store/StationRecord.h"
#include "store/WaterYearFile.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>

namespace {

namespace fs = std::filesystem;
using namespace korvel;

// Station 01-001 of a demo drive, with three more rating tables beside its two, so that
// the days are looked up through five tables; the last three cover no day of the year.
struct Station {
    fs::path drive =
        fs::temp_directory_path() / ("korvel-bench-flow-" + std::to_string(std::random_device()()));
    fs::path dir;
    std::vector<DayRecord> records;
    HqTableSet tables;
    StationRecord record;

    Station() {
        fs::remove_all(drive);
        demo::writeDemoDrive(drive);
        dir = drive / "korvel2000" / "Ankara" / "01" / "01-001";
        for (int number = 3; number <= 5; ++number)
            writeHqTable(createHqTable(dir, number, "01-001"), readHqTable(dir / "01_01-001.HQ"));
        records = readWaterYearFile(dir / "2004_01-001.ard");
        tables = loadHqTableSet(dir);
        record = loadStationRecord(dir, "");
    }
    ~Station() { fs::remove_all(drive); }
};

const Station& station() {
    static const Station s;
    return s;
}

void annualTable(benchmark::State& state) {
    const Station& s = station();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            fillAnnualTable(s.records, s.tables, s.record, "2004_01-001.ard", Locale::turkish()));
}
BENCHMARK(annualTable)->Unit(benchmark::kMicrosecond);

void annualFiguresOnly(benchmark::State& state) {
    const Station& s = station();
    for (auto _ : state)
        benchmark::DoNotOptimize(computeAnnualFlow(s.records, s.tables, s.record.drainageArea));
}
BENCHMARK(annualFiguresOnly)->Unit(benchmark::kMicrosecond);

// What opening a table screen costs before drawing: reading the files and filling the sheet.
void annualTableFromFiles(benchmark::State& state) {
    const Station& s = station();
    for (auto _ : state) {
        const auto records = readWaterYearFile(s.dir / "2004_01-001.ard");
        const HqTableSet tables = loadHqTableSet(s.dir);
        benchmark::DoNotOptimize(
            fillAnnualTable(records, tables, s.record, "2004_01-001.ard", Locale::turkish()));
    }
}
BENCHMARK(annualTableFromFiles)->Unit(benchmark::kMicrosecond);

void monthTable(benchmark::State& state) {
    const Station& s = station();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            fillMonthTable(s.records, s.tables, s.record, "2004_01-001.ard", 1, Locale::turkish()));
}
BENCHMARK(monthTable)->Unit(benchmark::kMicrosecond);

void yearbookPage(benchmark::State& state) {
    const Station& s = station();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            fillYearbookPage(s.records, s.tables, s.record, "2004_01-001.ard", 2, Locale::turkish()));
}
BENCHMARK(yearbookPage)->Unit(benchmark::kMicrosecond);

} // namespace
