#include "positions/close_position.h"

#include <algorithm>
#include <cmath>

#include "marketdata/margin_carry.h"
#include "marketdata/pair_series.h"
#include "marketdata/position_figures.h"
#include "positions/position_line.h"
#include "positions/position_request.h"

namespace zepa {
namespace {

constexpr int64_t kMaxExitPrice = 999999999;

CloseOutcome refusedClose(std::string message) {
    CloseOutcome outcome;
    outcome.message = std::move(message);
    return outcome;
}

// The leg's close at the slot replaced by the exit price, its gain with it, so that the profit
// comes from the chart's own formula.
void setExitPrice(SpreadSeries& s, Leg leg, int32_t slot, int32_t entryBar, int32_t price) {
    std::vector<DayBar>& bars = leg == Leg::Buy ? s.buyBars : s.sellBars;
    DayBar& bar = bars[static_cast<size_t>(slot)];
    const int64_t entry = bars[static_cast<size_t>(entryBar)].close;
    bar.close = price;
    bar.gain = static_cast<int32_t>(leg == Leg::Buy ? price - entry : entry - price);
}

ClosedLeg closedLeg(const PositionLeg& leg, const SpreadSeries& s, Leg which, int32_t entryBar,
                    int64_t exitPrice) {
    ClosedLeg out;
    out.marketLetter = leg.marketLetter[0];
    out.stockCode = leg.stockCode;
    out.name = shownShortName(leg.shortName);
    out.entryDate = dateValue(storedBars(s, which)[static_cast<size_t>(entryBar)].date);
    out.quantity = leg.quantity;
    out.entryPrice = storedBars(s, which)[static_cast<size_t>(entryBar)].close;
    out.exitPrice = exitPrice;
    return out;
}

bool checkPrice(const std::optional<int64_t>& price, std::string& message) {
    if (price && (*price <= 0 || *price > kMaxExitPrice)) {
        message =
            "決済値は 1 から " + std::to_string(kMaxExitPrice) + " までの整数で入力してください";
        return false;
    }
    return true;
}

}  // namespace

CloseOutcome previewClose(MarketData& md, const CorrectionList& corrections,
                          const PositionRecord& position, const CloseRequest& request) {
    std::string message;
    if (!checkPrice(request.buyExitPrice, message) || !checkPrice(request.sellExitPrice, message)) {
        return refusedClose(message);
    }
    if (position.buy.quantity <= 0 || position.sell.quantity <= 0) {
        return refusedClose("株数が 0 の建玉は決済できません");
    }
    SpreadSeries s;
    const PairSeriesResult built =
        buildPairSeries(md, corrections, position, PairSeriesOptions{}, s);
    if (built.result != 1) {
        return refusedClose(built.message == PairSeriesMessage::DataError
                                ? "価格ファイルが読めません"
                                : pairSeriesMessageText(built.message));
    }
    if (s.buyEntryBar < 0 || s.sellEntryBar < 0) {
        return refusedClose("建てた日以後の価格がありません");
    }
    const int32_t dateCount = md.set.dateCount;
    const int32_t newest = dateValue(s.buyBars[static_cast<size_t>(dateCount - 1)].date);
    const int32_t exitDate = request.exitDate == 0 ? newest : request.exitDate;
    // No close is known after the newest price: taking that one would date the record wrongly.
    if (exitDate > newest) {
        return refusedClose("決済日 " + isoDate(exitDate) + " は価格ファイルの最新日 " +
                            isoDate(newest) + " より後です");
    }
    const int32_t earliest = std::max(s.buyEntryBar, s.sellEntryBar);
    int32_t slot = dateCount - 1;
    while (slot >= earliest && dateValue(s.buyBars[static_cast<size_t>(slot)].date) > exitDate) {
        --slot;
    }
    if (slot < earliest) {
        return refusedClose("決済日 " + isoDate(exitDate) + " は建てた日より前です");
    }
    CloseOutcome outcome;
    ClosedTrade& trade = outcome.trade;
    trade.closeDate = dateValue(s.buyBars[static_cast<size_t>(slot)].date);
    const int64_t buyExit =
        request.buyExitPrice.value_or(s.buyBars[static_cast<size_t>(slot)].close);
    const int64_t sellExit =
        request.sellExitPrice.value_or(s.sellBars[static_cast<size_t>(slot)].close);
    trade.buy = closedLeg(position.buy, s, Leg::Buy, s.buyEntryBar, buyExit);
    trade.sell = closedLeg(position.sell, s, Leg::Sell, s.sellEntryBar, sellExit);
    if (buyExit <= 0 || sellExit <= 0) {
        return refusedClose("決済日の終値がありません。決済値を入力してください");
    }
    setExitPrice(s, Leg::Buy, slot, s.buyEntryBar, static_cast<int32_t>(buyExit));
    setExitPrice(s, Leg::Sell, slot, s.sellEntryBar, static_cast<int32_t>(sellExit));
    PositionRecord buyOnly = position;
    buyOnly.sell.quantity = 0;
    PositionRecord sellOnly = position;
    sellOnly.buy.quantity = 0;
    trade.buy.profit = positionProfit(s, buyOnly, slot);
    trade.sell.profit = positionProfit(s, sellOnly, slot);
    trade.profit = positionProfit(s, position, slot);
    // What holding cost from each entry's settlement to the exit's, both ends counted.
    std::vector<int32_t> dates;
    dates.reserve(static_cast<size_t>(dateCount));
    for (const PriceDatabase& db : md.set.files) {
        for (const PackedDate d : db.dates) {
            dates.push_back(dateValue(d));
        }
    }
    const std::vector<int32_t> days = tradingDayNumbers(dates);
    const int32_t exitSettles = settlementDayOf(days, slot);
    const double carry =
        carryCost(static_cast<double>(trade.buy.quantity) * trade.buy.entryPrice, request.buyRate,
                  carryDays(settlementDayOf(days, s.buyEntryBar), exitSettles)) +
        carryCost(static_cast<double>(trade.sell.quantity) * trade.sell.entryPrice,
                  request.borrowRate,
                  carryDays(settlementDayOf(days, s.sellEntryBar), exitSettles));
    constexpr auto kLimit = static_cast<double>(kProfitLimit);
    trade.carry = std::llround(std::clamp(carry, 0.0, kLimit));
    trade.net =
        std::llround(std::clamp(static_cast<double>(trade.profit) - carry, -kLimit, kLimit));
    trade.note = request.note;
    outcome.ok = true;
    return outcome;
}

CloseOutcome closePosition(MarketData& md, const CorrectionList& corrections,
                           const PositionFileSnapshot& snapshot, const std::string& closedPath,
                           const CloseRequest& request, const CloseHooks& hooks) {
    const std::vector<ScannedPosition> positions = scanPositionBytes(snapshot.bytes);
    if (request.position < 0 || request.position >= static_cast<int>(positions.size())) {
        return refusedClose(noSuchPositionMessage(request.position, positions.size()));
    }
    CloseOutcome outcome = previewClose(
        md, corrections, positions[static_cast<size_t>(request.position)].record, request);
    if (!outcome.ok) {
        return outcome;
    }
    PositionEdit removal;
    removal.kind = PositionEditKind::Remove;
    removal.position = request.position;
    const PositionEditOutcome edited = editPositionBytes(snapshot.bytes, removal);
    if (!edited.ok) {
        return refusedClose(edited.message);
    }
    if (!positionFileUnchanged(snapshot)) {
        return refusedClose(positionFileChangedMessage());
    }
    std::string message;
    if (!appendClosedTrade(closedPath, outcome.trade, &outcome.alreadyRecorded, message)) {
        return refusedClose(message);
    }
    if (hooks.stopAfterRecord) {
        return outcome;
    }
    const PositionEditOutcome written = writePositionEdit(snapshot, removal);
    if (!written.ok) {
        // The record stays: closing again after a reload finds it and only removes the line.
        return refusedClose(written.message + "（決済の記録は " + closedPath + " に書きました）");
    }
    return outcome;
}

}  // namespace zepa
