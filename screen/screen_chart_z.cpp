#include "screen/screen_chart_z.h"

#include "marketdata/market_code.h"
#include "marketdata/pair_series.h"
#include "marketdata/ratio_statistics.h"

namespace zepa {

std::optional<double> chartRatioZ(MarketData& md, const CorrectionList& corrections,
                                  const ScreenStock& a, const ScreenStock& b, int32_t period,
                                  int32_t slot) {
    PositionRecord position;
    position.buy.marketLetter[0] = marketLetterOf(a.marketCode);
    position.buy.stockCode = a.code;
    position.sell.marketLetter[0] = marketLetterOf(b.marketCode);
    position.sell.stockCode = b.code;
    if (position.buy.marketLetter[0] == 0 || position.sell.marketLetter[0] == 0) {
        return std::nullopt;
    }
    SpreadSeries series;
    if (buildPairSeries(md, corrections, position, PairSeriesOptions{}, series).result != 1) {
        return std::nullopt;
    }
    RatioStatistics statistics;
    if (computeRatioStatistics(series, period, statistics) != 1 || slot < 0 ||
        static_cast<size_t>(slot) >= statistics.slots.size() ||
        !statistics.slots[static_cast<size_t>(slot)].hasZ) {
        return std::nullopt;
    }
    return statistics.slots[static_cast<size_t>(slot)].z;
}

}  // namespace zepa
