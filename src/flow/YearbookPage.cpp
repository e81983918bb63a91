#include "flow/YearbookPage.h"

#include "core/Cp1254.h"
#include "core/NumberFormat.h"
#include "core/Numbers.h"
#include "flow/AnnualFlow.h"
#include "flow/DayRating.h"
#include "flow/FlowFigures.h"

#include <cmath>

namespace korvel {

namespace {

constexpr int kExtremesLabelWidth = 2650;
constexpr int kMonthLabelWidth = 1000;
constexpr int kDayLabelWidth = 400;
constexpr int kMonthColumnWidth = 750;

void addDay(YearbookMonth& month, const DayRecord& record, const HqTableSet& tables) {
    const int dayOfMonth = dayOfMonthOfDay(record);
    const RatedDay rated = rateDay(record, tables);
    if (!rated.discharge) {
        if (dayOfMonth > 0)
            month.levelOutOfRange[static_cast<std::size_t>(dayOfMonth)] = rated.levelOutOfRange;
        return;
    }
    month.sum += *rated.discharge;
    if (dayOfMonth > 0)
        month.discharge[static_cast<std::size_t>(dayOfMonth)] = *rated.discharge;
    if (rated.givenDischarge || rated.table == nullptr)
        return;

    const HqTable& t = *rated.table;
    if (const auto candidate = dischargeAtLevel(t, record.maxLevel);
        record.maxLevel != 0 && candidate && month.monthMax < *candidate) {
        month.monthMax = *candidate;
        month.monthMaxDate = record.date;
    }
    // One staff reading: the day's minimum is taken from its mean level.
    const bool oneReading = utf8Mid(record.source, 2, 1) == "1";
    const double level = oneReading ? roundHalfEven(record.meanValue) : record.minLevel;
    const bool considered = oneReading ? record.meanValue != 0.0F : record.minLevel != 0;
    if (const auto candidate = dischargeAtLevel(t, level);
        considered && candidate && (!month.monthMin || *month.monthMin > *candidate)) {
        month.monthMin = *candidate;
        month.monthMinDate = record.date;
    }
}

std::string optionalText(const std::optional<double>& value, const Locale& locale) {
    return value ? locale.numberText(*value) : std::string();
}

std::string dateOrEmpty(OleDate date, const Locale& locale) {
    return date.isEmpty() ? std::string() : locale.shortDate(date);
}

Table extremesBlock(const YearbookFigures& f, const std::string& year, const Locale& locale) {
    Table grid(5, 3, 1, 1);
    grid.setColumnWidth(0, kExtremesLabelWidth);
    grid.setCell(0, 0, "Anlık en çok ve en az akımlar ");
    grid.setCell(0, 1, "Akım m3/s");
    grid.setCell(0, 2, "Tarih");
    grid.setCell(1, 0, year + " Su yılında en çok akım       ");
    grid.setCell(2, 0, year + " Su yılında en az akım         ");
    grid.setCell(3, 0, "Gözlem süresinde anlık en çok akım");
    grid.setCell(4, 0, "Gözlem süresinde anlık en az akım");
    grid.setCell(1, 1, locale.numberText32(f.yearMax));
    grid.setCell(1, 2, dateOrEmpty(f.yearMaxDate, locale));
    if (f.yearMin) {
        grid.setCell(2, 1, locale.numberText32(*f.yearMin));
        grid.setCell(2, 2, dateOrEmpty(f.yearMinDate, locale));
    }
    return grid;
}

Table monthlyBlock(const YearbookFigures& f, const Locale& locale) {
    Table grid(6, 13, 0, 1);
    grid.setColumnWidth(0, kMonthLabelWidth);
    const char* labels[] = {"Maximum", "Minimum", "Ortalama", "l/s/km2", "Akım(mm)", "Akım mil.m3"};
    for (int r = 0; r < 6; ++r)
        grid.setCell(r, 0, labels[r]);
    for (int m = 1; m <= 12; ++m) {
        const YearbookMonth& month = f.months[static_cast<std::size_t>(m - 1)];
        grid.setColumnWidth(m, kMonthColumnWidth);
        grid.setCell(0, m, locale.numberText32(month.monthMax));
        if (month.monthMin)
            grid.setCell(1, m, locale.numberText32(*month.monthMin));
        grid.setCell(2, m, optionalText(month.mean, locale));
        grid.setCell(3, m, optionalText(month.yield, locale));
        grid.setCell(4, m, optionalText(month.depth, locale));
        grid.setCell(5, m, locale.numberText(month.volume));
    }
    return grid;
}

Table dailyBlock(const YearbookFigures& f, const Locale& locale) {
    Table grid(32, 13, 1, 1);
    grid.setColumnWidth(0, kDayLabelWidth);
    grid.setCell(0, 0, "gün");
    for (int m = 1; m <= 12; ++m) {
        grid.setColumnWidth(m, kMonthColumnWidth);
        grid.setCell(0, m, kWaterYearMonthNames[static_cast<std::size_t>(m - 1)]);
    }
    for (int d = 1; d <= 31; ++d) {
        grid.setCell(d, 0, std::to_string(d));
        for (int m = 1; m <= 12; ++m) {
            const YearbookMonth& month = f.months[static_cast<std::size_t>(m - 1)];
            const auto& q = month.discharge[static_cast<std::size_t>(d)];
            if (q)
                grid.setCell(d, m, formatNumber(*q, "###0.00", locale));
            else if (month.levelOutOfRange[static_cast<std::size_t>(d)])
                grid.setCell(d, m, kLevelOutOfRangeMark);
        }
    }
    return grid;
}

} // namespace

YearbookFigures computeYearbook(const std::vector<DayRecord>& records, const HqTableSet& tables,
                                double drainageArea) {
    YearbookFigures f;
    const std::vector<MonthWalk> walks = walkMonths(records);
    for (std::size_t m = 0; m < walks.size() && m < f.months.size(); ++m) {
        YearbookMonth& month = f.months[m];
        month.month = walks[m].month;
        for (std::size_t i = 0; i < walks[m].count; ++i)
            addDay(month, dayAt(records, walks[m].first + i), tables);
        month.dayCount = static_cast<int>(walks[m].count);
    }

    for (YearbookMonth& month : f.months) {
        const MonthFigures figures = monthFigures(month.sum, month.dayCount, drainageArea);
        month.mean = figures.mean;
        month.yield = figures.yield;
        month.depth = figures.depth;
        month.volume = figures.volume;
        if (month.monthMax > f.yearMax) {
            f.yearMax = month.monthMax;
            f.yearMaxDate = month.monthMaxDate;
        }
        if (month.monthMin && (!f.yearMin || *month.monthMin < *f.yearMin)) {
            f.yearMin = month.monthMin;
            f.yearMinDate = month.monthMinDate;
        }
        f.sumMean += month.mean.value_or(0.0);
        f.sumYield += month.yield.value_or(0.0);
        f.sumDepth += month.depth.value_or(0.0);
        f.sumVolume += month.volume;
    }
    return f;
}

Sheet yearbookSheet(const YearbookFigures& f, const StationRecord& station, const std::string& flowFileName,
                    int flowFileCount, const Locale& locale) {
    const auto y = static_cast<long long>(roundHalfEven(numericValue(utf8Left(flowFileName, 4))));
    const std::string year = std::to_string(y);
    const std::string annualMean = locale.numberText(twelveMonthMean(f.sumMean));
    const std::string annualYield = locale.numberText(twelveMonthMean(f.sumYield));

    Sheet sheet;
    sheet.caption = "Kitap ";
    sheet.setTable("MSFlexGrid1", extremesBlock(f, year, locale));
    sheet.setTable("MSFlexGrid2", monthlyBlock(f, locale));
    sheet.setTable("MSFlexGrid3", dailyBlock(f, locale));
    sheet.setText("Text4",
                  utf8Left(station.stationNumber, 2) + " - " + trimmed(station.basinName) + " - havzası");
    sheet.setText("Text5", station.stationNumber + " - " + trimmed(station.riverName) + " - " +
                               trimmed(station.stationName));
    sheet.setText("Text1", station.coordinates + "  " + station.note);
    sheet.setText("Text2", locale.numberText32(station.drainageArea) + " km2");
    sheet.setText("Text3", station.openingDate + " - 30.09. " + year + " yılları arası");
    sheet.setText("Text6", "Gözlem süresinde  ...... (" + std::to_string(flowFileCount) + " yıllık) " + year +
                               " su yılında " + annualMean + " m3/sn.");
    sheet.setText("Text7", locale.numberText32(station.elevation) + " m.");
    for (const auto& [box, caption] : kYearbookCaptionedBoxes)
        sheet.setLabel(box, caption);
    sheet.setText("Label6", "Su yılı (" + year + ")Yıllık toplam akım " + locale.numberText(f.sumVolume) +
                                " Milyon m3  " + locale.numberText(f.sumDepth) +
                                " mm.    verim=" + annualYield + " Lt./sn./km2");
    sheet.setText("Label7", "Akımlar 1 ekim " + std::to_string(y - 1) + " den 30 eylül " + year +
                                " ' a kadar saniyede metre küp olarak");
    return sheet;
}

Sheet fillYearbookPage(const std::vector<DayRecord>& records, const HqTableSet& tables,
                       const StationRecord& station, const std::string& flowFileName, int flowFileCount,
                       const Locale& locale) {
    return yearbookSheet(computeYearbook(records, tables, static_cast<double>(station.drainageArea)), station,
                         flowFileName, flowFileCount, locale);
}

} // namespace korvel
