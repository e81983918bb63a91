#include "flow/RatingFit.h"

#include "core/FileIO.h"
#include "core/Numbers.h"
#include "flow/RatingModel.h"
#include "flow/StudentT.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <limits>
#include <unsupported/Eigen/LevenbergMarquardt>

// The method follows the stream-gauging manuals (WMO-No. 1044, Manual on Stream Gauging,
// Vol. II, ch. 1; ISO 18320, Hydrometry - Stage-discharge relation): a power law
// Q = a (h - e)^b per hydraulic control, fitted to the gaugings by weighted least squares,
// with the uncertainty of the fitted relation taken from the parameter covariance.

namespace korvel {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::size_t kMinPerSegment = 3;
constexpr int kMaxSegments = 3;
// Breakpoint candidates tried for start values, and how many of the best are refined.
constexpr std::size_t kBreakCandidates = 14;
constexpr std::size_t kRefinedStarts = 3;
// Below this weighted sum of squares per gauging a fit counts as exact, so that the criterion
// does not rank exact fits by rounding noise.
constexpr double kExactSquaresPerGauging = 1e-12;

using Vector = Eigen::VectorXd;
using Matrix = Eigen::MatrixXd;

// Weighted residuals (fitted - measured) / sigma of every gauging, for the solver.
struct ResidualFunctor : Eigen::DenseFunctor<double> {
    ResidualFunctor(const RatingLayout& layout, const std::vector<WeightedGauging>& points)
        : DenseFunctor(static_cast<int>(layout.parameterCount()), static_cast<int>(points.size())),
          layout_(layout), points_(points) {}

    int operator()(const Vector& x, Vector& residuals) const {
        const auto curve = layout_.curve(std::vector<double>(x.data(), x.data() + x.size()));
        for (std::size_t i = 0; i < points_.size(); ++i) {
            const auto& p = points_[i];
            const double r = curve
                                 ? (curve->discharge(p.level) - p.discharge) / (p.relativeError * p.discharge)
                                 : kPenalty;
            residuals[static_cast<Eigen::Index>(i)] = std::isfinite(r) ? r : kPenalty;
        }
        return 0;
    }

    // Central differences: the breakpoints make the curve only piecewise smooth.
    int df(const Vector& x, Matrix& jacobian) const {
        Vector plus(values());
        Vector minus(values());
        for (Eigen::Index j = 0; j < x.size(); ++j) {
            const double step = 1e-6 * std::max(std::abs(x[j]), 1.0);
            Vector moved = x;
            moved[j] = x[j] + step;
            (*this)(moved, plus);
            moved[j] = x[j] - step;
            (*this)(moved, minus);
            jacobian.col(j) = (plus - minus) / (2.0 * step);
        }
        return 0;
    }

