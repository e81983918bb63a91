#include "flow/RatingFit.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <random>

namespace {

using namespace korvel;

// 200 gaugings of a river with two controls (a low-water riffle, a wider channel above 250 mm)
// over twenty years, each read with a 5 % error.
std::vector<Gauging> twoHundredGaugings() {
    std::mt19937 engine(2004);
    std::uniform_real_distribution<double> level(35.0, 650.0);
    std::normal_distribution<double> error(0.0, 0.05);
    const RatingSegment low{0.0, 250.0, 2.5e-4, 20.0, 1.7};
    const RatingSegment high{
        250.0, 1000.0, low.a * std::pow(250.0 - low.e, low.b) / std::pow(250.0 - 160.0, 1.25), 160.0, 1.25};
    const RatingCurve curve{{low, high}};
    std::vector<Gauging> gaugings;
    for (std::size_t i = 0; i < 200; ++i) {
        const double h = std::round(level(engine));
        gaugings.push_back(Gauging{i + 1,
                                   OleDate::fromDate(1985, 1, 1).plusDays(static_cast<long long>(36 * i)), h,
                                   curve.discharge(h) * (1.0 + error(engine)), 5.0, false});
    }
    return gaugings;
}

// Target: under 50 ms for "auto" (one, two and three segments fitted and compared).
void BM_FitRatingAuto200(benchmark::State& state) {
    const auto gaugings = twoHundredGaugings();
    for (auto _ : state) {
        RatingFit fit = fitRating(gaugings, RatingFitOptions{});
        benchmark::DoNotOptimize(fit);
    }
}
BENCHMARK(BM_FitRatingAuto200)->Unit(benchmark::kMillisecond);

} // namespace
