#include "ui/charts/ChartWindow.h"

#include "platform/Printing.h"
#include "ui/common/Export.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QVBoxLayout>
#include <QValueAxis>

namespace korvel {

namespace {

const QColor kLevelColor(0, 110, 0);
const QColor kDischargeColor(0, 60, 200);

} // namespace

ChartWindow::ChartWindow(QWidget* parent)
    : QWidget(parent), chart_(new QChart), view_(makeChartView(chart_, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    resize(1000, 620);
}

bool ChartWindow::print() {
    return print(applicationPrinter());
}

bool ChartWindow::print(QPrinter& printer) {
    return printGraphicsView(view_, printer);
}

QChartView* makeChartView(QChart* chart, QWidget* parent) {
    chart->setLocale(QLocale());
    chart->setLocalizeNumbers(true);
    auto* view = new QChartView(chart, parent);
    view->setObjectName(QStringLiteral("Chart1"));
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

QString waterYearChartTitle(const std::string& stationNumber, const std::string& flowFileName,
                            const QString& what) {
    const QString year = QString::fromStdString(flowFileName).left(4);
    return QStringLiteral("%1 — %2 su yılı, %3")
        .arg(QString::fromStdString(stationNumber).trimmed(), year, what);
}

void addGappedLine(QChart* chart, const GappedLine& line, QAbstractAxis* x, QAbstractAxis* y,
                   const QColor& color) {
    bool first = true;
    for (const QList<QPointF>& segment : line.segments) {
        if (segment.isEmpty())
            continue;
        auto* series = new QLineSeries;
        series->setName(line.name);
        series->setColor(color);
        series->append(segment);
        series->setPointsVisible(segment.size() == 1);
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
        if (!first)
            for (QLegendMarker* marker : chart->legend()->markers(series))
                marker->setVisible(false);
        first = false;
    }
}

QValueAxis* valueAxis(const QString& title, double low, double high) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(low, high > low ? high + (high - low) * 0.05 : low + 1.0);
    axis->applyNiceNumbers();
    return axis;
}

QAbstractAxis* waterYearAxis(const QList<int>& monthEnds, const QString& title) {
    auto* axis = new QCategoryAxis;
    axis->setTitleText(title);
    axis->setMin(0.5);
    for (qsizetype m = 0; m < monthEnds.size() && m < static_cast<qsizetype>(kWaterYearMonthNames.size());
         ++m)
        axis->append(QString::fromUtf8(kWaterYearMonthNames[static_cast<std::size_t>(m)]),
                     monthEnds[m] + 0.5);
    axis->setMax(monthEnds.isEmpty() ? 1.5 : monthEnds.back() + 0.5);
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
    return axis;
}

MonthlyChartScreen::MonthlyChartScreen(const MonthFlow& flow, const QString& title, const Locale& locale,
                                       QWidget* parent)
    : ChartWindow(parent), data_(monthChartData(flow, locale)) {
    setObjectName(kFormName);
    setWindowTitle(title);
    QChart* c = chart();
    c->setTitle(title);
    auto* x = valueAxis(QStringLiteral("Gün"), 1.0, std::max(1, data_.dayCount));
    x->setRange(0.5, data_.dayCount + 0.5);
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(1.0);
    x->setTickInterval(1.0);
    x->setLabelFormat(QStringLiteral("%.0f"));
    auto* level = valueAxis(QStringLiteral("Ortalama seviye (mm)"), 0.0, data_.level.largest());
    auto* discharge = valueAxis(QStringLiteral("Debi (m3/s)"), 0.0, data_.discharge.largest());
    c->addAxis(x, Qt::AlignBottom);
    c->addAxis(level, Qt::AlignLeft);
    c->addAxis(discharge, Qt::AlignRight);
    level->setLinePenColor(kLevelColor);
    discharge->setLinePenColor(kDischargeColor);
    addGappedLine(c, data_.level, x, level, kLevelColor);
    addGappedLine(c, data_.discharge, x, discharge, kDischargeColor);
}

AnnualChartScreen::AnnualChartScreen(const AnnualFlow& flow, const QString& title, QWidget* parent)
    : ChartWindow(parent), data_(annualChartData(flow)) {
    setObjectName(kFormName);
    setWindowTitle(title);
    QChart* c = chart();
    c->setTitle(title);
    QAbstractAxis* x = waterYearAxis(data_.monthEnds, QStringLiteral("Su yılı (ay)"));
    auto* y = valueAxis(QStringLiteral("Günlük debi (m3/s)"), 0.0, data_.discharge.largest());
    c->addAxis(x, Qt::AlignBottom);
    c->addAxis(y, Qt::AlignLeft);
    addGappedLine(c, data_.discharge, x, y, kDischargeColor);
    c->legend()->hide();
}

ReadingsChartScreen::ReadingsChartScreen(const DayReadings& readings, QWidget* parent)
    : ChartWindow(parent), data_(readingsLine(readings)) {
    setObjectName(kFormName);
    const QString title = QString::fromStdString(readings.caption);
    setWindowTitle(title);
    QChart* c = chart();
    c->setTitle(title);
    auto* x = new QValueAxis;
    x->setTitleText(QStringLiteral("Saat"));
    x->setRange(0.0, 24.0);
    x->setTickCount(13);
    x->setLabelFormat(QStringLiteral("%.0f"));
    double low = 0.0;
    double high = 0.0;
    bool any = false;
    for (const auto& segment : data_.segments)
        for (const QPointF& p : segment) {
            low = any ? std::min(low, p.y()) : p.y();
            high = any ? std::max(high, p.y()) : p.y();
            any = true;
        }
    auto* y = valueAxis(QStringLiteral("Seviye (mm)"), low, high);
    c->addAxis(x, Qt::AlignBottom);
    c->addAxis(y, Qt::AlignLeft);
    addGappedLine(c, data_, x, y, kLevelColor);
    c->legend()->hide();
    // No menu prints this window, so it carries its own.
    addExportMenu(this);
}

} // namespace korvel
