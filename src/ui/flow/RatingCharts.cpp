#include "ui/flow/RatingCharts.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>

namespace korvel {

namespace {

const QColor kGaugingColour(0, 60, 200);
const QColor kLeftOutColour(200, 40, 40);
const QColor kCurveColour(0, 110, 0);

void clearChart(QChart* chart) {
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis);
}

QAbstractAxis* axisOf(bool logarithmic, const QString& title) {
    QAbstractAxis* axis = nullptr;
    if (logarithmic) {
        auto* log = new QLogValueAxis;
        log->setBase(10.0);
        log->setLabelFormat(QStringLiteral("%g"));
        log->setMinorTickCount(-1);
        axis = log;
    } else {
        auto* linear = new QValueAxis;
        linear->setLabelFormat(QStringLiteral("%g"));
        axis = linear;
    }
    axis->setTitleText(title);
    return axis;
}

void attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

QScatterSeries* scatter(const QString& name, const QColor& colour, qreal size) {
    auto* series = new QScatterSeries;
    series->setName(name);
    series->setColor(colour);
    series->setBorderColor(colour);
    series->setMarkerSize(size);
    return series;
}

QLineSeries* line(const QString& name, const QColor& colour, Qt::PenStyle style) {
    auto* series = new QLineSeries;
    series->setName(name);
    QPen pen(colour);
    pen.setStyle(style);
    pen.setWidthF(style == Qt::SolidLine ? 2.0 : 1.2);
    series->setPen(pen);
    return series;
}

// Points with a value of 0 have no place on a logarithmic axis.
void appendPoint(QXYSeries* series, double x, double y, bool logarithmic) {
    if (!logarithmic || (x > 0.0 && y > 0.0))
        series->append(x, y);
}

void fitRange(QAbstractAxis* axis, double low, double high, bool logarithmic) {
    if (logarithmic)
        low = std::max(low, high / 1e4);
    if (!(high > low))
        high = low + 1.0;
    const double margin = logarithmic ? 0.0 : 0.03 * (high - low);
    axis->setRange(logarithmic ? low / 1.1 : low - margin, logarithmic ? high * 1.1 : high + margin);
}

QDateTime dateTimeOf(OleDate date) {
    const CivilDate d = date.date();
    return QDateTime(QDate(d.year, d.month, d.day), QTime(12, 0));
}

} // namespace

