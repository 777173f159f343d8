#include "marketdata/correction_list.h"

#include "base/parse_int.h"
#include "marketdata/market_code.h"
#include "marketdata/text_file.h"

namespace zepa {

void loadCorrectionList(const std::string& path, CorrectionList& list) {
    list.correctionCount = 0;
    TextFile file;
    if (!file.open(path)) {
        return;
    }
    std::string line;
    while (list.correctionCount < kMaxCorrections && file.readLine(line)) {
        if (line[0] == '#') {
            continue;
        }
        // A blank or non-numeric line adds 0.
        list.entries[list.correctionCount++] = parseInt(line);
    }
}

int32_t correctionFactorOf(const CorrectionList& list, StockKey key) {
    int32_t code = key % kStockCodeModulus;
    for (int i = 0; i < list.correctionCount; ++i) {
        if (list.entries[i] == code) {
            return 100;
        }
    }
    return 1;
}

}  // namespace zepa
