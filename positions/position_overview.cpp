#include "positions/position_overview.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>

#include "base/wrapping.h"
#include "marketdata/margin_carry.h"
#include "marketdata/market_code.h"
#include "marketdata/pair_series.h"
#include "marketdata/position_figures.h"
#include "marketdata/ratio_statistics.h"
#include "marketdata/split_adjustment.h"
#include "positions/position_request.h"

namespace zepa {
namespace {

namespace chr = std::chrono;

// What one leg of one position gives: the chart's bars of the last few date slots, with the
// gain since the entry and the splits since it, as buildPairSeries would have made them.
struct LegTail {
    PairSeriesMessage message = PairSeriesMessage::None;
    int32_t start = 0;      // the stock's first slot, counted from the tail's first
    int32_t entryBar = -1;  // on the installation's date axis
    int32_t entryClose = 0;
    std::vector<DayBar> bars;
    std::vector<double> splits;  // empty: no split since the entry
};

struct LegUse {
    size_t row;
    Leg leg;
};

StockKey keyOf(const PositionLeg& leg) {
    return marketCodeOf(leg.marketLetter[0]) * kMarketScale + leg.stockCode;
}

// Fills the tails of every use of the stock just read, whose `tail` last slots are kept.
void fillTails(const StockSeries& s, int32_t dateCount, int32_t tail, int32_t factor,
               const std::vector<PositionRecord>& records, const std::vector<LegUse>& uses,
               std::vector<LegTail>& legs) {
    const int32_t start = dateCount - s.length;
    const int32_t first = dateCount - tail;
    std::vector<DayBar> bars(static_cast<size_t>(tail));
    for (int32_t b = std::max(first, start); b < dateCount; ++b) {
        const auto k = static_cast<size_t>(b - start);
        DayBar& bar = bars[static_cast<size_t>(b - first)];
        bar.date = s.date[k];
        bar.close = wrapMul(s.close[k], factor);
        bar.adjustment = s.adjustment[k];
    }
    for (const LegUse& use : uses) {
        const PositionRecord& record = records[use.row];
        const bool sell = use.leg == Leg::Sell;
        LegTail& t = legs[use.row * 2 + (sell ? 1 : 0)];
        t.start = std::max(start - first, 0);
        t.bars = bars;
        const int64_t threshold =
            entryThreshold(sell ? record.sell.entryDate : record.buy.entryDate);
        int32_t entryDay = 0;
        while (entryDay < s.length &&
               dateValue(s.date[static_cast<size_t>(entryDay)]) < threshold) {
            ++entryDay;
        }
        if (entryDay >= s.length) {
            continue;
        }
        t.entryBar = start + entryDay;
        t.entryClose = wrapMul(s.close[static_cast<size_t>(entryDay)], factor);
        for (int32_t b = std::max(first, t.entryBar); b < dateCount; ++b) {
            DayBar& bar = t.bars[static_cast<size_t>(b - first)];
            bar.gain = sell ? wrapSub(t.entryClose, bar.close) : wrapSub(bar.close, t.entryClose);
        }
        const std::vector<double> days = splitFactorsSinceEntry(s, entryDay);
        if (!days.empty()) {
            t.splits.assign(static_cast<size_t>(tail), 1.0);
            for (int32_t b = std::max(first, start); b < dateCount; ++b) {
                t.splits[static_cast<size_t>(b - first)] = days[static_cast<size_t>(b - start)];
            }
        }
    }
}

int32_t dateOf(const chr::year_month_day& ymd) {
    return static_cast<int32_t>(ymd.year()) * 10000 +
           static_cast<int32_t>(static_cast<unsigned>(ymd.month())) * 100 +
           static_cast<int32_t>(static_cast<unsigned>(ymd.day()));
}

// The figures of a row whose legs both formed.
void figuresOf(const LegTail& buy, const LegTail& sell, const std::vector<int32_t>& dates,
               const std::vector<int32_t>& days, const OverviewSettings& settings,
               OverviewRow& row) {
    const PositionRecord& p = row.record;
    SpreadSeries s;
    s.buyBars = buy.bars;
    s.sellBars = sell.bars;
    s.buyStart = buy.start;
    s.sellStart = sell.start;
    s.buyEntryClose = buy.entryClose;
    s.sellEntryClose = sell.entryClose;
    s.buySplitSinceEntry = buy.splits;
    s.sellSplitSinceEntry = sell.splits;
    const auto last = static_cast<int32_t>(s.buyBars.size()) - 1;
    row.profit = positionProfit(s, p, last);
    if (last >= 1) {
        row.dayChange = *row.profit - positionProfit(s, p, last - 1);
    }
    const double buyValue = static_cast<double>(p.buy.quantity) * buy.entryClose;
    const double sellValue = static_cast<double>(p.sell.quantity) * sell.entryClose;
    if (buyValue + sellValue > 0.0) {
        row.profitRate = static_cast<double>(*row.profit) / (buyValue + sellValue);
    }

    const auto newestSlot = static_cast<int32_t>(days.size()) - 1;
    const int32_t exitSettles = settlementDayOf(days, newestSlot);
    const double carry = carryCost(buyValue, settings.buyRate,
                                   carryDays(settlementDayOf(days, buy.entryBar), exitSettles)) +
                         carryCost(sellValue, settings.borrowRate,
                                   carryDays(settlementDayOf(days, sell.entryBar), exitSettles));
    row.carry = carry;
    constexpr auto kLimit = static_cast<double>(kProfitLimit);
    row.net = std::llround(std::clamp(static_cast<double>(*row.profit) - carry, -kLimit, kLimit));

    const int32_t newestDay = dayNumberOf(dates.back());
    const int32_t buyEntry = yyyymmddOf(p.buy.entryDate);
    const int32_t sellEntry = yyyymmddOf(p.sell.entryDate);
    const int32_t laterDay = dayNumberOf(std::max(buyEntry, sellEntry));
    if (newestDay >= 0 && laterDay >= 0) {
        row.daysHeld = newestDay - laterDay;
    }
    const int32_t deadline = marginDeadline(std::min(buyEntry, sellEntry), dates);
    if (deadline > 0) {
        row.deadline = deadline;
        if (newestDay >= 0) {
            row.daysLeft = dayNumberOf(deadline) - newestDay;
        }
    }

    RatioStatistics ratio;
    if (computeRatioStatistics(s, settings.ratioPeriod, ratio) == 1 && !ratio.slots.empty()) {
        const RatioSlot& at = ratio.slots.back();
        if (at.hasZ) {
            row.z = at.z;
        }
        if (at.hasCorrelation) {
            row.correlation = at.correlation;
        }
        if (at.hasHalfLife) {
            row.halfLife = at.halfLife;
        }
    }
    // Long the ratio buy / sell: it pays when z climbs back to the exit level.
    if (row.z && *row.z >= -settings.exit) {
        row.signals |= kSignalTakeProfit;
    }
    if (row.z && *row.z <= -settings.stop) {
        row.signals |= kSignalStop;
    }
    if (row.daysLeft && *row.daysLeft <= settings.deadlineDays) {
        row.signals |= kSignalDeadline;
    }
}

int64_t saturatingSum(int64_t a, int64_t b) {
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return a > 0 ? INT64_MAX : INT64_MIN;
    }
    return sum;
}

OverviewTotals totalsOf(const std::vector<OverviewRow>& rows) {
    OverviewTotals t;
    for (const OverviewRow& row : rows) {
        if (!row.problem.empty()) {
            ++t.leftOut;
            continue;
        }
        ++t.counted;
        t.profit = saturatingSum(t.profit, row.profit.value_or(0));
        t.dayChange = saturatingSum(t.dayChange, row.dayChange.value_or(0));
        t.carry += row.carry.value_or(0.0);
        t.net = saturatingSum(t.net, row.net.value_or(0));
        t.takeProfit += (row.signals & kSignalTakeProfit) != 0 ? 1 : 0;
        t.stop += (row.signals & kSignalStop) != 0 ? 1 : 0;
        t.deadline += (row.signals & kSignalDeadline) != 0 ? 1 : 0;
    }
    return t;
}

}  // namespace

