#pragma once

#include "flow/RatingFit.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace korvel {

// A gauging as the fit weighs it: its relative standard error u (errorPercent / 100) gives
// the absolute one, sigma = u * Q.
struct WeightedGauging {
    double level = 0.0;
    double discharge = 0.0;
    double relativeError = 0.05;
};

// The parameter vector of a curve of 1..3 continuous segments, chosen so that every vector
// is a valid curve shape: segment 1 is (ln a1, d1, b1) with e1 = lowest gauged level -
// exp(d1); each further segment j is ([B], d, b) with its breakpoint B (a parameter when the
// fit finds the breakpoints, fixed otherwise), e_j = B - exp(d) and a_j from continuity at B.
struct RatingLayout {
    int segments = 1;
    std::vector<double> fixedBreaks; // empty: the breakpoints are parameters
    double lowestLevel = 0.0;

    bool freeBreaks() const { return segments > 1 && fixedBreaks.empty(); }
    std::size_t parameterCount() const;
    // The curve of a parameter vector; nothing when it has no valid shape (a breakpoint at or
    // below the zero level of the segment below it, values that are not finite).
    std::optional<RatingCurve> curve(const std::vector<double>& parameters) const;
    // The parameter vector of a curve with this layout (inverse of curve()).
    std::vector<double> parameters(const RatingCurve& curve) const;
};

// The discharge of the curve's segment for a level (0 at or below its zero level e).
double segmentDischarge(const RatingSegment& segment, double level);

// Start values: for each segment of the gaugings split at `breaks`, the zero level e from a
// grid below its lowest level (and below `zeroCeiling` where given) whose log-space weighted
// linear fit ln Q = ln a + b ln(h - e) leaves the least squares. Returns the start curve and
// the summed log-space squares; nothing when a segment has fewer than 3 gaugings.
struct LogSpaceStart {
    RatingCurve curve;
    double squares = 0.0;
};
std::optional<LogSpaceStart> logSpaceStart(const std::vector<WeightedGauging>& sorted,
                                           const std::vector<double>& breaks);

} // namespace korvel
