#include "ui/station/StationMapView.h"

#include "store/StationMap.h"
#include "ui/station/CountryOutline.h"

#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace korvel {

namespace {

const QColor kSea(0xcf, 0xe3, 0xf2);
const QColor kNeighbour(0xe4, 0xe4, 0xdf);
const QColor kLand(0xf4, 0xec, 0xcf);
const QColor kCoast(0x6b, 0x5a, 0x3a);
const QColor kBorder(0x9a, 0x9a, 0x90);
const QColor kSeaText(0x4a, 0x78, 0xa8);

QImage drawCountryMap() {
    QImage image(StationMapView::kWidth, StationMapView::kHeight, QImage::Format_RGB32);
    image.fill(kSea);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const MapShape& shape : countryShapes()) {
        const QPolygon polygon = mapPolygonOf(shape.points);
        switch (shape.kind) {
        case MapShape::Kind::Neighbour:
            painter.setPen(QPen(kBorder, 1));
            painter.setBrush(kNeighbour);
            break;
        case MapShape::Kind::Land:
            painter.setPen(QPen(kCoast, 1.4));
            painter.setBrush(kLand);
            break;
        case MapShape::Kind::Lake:
            painter.setPen(QPen(kCoast, 1));
            painter.setBrush(kSea);
            break;
        }
        painter.drawPolygon(polygon);
    }
    QFont font = painter.font();
    font.setPointSize(9);
    font.setItalic(true);
    font.setLetterSpacing(QFont::PercentageSpacing, 130);
    painter.setFont(font);
    painter.setPen(kSeaText);
    for (const MapLabel& label : seaLabels())
        painter.drawText(mapPixelOf(label.at), label.text);
    return image;
}

} // namespace

QString longitudeLabelText(int x, int y) {
    const MapCodes codes = mapCodes(x, y);
    return QStringLiteral("Boylam : %1 der.%2dak.").arg(codes.longitudeDegrees).arg(codes.longitudeMinutes);
}

QString latitudeLabelText(int x, int y) {
    const MapCodes codes = mapCodes(x, y);
    return QStringLiteral("Enlem : %1 der.%2").arg(codes.latitudeDegrees).arg(codes.latitudeMinutes);
}

const QImage& countryMapImage() {
    static const QImage image = drawCountryMap();
    return image;
}

StationMapView::StationMapView(QWidget* parent) : QWidget(parent), picture_(countryMapImage()) {
    setFixedSize(kWidth, kHeight);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
}

void StationMapView::markPoint(int x, int y) {
    QPainter painter(&picture_);
    painter.setPen(QPen(QColor(255, 0, 0), 2));
    painter.drawPoint(x, y);
    update();
}

void StationMapView::clearMarks() {
    picture_ = countryMapImage();
    update();
}

void StationMapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

void StationMapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        emit clicked(at.x(), at.y());
    }
    QWidget::mousePressEvent(event);
}

void StationMapView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mouseMovedTo(at.x(), at.y());
    QWidget::mouseMoveEvent(event);
}

} // namespace korvel
