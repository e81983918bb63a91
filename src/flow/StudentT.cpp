#include "flow/StudentT.h"

#include <cmath>
#include <initializer_list>
#include <limits>

namespace korvel {

namespace {

// Continued fraction of the regularized incomplete beta function (modified Lentz).
double betaContinuedFraction(double a, double b, double x) {
    constexpr double kTiny = 1e-300;
    constexpr int kMaxTerms = 300;
    double c = 1.0;
    double d = 1.0 - (a + b) * x / (a + 1.0);
    d = 1.0 / (std::abs(d) < kTiny ? kTiny : d);
    double h = d;
    for (int m = 1; m <= kMaxTerms; ++m) {
        const double m2 = 2.0 * m;
        for (const double numerator : {m * (b - m) * x / ((a + m2 - 1.0) * (a + m2)),
                                       -(a + m) * (a + b + m) * x / ((a + m2) * (a + m2 + 1.0))}) {
            d = 1.0 + numerator * d;
            d = 1.0 / (std::abs(d) < kTiny ? kTiny : d);
            c = 1.0 + numerator / c;
            if (std::abs(c) < kTiny)
                c = kTiny;
            h *= d * c;
        }
        if (std::abs(d * c - 1.0) < 1e-15)
            break;
    }
    return h;
}

double regularizedBeta(double a, double b, double x) {
    if (x <= 0.0)
        return 0.0;
    if (x >= 1.0)
        return 1.0;
    const double front =
        std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x));
    if (x < (a + 1.0) / (a + b + 2.0))
        return front * betaContinuedFraction(a, b, x) / a;
    return 1.0 - front * betaContinuedFraction(b, a, 1.0 - x) / b;
}

// P(T <= t) for t >= 0.
double upperHalfCdf(double t, double dof) {
    return 1.0 - 0.5 * regularizedBeta(dof / 2.0, 0.5, dof / (dof + t * t));
}

} // namespace

double studentTQuantile(double p, double dof) {
    if (!(p > 0.0 && p < 1.0) || !(dof > 0.0))
        return std::numeric_limits<double>::quiet_NaN();
    if (p < 0.5)
        return -studentTQuantile(1.0 - p, dof);
    if (std::isinf(dof))
        dof = 1e12;
    double low = 0.0;
    double high = 1.0;
    while (upperHalfCdf(high, dof) < p && high < 1e12)
        high *= 2.0;
    for (int i = 0; i < 200 && high - low > 1e-12 * high; ++i) {
        const double mid = 0.5 * (low + high);
        (upperHalfCdf(mid, dof) < p ? low : high) = mid;
    }
    return 0.5 * (low + high);
}

} // namespace korvel
