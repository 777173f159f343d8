// Stock codes whose stored prices are multiplied by 100 for display.
#pragma once

#include <cstdint>
#include <string>

#include "marketdata/price_database.h"

namespace zepa {

inline constexpr int kMaxCorrections = 300;

struct CorrectionList {
    int32_t entries[kMaxCorrections] = {};
    int correctionCount = 0;
};

// A missing file gives an empty list, without a message.
void loadCorrectionList(const std::string& path, CorrectionList& list);

// 100 when the key's last five digits are listed (whatever the market), else 1.
int32_t correctionFactorOf(const CorrectionList& list, StockKey key);

}  // namespace zepa
