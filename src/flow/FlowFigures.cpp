#include "flow/FlowFigures.h"

#include <cmath>

namespace korvel {

MonthFigures monthFigures(double sum, int dayCount, double drainageArea) {
    MonthFigures f;
    f.total = std::floor(sum * 1000.0) / 1000.0;
    if (dayCount > 0)
        f.mean = std::floor(sum * 1000.0 / dayCount) / 1000.0;
    f.volume = std::floor(sum * 86.4) / 1000.0;
    if (drainageArea != 0.0) {
        f.yield = std::floor(f.mean.value_or(0.0) * 100000.0 / drainageArea) / 100.0;
        f.depth = std::floor(f.volume * 100000.0 / drainageArea) / 100.0;
    }
    return f;
}

double twelveMonthMean(double sumOfMonths) {
    return std::floor(sumOfMonths * 100.0 / 12.0) / 100.0;
}

} // namespace korvel
