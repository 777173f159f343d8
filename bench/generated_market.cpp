#include "bench/generated_market.h"

#include <cmath>
#include <fstream>
#include <random>
#include <string>

namespace zepa {

ScreenMarket generatedMarket(const GeneratedMarketShape& shape) {
    constexpr int kSectors = 33;
    const int dates = shape.dates;
    ScreenMarket m;
    std::mt19937_64 random(20261207);
    std::normal_distribution<double> normal(0.0, 1.0);
    for (int d = 0; d < dates; ++d) {
        m.dates.push_back(20200101 + d);
    }
    m.window = dates;
    std::vector<double> market(static_cast<size_t>(dates));
    std::vector<double> sector(static_cast<size_t>(dates) * kSectors);
    for (double& f : market) {
        f = normal(random);
    }
    for (double& f : sector) {
        f = normal(random);
    }
    m.closes.resize(static_cast<size_t>(shape.stocks) * static_cast<size_t>(dates));
    for (int s = 0; s < shape.stocks; ++s) {
        ScreenStock stock;
        stock.code = 1300 + s;
        stock.marketCode = 1;
        stock.sector33 = std::to_string(s % kSectors);
        stock.turnover = 1e8;
        double log = std::log(shape.firstClose(s));
        double* closes = m.closes.data() + static_cast<size_t>(s) * static_cast<size_t>(dates);
        for (int d = 0; d < dates; ++d) {
            const double r =
                std::sqrt(0.3) * market[static_cast<size_t>(d)] +
                std::sqrt(shape.industryShare) *
                    sector[static_cast<size_t>(d) * kSectors + static_cast<size_t>(s % kSectors)] +
                std::sqrt(shape.ownShare) * normal(random);
            log += 0.015 * r;
            closes[d] = std::exp(log);
        }
        stock.storedCloseAtEnd = closes[dates - 1];
        m.stocks.push_back(stock);
    }
    return m;
}

double peakResidentMB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0.0;
}

void resetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace zepa
