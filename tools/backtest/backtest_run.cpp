#include "tools/backtest/backtest_run.h"

#include "base/codepage.h"
#include "marketdata/data_error.h"
#include "marketdata/pair_series.h"
#include "positions/position_request.h"
#include "screen/backtest_engine.h"
#include "tools/common/installation.h"

namespace zepa {
namespace {

// The position leg of the code, its market settled as the position forms settle it (a bare
// code: 東証 first); false when no file lists it.
bool findLeg(MarketData& md, const BacktestCode& code, PositionLeg& leg) {
    StockRef ref;
    std::string japaneseMessage;  // this command says it in its own words
    if (!resolveStockCode(md, code.text, ref, japaneseMessage)) {
        return false;
    }
    leg.marketLetter[0] = ref.marketLetter;
    leg.stockCode = ref.stockCode;
    return true;
}

BacktestRunResult refused(int code, std::string problem) {
    BacktestRunResult r;
    r.exitCode = code;
    r.problem = "zepa_backtest: " + std::move(problem);
    return r;
}

// The price databases and the correction list, as loadInstallation reads them; the backtest
// needs no position file, so a missing one is no failure here.
bool loadPrices(const std::string& root, Installation& in) {
    const LoadOutcome outcome = loadInstallation(root, in);
    if (outcome == LoadOutcome::PositionFileMissing) {
        in.md.dataDirectory = in.paths.dataDirectory;
        if (scanPriceDatabases(in.md) != DataError::None ||
            loadPriceDatabases(in.md) != DataError::None) {
            return false;
        }
        loadCorrectionList(in.paths.correctionFile, in.corrections);
        return true;
    }
    return outcome == LoadOutcome::Loaded;
}

}  // namespace

BacktestRunResult runBacktestCommand(const BacktestOptions& options) {
    Installation in;
    if (!loadPrices(options.root, in)) {
        return refused(kBacktestExitRefused,
                       dataErrorMessage(in.md.dataError, in.paths.dataDirectory));
    }
    PositionRecord record;
    if (!findLeg(in.md, options.a, record.buy)) {
        return refused(kBacktestExitRefused, "no price file lists the code " + options.a.text);
    }
    if (!findLeg(in.md, options.b, record.sell)) {
        return refused(kBacktestExitRefused, "no price file lists the code " + options.b.text);
    }
    // a as the bought leg and b as the sold one: the ratio chart's buy / sell is a / b.
    SpreadSeries series;
    const PairSeriesResult built =
        buildPairSeries(in.md, in.corrections, record, PairSeriesOptions{}, series);
    if (built.message == PairSeriesMessage::DataError) {
        return refused(kBacktestExitRefused,
                       dataErrorMessage(in.md.dataError, in.paths.dataDirectory));
    }
    if (built.result != 1) {
        return refused(kBacktestExitRefused, options.a.text + " / " + options.b.text + ": " +
                                                 pairSeriesMessageText(built.message));
    }
    const BacktestCalendar calendar = installationCalendar(in.md.set);
    BacktestLegData a;
    BacktestLegData b;
    if (makeBacktestLeg(series.buyBars, series.buyStart, a) != 1 ||
        makeBacktestLeg(series.sellBars, series.sellStart, b) != 1) {
        return refused(kBacktestExitRefused, pairSeriesMessageText(PairSeriesMessage::OutOfMemory));
    }
    const BacktestPair pair{a.view(), b.view(), static_cast<int32_t>(series.buyBars.size())};
    BacktestWorkspace ws;
    BacktestRunResult result;
    const int ran = runBacktest(pair, calendar, options.rule, ws, result.stats);
    if (ran != 1) {
        return refused(kBacktestExitRefused,
                       ran == 0 ? "the pair's dates do not match the price files' dates"
                                : pairSeriesMessageText(PairSeriesMessage::OutOfMemory));
    }
    result.trades = ws.trades;
    result.aName = utf8FromCp932(series.buyStockName);
    result.bName = utf8FromCp932(series.sellStockName);
    return result;
}

}  // namespace zepa
