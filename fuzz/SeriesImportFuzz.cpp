// libFuzzer target for the CSV imports: the program's own daily-series export read back, a
// logger's CSV file in a range of layouts, and the date formats those layouts name. Every day an
// import yields carries a calendar date and finite figures, the days of a logger file come once
// each and in order, the day-readings file it keeps has a plain name inside the station, and the
// days written into a scratch station read back from its water-year files as they were.
#include "FuzzCheck.h"
#include "core/FileIO.h"
#include "core/StationFiles.h"
#include "store/WaterYearFile.h"
#include "transfer/SeriesImport.h"

#include <map>

using namespace korvel;
using korvel::fuzz::check;

namespace {

void checkDays(const ImportedSeries& series) {
    for (const DayRecord& day : series.days) {
        check(fuzz::isStorableDate(day.date) && day.date.value() != 0.0);
        check(std::isfinite(day.meanValue));
        for (const OleDate time : {day.maxTime, day.minTime})
            check(std::isfinite(time.value()) && time.value() >= 0.0 && time.value() < 1.0);
    }
    if (!series.readingsFileName.empty()) {
        check(!series.readingsFile.empty());
        check(stationFilePath("/fuzz-station", series.readingsFileName).parent_path() == "/fuzz-station");
    }
}

// The days written into an empty station read back from its files as their records would be
// stored; a day given twice keeps the later figures.
void writtenDaysReadBack(const ImportedSeries& series) {
    std::map<double, DayRecord> last;
    for (const DayRecord& day : series.days)
        last[day.date.value()] = day;
    if (last.size() > 400)
        return;
    const auto station = fuzz::scratchDir() / "01-001";
    std::filesystem::remove_all(station);
    std::filesystem::create_directories(station);
    const SeriesImportResult result = writeImportedSeries(station, "01-001", series);
    check(result.written.written + result.written.dropped == series.days.size());
    std::size_t found = 0;
    for (const auto& [value, day] : last) {
        const auto file = station / waterYearFileName(waterYearOfDate(day.date), "01-001");
        const auto records = readWaterYearFile(file);
        const auto n = findDay(records, day.date);
        if (!n)
            continue;
        // Compared as stored: text fields take their fixed width.
        DayRecord stored = records[*n - 1];
        stored.reserved = day.reserved;
        check(stored == parseDayRecord(serializeDayRecord(day)));
        ++found;
    }
    check(found == 0 || result.written.written > 0);
}

LoggerCsvFormat formatOf(std::uint8_t selector, std::uint8_t more) {
    constexpr const char* kFormats[] = {"yyyy-MM-dd HH:mm:ss", "dd.MM.yyyy HH:mm", "yyyy-MM-dd",
                                        "dd/MM/yy HH:mm",      "yyyyMMddHHmm",     "dd.MM.yyyy"};
    LoggerCsvFormat format;
    format.dateFormat = kFormats[more % 6];
    format.separator = (more & 0x08) ? ';' : ',';
    format.decimalSeparator = (more & 0x10) ? ',' : '.';
    format.headerLines = (more >> 5) & 1;
    format.levelScale = (more & 0x40) ? 1000.0 : 1.0;
    if (selector & 0x40) {
        format.dateColumn = 1;
        format.timeColumn = 2;
        format.levelColumn = 3;
    }
    return format;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input input = fuzz::splitInput(data, size);
    const bool write = (input.selector & 0x80) != 0;
    switch ((input.selector & 0x3F) % 3) {
    case 0: {
        const ImportedSeries series = parseSeriesCsv(input.text);
        checkDays(series);
        if (write)
            writtenDaysReadBack(series);
        break;
    }
    case 1: {
        if (input.text.empty())
            break;
        const ImportedSeries series = parseLoggerCsv(
            input.text.substr(1), formatOf(input.selector, static_cast<std::uint8_t>(input.text[0])));
        checkDays(series);
        for (std::size_t i = 1; i < series.days.size(); ++i)
            check(series.days[i - 1].date.value() < series.days[i].date.value());
        if (write)
            writtenDaysReadBack(series);
        break;
    }
    default: {
        const auto newline = input.text.find('\n');
        if (newline == std::string_view::npos)
            break;
        if (const auto date =
                parseFormattedDateTime(input.text.substr(newline + 1), input.text.substr(0, newline)))
            check(fuzz::isStorableDate(*date));
        break;
    }
    }
    return 0;
}
