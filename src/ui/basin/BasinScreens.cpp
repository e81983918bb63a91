#include "ui/basin/BasinScreens.h"

#include "ui/common/GridView.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>

namespace korvel {

namespace {

QChart* makeChart() {
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

// Rainfall (column 1) against runoff (column 2) of a chart table, by Roman month: bars for the
// monthly figures, lines for the running sums.
void fillChart(QChart* chart, const Table* series, bool bars) {
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis);
    if (series == nullptr)
        return;
    QStringList months;
    double largest = 0.0;
    std::array<QList<double>, 2> values;
    for (int k = 1; k <= 12; ++k) {
        months << QString::fromUtf8(series->cell(k, 0).c_str());
        for (int c = 0; c < 2; ++c) {
            const double v = Locale::turkish().parseNumber(series->cell(k, c + 1)).value_or(0.0);
            values[static_cast<std::size_t>(c)] << v;
            largest = std::max(largest, v);
        }
    }
    auto* axisX = new QBarCategoryAxis;
    axisX->append(months);
    chart->addAxis(axisX, Qt::AlignBottom);
    auto* axisY = new QValueAxis;
    axisY->setRange(0.0, largest > 0.0 ? largest * 1.1 : 1.0);
    axisY->applyNiceNumbers();
    axisY->setTitleText(QStringLiteral("mm"));
    chart->addAxis(axisY, Qt::AlignLeft);
    const QString names[] = {QString::fromUtf8(series->cell(0, 1).c_str()),
                             QString::fromUtf8(series->cell(0, 2).c_str())};
    if (bars) {
        auto* bar = new QBarSeries;
        for (int c = 0; c < 2; ++c) {
            auto* set = new QBarSet(names[c]);
            set->append(values[static_cast<std::size_t>(c)]);
            bar->append(set);
        }
        chart->addSeries(bar);
        bar->attachAxis(axisX);
        bar->attachAxis(axisY);
        return;
    }
    for (int c = 0; c < 2; ++c) {
        auto* line = new QLineSeries;
        line->setName(names[c]);
        for (int k = 0; k < 12; ++k)
            line->append(k, values[static_cast<std::size_t>(c)][k]);
        chart->addSeries(line);
        line->attachAxis(axisX);
        line->attachAxis(axisY);
    }
}

QChartView* chartView(QWidget* parent, const QString& name, QChart* chart) {
    auto* view = new QChartView(chart, parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(220);
    return view;
}

} // namespace

BasinRainScreen::BasinRainScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : BasinTableScreen(context, hub, QStringLiteral("kht1"), parent), monthlyChart_(makeChart()),
      runningChart_(makeChart()) {
    auto* layout = new QVBoxLayout(this);
    addLabel(layout, QStringLiteral("title"));
    addGrid(layout, QStringLiteral("MSFlexGrid1"), QStringLiteral("kesmen1"), QStringLiteral("kesme"));
    addLabel(layout, QStringLiteral("chartTitle"));
    auto* charts = new QHBoxLayout;
    charts->addWidget(chartView(this, QStringLiteral("Chart1"), monthlyChart_));
    charts->addWidget(chartView(this, QStringLiteral("Chart2"), runningChart_));
    layout->addLayout(charts, 1);

    showBuiltSheet(basinRainSheet(loadInputs(), context_.locale));
    fillChart(monthlyChart_, sheet().findTable("chart1"), true);
    fillChart(runningChart_, sheet().findTable("chart2"), false);
    leaveStationScreenAt(flowStationDir());
}

BasinDailyScreen::BasinDailyScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : BasinTableScreen(context, hub, QStringLiteral("kht2"), parent) {
    auto* layout = new QVBoxLayout(this);
    addLabel(layout, QStringLiteral("title"));
    addGrid(layout, QStringLiteral("MSFlexGrid1"), QStringLiteral("kesmen2"), QStringLiteral("kesme2"));
    showBuiltSheet(basinDailySheet(loadInputs(), context_.locale));
    leaveStationScreenAt(flowStationDir());
}

BasinRunoffScreen::BasinRunoffScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : BasinTableScreen(context, hub, QStringLiteral("kht345"), parent) {
    auto* layout = new QVBoxLayout(this);
    addLabel(layout, QStringLiteral("title1"));
    addGrid(layout, QStringLiteral("MSFlexGrid1"), QStringLiteral("kesmen3"), QStringLiteral("kesme3"));
    addLabel(layout, QStringLiteral("title2"));
    addLabel(layout, QStringLiteral("seasonHeading"));
    addGrid(layout, QStringLiteral("MSFlexGrid2"), QStringLiteral("kesmen4"), QStringLiteral("kesme4"));
    addLabel(layout, QStringLiteral("title3"));
    addGrid(layout, QStringLiteral("MSFlexGrid3"), QStringLiteral("kesmen5"), QStringLiteral("kesme5"));
    showBuiltSheet(basinRunoffSheet(loadInputs(), context_.locale));
    leaveStationScreenAt(rainStationDir(kBasinGaugeCount - 1));
}

RainyDayScreen::RainyDayScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : BasinTableScreen(context, hub, QStringLiteral("kht6"), parent) {
    auto* layout = new QVBoxLayout(this);
    addLabel(layout, QStringLiteral("title1"));
    addGrid(layout, QStringLiteral("MSFlexGrid1"), QStringLiteral("kesmen6"), QStringLiteral("kesme6"));
    addLabel(layout, QStringLiteral("title2"));
    addGrid(layout, QStringLiteral("MSFlexGrid2"), QStringLiteral("kesmen7"), QStringLiteral("kesme7"));
    auto* summary = new QPushButton(QStringLiteral("Çok yıllık özet"), this);
    summary->setObjectName(QStringLiteral("Command1"));
    connect(summary, &QPushButton::clicked, this, [this] { openMultiYearSummary(); });
    layout->addWidget(summary, 0, Qt::AlignLeft);
    showBuiltSheet(rainyDaySheet(loadInputs(), context_.locale));
    // The runoff depths are taken over the flow gauge's drainage area: its station ends current.
    leaveStationScreenAt(flowStationDir());
}

RainyDayScreen::~RainyDayScreen() {
    delete summary_.data();
}

MultiYearSummaryScreen* RainyDayScreen::openMultiYearSummary() {
    if (summary_.isNull()) {
        summary_ = new MultiYearSummaryScreen(context_, hub_, nullptr);
        summary_->setAttribute(Qt::WA_DeleteOnClose);
    }
    summary_->show();
    summary_->raise();
    return summary_.data();
}

MultiYearSummaryScreen::MultiYearSummaryScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : BasinTableScreen(context, hub, QStringLiteral("kht10"), parent) {
    auto* layout = new QVBoxLayout(this);
    addGrid(layout, QStringLiteral("MSFlexGrid1"), QString(), QString());
    showBuiltSheet(multiYearSummarySheet());
    resize(6660 / 15, 6750 / 15);
}

} // namespace korvel
