#pragma once

#include "flow/RatingFit.h"

class QChart;

namespace korvel {

// The rating chart: the gaugings as points (those left out apart), the curve and its 95 %
// confidence and prediction bands; level on the vertical axis, discharge on the horizontal,
// both linear or both logarithmic (values of 0 are left out there).
void drawRatingChart(QChart* chart, const RatingFit& fit, bool logarithmic);

// The deviations of the gaugings from the curve (%) against their level, and against their date.
void drawDeviationsByLevel(QChart* chart, const RatingFit& fit);
void drawDeviationsByDate(QChart* chart, const RatingFit& fit);

} // namespace korvel
