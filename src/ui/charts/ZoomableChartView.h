#pragma once

#include <QChartView>
#include <QPointF>

namespace korvel {

// A chart view for long series: the mouse wheel zooms the time axis in and out around the
// pointer, dragging with the left button scrolls along it, and a double click shows the whole
// series again. The value axis keeps its range.
class ZoomableChartView : public QChartView {
    Q_OBJECT
public:
    explicit ZoomableChartView(QChart* chart, QWidget* parent = nullptr);

    // One wheel step in (steps > 0) or out around the x position of the plot area.
    void zoomAround(double x, int steps);
    // Moves the shown range by the width of `pixels` of the plot area (positive: later).
    void scrollBy(double pixels);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool dragging_ = false;
    QPointF lastPosition_;
};

} // namespace korvel
