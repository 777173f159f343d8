#include "fuzz/session_installation.h"

#include <cstdio>
#include <string>

#include "marketdata/market_code.h"
#include "tools/dbw_writer.h"

namespace zepa::fuzz {

namespace {

// The position file's letter for a key's market; keys without one get T and are not found.
char letterOf(StockKey key) {
    switch (static_cast<uint32_t>(key) / kMarketScale) {
        case 2:
            return 'O';
        case 3:
            return 'N';
        case 8:
            return 'K';
        case 9:
            return 'G';
        default:
            return 'T';
    }
}

// One leg in its 39 columns: code, short name, entry date, quantity, and the blank before the
// next leg.
std::string leg(StockKey key, FuzzInput& in) {
    // Entry dates: none, before, inside and after any plausible file.
    static constexpr int32_t kDates[] = {0, 990101, 240105, 250630, 700101, 991231, 101, 311299};
    char text[40];
    std::snprintf(text, sizeof text, "%c%-7d %-9s %06d    %-9d ", letterOf(key),
                  static_cast<int>(static_cast<uint32_t>(key) % kStockCodeModulus), "NAME",
                  static_cast<int>(kDates[in.pick(8)]), 100 * in.pick(50));
    return text;
}

}  // namespace

void writeSessionTexts(const ScratchInstallation& s, const std::vector<StockKey>& keys,
                       FuzzInput& in) {
    std::string positions = "# positions\n";
    const size_t n = keys.size();
    for (size_t i = 0; i < n + 2; ++i) {
        const StockKey buy = i < n ? keys[i] : 100099999;
        const StockKey sell = n == 0 ? 100099998 : keys[(i + 1) % n];
        positions += leg(buy, in) + leg(sell, in) + "\r\n";
    }
    writeWholeFile(s.paths.positionFile, positions);
    writeWholeFile(s.paths.correctionFile, "1332\n9984\n");
    writeWholeFile(s.paths.tipFile, "# tips\nfirst\nsecond\n");
}

void writeFixedPriceFile(const ScratchInstallation& s) {
    DbwFile file;
    for (int i = 0; i < 260; ++i) {
        file.dates.push_back(PackedDate{static_cast<uint8_t>(54 + i / 240),
                                        static_cast<uint8_t>(1 + i / 20 % 12),
                                        static_cast<uint8_t>(1 + i % 20)});
    }
    for (StockKey key : kFixedStocks) {
        DbwStock stock{key, "STOCK", {}};
        for (int i = 0; i < 260; ++i) {
            const int32_t close = 900 + (key % 7) * 40 + (i * 37 % 61) - (i % 9 == 0 ? 30 : 0);
            stock.records.push_back(
                i % 50 == 7 ? DbwRecord{}
                            : DbwRecord{close - 3, close + 8, close - 9, close, 4000, 0});
        }
        file.stocks.push_back(stock);
    }
    writePriceDatabase(s.paths.dataDirectory + "/DBW.001", file);
}

}  // namespace zepa::fuzz
