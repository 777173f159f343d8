// The definitions the screen is checked against, on published and hand-worked values.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "screen/screen_statistics.h"

namespace zepa {
namespace {

TEST(MackinnonP, PublishedCriticalValuesOfTwoVariablesWithConstant) {
    // MacKinnon's 1 %, 5 % and 10 % critical values for N = 2 with a constant, at a large sample.
    const struct {
        double t;
        double p;
        double tolerance;
    } table[] = {
        {-3.90, 0.01, 0.0005}, {-3.34, 0.05, 0.002}, {-3.04, 0.10, 0.002},
        {-30.0, 0.0, 0.0},     {5.0, 1.0, 0.0},
    };
    for (const auto& row : table) {
        EXPECT_NEAR(mackinnonP(row.t), row.p, row.tolerance) << row.t;
    }

    // The published response surface over the whole range of t, from his table for N = 2 with a
    // constant: the two polynomials differ by only about 0.001 near where they meet, so a switch
    // at the wrong t shows only against the surface itself.
    const double tauMin = -18.86;
    const double tauStar = -2.62;
    const double tauMax = 0.92;
    const double smallP[] = {2.92, 1.5012, 3.9796e-2};
    const double largeP[] = {2.1945, 6.4695e-1, -2.9198e-1, -4.2377e-2};
    double worst = 0.0;
    double worstT = 0.0;
    for (int k = -4000; k <= 400; ++k) {
        const double t = k / 200.0;
        double published = 0.0;
        if (t > tauMax) {
            published = 1.0;
        } else if (t >= tauMin) {
            const double z = t <= tauStar ? smallP[0] + smallP[1] * t + smallP[2] * t * t
                                          : largeP[0] + largeP[1] * t + largeP[2] * t * t +
                                                largeP[3] * t * t * t;
            published = 0.5 * (1.0 + std::erf(z / std::sqrt(2.0)));
        }
        if (std::abs(mackinnonP(t) - published) > worst) {
            worst = std::abs(mackinnonP(t) - published);
            worstT = t;
        }
    }
    EXPECT_LT(worst, 1e-9) << "at t = " << worstT;
}

TEST(BenjaminiHochberg, HandWorkedList) {
    // m = 10 tests, four p-values known, the six others counted as p = 1.
    const std::vector<double> p{0.04, 0.001, 0.03, 0.04};
    const std::vector<double> q = benjaminiHochberg(p, 10);
    // Sorted: 0.001 (rank 1) 0.03 (2) 0.04 (3) 0.04 (4): 10 p / rank = 0.01, 0.15, 0.133, 0.1;
    // the running minimum from the top gives 0.01, 0.1, 0.1, 0.1.
    const std::vector<double> expected{0.1, 0.01, 0.1, 0.1};
    for (size_t k = 0; k < p.size(); ++k) {
        EXPECT_NEAR(q[k], expected[k], 1e-12) << k;
    }
    EXPECT_EQ(benjaminiHochberg({0.5}, 10)[0], 1.0);
}

TEST(PairDefinitions, CrossingsZAndDegenerateCases) {
    // s = x - y = 1, -1, 0, -1, 1, 1 has mean 1/6: sides + - - - + + cross twice; a value on the
    // mean changes nothing.
    EXPECT_EQ(meanCrossings(std::vector<double>{1, -1, 0, -1, 1, 1}, std::vector<double>(6, 0.0)),
              2);
    EXPECT_EQ(meanCrossings(std::vector<double>{0, 2, 1, 2, 0}, std::vector<double>(5, 0.0)), 2);
    // Ratios e, e^2, e^3: logs 1, 2, 3 with mean 2, population deviation sqrt(2/3); the legs
    // swapped give minus that.
    const std::vector<double> e{std::exp(1.0), std::exp(2.0), std::exp(3.0)};
    const std::optional<double> z = ratioZ(e, std::vector<double>(3, 1.0));
    ASSERT_TRUE(z);
    EXPECT_NEAR(*z, 1.0 / std::sqrt(2.0 / 3.0), 1e-12);
    EXPECT_EQ(ratioZ(std::vector<double>(3, 1.0), e), -*z);
    EXPECT_FALSE(ratioZ(std::vector<double>{2, 2, 2}, std::vector<double>{1, 1, 1}));
    EXPECT_FALSE(ratioZ(std::vector<double>{2, 0, 3}, std::vector<double>{1, 1, 1}));
    // A perfect fit has no Dickey-Fuller t, a flat leg no correlation.
    const std::vector<double> x{1.0, 1.2, 0.9, 1.4, 1.1};
    std::vector<double> y;
    for (double v : x) {
        y.push_back(2 * v + 3);
    }
    EXPECT_FALSE(engleGranger(x, y).t);
    EXPECT_NEAR(engleGranger(x, y).beta, 0.5, 1e-12);
    EXPECT_FALSE(returnCorrelation(x, std::vector<double>(5, 1.0)));
    EXPECT_FALSE(spreadHalfLife(x, x));
    EXPECT_NEAR(sumSquaredDeviation(std::vector<double>{2, 4}, std::vector<double>{1, 1}), 1.0,
                1e-12);
}

}  // namespace
}  // namespace zepa