    static constexpr double kPenalty = 1e8;
    const RatingLayout& layout_;
    const std::vector<WeightedGauging>& points_;
};

struct SolvedCurve {
    RatingLayout layout;
    std::vector<double> parameters;
    RatingCurve curve;
    double squares = kNaN;
};

std::size_t countBetween(const std::vector<WeightedGauging>& sorted, double low, double high) {
    return static_cast<std::size_t>(std::count_if(
        sorted.begin(), sorted.end(), [&](const auto& p) { return p.level > low && p.level <= high; }));
}

// Every segment keeps its 3 gaugings and the breakpoints stay inside the gauged range.
bool segmentsHoldGaugings(const RatingCurve& curve, const std::vector<WeightedGauging>& sorted) {
    const double lowest = sorted.front().level;
    const double highest = sorted.back().level;
    double low = -std::numeric_limits<double>::infinity();
    for (std::size_t j = 0; j < curve.segments.size(); ++j) {
        const RatingSegment& s = curve.segments[j];
        const double high =
            j + 1 < curve.segments.size() ? s.toLevel : std::numeric_limits<double>::infinity();
        if (j > 0 && !(s.fromLevel > lowest && s.fromLevel < highest))
            return false;
        if (!(s.b > 0.0) || countBetween(sorted, low, high) < kMinPerSegment)
            return false;
        low = high;
    }
    return true;
}

// Levenberg-Marquardt from a start curve; nothing when the solver does not converge or the
// result is no valid curve for these gaugings.
std::optional<SolvedCurve> solve(const RatingLayout& layout, const RatingCurve& start,
                                 const std::vector<WeightedGauging>& sorted) {
    ResidualFunctor functor(layout, sorted);
    const std::vector<double> p0 = layout.parameters(start);
    Vector x = Eigen::Map<const Vector>(p0.data(), static_cast<Eigen::Index>(p0.size()));
    Eigen::LevenbergMarquardt<ResidualFunctor> solver(functor);
    solver.setXtol(1e-12);
    solver.setFtol(1e-14);
    solver.setMaxfev(400);
    const auto status = solver.minimize(x);
    using Space = Eigen::LevenbergMarquardtSpace::Status;
    if (status == Space::ImproperInputParameters || status == Space::TooManyFunctionEvaluation)
        return std::nullopt;
    SolvedCurve solved{layout, std::vector<double>(x.data(), x.data() + x.size()), {}, 0.0};
    const auto curve = layout.curve(solved.parameters);
    if (!curve || !segmentsHoldGaugings(*curve, sorted))
        return std::nullopt;
    solved.curve = *curve;
    Vector residuals(functor.values());
    functor(x, residuals);
    solved.squares = residuals.squaredNorm();
    if (!std::isfinite(solved.squares) || solved.squares >= ResidualFunctor::kPenalty)
        return std::nullopt;
    return solved;
}

// Candidate breakpoints for start values: midway between neighbouring distinct levels, with at
// least 3 gaugings on either side, thinned evenly to a few.
std::vector<double> breakCandidates(const std::vector<WeightedGauging>& sorted) {
    std::vector<double> all;
    for (std::size_t i = kMinPerSegment; i + kMinPerSegment <= sorted.size(); ++i)
        if (sorted[i - 1].level < sorted[i].level)
            all.push_back(0.5 * (sorted[i - 1].level + sorted[i].level));
    if (all.size() <= kBreakCandidates)
        return all;
    std::vector<double> thinned;
    for (std::size_t k = 0; k < kBreakCandidates; ++k)
        thinned.push_back(all[k * (all.size() - 1) / (kBreakCandidates - 1)]);
    return thinned;
}

std::vector<std::vector<double>> breakSets(const std::vector<WeightedGauging>& sorted, int segments) {
    const std::vector<double> candidates = breakCandidates(sorted);
    std::vector<std::vector<double>> sets;
    if (segments == 2)
        for (double b : candidates)
            sets.push_back({b});
    if (segments == 3)
        for (std::size_t i = 0; i < candidates.size(); ++i)
            for (std::size_t k = i + 1; k < candidates.size(); ++k)
                if (countBetween(sorted, candidates[i], candidates[k]) >= kMinPerSegment)
                    sets.push_back({candidates[i], candidates[k]});
    return sets;
}

// The best fit with a given number of segments; the breakpoints given or found.
std::optional<SolvedCurve> fitSegments(const std::vector<WeightedGauging>& sorted, int segments,
                                       const std::vector<double>& givenBreaks) {
    RatingLayout layout{segments, givenBreaks, sorted.front().level};
    if (segments == 1 || !givenBreaks.empty()) {
        const auto start = logSpaceStart(sorted, givenBreaks);
        return start ? solve(layout, start->curve, sorted) : std::nullopt;
    }
    std::vector<LogSpaceStart> starts;
    for (const auto& breaks : breakSets(sorted, segments))
        if (auto start = logSpaceStart(sorted, breaks))
            starts.push_back(std::move(*start));
    std::sort(starts.begin(), starts.end(),
              [](const LogSpaceStart& l, const LogSpaceStart& r) { return l.squares < r.squares; });
    std::optional<SolvedCurve> best;
    for (std::size_t k = 0; k < starts.size() && k < kRefinedStarts; ++k)
        if (auto solved = solve(layout, starts[k].curve, sorted);
            solved && (!best || solved->squares < best->squares))
            best = std::move(solved);
    return best;
}

double bayesianCriterion(const SolvedCurve& solved, std::size_t n) {
    const double count = static_cast<double>(n);
    const double squares = std::max(solved.squares, kExactSquaresPerGauging * count);
    return count * std::log(squares / count) +
           static_cast<double>(solved.layout.parameterCount()) * std::log(count);
}

std::string levelText(double level) {
    return generalNumber(level);
}

std::vector<double> checkedBreaks(const RatingFitOptions& options, double lowest, double highest) {
    std::vector<double> breaks = options.breaks;
    if (breaks.size() > static_cast<std::size_t>(kMaxSegments - 1))
        throw RatingFitError("en çok 2 kırılma noktası verilebilir (3 parça)");
    if (!breaks.empty() && options.segments != 0 && options.segments != static_cast<int>(breaks.size()) + 1)
        throw RatingFitError(std::to_string(options.segments) + " parça için " +
                             std::to_string(options.segments - 1) + " kırılma noktası gerekir");
    for (std::size_t j = 0; j < breaks.size(); ++j) {
        if (!(breaks[j] > lowest && breaks[j] < highest))
            throw RatingFitError("kırılma noktası " + levelText(breaks[j]) + " ölçülen seviye aralığının (" +
                                 levelText(lowest) + " - " + levelText(highest) + " mm) dışında");
        if (j > 0 && !(breaks[j] > breaks[j - 1]))
            throw RatingFitError("kırılma noktaları artan sırada olmalıdır");
    }
    return breaks;
}

// The gradient of the curve's discharge at a level with respect to the parameters.
Vector dischargeGradient(const SolvedCurve& solved, double level) {
    const auto& p = solved.parameters;
    Vector gradient(static_cast<Eigen::Index>(p.size()));
    for (std::size_t j = 0; j < p.size(); ++j) {
        const double step = 1e-6 * std::max(std::abs(p[j]), 1.0);
        std::vector<double> moved = p;
        moved[j] = p[j] + step;
        const auto up = solved.layout.curve(moved);
        moved[j] = p[j] - step;
        const auto down = solved.layout.curve(moved);
        gradient[static_cast<Eigen::Index>(j)] =
            up && down ? (up->discharge(level) - down->discharge(level)) / (2.0 * step) : 0.0;
    }
    return gradient;
}

// The uncertainty of a fitted curve: the parameter covariance C = s^2 (J'J)^-1 of the
// weighted Jacobian J, s^2 the residual variance, and Student's t for the 95 % bands
// (ISO 18320 and WMO-No. 1044 for the confidence band of the relation and the prediction
// interval of a single new gauging).
struct Uncertainty {
    Matrix covariance;
    double residualVariance = 1.0;
    double t = 1.96;
    double meanSquareRelativeError = 0.0025;
    const SolvedCurve* solved = nullptr;

