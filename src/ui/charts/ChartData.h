#pragma once

#include "flow/AnnualFlow.h"
#include "flow/DayReadings.h"
#include "flow/MonthTable.h"
#include "rain/RainYearAnalysis.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <optional>

namespace korvel {

// A chart line broken where a value is missing: each segment is a run of points that have
// values, so a day without a value shows as a gap instead of a line drawn through zero.
struct GappedLine {
    QString name;
    QList<QList<QPointF>> segments;

    void add(double x, std::optional<double> y);
    qsizetype pointCount() const;
    double largest() const; // 0 when the line has no point
};

// The monthly chart: the mean level and the daily discharge of each row of the monthly table
// up to the first row without a date. x is the row (day) number from 1.
struct MonthChartData {
    GappedLine level;     // mm
    GappedLine discharge; // m3/s
    QStringList dayLabels;
    int dayCount = 0;
};
MonthChartData monthChartData(const MonthFlow& flow, const Locale& locale);

// The annual chart: the daily discharges of the water year, x the day of the water year from
// 1. monthEnds[m] is the last x of month m (October first), where the month boundary is drawn.
struct AnnualChartData {
    GappedLine discharge; // m3/s
    QList<int> monthEnds;
    int dayCount = 0;
};
AnnualChartData annualChartData(const AnnualFlow& flow);

// A day's logger readings: x in hours after midnight.
GappedLine readingsLine(const DayReadings& readings);

// The annual rainfall chart: the daily totals of the analysis along the water year (a dry day
// is 0 mm) and the monthly totals at the middle of each month.
struct RainChartData {
    GappedLine daily;   // mm
    GappedLine monthly; // mm
    QList<int> monthEnds;
    int dayCount = 0;
};
RainChartData rainChartData(const RainYearAnalysis& analysis);

} // namespace korvel
