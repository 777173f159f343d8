#include "app/price_reload.h"

#include <utility>

#include "app/frame_handlers.h"

namespace zepa {

DataError reloadPrices(AppContext& a, Shell& shell) {
    MarketData fresh;
    fresh.dataDirectory = a.md.dataDirectory.empty() ? a.paths.dataDirectory : a.md.dataDirectory;
    DataError error = scanPriceDatabases(fresh);
    if (error == DataError::None) {
        error = loadPriceDatabases(fresh);
    }
    if (error != DataError::None) {
        releaseMarketData(fresh);
        return error;
    }
    releaseMarketData(a.md);
    a.md = std::move(fresh);
    onCommand(a, shell, command::kReloadPositions);
    return DataError::None;
}

}  // namespace zepa
