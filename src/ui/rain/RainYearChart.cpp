#include "ui/rain/RainYearChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QVBoxLayout>
#include <QValueAxis>

namespace korvel {

namespace {

const char* const kRomanMonths[] = {"X", "XI", "XII", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};

} // namespace

RainYearChart::RainYearChart(const RainYearAnalysis& analysis, const QString& title, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("yagisgrafigi"));
    setWindowTitle(title);
    setModal(true);

    auto* totals = new QBarSet(QStringLiteral("Aylık top."));
    QStringList months;
    double largest = 0.0;
    for (std::size_t column = 1; column <= 12; ++column) {
        const double mm = analysis.months[column].totalTenths / 10.0;
        *totals << mm;
        largest = std::max(largest, mm);
        months << QString::fromLatin1(kRomanMonths[column - 1]);
    }
    auto* series = new QBarSeries;
    series->append(totals);

    auto* chart = new QChart;
    chart->addSeries(series);
    chart->legend()->hide();
    auto* axisX = new QBarCategoryAxis;
    axisX->append(months);
    chart->addAxis(axisX, Qt::AlignBottom);
    series->attachAxis(axisX);
    auto* axisY = new QValueAxis;
    axisY->setRange(0.0, largest > 0.0 ? largest * 1.1 : 1.0);
    axisY->applyNiceNumbers();
    axisY->setLabelFormat(QStringLiteral("%.0f"));
    axisY->setTitleText(QStringLiteral("mm"));
    chart->addAxis(axisY, Qt::AlignLeft);
    series->attachAxis(axisY);

    auto* view = new QChartView(chart, this);
    view->setObjectName(QStringLiteral("Chart1"));
    view->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view);
    resize(640, 420);
}

} // namespace korvel
