#include "rain/FrequencyFits.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace korvel {
namespace {

// Eight annual maxima and the figures worked out by hand from Hosking's formulas.
const std::vector<double> kMaxima{12.0, 15.5, 9.8, 20.1, 14.2, 31.0, 11.7, 17.3};

TEST(LMomentFits, MatchTheHandComputedFiguresOfASmallSample) {
    const auto moments = sampleLMoments(kMaxima);
    ASSERT_TRUE(moments);
    EXPECT_NEAR(moments->l1, 16.45, 1e-12);
    EXPECT_NEAR(moments->l2, 3.707142857142859, 1e-12);
    EXPECT_NEAR(moments->t3, 0.39017341040462256, 1e-12);

    const GumbelFit gumbel = fitGumbel(*moments);
    EXPECT_NEAR(gumbel.location, 13.36289095709504, 1e-10);
    EXPECT_NEAR(gumbel.scale, 5.348276615866946, 1e-10);
    EXPECT_NEAR(gumbelQuantile(gumbel, probabilityOfReturnPeriod(50)), 34.231538237880514, 1e-9);

    const auto gev = fitGev(*moments);
    ASSERT_TRUE(gev);
    EXPECT_NEAR(gev->shape, -0.3171704612767683, 1e-12);
    EXPECT_NEAR(gev->scale, 3.6060014713246855, 1e-9);
    EXPECT_NEAR(gev->location, 12.742527183945768, 1e-9);
    EXPECT_NEAR(gevQuantile(*gev, probabilityOfReturnPeriod(50)), 40.56612327112687, 1e-8);
}

TEST(LMomentFits, NeedThreeValuesWithSpread) {
    EXPECT_FALSE(sampleLMoments({4.0, 5.0}));
    EXPECT_FALSE(sampleLMoments({7.5, 7.5, 7.5, 7.5}));
    EXPECT_FALSE(fitExtreme(ExtremeDistribution::Gev, {7.5, 7.5, 7.5}));
    // A negative skewness gives a positive shape: the quantiles stay below the upper bound.
    const auto bounded = fitGev(LMoments{10.0, 2.0, -0.2});
    ASSERT_TRUE(bounded);
    EXPECT_GT(bounded->shape, 0.0);
    EXPECT_LT(gevQuantile(*bounded, 0.999999), bounded->location + bounded->scale / bounded->shape);
    // A Gumbel-like skewness gives a shape of almost 0 and the Gumbel's quantiles.
    const LMoments gumbelLike{20.0, 4.0, std::log(9.0 / 8.0) / std::log(2.0)};
    const auto gev = fitGev(gumbelLike);
    ASSERT_TRUE(gev);
    EXPECT_NEAR(gev->shape, 0.0, 2e-3);
    EXPECT_NEAR(gevQuantile(*gev, 0.99), gumbelQuantile(fitGumbel(gumbelLike), 0.99), 0.1);
}

TEST(LMomentFits, RecoverTheQuantilesOfAKnownGev) {
    const GevFit truth{20.0, 6.0, -0.1};
    std::mt19937_64 engine(7);
    std::vector<double> sample(20000);
    for (double& value : sample)
        value = gevQuantile(truth, openUnitInterval(engine()));
    const auto fit = fitExtreme(ExtremeDistribution::Gev, sample);
    ASSERT_TRUE(fit);
    EXPECT_NEAR(fit->parameters.shape, truth.shape, 0.03);
    for (int years : {2, 10, 50, 100}) {
        const double p = probabilityOfReturnPeriod(years);
        const double expected = gevQuantile(truth, p);
        EXPECT_NEAR(fit->quantile(p), expected, 0.03 * expected) << years << " years";
    }
}

TEST(Bootstrap, IntervalsRepeatAndHoldTheFittedQuantile) {
    const auto fit = fitExtreme(ExtremeDistribution::Gumbel, kMaxima);
    ASSERT_TRUE(fit);
    const std::vector<double> probabilities{0.5, 0.98};
    const auto first = bootstrapIntervals(*fit, kMaxima.size(), probabilities, 500, 42);
    const auto again = bootstrapIntervals(*fit, kMaxima.size(), probabilities, 500, 42);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first, again);
    for (std::size_t i = 0; i < probabilities.size(); ++i) {
        const double q = fit->quantile(probabilities[i]);
        EXPECT_LT(first[i][0], q);
        EXPECT_GT(first[i][1], q);
    }
    // The rarer quantile is the less certain one.
    EXPECT_GT(first[1][1] - first[1][0], first[0][1] - first[0][0]);
    EXPECT_NE(bootstrapIntervals(*fit, kMaxima.size(), probabilities, 500, 43), first);
}

TEST(Bootstrap, UniformNumbersStayInsideTheOpenInterval) {
    EXPECT_GT(openUnitInterval(0), 0.0);
    EXPECT_LT(openUnitInterval(~std::uint64_t{0}), 1.0);
    EXPECT_DOUBLE_EQ(sortedQuantile({1.0, 2.0, 3.0, 4.0, 5.0}, 0.05), 1.2);
    EXPECT_DOUBLE_EQ(sortedQuantile({1.0, 2.0, 3.0, 4.0, 5.0}, 0.95), 4.8);
}

} // namespace
} // namespace korvel
