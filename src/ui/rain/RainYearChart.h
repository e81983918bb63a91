#pragma once

#include "rain/RainYearAnalysis.h"
#include "ui/charts/ChartData.h"
#include "ui/common/Export.h"

#include <QDialog>

class QChart;
class QChartView;
class QPrinter;

namespace korvel {

// The yearly rainfall chart of the analysis screen: the daily totals along the water year in mm,
// with the monthly totals as a second line on their own axis.
class RainYearChart : public QDialog, public PrintedWindow {
    Q_OBJECT
public:
    RainYearChart(const RainYearAnalysis& analysis, const QString& title, QWidget* parent = nullptr);

    const RainChartData& data() const { return data_; }
    QChart* chart() const { return chart_; }
    bool print();
    bool print(QPrinter& printer);
    bool printOn(QPrinter& printer) override { return print(printer); }

private:
    RainChartData data_;
    QChart* chart_;
    QChartView* view_ = nullptr;
};

} // namespace korvel
