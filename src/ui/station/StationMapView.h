#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

namespace korvel {

// The position labels under the map for map pixel (x, y), by the map codes of that point:
// "Boylam : 32 der.45dak." and "Enlem : 39 der.56".
QString longitudeLabelText(int x, int y);
QString latitudeLabelText(int x, int y);

// The country map of the station screen: a 650 x 291 picture with the country outline and
// the stations marked on it as red points. Positions are picture pixels from the top left.
class StationMapView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 650;
    static constexpr int kHeight = 291;

    explicit StationMapView(QWidget* parent = nullptr);

    // Draws a station's point: red, pen width 2. It stays until the picture is cleared.
    void markPoint(int x, int y);
    void clearMarks();
    const QImage& picture() const { return picture_; }

    QSize sizeHint() const override { return {kWidth, kHeight}; }

signals:
    void clicked(int x, int y);
    void mouseMovedTo(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage picture_;
};

// The outline picture the map starts from.
const QImage& countryMapImage();

} // namespace korvel
