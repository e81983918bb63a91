#include "flow/AnnualFlow.h"

#include "core/Cp1254.h"
#include "core/NumberFormat.h"
#include "flow/DayRating.h"
#include "flow/FlowFigures.h"
#include "flow/StationHeader.h"

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

constexpr int kLabelColumnWidth = 300;
constexpr int kMonthColumnWidth = 930;
constexpr int kSummaryLabelWidth = 800;
constexpr int kLevelColumnWidth = 450;
constexpr int kDischargeColumnWidth = 475;

bool sameKeyPeriod(const UsedKeyPeriod& a, const UsedKeyPeriod& b) {
    return a.hqKey == b.hqKey && a.start.dateText() == b.start.dateText() &&
           a.end.dateText() == b.end.dateText();
}

void addDay(AnnualFlow& flow, AnnualMonth& month, const DayRecord& record, const HqTableSet& tables, int d) {
    AnnualDay day;
    day.dayOfMonth = dayOfMonthOfDay(record);
    day.meanValue = record.meanValue;
    const RatedDay rated = rateDay(record, tables);
    day.discharge = rated.discharge;
    day.givenDischarge = rated.givenDischarge;
    day.levelOutOfRange = rated.levelOutOfRange;
    month.days.push_back(day);
    if (!rated.discharge)
        return;
    month.sum += *rated.discharge;
    if (rated.givenDischarge || rated.table == nullptr)
        return;

    if (const auto candidate = dischargeAtLevel(*rated.table, record.maxLevel);
        candidate && month.instMax < *candidate) {
        month.instMax = *candidate;
        month.instMaxDay = d;
    }
    if (const auto candidate = dischargeAtLevel(*rated.table, record.minLevel);
        record.minLevel != 0 && candidate && (!month.instMin || *month.instMin > *candidate)) {
        month.instMin = *candidate;
        month.instMinDay = d;
    }
    const HqTable& t = *rated.table;
    const UsedKeyPeriod used{rated.hqKey.value_or(std::string()), t.validFrom[rated.period],
                             t.validTo[rated.period]};
    if (std::none_of(flow.keyPeriods.begin(), flow.keyPeriods.end(),
                     [&](const UsedKeyPeriod& entry) { return sameKeyPeriod(entry, used); }))
        flow.keyPeriods.push_back(used);
}

void setMonthFigures(AnnualMonth& month, double drainageArea) {
    const MonthFigures f = monthFigures(month.sum, month.dayCount, drainageArea);
    month.total = f.total;
    month.mean = f.mean;
    month.yield = f.yield;
    month.depth = f.depth;
    month.volume = f.volume;
}

std::string optionalText(const std::optional<double>& value, const Locale& locale) {
    return value ? locale.numberText(*value) : std::string();
}

Table monthStrip() {
    Table grid(1, 13, 0, 1);
    grid.setColumnWidth(0, kLabelColumnWidth);
    grid.setCell(0, 0, "gün");
    for (int m = 1; m <= 12; ++m) {
        grid.setColumnWidth(m, kMonthColumnWidth);
        grid.setCell(0, m, kWaterYearMonthNames[static_cast<std::size_t>(m - 1)]);
    }
    return grid;
}

void setPairWidths(Table& grid, int labelWidth) {
    grid.setColumnWidth(0, labelWidth);
    for (int m = 1; m <= 12; ++m) {
        grid.setColumnWidth(2 * m - 1, kLevelColumnWidth);
        grid.setColumnWidth(2 * m, kDischargeColumnWidth);
    }
}

Table dailyGrid(const AnnualFlow& flow, const Locale& locale) {
    Table grid(32, 25, 1, 1);
    setPairWidths(grid, kLabelColumnWidth);
    for (int m = 1; m <= 12; ++m) {
        grid.setCell(0, 2 * m - 1, "  H");
        grid.setCell(0, 2 * m, "   Q");
    }
    for (int d = 1; d <= 31; ++d)
        grid.setCell(d, 0, std::to_string(d));
    for (int m = 1; m <= 12; ++m) {
        for (const AnnualDay& day : flow.months[static_cast<std::size_t>(m - 1)].days) {
            if (day.dayOfMonth < 1 || day.dayOfMonth > 31)
                continue;
            grid.setCell(day.dayOfMonth, 2 * m - 1,
                         day.givenDischarge ? std::string() : locale.numberText32(day.meanValue));
            if (day.discharge)
                grid.setCell(day.dayOfMonth, 2 * m, dischargeText(*day.discharge, locale));
            else if (day.levelOutOfRange)
                grid.setCell(day.dayOfMonth, 2 * m, kLevelOutOfRangeMark);
        }
    }
    return grid;
}

Table summaryGrid(const AnnualFlow& flow, const Locale& locale) {
    Table grid(5, 13, 0, 1);
    grid.setColumnWidth(0, kSummaryLabelWidth);
    const char* labels[] = {"top. Q ", "ort. Q", "V.l/s/km2", "akış mm.", "Akı.mil.m3"};
    for (int r = 0; r < 5; ++r)
        grid.setCell(r, 0, labels[r]);
    for (int m = 1; m <= 12; ++m) {
        const AnnualMonth& month = flow.months[static_cast<std::size_t>(m - 1)];
        grid.setColumnWidth(m, kMonthColumnWidth);
        grid.setCell(0, m, locale.numberText(month.total));
        grid.setCell(1, m, optionalText(month.mean, locale));
        grid.setCell(2, m, optionalText(month.yield, locale));
        grid.setCell(3, m, optionalText(month.depth, locale));
        grid.setCell(4, m, locale.numberText(month.volume));
    }
    return grid;
}

