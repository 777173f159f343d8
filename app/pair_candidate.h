// A screened pair shown in the main window as if it were held: which leg is bought, how many
// shares, the lower pane on the ratio chart, and its simulated trades as marks on that chart.
// Moving to a held position leaves it; the ペア検索 window brings it back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chart/trade_marks.h"
#include "marketdata/pair_series.h"
#include "marketdata/position_file.h"
#include "screen/backtest_engine.h"

namespace zepa {

struct AppContext;
struct PositionForm;
class Shell;

// One leg of a screened pair as the table knows it.
struct CandidateLeg {
    char market = 'T';
    int32_t code = 0;
    std::string name;    // UTF-8
    double close = 0.0;  // stored close at the screen's end date, yen
};

struct PairCandidate {
    bool shown = false;  // the main window shows it rather than the held position
    PositionRecord record;
    int32_t ratioPeriod = 25;
    bool withBacktest = false;
    BacktestRule rule;                  // that made the trades
    std::vector<BacktestTrade> trades;  // of the chart's buy leg over its sell leg
    BacktestStats stats;
    // The user's lower pane and ratio period while the candidate borrows them.
    int32_t savedLowerPaneMode = 0;
    int32_t savedRatioPeriod = 25;
};

// Shares for `amount` yen at `close`: whole trading units, rounded down, at least one.
int64_t unitQuantity(double amount, double close);

// The record of a pair whose ratio a / b has z: the cheaper leg is bought (a when z < 0 or
// none, else b), each leg for `amount` yen at its close, both entered on `entryDate` (YYYYMMDD).
PositionRecord candidateRecord(const CandidateLeg& a, const CandidateLeg& b, double z, bool hasZ,
                               double amount, int32_t entryDate);
// True when the record's buy leg is `a`.
bool candidateBuysA(double z, bool hasZ);

// The marks of trades (of the buy leg over the sell leg) on a series: each fill's date at its
// slot (the slot whose bar holds the date: the week's on weekly bars); a trade still open has no
// exit mark, and a fill outside the series none.
TradeMarks tradeMarksOn(const std::vector<BacktestTrade>& trades, const std::vector<DayBar>& bars);

// The rule's trades of the pair of `series` (bought leg over sold leg, daily bars); false when
// the series cannot be backtested (weekly bars, memory short, its dates not the calendar's).
bool backtestSeries(const SpreadSeries& series, const BacktestCalendar& calendar,
                    const BacktestRule& rule, std::vector<BacktestTrade>& trades,
                    BacktestStats& stats);

// The trades the chart and the 検証 window show: the candidate's, or with 検証を表示 those of
// the default rule on the held position (daily bars).
struct ShownBacktest {
    bool valid = false;
    // The pair as the chart shows it: the trades' a is its buy leg, b its sell leg.
    char buyMarket = 'T';
    int32_t buyCode = 0;
    std::string buyName;  // UTF-8
    char sellMarket = 'T';
    int32_t sellCode = 0;
    std::string sellName;
    BacktestRule rule;
    int32_t firstDate = 0;  // YYYYMMDD: the dates the rule ran over
    int32_t lastDate = 0;
    std::vector<BacktestTrade> trades;
    BacktestStats stats;
    TradeMarks marks;      // of the trades on the series on show
    int64_t revision = 0;  // counts the updates, for windows that show the trades
};

// After every series build: the shown trades and their marks on the new series.
void updateShownBacktest(AppContext& a);

// "建玉に追加": the add dialog's fields for the candidate: both legs' codes with their market
// letters, short names and quantities, entered on the newest date; all editable before the
// write.
PositionForm candidatePositionForm(AppContext& a, const PairCandidate& candidate);

// Shows the candidate in the main window: its series built as a position's, the lower pane on
// the ratio chart with the candidate's period, its marks. False (with the build's message
// shown) when its series cannot be built; the previous chart then stays.
bool showCandidate(AppContext& a, Shell& shell, PairCandidate candidate);
// Back to the held position: the user's lower pane and period restored, the marks gone. The
// caller rebuilds and redraws.
void leaveCandidate(AppContext& a);
// Down, Up and Home leave a candidate for the held positions. Returns true when the move itself
// cannot be made (`movable` false): the position shown before the candidate is then back on
// show and the move is done; false when the move should go on (or no candidate was shown).
bool leaveCandidateToMove(AppContext& a, Shell& shell, bool movable);

}  // namespace zepa