int32_t marginDeadline(int32_t entryDate, const std::vector<int32_t>& tradingDates) {
    const chr::year_month_day entry{chr::year{entryDate / 10000},
                                    chr::month{static_cast<unsigned>(entryDate / 100 % 100)},
                                    chr::day{static_cast<unsigned>(entryDate % 100)}};
    if (entryDate <= 0 || !entry.ok()) {
        return 0;
    }
    const chr::year_month later = chr::year_month{entry.year(), entry.month()} + chr::months{6};
    const chr::day lastDay = chr::year_month_day_last{later / chr::last}.day();
    const int32_t target = dateOf(chr::year_month_day{later / std::min(entry.day(), lastDay)});
    if (!tradingDates.empty() && target <= tradingDates.back()) {
        const auto after = std::upper_bound(tradingDates.begin(), tradingDates.end(), target);
        if (after != tradingDates.begin()) {
            return *(after - 1);
        }
    }
    int32_t day = dayNumberOf(target);
    while (!isWeekday(day)) {
        --day;
    }
    return dateOfDayNumber(day);
}

std::vector<std::string> signalTexts(unsigned signals) {
    std::vector<std::string> texts;
    if ((signals & kSignalTakeProfit) != 0) {
        texts.emplace_back("利確");
    }
    if ((signals & kSignalStop) != 0) {
        texts.emplace_back("損切");
    }
    if ((signals & kSignalDeadline) != 0) {
        texts.emplace_back("期日");
    }
    return texts;
}

