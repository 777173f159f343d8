#include "app/pair_candidate.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/frame_handlers.h"
#include "app/position_forms.h"
#include "base/codepage.h"
#include "marketdata/market_code.h"
#include "positions/position_line.h"
#include "screen/backtest_slots.h"

namespace zepa {
namespace {

// The position file keeps six bytes of a short name; a character is never cut in two.
std::string shortNameOf(const std::string& utf8) {
    return cutCp932(cp932FromUtf8(utf8), kShortNameBytes);
}

PositionLeg legOf(const CandidateLeg& leg, double amount, int32_t entryDate) {
    PositionLeg out;
    out.marketLetter[0] = leg.market;
    out.stockCode = leg.code;
    out.shortName = shortNameOf(leg.name);
    out.entryDate = entryDate % 1000000;
    out.quantity =
        static_cast<int32_t>(std::min<int64_t>(unitQuantity(amount, leg.close), 999999999));
    return out;
}

// The slot of the bar holding `date`: the last bar dated on or before it.
int32_t slotOfDate(const std::vector<DayBar>& bars, int32_t date) {
    int32_t slot = -1;
    for (size_t i = 0; i < bars.size(); ++i) {
        if (bars[i].date.month == 0) {
            continue;
        }
        const int32_t d = dateValue(bars[i].date);
        if (d > date) {
            break;
        }
        slot = static_cast<int32_t>(i);
    }
    return slot;
}

}  // namespace

int64_t unitQuantity(double amount, double close) {
    if (!(close > 0.0) || !(amount > 0.0)) {
        return kTradingUnit;
    }
    const double units = std::floor(amount / (close * static_cast<double>(kTradingUnit)));
    return static_cast<int64_t>(std::clamp(units, 1.0, 1.0e7)) * kTradingUnit;
}

bool candidateBuysA(double z, bool hasZ) {
    return !hasZ || !(z > 0.0);
}

PositionRecord candidateRecord(const CandidateLeg& a, const CandidateLeg& b, double z, bool hasZ,
                               double amount, int32_t entryDate) {
    const bool buyA = candidateBuysA(z, hasZ);
    PositionRecord r;
    r.buy = legOf(buyA ? a : b, amount, entryDate);
    r.sell = legOf(buyA ? b : a, amount, entryDate);
    return r;
}

TradeMarks tradeMarksOn(const std::vector<BacktestTrade>& trades, const std::vector<DayBar>& bars) {
    TradeMarks marks;
    for (const BacktestTrade& t : trades) {
        // a is the chart's buy leg: BuyA buys it.
        const bool up = t.direction == BacktestDirection::BuyA;
        const int32_t entry = slotOfDate(bars, t.entryDate);
        if (entry >= 0) {
            marks.push_back({entry, up ? TradeMarkKind::EntryUp : TradeMarkKind::EntryDown, up});
        }
        if (t.reason == BacktestExit::Open) {
            continue;
        }
        const int32_t exit = slotOfDate(bars, t.exitDate);
        if (exit >= 0) {
            const TradeMarkKind kind = t.reason == BacktestExit::Stop   ? TradeMarkKind::ExitStop
                                       : t.reason == BacktestExit::Time ? TradeMarkKind::ExitTime
                                                                        : TradeMarkKind::ExitTarget;
            marks.push_back({exit, kind, up});
        }
    }
    return marks;
}

bool backtestSeries(const SpreadSeries& series, const BacktestCalendar& calendar,
                    const BacktestRule& rule, std::vector<BacktestTrade>& trades,
                    BacktestStats& stats) {
    trades.clear();
    stats = BacktestStats{};
    if (!series.buyBarsAllocated || !series.sellBarsAllocated ||
        series.buyBars.size() != calendar.dates.size()) {
        return false;
    }
    BacktestLegData a;
    BacktestLegData b;
    if (makeBacktestLeg(series.buyBars, series.buyStart, a) != 1 ||
        makeBacktestLeg(series.sellBars, series.sellStart, b) != 1) {
        return false;
    }
    const BacktestPair pair{a.view(), b.view(), static_cast<int32_t>(series.buyBars.size())};
    BacktestWorkspace ws;
    if (runBacktest(pair, calendar, rule, ws, stats) != 1) {
        stats = BacktestStats{};
        return false;
    }
    trades = std::move(ws.trades);
    return true;
}

PositionForm candidatePositionForm(AppContext& a, const PairCandidate& candidate) {
    PositionForm form = positionFormFor(a, -1);
    const auto code = [](const PositionLeg& leg) {
        return std::string(1, leg.marketLetter[0] != '\0' ? leg.marketLetter[0] : 'T') +
               std::to_string(leg.stockCode);
    };
    const PositionRecord& r = candidate.record;
    form.buyCode = code(r.buy);
    form.sellCode = code(r.sell);
    form.buyName = utf8FromCp932(r.buy.shortName);
    form.sellName = utf8FromCp932(r.sell.shortName);
    form.buyQuantity = std::to_string(r.buy.quantity);
    form.sellQuantity = std::to_string(r.sell.quantity);
    form.byAmount = false;
    return form;
}

bool showCandidate(AppContext& a, Shell& shell, PairCandidate candidate) {
    stopAutoStepping(a, shell);
    const bool wasShown = a.candidate.shown;
    candidate.savedLowerPaneMode =
        wasShown ? a.candidate.savedLowerPaneMode : a.settings.lowerPaneMode;
    candidate.savedRatioPeriod = wasShown ? a.candidate.savedRatioPeriod : a.settings.ratioPeriod;
    candidate.shown = true;
    a.candidate = std::move(candidate);
    a.settings.lowerPaneMode = 3;
    a.settings.ratioPeriod = a.candidate.ratioPeriod;
    a.view.scrollBack = 0;
    if (!rebuildSeries(a, shell)) {
        leaveCandidate(a);
        if (rebuildSeries(a, shell)) {
            redrawChart(a, shell);
        } else {
            shell.invalidateWindow();
        }
        return false;
    }
    redrawChart(a, shell);
    return true;
}

void leaveCandidate(AppContext& a) {
    if (!a.candidate.shown) {
        return;
    }
    a.settings.lowerPaneMode = a.candidate.savedLowerPaneMode;
    // A period set in 設定 meanwhile is the user's own and stays.
    if (a.settings.ratioPeriod == a.candidate.ratioPeriod) {
        a.settings.ratioPeriod = a.candidate.savedRatioPeriod;
    }
    a.candidate.shown = false;
    const int64_t revision = a.shownBacktest.revision + 1;
    a.shownBacktest = ShownBacktest{};
    a.shownBacktest.revision = revision;
}

bool leaveCandidateToMove(AppContext& a, Shell& shell, bool movable) {
    if (!a.candidate.shown) {
        return false;
    }
    leaveCandidate(a);
    if (movable) {
        return false;
    }
    if (rebuildSeries(a, shell)) {
        redrawChart(a, shell);
    } else {
        shell.invalidateWindow();
    }
    return true;
}

void updateShownBacktest(AppContext& a) {
    ShownBacktest& b = a.shownBacktest;
    const int64_t revision = b.revision + 1;
    b = ShownBacktest{};
    b.revision = revision;
    if (!a.series.buyBarsAllocated || !a.series.sellBarsAllocated) {
        return;
    }
    const BacktestCalendar calendar = installationCalendar(a.md.set);
    if (a.candidate.shown) {
        if (!a.candidate.withBacktest) {
            return;
        }
        b.rule = a.candidate.rule;
        b.trades = a.candidate.trades;
        b.stats = a.candidate.stats;
        b.valid = true;
    } else if (a.settings.showBacktest == 1 && a.view.weeklyBars == 0) {
        b.rule.ratioPeriod = a.settings.ratioPeriod;
        b.valid = backtestSeries(a.series, calendar, b.rule, b.trades, b.stats);
    }
    if (b.valid) {
        b.marks = tradeMarksOn(b.trades, a.series.buyBars);
        b.buyMarket = marketLetterOf(a.series.buyMarketCode);
        b.buyCode = a.series.buyStockCode;
        // The price file pads its names with blanks.
        const auto name = [](const char* cp932) {
            std::string utf8 = utf8FromCp932(cp932);
            utf8.erase(utf8.find_last_not_of(' ') + 1);
            return utf8;
        };
        b.buyName = name(a.series.buyStockName);
        b.sellMarket = marketLetterOf(a.series.sellMarketCode);
        b.sellCode = a.series.sellStockCode;
        b.sellName = name(a.series.sellStockName);
        if (!calendar.dates.empty()) {
            b.firstDate = std::max(calendar.dates.front(), b.rule.startDate);
            b.lastDate = std::min(calendar.dates.back(), b.rule.endDate);
        }
    }
}

}  // namespace zepa
