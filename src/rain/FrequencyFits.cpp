#include "rain/FrequencyFits.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace korvel {

namespace {

constexpr double kEulerGamma = 0.57721566490153286;
// Below this the GEV formulas lose their digits to cancellation; the Gumbel limit is used.
constexpr double kGumbelShape = 1e-7;

} // namespace

std::optional<LMoments> sampleLMoments(std::vector<double> sample) {
    const std::size_t n = sample.size();
    if (n < 3)
        return std::nullopt;
    std::sort(sample.begin(), sample.end());
    // Hosking (1990), the unbiased estimators of the probability-weighted moments b_r.
    double b0 = 0.0;
    double b1 = 0.0;
    double b2 = 0.0;
    const double m = static_cast<double>(n);
    for (std::size_t j = 0; j < n; ++j) {
        const double i = static_cast<double>(j); // rank - 1
        b0 += sample[j];
        b1 += i / (m - 1.0) * sample[j];
        b2 += i * (i - 1.0) / ((m - 1.0) * (m - 2.0)) * sample[j];
    }
    b0 /= m;
    b1 /= m;
    b2 /= m;
    LMoments moments;
    moments.l1 = b0;
    moments.l2 = 2.0 * b1 - b0;
    if (!(moments.l2 > 0.0))
        return std::nullopt;
    moments.t3 = (6.0 * b2 - 6.0 * b1 + b0) / moments.l2;
    return moments;
}

GumbelFit fitGumbel(const LMoments& moments) {
    GumbelFit fit;
    fit.scale = moments.l2 / std::log(2.0);
    fit.location = moments.l1 - kEulerGamma * fit.scale;
    return fit;
}

std::optional<GevFit> fitGev(const LMoments& moments) {
    // Hosking, Wallis & Wood (1985) and Hosking (1990): the rational approximation of the shape.
    const double c = 2.0 / (3.0 + moments.t3) - std::log(2.0) / std::log(3.0);
    const double k = 7.8590 * c + 2.9554 * c * c;
    if (!(k > -1.0) || !std::isfinite(k))
        return std::nullopt;
    if (std::abs(k) < kGumbelShape) {
        const GumbelFit gumbel = fitGumbel(moments);
        return GevFit{gumbel.location, gumbel.scale, 0.0};
    }
    const double gamma = std::tgamma(1.0 + k);
    GevFit fit;
    fit.shape = k;
    fit.scale = moments.l2 * k / ((1.0 - std::pow(2.0, -k)) * gamma);
    fit.location = moments.l1 - fit.scale * (1.0 - gamma) / k;
    if (!(fit.scale > 0.0) || !std::isfinite(fit.location))
        return std::nullopt;
    return fit;
}

double gumbelQuantile(const GumbelFit& fit, double p) {
    return fit.location - fit.scale * std::log(-std::log(p));
}

double gevQuantile(const GevFit& fit, double p) {
    if (std::abs(fit.shape) < kGumbelShape)
        return gumbelQuantile(GumbelFit{fit.location, fit.scale}, p);
    return fit.location + fit.scale * (1.0 - std::pow(-std::log(p), fit.shape)) / fit.shape;
}

double probabilityOfReturnPeriod(double years) {
    return 1.0 - 1.0 / years;
}

double ExtremeFit::quantile(double p) const {
    return distribution == ExtremeDistribution::Gumbel
               ? gumbelQuantile(GumbelFit{parameters.location, parameters.scale}, p)
               : gevQuantile(parameters, p);
}

std::optional<ExtremeFit> fitExtreme(ExtremeDistribution distribution, const std::vector<double>& sample) {
    const auto moments = sampleLMoments(sample);
    if (!moments)
        return std::nullopt;
    if (distribution == ExtremeDistribution::Gumbel) {
        const GumbelFit gumbel = fitGumbel(*moments);
        return ExtremeFit{distribution, GevFit{gumbel.location, gumbel.scale, 0.0}};
    }
    const auto gev = fitGev(*moments);
    if (!gev)
        return std::nullopt;
    return ExtremeFit{distribution, *gev};
}

double openUnitInterval(std::uint64_t word) {
    // (top 52 bits + 1/2) / 2^52: exact in a double, so never 0 or 1.
    return (static_cast<double>(word >> 12) + 0.5) * (1.0 / 4503599627370496.0);
}

double sortedQuantile(const std::vector<double>& sorted, double q) {
    if (sorted.empty())
        return 0.0;
    const double position = q * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(position));
    if (below + 1 >= sorted.size())
        return sorted.back();
    const double fraction = position - static_cast<double>(below);
    return sorted[below] + fraction * (sorted[below + 1] - sorted[below]);
}

std::vector<QuantileInterval> bootstrapIntervals(const ExtremeFit& fit, std::size_t sampleSize,
                                                 const std::vector<double>& probabilities, int resamples,
                                                 std::uint64_t seed) {
    std::mt19937_64 engine(seed);
    std::vector<std::vector<double>> estimates(probabilities.size());
    std::vector<double> sample(sampleSize);
    for (int r = 0; r < resamples; ++r) {
        for (double& value : sample)
            value = fit.quantile(openUnitInterval(engine()));
        const auto refit = fitExtreme(fit.distribution, sample);
        if (!refit)
            continue;
        for (std::size_t i = 0; i < probabilities.size(); ++i)
            estimates[i].push_back(refit->quantile(probabilities[i]));
    }
    std::vector<QuantileInterval> intervals;
    for (std::size_t i = 0; i < probabilities.size(); ++i) {
        std::vector<double>& values = estimates[i];
        if (values.empty()) {
            const double q = fit.quantile(probabilities[i]);
            intervals.push_back({q, q});
            continue;
        }
        std::sort(values.begin(), values.end());
        intervals.push_back({sortedQuantile(values, 0.05), sortedQuantile(values, 0.95)});
    }
    return intervals;
}

} // namespace korvel