std::string signalsText(unsigned signals) {
    std::string text;
    for (const std::string& s : signalTexts(signals)) {
        text += (text.empty() ? "" : "・") + s;
    }
    return text;
}

std::string overviewStatusText(const OverviewTotals& totals) {
    std::string counts;
    const auto add = [&counts](const char* name, int n) {
        if (n > 0) {
            counts += (counts.empty() ? "" : "・") + std::string(name) + " " + std::to_string(n);
        }
    };
    add("利確", totals.takeProfit);
    add("損切", totals.stop);
    add("期日", totals.deadline);
    return counts.empty() ? std::string() : "合図: " + counts + " — 建玉一覧 (Ctrl+L)";
}

OverviewResult computePositionOverview(MarketData& md, const CorrectionList& corrections,
                                       const PositionTable& positions,
                                       const OverviewSettings& settings, PositionOverview& out) {
    out = PositionOverview{};
    const auto count = static_cast<size_t>(std::clamp<int64_t>(
        positions.positionCount, 0, static_cast<int64_t>(positions.records.size())));
    std::vector<int32_t> dates;
    for (const PriceDatabase& db : md.set.files) {
        for (const PackedDate d : db.dates) {
            dates.push_back(dateValue(d));
        }
    }
    const auto dateCount = static_cast<int32_t>(dates.size());
    out.newestDate = dates.empty() ? 0 : dates.back();
    const std::vector<int32_t> days = tradingDayNumbers(dates);
    // The ratio's window and the date before it: all the figures look at.
    const int32_t tail = std::min(std::max(settings.ratioPeriod, 2) + 1, dateCount);

    std::map<StockKey, std::vector<LegUse>> uses;
    out.rows.resize(count);
    for (size_t r = 0; r < count; ++r) {
        OverviewRow& row = out.rows[r];
        row.record = positions.records[r];
        row.line = r < positions.lines.size() ? positions.lines[r] : 0;
        uses[keyOf(row.record.buy)].push_back({r, Leg::Buy});
        uses[keyOf(row.record.sell)].push_back({r, Leg::Sell});
    }
    std::vector<LegTail> legs(count * 2);
    const auto failAll = [&legs](const std::vector<LegUse>& list, PairSeriesMessage message) {
        for (const LegUse& use : list) {
            legs[use.row * 2 + (use.leg == Leg::Sell ? 1 : 0)].message = message;
        }
    };
    // Every stock's blocks come from the same files: each opened once for the whole run.
    const HeldPriceFiles held(md);
    for (const auto& [key, list] : uses) {
        if (dateCount == 0 || findStock(md, key) == -1) {
            failAll(list, dateCount == 0 ? PairSeriesMessage::NoTradedDate
                                         : PairSeriesMessage::StockNotRegistered);
            continue;
        }
        const int read = readStockSeries(md);
        if (read == kSeriesDataError) {
            out = PositionOverview{};
            return OverviewResult::DataError;
        }
        if (read != kSeriesBuilt) {
            failAll(list, PairSeriesMessage::NoTradedDate);
            continue;
        }
        fillTails(md.series, dateCount, tail, correctionFactorOf(corrections, key),
                  positions.records, list, legs);
    }
    releaseStockSeries(md);

    for (size_t r = 0; r < count; ++r) {
        OverviewRow& row = out.rows[r];
        const LegTail& buy = legs[r * 2];
        const LegTail& sell = legs[r * 2 + 1];
        if (buy.message != PairSeriesMessage::None || sell.message != PairSeriesMessage::None) {
            PairSeriesResult failed;
            failed.leg = buy.message != PairSeriesMessage::None ? Leg::Buy : Leg::Sell;
            failed.message = failed.leg == Leg::Buy ? buy.message : sell.message;
            failed.result = failed.message == PairSeriesMessage::NoTradedDate ? -2 : -1;
            row.problem = pairSeriesFailureText(failed, row.record, row.line);
        } else if (buy.entryBar < 0 || sell.entryBar < 0) {
            row.problem = kNoPriceSinceEntry;
        } else {
            figuresOf(buy, sell, dates, days, settings, row);
        }
    }
    out.totals = totalsOf(out.rows);
    return OverviewResult::Ok;
}

}  // namespace zepa
