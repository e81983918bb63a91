#include "flow/RatingModel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace korvel {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// The smallest distance kept between a zero level and the level above it that bounds it.
constexpr double kSmallestDepth = 1e-3;

struct LogFit {
    RatingSegment segment;
    double squares = kInfinity;
};

// ln Q = ln a + b ln(h - e) by weighted linear least squares for one zero level e; the weight
// of a gauging is 1/u^2, u being its relative error (the standard error of ln Q).
LogFit logLinearFit(const std::vector<WeightedGauging>& points, double e) {
    double sw = 0.0;
    double sx = 0.0;
    double sy = 0.0;
    for (const auto& p : points) {
        const double w = 1.0 / (p.relativeError * p.relativeError);
        sw += w;
        sx += w * std::log(p.level - e);
        sy += w * std::log(p.discharge);
    }
    const double xMean = sx / sw;
    const double yMean = sy / sw;
    double sxx = 0.0;
    double sxy = 0.0;
    for (const auto& p : points) {
        const double w = 1.0 / (p.relativeError * p.relativeError);
        const double dx = std::log(p.level - e) - xMean;
        sxx += w * dx * dx;
        sxy += w * dx * (std::log(p.discharge) - yMean);
    }
    LogFit fit;
    if (!(sxx > 0.0))
        return fit;
    const double b = sxy / sxx;
    const double lnA = yMean - b * xMean;
    double squares = 0.0;
    for (const auto& p : points) {
        const double w = 1.0 / (p.relativeError * p.relativeError);
        const double r = std::log(p.discharge) - lnA - b * std::log(p.level - e);
        squares += w * r * r;
    }
    if (b > 0.0 && std::isfinite(squares))
        fit = LogFit{RatingSegment{0.0, 0.0, std::exp(lnA), e, b}, squares};
    return fit;
}

// The best zero level on a grid below the segment's lowest gauged level (and its ceiling).
LogFit logGridFit(const std::vector<WeightedGauging>& points, double ceiling) {
    // Fractions of the segment's level span: dense near its lowest level, reaching far below
    // it for controls whose zero lies deep under the gauged levels.
    static constexpr std::array<double, 22> kFractions = {0.001, 0.003, 0.01, 0.03, 0.06, 0.1, 0.15, 0.2,
                                                          0.3,   0.4,   0.5,  0.65, 0.8,  1.0, 1.25, 1.5,
                                                          2.0,   2.5,   3.0,  4.0,  6.0,  10.0};
    double lowest = kInfinity;
    double highest = -kInfinity;
    for (const auto& p : points) {
        lowest = std::min(lowest, p.level);
        highest = std::max(highest, p.level);
    }
    const double top = std::min(lowest, ceiling);
    const double span = std::max(highest - lowest, 1.0);
    LogFit best;
    for (const double f : kFractions) {
        LogFit fit = logLinearFit(points, top - f * span);
        if (fit.squares < best.squares)
            best = fit;
    }
    return best;
}

} // namespace

double segmentDischarge(const RatingSegment& segment, double level) {
    return level > segment.e ? segment.a * std::pow(level - segment.e, segment.b) : 0.0;
}

double RatingCurve::discharge(double level) const {
    if (segments.empty())
        return 0.0;
    for (const RatingSegment& segment : segments)
        if (level <= segment.toLevel)
            return segmentDischarge(segment, level);
    return segmentDischarge(segments.back(), level);
}

std::size_t RatingLayout::parameterCount() const {
    return 3 + static_cast<std::size_t>(segments - 1) * (freeBreaks() ? 3 : 2);
}

std::optional<RatingCurve> RatingLayout::curve(const std::vector<double>& p) const {
    RatingCurve result;
    RatingSegment first{-kInfinity, kInfinity, std::exp(p[0]), lowestLevel - std::exp(p[1]), p[2]};
    result.segments.push_back(first);
    const std::size_t stride = freeBreaks() ? 3 : 2;
    for (int j = 1; j < segments; ++j) {
        const std::size_t base = 3 + static_cast<std::size_t>(j - 1) * stride;
        const double breakLevel = freeBreaks() ? p[base] : fixedBreaks[static_cast<std::size_t>(j - 1)];
        const std::size_t at = freeBreaks() ? base + 1 : base;
        RatingSegment& below = result.segments.back();
        if (!(breakLevel > below.e) || !(breakLevel > below.fromLevel))
            return std::nullopt;
        below.toLevel = breakLevel;
        const double d = p[at];
        const double b = p[at + 1];
        // Continuity at the breakpoint fixes a: a (B - e)^b equals the discharge below it.
        const double atBreak = segmentDischarge(below, breakLevel);
        result.segments.push_back(
            RatingSegment{breakLevel, kInfinity, atBreak * std::exp(-d * b), breakLevel - std::exp(d), b});
    }
    for (const RatingSegment& s : result.segments)
        if (!std::isfinite(s.a) || !std::isfinite(s.e) || !std::isfinite(s.b) || !(s.a > 0.0))
            return std::nullopt;
    return result;
}

std::vector<double> RatingLayout::parameters(const RatingCurve& curve) const {
    const auto& s = curve.segments;
    std::vector<double> p{std::log(s[0].a), std::log(std::max(lowestLevel - s[0].e, kSmallestDepth)), s[0].b};
    for (int j = 1; j < segments; ++j) {
        const RatingSegment& segment = s[static_cast<std::size_t>(j)];
        const double breakLevel = segment.fromLevel;
        if (freeBreaks())
            p.push_back(breakLevel);
        p.push_back(std::log(std::max(breakLevel - segment.e, kSmallestDepth)));
        p.push_back(segment.b);
    }
    return p;
}

std::optional<LogSpaceStart> logSpaceStart(const std::vector<WeightedGauging>& sorted,
                                           const std::vector<double>& breaks) {
    LogSpaceStart start;
    auto begin = sorted.begin();
    for (std::size_t j = 0; j <= breaks.size(); ++j) {
        const double upper = j < breaks.size() ? breaks[j] : kInfinity;
        const auto end = std::find_if(begin, sorted.end(), [&](const auto& p) { return p.level > upper; });
        const std::vector<WeightedGauging> part(begin, end);
        if (part.size() < 3)
            return std::nullopt;
        const double ceiling = j == 0 ? kInfinity : breaks[j - 1] - kSmallestDepth;
        LogFit fit = logGridFit(part, ceiling);
        if (!std::isfinite(fit.squares))
            return std::nullopt;
        fit.segment.fromLevel = j == 0 ? -kInfinity : breaks[j - 1];
        fit.segment.toLevel = upper;
        start.curve.segments.push_back(fit.segment);
        start.squares += fit.squares;
        begin = end;
    }
    return start;
}

} // namespace korvel
