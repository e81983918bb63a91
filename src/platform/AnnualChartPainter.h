#pragma once

#include "core/Locale.h"
#include "flow/AnnualFlow.h"

#include <QRectF>

class QPainter;

namespace korvel {

// The annual chart on paper: the daily discharges of the water year as a line broken where a day
// has none, the month boundaries with the month names below, and a discharge scale (m3/s) from 0.
// Drawn into `area` of the painter, whose units are points.
void paintAnnualChart(QPainter& painter, const QRectF& area, const AnnualFlow& flow, const Locale& locale);

} // namespace korvel
