// libFuzzer target for the rain date repair and the one-year analysis: whatever the records, the
// repair counts only from a first date inside the file's water year, every date it writes is a
// real date, and the analysis gives finite figures.
#include "FuzzCheck.h"
#include "rain/RainYearAnalysis.h"
#include "store/RainYearFile.h"

using namespace korvel;
using korvel::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input input = fuzz::splitInput(data, size);
    const std::optional<int> endYear =
        input.selector & 0x80 ? std::nullopt : std::optional<int>(1990 + input.selector % 40);
    const std::vector<RainDayRecord> records = parseRainYearFile(input.bytes);
    const RainYearRun run = analyseRainYear(records, endYear);

    const OleDate first = records.empty() ? OleDate() : records.front().dayDate;
    const bool inYear = endYear ? first.value() >= OleDate::fromDate(*endYear - 1, 10, 1).value() &&
                                      first.value() < OleDate::fromDate(*endYear, 10, 1).value()
                                : fuzz::isStorableDate(first);
    if (!inYear)
        check(run.dates.rewritten.empty());
    for (std::size_t k : run.dates.rewritten)
        check(fuzz::isStorableDate(run.dates.records[k - 1].dayDate));
    check(run.dates.yearDays <= kRainYearRecords);
    check(run.analysis.annualTenths >= 0 && run.analysis.largestDayTenths <= run.analysis.annualTenths);
    return 0;
}
