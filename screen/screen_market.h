// The market as the screen sees it: the closes of every stock over the loaded dates ending at the
// end date, split-adjusted and corrected as the ratio chart adjusts them, with what the universe
// rules need beside them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zepa {

struct ScreenStock {
    int32_t code = 0;        // the 4-digit stock code
    int32_t marketCode = 0;  // of the stock key
    std::string name;        // UTF-8
    std::string sector17;    // listing data; "" where unknown
    std::string sector33;
    int32_t marginCode = 0;       // listing data's MarginCode, 0 where unknown
    double turnover = 0.0;        // mean of stored close x volume over the window, yen
    double storedCloseAtEnd = 0;  // 0 without a trade at the end date
};

struct ScreenMarket {
    std::vector<int32_t> dates;  // YYYYMMDD of the loaded rows, oldest first; the last is the end
    int32_t window = 0;          // the last `window` rows are the screen's window
    int32_t endSlot = -1;        // the end date's slot on the installation's date axis
    std::vector<ScreenStock> stocks;
    // rows() entries per stock, stock after stock: the close as the ratio chart takes it (stored
    // close x correction x the split adjustments after it), 0 where the stock has none.
    // The viewer carries a close into a date without trade: such a date has its close here and 0
    // in `traded` (same layout). Empty `traded`: every date with a close traded.
    std::vector<double> closes;
    std::vector<uint8_t> traded;
    // For screens at earlier end rows (same layout, empty when loaded for one end date): the
    // stored close on each traded date and its close x volume, 0 on other dates, from which
    // a stock's turnover and close at any end row are taken as they are at the last.
    std::vector<int32_t> storedCloses;
    std::vector<double> tradedValues;

    int32_t rows() const { return static_cast<int32_t>(dates.size()); }
    // The screen's last row: `endRow`, or the last row when it is negative.
    int32_t endRowOf(int32_t endRow) const { return endRow < 0 ? rows() - 1 : endRow; }
    const double* closesOf(size_t stock) const { return closes.data() + stock * dates.size(); }
    bool tradedAt(size_t stock, int32_t row) const {
        const size_t at = stock * dates.size() + static_cast<size_t>(row);
        return closes[at] > 0.0 && (traded.empty() || traded[at] != 0);
    }
};

// What the universe rules read of a stock at an end row: the mean turnover over the `window`
// rows ending there and the stored close at it (0 without a trade). The stock's own fields
// where the market holds no per-row figures.
struct ScreenStockAtEnd {
    double turnover = 0.0;
    double storedClose = 0.0;
};
ScreenStockAtEnd stockAtEnd(const ScreenMarket& market, size_t stock, int32_t endRow,
                            int32_t window);

}  // namespace zepa
