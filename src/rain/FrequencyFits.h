#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace korvel {

// Extreme-value fits of annual maxima by L-moments (J. R. M. Hosking, "L-moments: analysis
// and estimation of distributions using linear combinations of order statistics", J. R.
// Statist. Soc. B 52 (1990) 105-124; Hosking & Wallis, "Regional Frequency Analysis", 1997).

// The sample L-moments that the fits need: the mean l1, the L-scale l2 and the L-skewness t3.
struct LMoments {
    double l1 = 0.0;
    double l2 = 0.0;
    double t3 = 0.0;
};

// The unbiased sample L-moments from the probability-weighted moments b0, b1, b2 of the sorted
// sample: l1 = b0, l2 = 2 b1 - b0, l3 = 6 b2 - 6 b1 + b0, t3 = l3 / l2. None for fewer than
// three values or a sample without spread (l2 = 0).
std::optional<LMoments> sampleLMoments(std::vector<double> sample);

// Gumbel (EV1): F(x) = exp(-exp(-(x - location) / scale)).
struct GumbelFit {
    double location = 0.0;
    double scale = 0.0;
};

// GEV in Hosking's sign convention: F(x) = exp(-(1 - shape (x - location) / scale)^(1/shape)),
// the Gumbel when shape = 0; a negative shape gives the heavy upper tail usual for rainfall.
struct GevFit {
    double location = 0.0;
    double scale = 0.0;
    double shape = 0.0;
};

// scale = l2 / ln 2, location = l1 - Euler's constant * scale.
GumbelFit fitGumbel(const LMoments& moments);
// The shape by Hosking's rational approximation k = 7.8590 c + 2.9554 c^2 with
// c = 2 / (3 + t3) - ln 2 / ln 3, then scale = l2 k / ((1 - 2^-k) Gamma(1 + k)) and
// location = l1 - scale (1 - Gamma(1 + k)) / k. None when the L-moments do not exist for the
// shape (k <= -1).
std::optional<GevFit> fitGev(const LMoments& moments);

// The value not exceeded with probability p (0 < p < 1).
double gumbelQuantile(const GumbelFit& fit, double p);
double gevQuantile(const GevFit& fit, double p);

// The non-exceedance probability of a return period of T years: 1 - 1/T.
double probabilityOfReturnPeriod(double years);

enum class ExtremeDistribution { Gumbel, Gev };

// A fitted distribution of either kind.
struct ExtremeFit {
    ExtremeDistribution distribution = ExtremeDistribution::Gumbel;
    GevFit parameters; // shape 0 for the Gumbel
    double quantile(double p) const;
};
std::optional<ExtremeFit> fitExtreme(ExtremeDistribution distribution, const std::vector<double>& sample);

// A uniform number in (0, 1) from the top 52 bits of a 64-bit word: the same on every
// standard library, unlike the library's own distributions.
double openUnitInterval(std::uint64_t word);

// The 5 % and 95 % points of the quantiles of `probabilities`, over `resamples` samples of
// the sample size drawn from the fit (inverse CDF, std::mt19937_64 seeded with `seed`), each
// refitted like the original. Resamples whose refit fails are left out; with none left an
// interval is the quantile itself.
using QuantileInterval = std::array<double, 2>;
std::vector<QuantileInterval> bootstrapIntervals(const ExtremeFit& fit, std::size_t sampleSize,
                                                 const std::vector<double>& probabilities, int resamples,
                                                 std::uint64_t seed);

// The value at fraction q (0..1) of a sorted sample, interpolated between neighbours.
double sortedQuantile(const std::vector<double>& sorted, double q);

} // namespace korvel
