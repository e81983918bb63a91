#include "transfer/NetworkYearbook.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Paths.h"
#include "flow/AnnualFlow.h"
#include "flow/YearbookPage.h"
#include "rain/RainYearAnalysis.h"
#include "rain/RainYearSheet.h"
#include "store/HqTable.h"
#include "store/RainYearFile.h"
#include "store/WaterYearFile.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace korvel {

namespace fs = std::filesystem;

namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool matches(const std::string& name, std::string_view filter) {
    return filter.empty() || lowered(name) == lowered(trimmed(filter));
}

BookStation bookStation(const fs::path& dir, const std::string& region, const std::string& basin) {
    BookStation station;
    station.dir = dir;
    station.region = region;
    station.basin = basin;
    station.record = loadStationRecord(dir, region);
    station.number = trimmed(station.record.stationNumber);
    if (station.number.empty()) {
        station.number = dir.filename().string();
        station.record.stationNumber = fixedText(station.number, StationRecord::stationNumberWidth);
    }
    return station;
}

// The calendar month of walk m (0 is October) and its number of days in the water year.
int daysOfMonth(int year, int monthIndex) {
    const int month = monthIndex < 3 ? monthIndex + 10 : monthIndex - 2;
    return daysInMonth(monthIndex < 3 ? year - 1 : year, month);
}

std::vector<MonthGap> gapsOf(const AnnualFlow& flow, int year) {
    std::vector<MonthGap> gaps;
    for (int m = 0; m < 12; ++m) {
        int rated = 0;
        for (const AnnualDay& day : flow.months[static_cast<std::size_t>(m)].days)
            if (day.dayOfMonth > 0 && day.discharge)
                ++rated;
        const int missing = daysOfMonth(year, m) - rated;
        if (missing > 0)
            gaps.push_back({m, missing});
    }
    return gaps;
}

bool anyDischarge(const AnnualFlow& flow) {
    for (const AnnualMonth& month : flow.months)
        for (const AnnualDay& day : month.days)
            if (day.discharge)
                return true;
    return false;
}

// Marks the month headings (row 0, column of the month) of a grid whose month m stands in
// column firstColumn + m * step.
void markGaps(Sheet& sheet, const std::string& grid, int firstColumn, int step,
              const std::vector<MonthGap>& gaps) {
    Table& table = sheet.table(grid);
    for (const MonthGap& gap : gaps) {
        const int column = firstColumn + gap.monthIndex * step;
        if (column < table.columns())
            table.setCell(0, column, table.cell(0, column) + kGapMark);
    }
}

int yearOfFileName(const fs::path& file) {
    return std::stoi(file.filename().string().substr(0, 4));
}

BookSectionContent flowContent(const BookSection& section, int flowFileCount, const Locale& locale) {
    BookSectionContent content;
    const auto records = readWaterYearFile(section.file);
    const HqTableSet tables = loadHqTableSet(section.station.dir);
    const StationRecord& station = section.station.record;
    AnnualFlow flow = computeAnnualFlow(records, tables, station.drainageArea);
    if (!anyDischarge(flow)) {
        content.missingReason = kNoDischarge;
        return content;
    }
    const std::string fileName = section.file.filename().string();
    content.gaps = gapsOf(flow, yearOfFileName(section.file));
    Sheet page = fillYearbookPage(records, tables, station, fileName, flowFileCount, locale);
    markGaps(page, "MSFlexGrid3", 1, 1, content.gaps);
    Sheet annual = annualFlowSheet(flow, station, fileName, locale);
    markGaps(annual, "MSFlexGrid1", 1, 1, content.gaps);
    content.sheets.push_back(std::move(page));
    content.sheets.push_back(std::move(annual));
    content.flow = std::make_shared<const AnnualFlow>(std::move(flow));
    return content;
}

BookSectionContent rainContent(const BookSection& section, const Locale& locale) {
    BookSectionContent content;
    const auto bytes = readFileBytes(section.file, kRainYearFileSizeLimit);
    if (!bytes) {
        content.missingReason = kNoYearFile;
        return content;
    }
    // The dates are repaired in memory only: the book writes nothing.
    const RainYearRun run = analyseRainYear(parseRainYearFile(*bytes), yearOfFileName(section.file));
    content.sheets.push_back(
        rainYearAnalysisSheet(run.analysis, section.station.record.stationNumber, locale));
    return content;
}

} // namespace

NetworkBookPlan planNetworkBook(const fs::path& dataRoot, int year, std::string_view region,
                                std::string_view basin) {
    NetworkBookPlan plan;
    plan.year = year;
    plan.title = !trimmed(region).empty() ? trimmed(region) : std::string("Tüm bölgeler");
    if (!trimmed(basin).empty())
        plan.title += " / " + trimmed(basin);
    std::size_t stations = 0;
    for (const std::string& regionName : listDirectories(dataRoot)) {
        if (!matches(regionName, region))
            continue;
        for (const std::string& basinName : listDirectories(dataRoot / regionName)) {
            if (!matches(basinName, basin))
                continue;
            std::vector<BookStation> inBasin;
            for (const std::string& name : listDirectories(dataRoot / regionName / basinName))
                inBasin.push_back(
                    bookStation(dataRoot / regionName / basinName / name, regionName, basinName));
            std::stable_sort(inBasin.begin(), inBasin.end(),
                             [](const BookStation& a, const BookStation& b) { return a.number < b.number; });
            for (BookStation& station : inBasin) {
                ++stations;
                const fs::path flow =
                    resolveCaseInsensitive(station.dir / waterYearFileName(year, station.number));
                const fs::path rain =
                    resolveCaseInsensitive(station.dir / rainYearFileName(year, station.number));
                const bool hasFlow = fileExists(flow);
                const bool hasRain = fileExists(rain);
                if (!hasFlow && !hasRain) {
                    plan.missing.push_back({station.region, station.basin, station.number,
                                            trimmed(station.record.stationName), kNoYearFile});
                    continue;
                }
                if (hasFlow)
                    plan.sections.push_back({station, BookSectionKind::Flow, flow});
                if (hasRain)
                    plan.sections.push_back({station, BookSectionKind::Rain, rain});
            }
        }
    }
    if (stations == 0)
        throw std::invalid_argument("no station under " + dataRoot.string() +
                                    " matches the region and basin");
    return plan;
}

std::string gapFootnote(const std::vector<MonthGap>& gaps) {
    std::string text;
    for (const MonthGap& gap : gaps)
        text += (text.empty() ? "" : ", ") +
                std::string(kWaterYearMonthNames[static_cast<std::size_t>(gap.monthIndex)]) + " " +
                std::to_string(gap.missingDays) + " gün";
    return text.empty() ? text : "*" + std::string(" Eksik günler: ") + text;
}

BookSectionContent buildBookSection(const BookSection& section, int flowFileCount, const Locale& locale) {
    return section.kind == BookSectionKind::Flow ? flowContent(section, flowFileCount, locale)
                                                 : rainContent(section, locale);
}

std::string bookPageHeader(const BookSection& section, int year) {
    const StationRecord& record = section.station.record;
    std::string header = section.station.number;
    for (const std::string& part : {trimmed(record.riverName), trimmed(record.stationName)})
        if (!part.empty())
            header += " - " + part;
    return header + "    Su yılı " + std::to_string(year);
}

} // namespace korvel
