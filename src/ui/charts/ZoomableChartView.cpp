#include "ui/charts/ZoomableChartView.h"

#include <QChart>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

constexpr double kStepFactor = 1.25;

} // namespace

ZoomableChartView::ZoomableChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::NoRubberBand);
}

void ZoomableChartView::zoomAround(double x, int steps) {
    const QRectF plot = chart()->plotArea();
    if (steps == 0 || plot.width() <= 0.0)
        return;
    const double factor = std::pow(kStepFactor, steps);
    const double anchor = std::clamp(x, plot.left(), plot.right());
    const double left = anchor - (anchor - plot.left()) / factor;
    chart()->zoomIn(QRectF(left, plot.top(), plot.width() / factor, plot.height()));
}

void ZoomableChartView::scrollBy(double pixels) {
    chart()->scroll(pixels, 0.0);
}

void ZoomableChartView::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0) {
        event->ignore();
        return;
    }
    zoomAround(chart()->mapFromScene(mapToScene(event->position().toPoint())).x(), steps);
    event->accept();
}

void ZoomableChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QChartView::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    lastPosition_ = event->position();
    setCursor(Qt::ClosedHandCursor);
    event->accept();
}

void ZoomableChartView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) {
        QChartView::mouseMoveEvent(event);
        return;
    }
    scrollBy(lastPosition_.x() - event->position().x());
    lastPosition_ = event->position();
    event->accept();
}

void ZoomableChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton) {
        QChartView::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    unsetCursor();
    event->accept();
}

void ZoomableChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    chart()->zoomReset();
    event->accept();
}

} // namespace korvel
