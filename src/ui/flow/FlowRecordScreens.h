#pragma once

#include "core/Sheet.h"
#include "flow/FlowDuration.h"
#include "flow/FlowRecord.h"
#include "ui/common/AppContext.h"
#include "ui/station/CurrentStation.h"

#include <QWidget>

class QChart;

namespace korvel {

class ZoomableChartView;

// The daily discharges of every water year of the current station, read with a please-wait
// window. A message says when the station has no water-year file.
FlowRecord readStationFlowRecord(QWidget* screen, const CurrentStation& station);

// The flow-duration curve of the current station ("akimsureklilikfrm"): the chart of the
// discharge exceeded on p % of the days over all years (and each year faintly behind it),
// Q5, Q50 and Q95, the grid "years" and the grid "duration". Its context menu prints the
// window, saves it as PDF and the grids as CSV.
class FlowDurationScreen : public QWidget {
    Q_OBJECT
public:
    static inline const QString kFormName = QStringLiteral("akimsureklilikfrm");

    FlowDurationScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    const FlowDuration& duration() const { return duration_; }
    const Sheet& sheet() const { return sheet_; }
    QChart* chart() const { return chart_; }

private:
    void drawChart();

    const AppContext& context_;
    FlowDuration duration_;
    Sheet sheet_;
    QChart* chart_;
};

// The long record of the current station ("uzundonemfrm"): the daily discharges of all years
// in one chart (wheel zooms, dragging scrolls, a double click shows everything) with the annual
// means as a second series, and the grid "annual" of each year's mean, largest and smallest day.
class FlowRecordScreen : public QWidget {
    Q_OBJECT
public:
    static inline const QString kFormName = QStringLiteral("uzundonemfrm");

    FlowRecordScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    const FlowRecord& record() const { return record_; }
    const Sheet& sheet() const { return sheet_; }
    QChart* chart() const { return chart_; }
    ZoomableChartView* chartView() const { return view_; }

private:
    void drawChart();

    const AppContext& context_;
    FlowRecord record_;
    Sheet sheet_;
    QChart* chart_;
    ZoomableChartView* view_;
};

} // namespace korvel
