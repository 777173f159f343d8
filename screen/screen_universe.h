// The stocks a screen pairs, and their columns: the matrices whose products give every pair's
// sums. Column k belongs to market stock `stocks[k]`.
#pragma once

#include <Eigen/Core>
#include <cstdint>
#include <vector>

#include "screen/screen_market.h"
#include "screen/screen_options.h"

namespace zepa {

// What each column's own sums are, for the pair sums built from the products.
struct ColumnSums {
    double levelSquares = 0.0;   // sum of levels^2: the centred log closes
    double laggedSquares = 0.0;  // sum of lagged^2
    double diffSquares = 0.0;    // sum of diffs^2
    double diffLagged = 0.0;     // diffs . lagged
    double lagShift = 0.0;       // mean of rows 0..W-2 minus the mean of all W rows
    double firstLevel = 0.0;     // levels at the window's first date
    double lastLevel = 0.0;      // levels at the end date
    double diffMean = 0.0;       // mean of diffs
    double diffSpread = 0.0;     // length of diffs minus their mean
    double rise = 0.0;           // log close at the end minus at the first date
    double priceMean = 0.0;      // mean of close / first close
    double priceSquares = 0.0;   // sum of prices^2
    bool shortMoves = false;     // the short window's returns vary
};

struct ScreenUniverse {
    std::vector<int32_t> stocks;  // indices into the market's stocks, in its order
    int32_t window = 0;           // W
    // Over the window, a missing close repeating the one before:
    Eigen::MatrixXd levels;        // W rows: log close minus its mean
    Eigen::MatrixXd diffs;         // W-1 rows: log returns
    Eigen::MatrixXd lagged;        // W-1 rows: log close of rows 0..W-2 minus their mean
    Eigen::MatrixXd returns;       // W-1 rows: centred log returns scaled to unit length
    Eigen::MatrixXf returnsFloat;  // the same in single precision, for the first filter
    Eigen::MatrixXd shortReturns;  // S-1 rows: the same over the last S dates
    Eigen::MatrixXd prices;        // W rows: close / first close minus its mean
    std::vector<ColumnSums> sums;
};

// The stocks with a close on the end date, on the window's first date and on at least 98 % of
// the window's dates, whose closes move, and which pass the options' universe rules.
// False when memory runs short.
bool buildUniverse(const ScreenMarket& market, const ScreenOptions& options,
                   ScreenUniverse& universe);

// The window's closes of one market stock, ending at `endRow` (-1: the last row), with each
// missing close repeating the one before; false when the stock is not in the universe by the
// window rules above.
bool windowCloses(const ScreenMarket& market, size_t stock, int32_t window,
                  std::vector<double>& closes, int32_t endRow = -1);

}  // namespace zepa