Table extremesGrid(const AnnualFlow& flow, const Locale& locale) {
    Table grid(3, 25, 1, 1);
    setPairWidths(grid, kSummaryLabelWidth);
    grid.setCell(1, 0, "anl.max.");
    grid.setCell(2, 0, "anl.min.");
    for (int m = 1; m <= 12; ++m) {
        const AnnualMonth& month = flow.months[static_cast<std::size_t>(m - 1)];
        grid.setCell(0, 2 * m - 1, "gün");
        grid.setCell(0, 2 * m, "   Q");
        grid.setCell(1, 2 * m - 1, std::to_string(month.instMaxDay));
        grid.setCell(1, 2 * m, locale.numberText32(month.instMax));
        // A month without a lowest discharge shows empty cells.
        if (month.instMin) {
            grid.setCell(2, 2 * m - 1, std::to_string(month.instMinDay));
            grid.setCell(2, 2 * m, locale.numberText32(*month.instMin));
        }
    }
    return grid;
}

Table keyList(const AnnualFlow& flow, const Locale& locale) {
    Table list(static_cast<int>(flow.keyPeriods.size()), 1, 0, 0);
    list.setColumnWidth(0, 3000);
    int row = 0;
    for (const UsedKeyPeriod& used : flow.keyPeriods)
        list.setCell(row++, 0,
                     used.hqKey + "..." + locale.shortDate(used.start) + "   " + locale.shortDate(used.end));
    return list;
}

} // namespace

AnnualFlow computeAnnualFlow(const std::vector<DayRecord>& records, const HqTableSet& tables,
                             double drainageArea) {
    AnnualFlow flow;
    const std::vector<MonthWalk> walks = walkMonths(records);
    double sumMean = 0.0;
    double sumYield = 0.0;
    for (std::size_t m = 0; m < walks.size() && m < flow.months.size(); ++m) {
        AnnualMonth& month = flow.months[m];
        month.month = walks[m].month;
        for (std::size_t i = 0; i < walks[m].count; ++i)
            addDay(flow, month, dayAt(records, walks[m].first + i), tables, static_cast<int>(i) + 1);
        month.dayCount = static_cast<int>(walks[m].count);
        setMonthFigures(month, drainageArea);
        sumMean += month.mean.value_or(0.0);
        sumYield += month.yield.value_or(0.0);
        flow.annualDepth += month.depth.value_or(0.0);
        flow.annualVolume += month.volume;
    }
    flow.annualMean = twelveMonthMean(sumMean);
    flow.annualYield = twelveMonthMean(sumYield);
    return flow;
}

std::string dischargeText(double discharge, const Locale& locale) {
    const char* pattern = discharge < 10.0 ? "###0.000" : discharge < 100.0 ? "###0.00" : "###0.0";
    return formatNumber(discharge, pattern, locale);
}

Sheet annualFlowSheet(const AnnualFlow& flow, const StationRecord& station, const std::string& flowFileName,
                      const Locale& locale) {
    Sheet sheet;
    sheet.caption = "Yıllık akım  tablosu";
    sheet.setTable("MSFlexGrid1", monthStrip());
    sheet.setTable("MSFlexGrid2", dailyGrid(flow, locale));
    sheet.setTable("MSFlexGrid3", summaryGrid(flow, locale));
    sheet.setTable("MSFlexGrid4", extremesGrid(flow, locale));
    sheet.setTable("List1", keyList(flow, locale));
    // The month strip and the monthly figures stand over and under the H and Q pairs of each month.
    std::vector<int> monthPairs(13, 2);
    monthPairs[0] = 1;
    sheet.alignColumns("MSFlexGrid1", "MSFlexGrid2", monthPairs);
    sheet.alignColumns("MSFlexGrid3", "MSFlexGrid2", monthPairs);
    sheet.alignColumns("MSFlexGrid4", "MSFlexGrid2");
    addStationHeader(sheet, station, locale);
    sheet.setText("waterYear", "  Su yılı  " + utf8Left(flowFileName, 4));
    sheet.setText("annualMean",
                  "Yıllık Ortalama debi         :   " + locale.numberText(flow.annualMean) + " m3/sn");
    sheet.setText("annualYield",
                  "Yıllık Ortalama verim       :   " + locale.numberText(flow.annualYield) + " Lt./sn./km2");
    sheet.setText("annualDepth",
                  "Yıllık Toplam akış(mm)    :   " + locale.numberText(flow.annualDepth) + " mm");
    sheet.setText("annualVolume",
                  "Yıllık Toplam akış(mil.m3):   " + locale.numberText(flow.annualVolume) + " Milyon m3");
    return sheet;
}

Sheet fillAnnualTable(const std::vector<DayRecord>& records, const HqTableSet& tables,
                      const StationRecord& station, const std::string& flowFileName, const Locale& locale) {
    return annualFlowSheet(computeAnnualFlow(records, tables, static_cast<double>(station.drainageArea)),
                           station, flowFileName, locale);
}

} // namespace korvel
