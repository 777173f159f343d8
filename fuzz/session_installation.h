// The files a fuzzed viewer session opens besides its price files: positions over the given
// keys (plus one stock no file lists), a correction list and a tip file.
#pragma once

#include <cstdint>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/scratch_installation.h"
#include "marketdata/price_database.h"

namespace zepa::fuzz {

void writeSessionTexts(const ScratchInstallation& s, const std::vector<StockKey>& keys,
                       FuzzInput& in);

// A small, sound price file of three stocks (one of them ×100 in the correction list).
void writeFixedPriceFile(const ScratchInstallation& s);
inline constexpr StockKey kFixedStocks[] = {100001301, 100001332, 200009984};

}  // namespace zepa::fuzz