    double fitVariance(double level) const {
        const Vector g = dischargeGradient(*solved, level);
        return std::max(g.dot(covariance * g), 0.0);
    }
    double predictionHalfWidth(double level, double fitted, double relativeError) const {
        const double measurement = relativeError * fitted;
        return t * std::sqrt(fitVariance(level) + residualVariance * measurement * measurement);
    }
};

Uncertainty uncertaintyOf(const SolvedCurve& solved, const std::vector<WeightedGauging>& sorted) {
    ResidualFunctor functor(solved.layout, sorted);
    const Vector x = Eigen::Map<const Vector>(solved.parameters.data(),
                                              static_cast<Eigen::Index>(solved.parameters.size()));
    Matrix jacobian(functor.values(), functor.inputs());
    functor.df(x, jacobian);
    Uncertainty u;
    u.solved = &solved;
    const double dof = static_cast<double>(sorted.size()) - static_cast<double>(x.size());
    // With no degree of freedom left the gaugings' own errors stand for the scatter.
    u.residualVariance = dof > 0.0 ? solved.squares / dof : 1.0;
    u.t = studentTQuantile(0.975, dof > 0.0 ? dof : std::numeric_limits<double>::infinity());
    const Matrix normal = jacobian.transpose() * jacobian;
    u.covariance = u.residualVariance * normal.completeOrthogonalDecomposition().pseudoInverse();
    double sum = 0.0;
    for (const auto& p : sorted)
        sum += p.relativeError * p.relativeError;
    u.meanSquareRelativeError = sum / static_cast<double>(sorted.size());
    return u;
}

double relativeErrorOf(const Gauging& g) {
    const double percent = std::abs(g.errorPercent);
    return (percent > 0.0 ? percent : kDefaultGaugingErrorPercent) / 100.0;
}

} // namespace

std::vector<Gauging> gaugingsOfCard(const std::vector<MeasurementCard>& card, std::optional<OleDate> from,
                                    std::optional<OleDate> to, const std::set<std::size_t>& excludedRows) {
    std::vector<Gauging> gaugings;
    for (std::size_t i = 0; i < card.size(); ++i) {
        const MeasurementCard& m = card[i];
        if (m.measurementDate.isEmpty())
            continue;
        const OleDate day = m.measurementDate.datePart();
        if ((from && day < *from) || (to && day > *to))
            continue;
        Gauging g;
        g.row = i + 1;
        g.date = m.measurementDate;
        g.level = m.gaugeLevel;
        g.discharge = static_cast<double>(m.measuredDischarge) / kLitresPerCubicMetre;
        g.errorPercent = m.errorPercent != 0 ? std::abs(m.errorPercent) : kDefaultGaugingErrorPercent;
        g.excluded = excludedRows.count(g.row) > 0;
        gaugings.push_back(g);
    }
    return gaugings;
}

std::vector<Gauging> gaugingsOfCardFile(const std::filesystem::path& card, std::optional<OleDate> from,
                                        std::optional<OleDate> to,
                                        const std::set<std::size_t>& excludedRows) {
    const std::optional<Bytes> bytes = readFileBytes(card);
    if (!bytes)
        return {};
    return gaugingsOfCard(parseMeasurementCardFile(*bytes), from, to, excludedRows);
}

