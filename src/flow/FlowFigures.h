#pragma once

#include <optional>

namespace korvel {

// A month's flow figures from its discharge sum S (m3/s summed over the days), as the annual
// table and the yearbook page both show them; yield and depth need a drainage area A.
struct MonthFigures {
    double total = 0.0;          // floor(S*1000)/1000
    std::optional<double> mean;  // floor(S*1000/days)/1000, none without days
    std::optional<double> yield; // floor(mean*100000/A)/100
    std::optional<double> depth; // floor(volume*100000/A)/100
    double volume = 0.0;         // floor(S*86.4)/1000
};
MonthFigures monthFigures(double sum, int dayCount, double drainageArea);

// The year's figure from the sum of its twelve monthly ones: floor(sum*100/12)/100.
double twelveMonthMean(double sumOfMonths);

} // namespace korvel
