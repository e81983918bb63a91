// Times the yearbook of a whole network: water year 2004 of the 500 stations of the data root
// that CorrelationScanBench generates (run it first; KORVEL_BENCH_ROOT names that drive as there).
// The book is written to the temporary directory and removed afterwards. The peak memory of the
// process is reported as a counter, since the pages are streamed and should not pile up.

#include "core/Locale.h"
#include "platform/NetworkBookDocument.h"
#include "platform/SheetDocument.h"
#include "transfer/NetworkYearbook.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>

namespace fs = std::filesystem;
using namespace korvel;

namespace {

fs::path benchRoot() {
    const char* text = std::getenv("KORVEL_BENCH_ROOT");
    return text != nullptr ? fs::path(text) : fs::temp_directory_path() / "korvel-bench-correlation";
}

void BM_NetworkYearbook(benchmark::State& state) {
    const fs::path root = benchRoot() / "korvel2000";
    if (!fs::exists(root)) {
        state.SkipWithError("no data root: run CorrelationScanBench first");
        return;
    }
    const fs::path book = fs::temp_directory_path() / "korvel-bench-yearbook.pdf";
    const NetworkBookPlan plan = planNetworkBook(root, 2004, "", "");
    NetworkBookSummary summary;
    withGuiApplication([&] {
        for (auto _ : state)
            summary = writeNetworkBookPdf(plan, book, Locale::turkish());
    });
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["sections"] = summary.printedSections;
    state.counters["pages"] = summary.pages;
    state.counters["MB_file"] = static_cast<double>(fs::file_size(book)) / 1.0e6;
    state.counters["MB_peak_rss"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    fs::remove(book);
}
BENCHMARK(BM_NetworkYearbook)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
