#include "ui/rain/RainYearChart.h"

#include "platform/Printing.h"
#include "ui/charts/ChartWindow.h"
#include "ui/common/Export.h"

#include <QChart>
#include <QChartView>
#include <QVBoxLayout>
#include <QValueAxis>

namespace korvel {

RainYearChart::RainYearChart(const RainYearAnalysis& analysis, const QString& title, QWidget* parent)
    : QDialog(parent), data_(rainChartData(analysis)), chart_(new QChart) {
    setObjectName(QStringLiteral("yagisgrafigi"));
    setWindowTitle(title);
    setModal(true);

    chart_->setTitle(title);
    QAbstractAxis* x = waterYearAxis(data_.monthEnds, QStringLiteral("Su yılı (ay)"));
    QValueAxis* daily = valueAxis(QStringLiteral("Günlük yağış (mm)"), 0.0, data_.daily.largest());
    QValueAxis* monthly = valueAxis(QStringLiteral("Aylık yağış (mm)"), 0.0, data_.monthly.largest());
    chart_->addAxis(x, Qt::AlignBottom);
    chart_->addAxis(daily, Qt::AlignLeft);
    chart_->addAxis(monthly, Qt::AlignRight);
    addGappedLine(chart_, data_.daily, x, daily, QColor(0, 60, 200));
    addGappedLine(chart_, data_.monthly, x, monthly, QColor(200, 60, 0));

    view_ = makeChartView(chart_, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    resize(1000, 620);
    addExportMenu(this);
}

bool RainYearChart::print() {
    return print(applicationPrinter());
}

bool RainYearChart::print(QPrinter& printer) {
    return printGraphicsView(view_, printer);
}

} // namespace korvel