RatingFit fitRating(const std::vector<Gauging>& gaugings, const RatingFitOptions& options) {
    std::vector<WeightedGauging> sorted;
    RatingFit fit;
    for (const Gauging& g : gaugings) {
        if (g.excluded)
            continue;
        if (!(g.level > 0.0) || !(g.discharge > 0.0) || !std::isfinite(g.level) ||
            !std::isfinite(g.discharge))
            throw RatingFitError(std::to_string(g.row) +
                                 ". satırdaki ölçünün seviyesi ya da debisi sıfır veya "
                                 "negatif");
        sorted.push_back(WeightedGauging{g.level, g.discharge, relativeErrorOf(g)});
        fit.firstDate = fit.usedCount == 0 ? g.date : std::min(fit.firstDate, g.date);
        fit.lastDate = fit.usedCount == 0 ? g.date : std::max(fit.lastDate, g.date);
        ++fit.usedCount;
    }
    if (sorted.size() < kMinPerSegment)
        throw RatingFitError("aralıkta 3'ten az ölçü var (" + std::to_string(sorted.size()) + ")");
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& l, const auto& r) { return l.level < r.level; });
    fit.lowestGauged = sorted.front().level;
    fit.highestGauged = sorted.back().level;
    if (options.segments < 0 || options.segments > kMaxSegments)
        throw RatingFitError("parça sayısı 1, 2 ya da 3 olmalıdır");
    const std::vector<double> breaks = checkedBreaks(options, fit.lowestGauged, fit.highestGauged);

    std::vector<int> counts;
    if (!breaks.empty())
        counts = {static_cast<int>(breaks.size()) + 1};
    else if (options.segments != 0)
        counts = {options.segments};
    else
        counts = {1, 2, 3};
    fit.segmentsChosen = counts.size() > 1;
    fit.bic.assign(kMaxSegments, kNaN);
    std::optional<SolvedCurve> best;
    for (const int count : counts) {
        if (sorted.size() < kMinPerSegment * static_cast<std::size_t>(count)) {
            if (fit.segmentsChosen)
                continue;
            throw RatingFitError("her parça için en az 3 ölçü gerekir: " + std::to_string(sorted.size()) +
                                 " ölçü ile " + std::to_string(count) + " parça olmaz");
        }
        auto solved = fitSegments(sorted, count, breaks);
        if (!solved)
            continue;
        const double bic = bayesianCriterion(*solved, sorted.size());
        fit.bic[static_cast<std::size_t>(count - 1)] = bic;
        if (!best || bic < bayesianCriterion(*best, sorted.size()))
            best = std::move(solved);
    }
    if (!best)
        throw RatingFitError("eğri hesabı yakınsamadı: ölçülere uyan bir eğri bulunamadı");

    fit.coveredFrom = fit.lowestGauged;
    fit.coveredTo = fit.highestGauged;
    if (options.extrapolateTo) {
        fit.coveredFrom = std::max(0.0, std::min(fit.coveredFrom, *options.extrapolateTo));
        fit.coveredTo = std::max(fit.coveredTo, *options.extrapolateTo);
    }
    fit.curve = best->curve;
    fit.curve.segments.front().fromLevel = fit.coveredFrom;
    fit.curve.segments.back().toLevel = fit.coveredTo;

    const Uncertainty u = uncertaintyOf(*best, sorted);
    // Percentage standard error of estimate: the spread of the gaugings' deviations from the
    // curve, in per cent of the curve (WMO-No. 1044, Vol. II, 1.5; ISO 18320).
    double squaredDeviations = 0.0;
    for (const auto& p : sorted) {
        const double fitted = best->curve.discharge(p.level);
        squaredDeviations += std::pow((p.discharge - fitted) / fitted, 2.0);
    }
    const double dof = static_cast<double>(sorted.size() - best->parameters.size());
    fit.standardErrorPercent = 100.0 * std::sqrt(squaredDeviations / std::max(dof, 1.0));

    for (const Gauging& g : gaugings) {
        GaugingFit row{g, best->curve.discharge(g.level), 0.0, false};
        if (row.fitted > 0.0) {
            row.deviationPercent = 100.0 * (g.discharge - row.fitted) / row.fitted;
            row.inBand = std::abs(g.discharge - row.fitted) <=
                         u.predictionHalfWidth(g.level, row.fitted, relativeErrorOf(g));
        }
        fit.gaugings.push_back(row);
    }
    const double typicalError = std::sqrt(u.meanSquareRelativeError);
    for (double level = std::ceil(fit.coveredFrom); level <= std::floor(fit.coveredTo); level += 1.0) {
        const double q = fit.curve.discharge(level);
        const double confidence = u.t * std::sqrt(u.fitVariance(level));
        const double prediction = u.predictionHalfWidth(level, q, typicalError);
        fit.points.push_back(CurvePoint{level, q, std::max(q - confidence, 0.0), q + confidence,
                                        std::max(q - prediction, 0.0), q + prediction});
    }
    return fit;
}

} // namespace korvel