void drawRatingChart(QChart* chart, const RatingFit& fit, bool logarithmic) {
    clearChart(chart);
    QAbstractAxis* x = axisOf(logarithmic, QStringLiteral("Akım (m3/s)"));
    QAbstractAxis* y = axisOf(logarithmic, QStringLiteral("Seviye (mm)"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    auto* curve = line(QStringLiteral("Eğri"), kCurveColour, Qt::SolidLine);
    auto* confidenceLow = line(QStringLiteral("%95 güven bandı"), kCurveColour, Qt::DashLine);
    auto* confidenceHigh = line(QString(), kCurveColour, Qt::DashLine);
    auto* predictionLow = line(QStringLiteral("%95 tahmin bandı"), Qt::gray, Qt::DotLine);
    auto* predictionHigh = line(QString(), Qt::gray, Qt::DotLine);
    double lowQ = 1e300;
    double highQ = 0.0;
    for (const CurvePoint& p : fit.points) {
        appendPoint(curve, p.discharge, p.level, logarithmic);
        appendPoint(confidenceLow, p.confidenceLow, p.level, logarithmic);
        appendPoint(confidenceHigh, p.confidenceHigh, p.level, logarithmic);
        appendPoint(predictionLow, p.predictionLow, p.level, logarithmic);
        appendPoint(predictionHigh, p.predictionHigh, p.level, logarithmic);
        highQ = std::max(highQ, p.predictionHigh);
        if (p.discharge > 0.0)
            lowQ = std::min(lowQ, p.discharge);
    }
    auto* used = scatter(QStringLiteral("Ölçüler"), kGaugingColour, 8.0);
    auto* leftOut = scatter(QStringLiteral("Dışarıda bırakılan"), kLeftOutColour, 9.0);
    leftOut->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    double lowH = fit.coveredFrom;
    double highH = fit.coveredTo;
    for (const GaugingFit& g : fit.gaugings) {
        appendPoint(g.gauging.excluded ? leftOut : used, g.gauging.discharge, g.gauging.level, logarithmic);
        highQ = std::max(highQ, g.gauging.discharge);
        lowQ = std::min(lowQ, g.gauging.discharge);
        lowH = std::min(lowH, g.gauging.level);
        highH = std::max(highH, g.gauging.level);
    }
    for (QAbstractSeries* s :
         {static_cast<QAbstractSeries*>(predictionLow), static_cast<QAbstractSeries*>(predictionHigh),
          static_cast<QAbstractSeries*>(confidenceLow), static_cast<QAbstractSeries*>(confidenceHigh),
          static_cast<QAbstractSeries*>(curve), static_cast<QAbstractSeries*>(used),
          static_cast<QAbstractSeries*>(leftOut)})
        attach(chart, s, x, y);
    fitRange(x, logarithmic ? lowQ : 0.0, highQ, logarithmic);
    fitRange(y, lowH, highH, logarithmic);
    for (QLegendMarker* marker : chart->legend()->markers())
        if (marker->label().isEmpty())
            marker->setVisible(false);
}

void drawDeviationsByLevel(QChart* chart, const RatingFit& fit) {
    clearChart(chart);
    QAbstractAxis* x = axisOf(false, QStringLiteral("Seviye (mm)"));
    QAbstractAxis* y = axisOf(false, QStringLiteral("Sapma (%)"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    auto* used = scatter(QStringLiteral("Ölçüler"), kGaugingColour, 8.0);
    auto* leftOut = scatter(QStringLiteral("Dışarıda bırakılan"), kLeftOutColour, 9.0);
    double lowH = fit.coveredFrom;
    double highH = fit.coveredTo;
    double spread = 5.0;
    for (const GaugingFit& g : fit.gaugings) {
        (g.gauging.excluded ? leftOut : used)->append(g.gauging.level, g.deviationPercent);
        lowH = std::min(lowH, g.gauging.level);
        highH = std::max(highH, g.gauging.level);
        spread = std::max(spread, std::abs(g.deviationPercent));
    }
    auto* zero = line(QString(), kCurveColour, Qt::SolidLine);
    zero->append(lowH, 0.0);
    zero->append(highH, 0.0);
    for (QAbstractSeries* s : {static_cast<QAbstractSeries*>(zero), static_cast<QAbstractSeries*>(used),
                               static_cast<QAbstractSeries*>(leftOut)})
        attach(chart, s, x, y);
    fitRange(x, lowH, highH, false);
    fitRange(y, -spread, spread, false);
    for (QLegendMarker* marker : chart->legend()->markers(zero))
        marker->setVisible(false);
}

void drawDeviationsByDate(QChart* chart, const RatingFit& fit) {
    clearChart(chart);
    auto* x = new QDateTimeAxis;
    x->setFormat(QStringLiteral("MM.yyyy"));
    x->setTitleText(QStringLiteral("Tarih"));
    QAbstractAxis* y = axisOf(false, QStringLiteral("Sapma (%)"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    auto* used = scatter(QStringLiteral("Ölçüler"), kGaugingColour, 8.0);
    auto* leftOut = scatter(QStringLiteral("Dışarıda bırakılan"), kLeftOutColour, 9.0);
    double spread = 5.0;
    QDateTime first;
    QDateTime last;
    for (const GaugingFit& g : fit.gaugings) {
        const QDateTime when = dateTimeOf(g.gauging.date);
        (g.gauging.excluded ? leftOut : used)
            ->append(static_cast<qreal>(when.toMSecsSinceEpoch()), g.deviationPercent);
        spread = std::max(spread, std::abs(g.deviationPercent));
        first = first.isValid() ? std::min(first, when) : when;
        last = last.isValid() ? std::max(last, when) : when;
    }
    attach(chart, used, x, y);
    attach(chart, leftOut, x, y);
    if (first.isValid())
        x->setRange(first.addDays(-15), last.addDays(15));
    fitRange(y, -spread, spread, false);
}

} // namespace korvel
