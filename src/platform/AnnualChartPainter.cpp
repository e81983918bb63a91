#include "platform/AnnualChartPainter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

constexpr double kLabelSize = 8.0;
constexpr double kAxisGap = 42.0; // room for the scale labels left of the plot
constexpr double kMonthRow = 14.0;
constexpr double kTitleRow = 18.0;
constexpr int kScaleSteps = 5;

QFont chartFont(double points, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(points));
    font.setBold(bold);
    return font;
}

// A round step for the scale: 1, 2 or 5 times a power of ten, at least top / steps.
double scaleStep(double top) {
    const double raw = top / kScaleSteps;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= raw)
            return factor * power;
    return 10.0 * power;
}

} // namespace

void paintAnnualChart(QPainter& painter, const QRectF& area, const AnnualFlow& flow, const Locale& locale) {
    double highest = 0.0;
    int dayCount = 0;
    for (const AnnualMonth& month : flow.months)
        for (const AnnualDay& day : month.days) {
            if (day.dayOfMonth == 0)
                continue;
            ++dayCount;
            if (day.discharge)
                highest = std::max(highest, *day.discharge);
        }
    const double step = highest > 0.0 ? scaleStep(highest) : 0.2;
    const double top = step * kScaleSteps;
    const QRectF plot(area.left() + kAxisGap, area.top() + kTitleRow, area.width() - kAxisGap,
                      area.height() - kTitleRow - kMonthRow);

    painter.save();
    painter.setFont(chartFont(kLabelSize + 2, true));
    painter.drawText(QRectF(area.left(), area.top(), area.width(), kTitleRow),
                     Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Yıllık akım grafiği (m3/s)"));
    painter.setFont(chartFont(kLabelSize));
    painter.setPen(QPen(Qt::black, 0.5));
    painter.drawRect(plot);
    for (int i = 1; i <= kScaleSteps; ++i) {
        const double y = plot.bottom() - plot.height() * i / kScaleSteps;
        painter.setPen(QPen(Qt::lightGray, 0.3));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    painter.setPen(QPen(Qt::black, 0.5));
    for (int i = 0; i <= kScaleSteps; ++i) {
        const double y = plot.bottom() - plot.height() * i / kScaleSteps;
        painter.drawText(QRectF(area.left(), y - 6, kAxisGap - 4, 12), Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromStdString(dischargeText(step * i, locale)));
    }

    const double dayWidth = dayCount > 0 ? plot.width() / dayCount : plot.width();
    int x = 0;
    QPainterPath line;
    bool drawing = false;
    for (std::size_t m = 0; m < flow.months.size(); ++m) {
        const int first = x;
        for (const AnnualDay& day : flow.months[m].days) {
            if (day.dayOfMonth == 0)
                continue;
            if (day.discharge) {
                const QPointF point(plot.left() + (x + 0.5) * dayWidth,
                                    plot.bottom() - plot.height() * std::min(*day.discharge, top) / top);
                if (drawing)
                    line.lineTo(point);
                else
                    line.moveTo(point);
                drawing = true;
            } else {
                drawing = false;
            }
            ++x;
        }
        const double right = plot.left() + x * dayWidth;
        painter.setPen(QPen(Qt::lightGray, 0.3));
        painter.drawLine(QPointF(right, plot.top()), QPointF(right, plot.bottom()));
        painter.setPen(QPen(Qt::black, 0.5));
        painter.drawText(
            QRectF(plot.left() + first * dayWidth, plot.bottom() + 2, (x - first) * dayWidth, kMonthRow),
            Qt::AlignHCenter | Qt::AlignTop, QString::fromUtf8(kWaterYearMonthNames[m]));
    }
    painter.setPen(QPen(QColor(0, 70, 160), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(line);
    painter.restore();
}

} // namespace korvel
