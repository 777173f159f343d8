// The pair statistics of the screen, each by its definition over the log closes x and y of the
// two stocks on the window's dates (two-pass sums, one pair at a time). The screen computes the
// same numbers from products of whole matrices; these are what it must agree with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zepa {

// Pearson correlation of the daily log returns x[t] - x[t-1] and y[t] - y[t-1]; none when either
// has no variance.
std::optional<double> returnCorrelation(std::span<const double> x, std::span<const double> y);

// Sum over t of (pa[t] / pa[0] - pb[t] / pb[0])^2 over the closes (not their logs).
double sumSquaredDeviation(std::span<const double> pa, std::span<const double> pb);

// A sum of squares below this fraction of the sums it is formed from is rounding: the fit is
// perfect, and the statistic that divides by it has no value.
inline constexpr double kRoundingFraction = 1e-10;

struct EngleGranger {
    double beta = 0.0;        // OLS slope of x on y with a constant
    std::optional<double> t;  // Dickey-Fuller t of the residual; none for a perfect fit
};

// OLS x = alpha + beta y + e, then the OLS of e[t] - e[t-1] on e[t-1] without a constant over
// t = 1..W-1: t = rho / sqrt(s^2 / sum e[t-1]^2) with s^2 = RSS / (W - 2); none when the
// residual or the RSS is rounding.
EngleGranger engleGranger(std::span<const double> x, std::span<const double> y);

// For s = x - y: OLS of s[t] - s[t-1] on s[t-1] with a constant over t = 1..W-1; -ln 2 / slope,
// none where the slope is not negative.
std::optional<double> spreadHalfLife(std::span<const double> x, std::span<const double> y);

// How many times s = x - y changed sides of its mean (a value equal to the mean changes no side).
int32_t meanCrossings(std::span<const double> x, std::span<const double> y);

// The ratio chart's z of a / b over the last n closes: (r - mean) / population deviation of
// r = ln a - ln b; none when a close is missing (0) or the ratio did not move.
std::optional<double> ratioZ(std::span<const double> a, std::span<const double> b);

// Standard normal distribution function.
double normalCdf(double x);

// MacKinnon's (1994, 2010) approximate p-value of an Engle-Granger t with two variables and a
// constant: the normal distribution function of his response-surface polynomial in t.
double mackinnonP(double t);

// Benjamini-Hochberg adjusted p-values of `p`, out of m >= p.size() tests whose others count as
// p = 1: q of the k-th smallest p = min over j >= k of min(1, m p(j) / j); in the order of `p`.
std::vector<double> benjaminiHochberg(const std::vector<double>& p, size_t m);

// The same over p-values sorted ascending, replaced by their q in place.
void adjustSortedPValues(std::vector<double>& sorted, size_t m);

}  // namespace zepa
