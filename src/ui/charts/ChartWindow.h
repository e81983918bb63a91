#pragma once

#include "ui/charts/ChartData.h"
#include "ui/common/Export.h"

#include <QColor>
#include <QWidget>

class QAbstractAxis;
class QChart;
class QChartView;
class QPrinter;
class QValueAxis;

namespace korvel {

// A window showing one chart, printed as vector graphics the way the screen shows it. The chart
// windows of the flow tables and the readings list derive from it.
class ChartWindow : public QWidget, public PrintedWindow {
    Q_OBJECT
public:
    explicit ChartWindow(QWidget* parent = nullptr);

    QChart* chart() const { return chart_; }
    bool print();
    bool print(QPrinter& printer);
    bool printOn(QPrinter& printer) override { return print(printer); }

private:
    QChart* chart_;
    QChartView* view_;
};

// "01-001 — 2004 su yılı, günlük akım": the station, the water year the file name starts with,
// and what the chart shows.
QString waterYearChartTitle(const std::string& stationNumber, const std::string& flowFileName,
                            const QString& what);

// The view of a chart window ("Chart1"): antialiased, its axis numbers in the program's locale
// (a decimal comma in Turkish).
QChartView* makeChartView(QChart* chart, QWidget* parent);

// Puts a gapped line on the chart: one line series per segment, all drawn alike, the first one
// named in the legend. A segment of one point shows as a point.
void addGappedLine(QChart* chart, const GappedLine& line, QAbstractAxis* x, QAbstractAxis* y,
                   const QColor& color);

// A value axis from `low` to a little above `high`, titled.
QValueAxis* valueAxis(const QString& title, double low, double high);

// The x axis of a water-year chart: one category per month, its boundary at the month's last
// day, so the grid lines mark the month boundaries.
QAbstractAxis* waterYearAxis(const QList<int>& monthEnds, const QString& title);

// aylıkgraffrm: the monthly chart, daily mean level and daily discharge of the monthly table.
class MonthlyChartScreen : public ChartWindow {
    Q_OBJECT
public:
    static inline const QString kFormName = QStringLiteral("aylıkgraffrm");
    MonthlyChartScreen(const MonthFlow& flow, const QString& title, const Locale& locale,
                       QWidget* parent = nullptr);
    const MonthChartData& data() const { return data_; }

private:
    MonthChartData data_;
};

// yıllıkgraffrm: the annual chart, the daily discharges of the water year by month.
class AnnualChartScreen : public ChartWindow {
    Q_OBJECT
public:
    static inline const QString kFormName = QStringLiteral("yıllıkgraffrm");
    AnnualChartScreen(const AnnualFlow& flow, const QString& title, QWidget* parent = nullptr);
    const AnnualChartData& data() const { return data_; }

private:
    AnnualChartData data_;
};

// The readings chart of one day: the logger's instantaneous readings against the time of day.
class ReadingsChartScreen : public ChartWindow {
    Q_OBJECT
public:
    static inline const QString kFormName = QStringLiteral("anlıkgraffrm");
    ReadingsChartScreen(const DayReadings& readings, QWidget* parent = nullptr);
    const GappedLine& data() const { return data_; }

private:
    GappedLine data_;
};

} // namespace korvel
