// The invented stocks of the demo market.
#pragma once

#include <cstdint>
#include <span>

#include "marketdata/price_database.h"
#include "tools/demo/demo_calendar.h"

namespace zepa {

// Stocks of one sector share a daily move; that shared part is what makes a pair tradable.
enum class DemoSector {
    Index,
    Construction,
    Foods,
    Chemicals,
    Pharma,
    Steel,
    Machinery,
    Electronics,
    Autos,
    Trading,
    Banks,
    Railways,
    Shipping,
    Utilities,
};
inline constexpr int kDemoSectorCount = 14;

struct DemoStock {
    char marketLetter = 'T';  // T, O, N, K; the index has a letter of market code 0
    int32_t code = 0;
    const char* name = "";       // UTF-8, at most four full-width characters
    const char* shortName = "";  // UTF-8, at most three full-width characters
    DemoSector sector = DemoSector::Index;
    int32_t firstPrice = 0;    // yen (points for the index) on its first trading day
    double beta = 1.0;         // share of the market's move
    double volatility = 0.0;   // daily size of its own moves
    int64_t dailyVolume = 0;   // typical shares a day
    double noTradeChance = 0;  // for thinly traded stocks
    int32_t priceUnit = 1;     // yen per stored unit; 100 needs an entry in the correction list
    CivilDay listedOn{};       // not ok(): listed before the data begins
    CivilDay splitOn{};        // not ok(): no split
    int splitRatio = 1;        // new shares per old share
    // A planted pair: the stock trades at the price of the stock `tracks` (listed before it)
    // times (1 + s) and its first-price ratio, s an AR(1) spread s' = φ s + noise around 0 with
    // φ = spreadPersistence (half-life ln 2 / -ln φ days) and standard deviation
    // spreadDeviation. The two are cointegrated: their ratio reverts, as pair traders hope.
    int32_t tracks = 0;
    double spreadPersistence = 0;
    double spreadDeviation = 0;
};

std::span<const DemoStock> demoStocks();

StockKey demoStockKey(const DemoStock& stock);

// Index into the stocks of the stock with that code, or -1. Codes are unique in the demo.
int findDemoStock(std::span<const DemoStock> stocks, int32_t code);

}  // namespace zepa
