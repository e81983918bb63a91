#include "DemoDrive.h"
#include "core/Locale.h"
#include "rain/BasinTables.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>

namespace {

namespace fs = std::filesystem;
using namespace korvel;

// The demo drive's basin: the flow year of 01-001 and the rainfall years of its three gauges.
struct Basin {
    fs::path drive =
        fs::temp_directory_path() / ("korvel-bench-basin-" + std::to_string(std::random_device()()));
    fs::path flowFile;
    std::array<fs::path, 3> rainFiles;

    Basin() {
        fs::remove_all(drive);
        demo::writeDemoDrive(drive);
        const fs::path basin = drive / "korvel2000" / "Ankara" / "01";
        flowFile = basin / "01-001" / "2004_01-001.ard";
        rainFiles = {basin / "01-001" / "2004_01-001  .yrd", basin / "01-002" / "2004_01-002  .yrd",
                     basin / "01-003" / "2004_01-003  .yrd"};
    }
    ~Basin() { fs::remove_all(drive); }
};

// Building "kht345" as its screen does: the three one-year analyses, the annual flow table
// and the three grids, files read included.
void BM_Kht345FromFiles(benchmark::State& state) {
    const Basin basin;
    for (auto _ : state) {
        const BasinInputs inputs = loadBasinInputs(basin.flowFile, basin.rainFiles);
        benchmark::DoNotOptimize(basinRunoffSheet(inputs, Locale::turkish()));
    }
}
BENCHMARK(BM_Kht345FromFiles)->Unit(benchmark::kMillisecond);

} // namespace
