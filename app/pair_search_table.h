// The ペア検索 window's result table as plain data: one row per listed pair, the columns with
// their headers and cell texts, the header-click sort orders, the funnel line and the table as
// text for the clipboard or a CSV file. Both shells draw what this holds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/grouped_number.h"
#include "marketdata/listing_file.h"
#include "screen/backtest_stats.h"
#include "screen/screen_run.h"

namespace zepa {

enum class PairColumn {
    ACode,
    AName,
    BCode,
    BName,
    Sector,
    Correlation,
    CorrelationShort,
    Beta,
    T,
    P,
    Q,
    HalfLife,
    Z,
    // With 検証 on:
    Trades,
    WinRate,
    Net,
    ProfitFactor,
    MaxDrawdown,
    AverageHolding,
};

// One listed pair as its candidate trades it: a is the bought leg (the cheaper one by the sign
// of the screen's z), b the sold one. β, t, p and q stay the screen's regression of its
// regressed stock on the other, whichever of them is bought.
struct PairSearchRow {
    int32_t rank = 0;  // the screen's order, from 0
    char aMarket = 'T';
    int32_t aCode = 0;
    std::string aName;  // UTF-8
    char bMarket = 'T';
    int32_t bCode = 0;
    std::string bName;
    std::string sector;  // UTF-8; "" where unknown
    double correlation = 0.0;
    std::optional<double> correlationShort;
    double beta = 0.0;
    std::optional<double> t;
    std::optional<double> p;
    std::optional<double> q;
    std::optional<double> halfLife;
    std::optional<double> z;  // of a / b as the candidate's ratio chart shows it (<= 0)
    bool turned = false;      // a is the screen's second stock (its z of first / second > 0)
    std::optional<BacktestStats> stats;
    // For showing the pair: both stored closes at the screen's end, and with 検証 on the
    // backtest's trades (of a / b, as the chart shows them).
    double aClose = 0.0;
    double bClose = 0.0;
    std::vector<BacktestTrade> trades;
};

struct PairSearchTable {
    std::vector<PairSearchRow> rows;  // in the order shown
    bool withBacktest = false;
    int32_t windowDays = 0;  // the screen's window, for the headers of the columns taken on it
    // The dates the 検証 columns' backtest ran over, YYYYMMDD; 0 where unknown.
    int32_t backtestFirstDate = 0;
    int32_t backtestLastDate = 0;
    // The sort of the last header click; none: the screen's order.
    std::optional<PairColumn> sortColumn;
    bool reversed = false;
};

// The columns shown: the screen's, and the backtest's with 検証 on.
std::vector<PairColumn> pairColumns(bool withBacktest);
// The header text, UTF-8: the column's name, with the window of the screen's 相関 and 半減期
// ("相関(250日)"), and on 取引回数 that the backtest is measured on dates holding the screen's
// own, with those dates ("検証(選定期間) 取引回数(2023-12-04〜2026-12-04)").
std::string pairColumnHeader(const PairSearchTable& table, PairColumn column);
// Whether the column holds names (aligned left) rather than numbers (aligned right).
bool pairColumnIsText(PairColumn column);
// The cell as shown, UTF-8; "--" where the value is missing.
std::string pairCell(const PairSearchRow& row, PairColumn column);

// The cell as a spreadsheet takes it (the clipboard's and the CSV file's): numbers plain at the
// precision held, without grouping, units or "%"; a missing value empty; texts as shown.
std::string pairSpreadsheetCell(const PairSearchRow& row, PairColumn column);

// The file name offered for saving the table, naming the screen's end date (YYYYMMDD):
// "ペア検索_2025-03-14.csv".
std::string pairTableFileName(int32_t endDate);

// The row of a screened pair, its legs turned as the candidate trades them (b bought and the
// sign of z turned when the screen's z of a / b is above 0); `sectorKind` is the screen's
// industry option (33 shows the 33 industries, otherwise the 17 ones where known), named from
// the listing where it has the code.
PairSearchRow pairSearchRow(const ScreenMarket& market, const ScreenPair& pair, int32_t rank,
                            int sectorKind, const ListingTable* listing = nullptr);

// A header click: the first click on a column sorts by it in its natural order (the better
// value first: high correlations, low p, short half-lives, large |Z|, high profits; names and
// codes ascending), a second click on the same column reverses it. Missing values stay last
// either way; equal values keep the screen's order.
void clickPairHeader(PairSearchTable& table, PairColumn column);
// Sorts the rows by the table's sort column and direction.
void sortPairRows(PairSearchTable& table);

// "4,000銘柄 → 7,998,000組 → 相関 41,203 → p 3,118 → 半減期 1,042　上位 100 組を表示": the
// universe, the pairs formed, the count after each filter that was on and the rows listed.
std::string funnelLine(const ScreenResult& result, const ScreenOptions& options);

// The header and every row, tab-separated, LF line ends (the clipboard), or as CSV (UTF-8 with a
// byte-order mark, CR LF).
std::string pairTableTsv(const PairSearchTable& table);
std::string pairTableCsv(const PairSearchTable& table);

}  // namespace zepa
