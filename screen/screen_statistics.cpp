#include "screen/screen_statistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zepa {
namespace {

double mean(std::span<const double> v) {
    return v.empty() ? 0.0
                     : std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
}

std::vector<double> differences(std::span<const double> v) {
    std::vector<double> d;
    for (size_t t = 1; t < v.size(); ++t) {
        d.push_back(v[t] - v[t - 1]);
    }
    return d;
}

// Slope of the OLS of y on x with a constant; none when x has no variance.
std::optional<double> olsSlope(std::span<const double> y, std::span<const double> x) {
    const double mx = mean(x);
    const double my = mean(y);
    double sxy = 0.0;
    double sxx = 0.0;
    for (size_t t = 0; t < x.size(); ++t) {
        sxy += (x[t] - mx) * (y[t] - my);
        sxx += (x[t] - mx) * (x[t] - mx);
    }
    if (!(sxx > 0.0)) {
        return std::nullopt;
    }
    return sxy / sxx;
}

}  // namespace

std::optional<double> returnCorrelation(std::span<const double> x, std::span<const double> y) {
    const std::vector<double> rx = differences(x);
    const std::vector<double> ry = differences(y);
    const double mx = mean(rx);
    const double my = mean(ry);
    double sxy = 0.0;
    double sxx = 0.0;
    double syy = 0.0;
    for (size_t t = 0; t < rx.size(); ++t) {
        sxy += (rx[t] - mx) * (ry[t] - my);
        sxx += (rx[t] - mx) * (rx[t] - mx);
        syy += (ry[t] - my) * (ry[t] - my);
    }
    if (!(sxx > 0.0 && syy > 0.0)) {
        return std::nullopt;
    }
    return std::clamp(sxy / std::sqrt(sxx * syy), -1.0, 1.0);
}

double sumSquaredDeviation(std::span<const double> pa, std::span<const double> pb) {
    double sum = 0.0;
    for (size_t t = 0; t < pa.size(); ++t) {
        const double d = pa[t] / pa[0] - pb[t] / pb[0];
        sum += d * d;
    }
    return sum;
}

EngleGranger engleGranger(std::span<const double> x, std::span<const double> y) {
    EngleGranger out;
    const std::optional<double> beta = olsSlope(x, y);
    if (!beta || x.size() < 3) {
        return out;
    }
    out.beta = *beta;
    const double alpha = mean(x) - out.beta * mean(y);
    std::vector<double> e(x.size());
    for (size_t t = 0; t < x.size(); ++t) {
        e[t] = x[t] - alpha - out.beta * y[t];
    }
    double lagSquares = 0.0;
    double cross = 0.0;
    double xSquares = 0.0;
    double diffSquares = 0.0;
    const double mx = mean(x);
    for (size_t t = 1; t < e.size(); ++t) {
        lagSquares += e[t - 1] * e[t - 1];
        cross += (e[t] - e[t - 1]) * e[t - 1];
        xSquares += (x[t - 1] - mx) * (x[t - 1] - mx);
        diffSquares += (x[t] - x[t - 1]) * (x[t] - x[t - 1]);
    }
    if (!(lagSquares > kRoundingFraction * xSquares)) {
        return out;
    }
    const double rho = cross / lagSquares;
    double rss = 0.0;
    for (size_t t = 1; t < e.size(); ++t) {
        const double u = (e[t] - e[t - 1]) - rho * e[t - 1];
        rss += u * u;
    }
    const double s2 = rss / static_cast<double>(x.size() - 2);
    if (!(rss > kRoundingFraction * diffSquares)) {
        return out;
    }
    out.t = rho / std::sqrt(s2 / lagSquares);
    return out;
}

std::optional<double> spreadHalfLife(std::span<const double> x, std::span<const double> y) {
    std::vector<double> lagged;
    std::vector<double> change;
    for (size_t t = 1; t < x.size(); ++t) {
        lagged.push_back(x[t - 1] - y[t - 1]);
        change.push_back((x[t] - y[t]) - (x[t - 1] - y[t - 1]));
    }
    const std::optional<double> slope = olsSlope(change, lagged);
    if (!slope || !(*slope < 0.0)) {
        return std::nullopt;
    }
    return -std::log(2.0) / *slope;
}

int32_t meanCrossings(std::span<const double> x, std::span<const double> y) {
    std::vector<double> s(x.size());
    for (size_t t = 0; t < x.size(); ++t) {
        s[t] = x[t] - y[t];
    }
    const double m = mean(s);
    int32_t crossings = 0;
    int side = 0;
    for (double v : s) {
        const int now = v > m ? 1 : v < m ? -1 : 0;
        if (now != 0 && side != 0 && now != side) {
            ++crossings;
        }
        side = now != 0 ? now : side;
    }
    return crossings;
}

std::optional<double> ratioZ(std::span<const double> a, std::span<const double> b) {
    std::vector<double> r;
    for (size_t t = 0; t < a.size(); ++t) {
        if (!(a[t] > 0.0 && b[t] > 0.0)) {
            return std::nullopt;
        }
        r.push_back(std::log(a[t]) - std::log(b[t]));
    }
    if (r.empty()) {
        return std::nullopt;
    }
    const double m = mean(r);
    double squares = 0.0;
    for (double v : r) {
        squares += (v - m) * (v - m);
    }
    const double deviation = std::sqrt(squares / static_cast<double>(r.size()));
    if (!(deviation > 0.0)) {
        return std::nullopt;
    }
    return (r.back() - m) / deviation;
}

double normalCdf(double x) {
    return 0.5 * std::erfc(-x / std::sqrt(2.0));
}

// MacKinnon's tables for the constant-only case with two variables: below tauStar the small-p
// polynomial, above it the large-p one; beyond tauMin and tauMax the p-value is 0 and 1.
double mackinnonP(double t) {
    constexpr double kTauMax = 0.92;
    constexpr double kTauMin = -18.86;
    constexpr double kTauStar = -2.62;
    constexpr double kSmall[3] = {2.92, 1.5012, 3.9796e-2};
    constexpr double kLarge[4] = {2.1945, 6.4695e-1, -2.9198e-1, -4.2377e-2};
    if (t > kTauMax) {
        return 1.0;
    }
    if (t < kTauMin) {
        return 0.0;
    }
    const double poly = t <= kTauStar
                            ? kSmall[0] + t * (kSmall[1] + t * kSmall[2])
                            : kLarge[0] + t * (kLarge[1] + t * (kLarge[2] + t * kLarge[3]));
    return normalCdf(poly);
}

void adjustSortedPValues(std::vector<double>& sorted, size_t m) {
    double running = 1.0;
    for (size_t k = sorted.size(); k-- > 0;) {
        running =
            std::min(running, static_cast<double>(m) * sorted[k] / static_cast<double>(k + 1));
        sorted[k] = running;
    }
}

std::vector<double> benjaminiHochberg(const std::vector<double>& p, size_t m) {
    std::vector<size_t> order(p.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&p](size_t a, size_t b) { return p[a] < p[b]; });
    std::vector<double> sorted;
    for (size_t k : order) {
        sorted.push_back(p[k]);
    }
    adjustSortedPValues(sorted, m);
    std::vector<double> q(p.size());
    for (size_t k = 0; k < order.size(); ++k) {
        q[order[k]] = sorted[k];
    }
    return q;
}

}  // namespace zepa
