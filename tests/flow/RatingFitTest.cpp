#include "flow/RatingFit.h"

#include "flow/StudentT.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace korvel {
namespace {

// Gaugings on a curve; `noise` draws the relative error of each discharge.
template <class Noise>
std::vector<Gauging> gaugingsOn(const RatingCurve& curve, const std::vector<double>& levels, Noise noise) {
    std::vector<Gauging> gaugings;
    for (std::size_t i = 0; i < levels.size(); ++i)
        gaugings.push_back(Gauging{i + 1,
                                   OleDate::fromDate(2003, 1, 1).plusDays(static_cast<long long>(10 * i)),
                                   levels[i], curve.discharge(levels[i]) * (1.0 + noise()), 5.0, false});
    return gaugings;
}

std::vector<double> levelsFromTo(double first, double last, double step) {
    std::vector<double> levels;
    for (double h = first; h <= last; h += step)
        levels.push_back(h);
    return levels;
}

void expectSegment(const RatingSegment& actual, const RatingSegment& expected) {
    EXPECT_NEAR(actual.a, expected.a, 0.005 * expected.a);
    EXPECT_NEAR(actual.e, expected.e, 0.005 * std::abs(expected.e));
    EXPECT_NEAR(actual.b, expected.b, 0.005 * expected.b);
}

// a (h - e)^b in m3/s for levels in mm.
const RatingSegment kLowControl{0.0, 250.0, 2.5e-4, 20.0, 1.7};

RatingCurve twoControls() {
    RatingSegment high{250.0, 1000.0, 0.0, 160.0, 1.25};
    high.a =
        kLowControl.a * std::pow(250.0 - kLowControl.e, kLowControl.b) / std::pow(250.0 - high.e, high.b);
    return RatingCurve{{kLowControl, high}};
}

TEST(RatingFit, ExactPointsOfOneAndTwoSegmentCurvesAreRecovered) {
    const RatingCurve one{{RatingSegment{0.0, 1000.0, kLowControl.a, kLowControl.e, kLowControl.b}}};
    const auto single = fitRating(gaugingsOn(one, levelsFromTo(40, 400, 20), [] { return 0.0; }), {});
    ASSERT_EQ(single.curve.segments.size(), 1u);
    EXPECT_TRUE(single.segmentsChosen);
    expectSegment(single.curve.segments[0], one.segments[0]);
    EXPECT_LT(single.standardErrorPercent, 0.01);
    EXPECT_EQ(single.points.front().level, 40.0);
    EXPECT_EQ(single.points.back().level, 400.0);
    EXPECT_EQ(single.points.size(), 361u);

    const RatingCurve two = twoControls();
    const auto gaugings = gaugingsOn(two, levelsFromTo(40, 620, 20), [] { return 0.0; });
    for (const RatingFitOptions& options : {RatingFitOptions{2, {}, {}}, RatingFitOptions{0, {250.0}, {}}}) {
        const auto fit = fitRating(gaugings, options);
        ASSERT_EQ(fit.curve.segments.size(), 2u);
        expectSegment(fit.curve.segments[0], two.segments[0]);
        expectSegment(fit.curve.segments[1], two.segments[1]);
        EXPECT_NEAR(fit.curve.segments[0].toLevel, 250.0, 1.0);
    }
    // "auto" finds the second control by the criterion.
    EXPECT_EQ(fitRating(gaugings, {}).curve.segments.size(), 2u);
}

TEST(RatingFit, PredictionBandHoldsAboutNineteenOfTwentyFreshGaugings) {
    std::mt19937 engine(7);
    std::normal_distribution<double> fivePercent(0.0, 0.05);
    const RatingCurve truth = twoControls();
    const auto noise = [&] { return fivePercent(engine); };
    const auto fit = fitRating(gaugingsOn(truth, levelsFromTo(40, 620, 10), noise), {2, {}, {}});
    int inside = 0;
    int drawn = 0;
    for (int round = 0; round < 40; ++round)
        for (const CurvePoint& p : fit.points) {
            if (static_cast<int>(p.level) % 20 != 0)
                continue;
            const double q = truth.discharge(p.level) * (1.0 + noise());
            inside += q >= p.predictionLow && q <= p.predictionHigh;
            ++drawn;
            EXPECT_LE(p.predictionLow, p.confidenceLow);
            EXPECT_GE(p.predictionHigh, p.confidenceHigh);
        }
    EXPECT_NEAR(static_cast<double>(inside) / drawn, 0.95, 0.025);
    EXPECT_NEAR(fit.standardErrorPercent, 5.0, 1.0);
}

TEST(RatingFit, GaugingsLeftOutAndOutsideTheBandAreReported) {
    const RatingCurve one{{RatingSegment{0.0, 1000.0, kLowControl.a, kLowControl.e, kLowControl.b}}};
    int k = 0;
    auto gaugings = gaugingsOn(one, levelsFromTo(40, 400, 20), [&] { return (k++ % 2 ? 0.02 : -0.02); });
    gaugings[4].discharge *= 1.5; // a weedy section
    gaugings[4].excluded = true;
    const auto fit = fitRating(gaugings, {1, {}, 450.0});
    EXPECT_EQ(fit.usedCount, gaugings.size() - 1);
    EXPECT_TRUE(fit.gaugings[4].gauging.excluded);
    EXPECT_NEAR(fit.gaugings[4].deviationPercent, 47.0, 2.0); // 1.5 x 0.98
    EXPECT_FALSE(fit.gaugings[4].inBand);
    EXPECT_TRUE(fit.gaugings[3].inBand);
    EXPECT_EQ(fit.coveredTo, 450.0);
    EXPECT_EQ(fit.points.back().level, 450.0);
}

TEST(RatingFit, BadInputNamesItsCause) {
    const RatingCurve one{{RatingSegment{0.0, 1000.0, kLowControl.a, kLowControl.e, kLowControl.b}}};
    auto gaugings = gaugingsOn(one, {50, 100, 150, 200, 250}, [] { return 0.0; });
    EXPECT_THROW(fitRating({gaugings[0], gaugings[1]}, {}), RatingFitError);
    EXPECT_THROW(fitRating(gaugings, {2, {}, {}}), RatingFitError); // 5 gaugings, 2 segments
    EXPECT_THROW(fitRating(gaugings, {0, {300.0}, {}}), RatingFitError);
    EXPECT_THROW(fitRating(gaugings, {3, {120.0}, {}}), RatingFitError);
    gaugings[2].discharge = 0.0;
    EXPECT_THROW(fitRating(gaugings, {}), RatingFitError);
    gaugings[2].excluded = true; // left out, it no longer stops the fit
    EXPECT_NO_THROW(fitRating(gaugings, {}));
}

TEST(RatingFit, CardGaugingsInLitresBecomeCubicMetresWithinTheDates) {
    std::vector<MeasurementCard> card(3);
    card[0].measurementDate = OleDate::fromDate(2003, 5, 1);
    card[0].gaugeLevel = 120;
    card[0].measuredDischarge = 1250.0f;
    card[2].measurementDate = OleDate::fromDate(2004, 5, 1);
    card[2].errorPercent = 8;
    const auto all = gaugingsOfCard(card, std::nullopt, std::nullopt, {3});
    ASSERT_EQ(all.size(), 2u); // the empty record 2 is no gauging
    EXPECT_EQ(all[0].discharge, 1.25);
    EXPECT_EQ(all[0].errorPercent, 5.0);
    EXPECT_EQ(all[1].row, 3u);
    EXPECT_TRUE(all[1].excluded);
    EXPECT_EQ(gaugingsOfCard(card, OleDate::fromDate(2004, 1, 1), std::nullopt, {}).size(), 1u);
}

TEST(StudentT, QuantilesOfTheTables) {
    EXPECT_NEAR(studentTQuantile(0.975, 1), 12.706, 1e-3);
    EXPECT_NEAR(studentTQuantile(0.975, 10), 2.228, 1e-3);
    EXPECT_NEAR(studentTQuantile(0.975, 1e9), 1.960, 1e-3);
    EXPECT_NEAR(studentTQuantile(0.025, 10), -2.228, 1e-3);
}

} // namespace
} // namespace korvel
