#pragma once

#include "core/OleDate.h"
#include "store/MeasurementCard.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace korvel {

// One gauging of the measurement card as the rating fit takes it.
struct Gauging {
    std::size_t row = 0; // record number on the card, from 1
    OleDate date;
    double level = 0.0;        // mm, the level unit of the rating tables
    double discharge = 0.0;    // m3/s
    double errorPercent = 5.0; // the card's estimated error; 5 where the card holds 0
    bool excluded = false;     // kept on the card but left out of the fit
};

// The card keeps discharges in l/s; the rating tables hold m3/s.
inline constexpr double kLitresPerCubicMetre = 1000.0;
inline constexpr double kDefaultGaugingErrorPercent = 5.0;

// Bad input or a fit that cannot be made: the message names the cause in one line.
class RatingFitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The card's records dated from..to (both included; no bound = all) as gaugings, in card
// order. Empty records (no date) are skipped; the rows in `excludedRows` are marked left out.
std::vector<Gauging> gaugingsOfCard(const std::vector<MeasurementCard>& card, std::optional<OleDate> from,
                                    std::optional<OleDate> to, const std::set<std::size_t>& excludedRows);
// The same for a card file; a missing card has no gaugings.
std::vector<Gauging> gaugingsOfCardFile(const std::filesystem::path& card, std::optional<OleDate> from,
                                        std::optional<OleDate> to, const std::set<std::size_t>& excludedRows);

// One segment of a rating curve: Q = a * (h - e)^b for fromLevel < h <= toLevel (the first
// segment also at fromLevel), Q = 0 at or below e.
struct RatingSegment {
    double fromLevel = 0.0;
    double toLevel = 0.0;
    double a = 0.0;
    double e = 0.0;
    double b = 0.0;
};

// A rating curve of one to three segments, continuous at the breakpoints.
struct RatingCurve {
    std::vector<RatingSegment> segments;
    // The discharge at a level: the segment whose range holds it, the first segment below
    // the curve's range and the last above it.
    double discharge(double level) const;
};

struct RatingFitOptions {
    int segments = 0;           // 1..3, or 0 for "auto": the count with the lowest BIC
    std::vector<double> breaks; // given breakpoints (levels); empty = found by the fit
    std::optional<double> extrapolateTo;
};

struct GaugingFit {
    Gauging gauging;
    double fitted = 0.0;           // m3/s
    double deviationPercent = 0.0; // 100 (Q - fitted) / fitted
    bool inBand = false;           // inside the 95 % prediction band
};

struct CurvePoint {
    double level = 0.0;
    double discharge = 0.0;
    double confidenceLow = 0.0;
    double confidenceHigh = 0.0;
    double predictionLow = 0.0;
    double predictionHigh = 0.0;
};

struct RatingFit {
    RatingCurve curve;
    bool segmentsChosen = false; // "auto" picked the count
    std::vector<double> bic;     // the criterion of each count tried (index = count - 1; NaN = not fitted)
    double standardErrorPercent = 0.0;
    std::size_t usedCount = 0; // gaugings in the fit
    OleDate firstDate;         // of the gaugings in the fit
    OleDate lastDate;
    double lowestGauged = 0.0; // the gauged range of levels
    double highestGauged = 0.0;
    double coveredFrom = 0.0; // the range the curve is given for
    double coveredTo = 0.0;
    std::vector<GaugingFit> gaugings; // every gauging in the date range, left-out ones too
    std::vector<CurvePoint> points;   // at every whole level of the covered range
};

// Fits the stage-discharge relation to the gaugings not left out by weighted non-linear least
// squares and derives its 95 % confidence and prediction bands. Throws RatingFitError for
// fewer than 3 gaugings (per segment), a level or discharge <= 0, a breakpoint outside the
// gauged range and a fit that does not converge.
RatingFit fitRating(const std::vector<Gauging>& gaugings, const RatingFitOptions& options);

} // namespace korvel
