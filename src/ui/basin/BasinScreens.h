#pragma once

#include "ui/basin/BasinTableScreen.h"

#include <QPointer>

class QChart;

namespace korvel {

// "Tablolar (1)", kht1: monthly rainfall of the three gauges with the basin means, and the two
// charts of basin rainfall against runoff (monthly, and summed over the year).
class BasinRainScreen : public BasinTableScreen {
    Q_OBJECT
public:
    BasinRainScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);
    QChart* monthlyChart() const { return monthlyChart_; }
    QChart* runningChart() const { return runningChart_; }

private:
    QChart* monthlyChart_;
    QChart* runningChart_;
};

// "Tablolar(2)", kht2: basin mean daily rainfall beside the flow gauge's daily discharge.
class BasinDailyScreen : public BasinTableScreen {
    Q_OBJECT
public:
    BasinDailyScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);
};

// "Tablolar(3)", kht345: monthly rainfall and runoff with the entry rows, the seasons and the
// heaviest rainfall of given durations.
class BasinRunoffScreen : public BasinTableScreen {
    Q_OBJECT
public:
    BasinRunoffScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);
};

class MultiYearSummaryScreen;

// "Tablolar(4)", kht6: rainy-day classes of the gauges and runoff-depth classes of the flow
// gauge. Its button opens the multi-year summary entry table.
class RainyDayScreen : public BasinTableScreen {
    Q_OBJECT
public:
    RainyDayScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);
    ~RainyDayScreen() override;
    MultiYearSummaryScreen* openMultiYearSummary();

private:
    QPointer<MultiYearSummaryScreen> summary_;
};

// kht10 ("Form1"): the multi-year summary, filled only by typing.
class MultiYearSummaryScreen : public BasinTableScreen {
    Q_OBJECT
public:
    MultiYearSummaryScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);
};

} // namespace korvel
