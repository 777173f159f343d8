#include "positions/position_request.h"

#include <cctype>
#include <chrono>
#include <cstdio>

#include "base/codepage.h"
#include "marketdata/market_code.h"
#include "marketdata/pair_series.h"
#include "positions/position_line.h"

namespace zepa {
namespace {

// The markets tried for a code given without a letter.
constexpr char kMarketOrder[] = {'T', 'O', 'N', 'K', 'G', 'I'};

std::string trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1));
}

bool allDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

bool listed(MarketData& md, char letter, int32_t code) {
    return findStock(md, marketCodeOf(letter) * kMarketScale + code) == 0;
}

LegQuote refusedLeg(std::string message) {
    LegQuote quote;
    quote.message = std::move(message);
    return quote;
}

}  // namespace

int32_t yymmddOf(int32_t yyyymmdd) {
    return yyyymmdd % 1000000;
}

int32_t yyyymmddOf(int32_t yymmdd) {
    return yymmdd <= 0 ? 0 : static_cast<int32_t>(entryThreshold(yymmdd));
}

bool parseIsoDate(std::string_view text, int32_t& yyyymmdd) {
    std::string digits;
    const std::string t = trimmed(text);
    if (t.size() == 10 && t[4] == '-' && t[7] == '-') {
        digits = t.substr(0, 4) + t.substr(5, 2) + t.substr(8, 2);
    } else {
        digits = t;
    }
    if (digits.size() != 8 || !allDigits(digits)) {
        return false;
    }
    const int y = std::stoi(digits.substr(0, 4));
    const unsigned m = static_cast<unsigned>(std::stoi(digits.substr(4, 2)));
    const unsigned d = static_cast<unsigned>(std::stoi(digits.substr(6, 2)));
    if (!std::chrono::year_month_day{std::chrono::year{y}, std::chrono::month{m},
                                     std::chrono::day{d}}
             .ok()) {
        return false;
    }
    yyyymmdd = y * 10000 + static_cast<int32_t>(m * 100 + d);
    return true;
}

std::string isoDate(int32_t yyyymmdd) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", yyyymmdd / 10000, yyyymmdd / 100 % 100,
                  yyyymmdd % 100);
    return text;
}

int32_t newestPriceDate(const MarketData& md) {
    int32_t newest = 0;
    for (const PriceDatabase& db : md.set.files) {
        if (!db.dates.empty()) {
            newest = std::max(newest, dateValue(db.dates.back()));
        }
    }
    return newest;
}

std::string stockCodeText(char marketLetter, int32_t stockCode) {
    return std::string(1, marketLetter) + std::to_string(stockCode);
}

bool resolveStockCode(MarketData& md, std::string_view text, StockRef& ref, std::string& message) {
    const std::string code = trimmed(text);
    const bool lettered = !code.empty() && std::isalpha(static_cast<unsigned char>(code[0]));
    const std::string digits = lettered ? code.substr(1) : code;
    if (digits.empty() || digits.size() > 5 || !allDigits(digits)) {
        message = "銘柄コード「" + code +
                  "」は、市場記号と5桁までの数字で入力してください（例 7203、T7203）";
        return false;
    }
    const int32_t number = std::stoi(digits);
    if (lettered) {
        if (listed(md, code[0], number)) {
            ref = StockRef{code[0], number};
            return true;
        }
    } else {
        for (char letter : kMarketOrder) {
            if (listed(md, letter, number)) {
                ref = StockRef{letter, number};
                return true;
            }
        }
    }
    message = "銘柄コード " + code + " は価格ファイルにありません";
    return false;
}

LegQuote quoteLeg(MarketData& md, const CorrectionList& corrections, StockRef ref, int32_t date) {
    const int32_t newest = newestPriceDate(md);
    const std::string code = stockCodeText(ref.marketLetter, ref.stockCode);
    if (date == 0) {
        date = newest;
    }
    if (date > newest) {
        return refusedLeg(code + " の日付 " + isoDate(date) + " は価格ファイルの最新日 " +
                          isoDate(newest) + " より後です");
    }
    if (date < kFirstWritableDate || date > kLastWritableDate) {
        return refusedLeg("日付は 1970-01-01 から 2069-12-31 までです");
    }
    PositionLeg leg;
    leg.marketLetter[0] = ref.marketLetter;
    leg.stockCode = ref.stockCode;
    leg.entryDate = yymmddOf(date);
    SpreadSeries series;
    const PairSeriesResult built =
        buildPairSeries(md, corrections, PositionRecord{leg, leg}, PairSeriesOptions{}, series);
    if (built.result != 1) {
        return refusedLeg(built.message == PairSeriesMessage::DataError
                              ? "価格ファイルが読めません"
                              : code + " の価格が価格ファイルにありません");
    }
    LegQuote quote;
    quote.firstDate = dateValue(series.buyBars[static_cast<size_t>(series.buyStart)].date);
    if (date < quote.firstDate) {
        return refusedLeg(code + " の日付 " + isoDate(date) + " は最初の価格の日 " +
                          isoDate(quote.firstDate) + " より前です");
    }
    if (series.buyEntryBar < 0) {
        return refusedLeg(code + " の " + isoDate(date) + " 以後の価格がありません");
    }
    const DayBar& entry = series.buyBars[static_cast<size_t>(series.buyEntryBar)];
    quote.ok = true;
    quote.entryDate = dateValue(entry.date);
    quote.entryClose = entry.close;
    quote.stockName = std::string(series.buyStockName);
    quote.leg = leg;
    quote.leg.entryDate = yymmddOf(quote.entryDate);
    quote.leg.shortName = writableShortName(quote.stockName);
    return quote;
}

bool parseQuantity(std::string_view text, int32_t& quantity, std::string& message) {
    const std::string t = trimmed(text);
    if (!allDigits(t) || t.size() > 9 || std::stoll(t) <= 0) {
        message = "株数「" + t + "」は、1 から " + std::to_string(kMaxLineQuantity) +
                  " までの整数で入力してください";
        return false;
    }
    quantity = static_cast<int32_t>(std::stoll(t));
    return true;
}

bool parseAmount(std::string_view text, int64_t& amount, std::string& message) {
    const std::string t = trimmed(text);
    if (!allDigits(t) || t.size() > 15 || std::stoll(t) <= 0) {
        message = "金額「" + t + "」は、正の整数（円）で入力してください";
        return false;
    }
    amount = std::stoll(t);
    return true;
}

int64_t quantityForAmount(int64_t amount, int32_t entryClose) {
    if (entryClose <= 0 || amount <= 0) {
        return 0;
    }
    return std::max<int64_t>(amount / entryClose / 100 * 100, 100);
}

PositionDraftOutcome makePosition(MarketData& md, const CorrectionList& corrections,
                                  const PositionDraft& draft) {
    PositionDraftOutcome out;
    StockRef buyRef;
    StockRef sellRef;
    if (!resolveStockCode(md, draft.buyCode, buyRef, out.message) ||
        !resolveStockCode(md, draft.sellCode, sellRef, out.message)) {
        return out;
    }
    if (marketCodeOf(buyRef.marketLetter) == marketCodeOf(sellRef.marketLetter) &&
        buyRef.stockCode == sellRef.stockCode) {
        out.message = "買いと売りが同じ銘柄です";
        return out;
    }
    out.buy = quoteLeg(md, corrections, buyRef, draft.buyDate);
    if (!out.buy.ok) {
        out.message = out.buy.message;
        return out;
    }
    out.sell = quoteLeg(md, corrections, sellRef, draft.sellDate);
    if (!out.sell.ok) {
        out.message = out.sell.message;
        return out;
    }
    PositionRecord record{out.buy.leg, out.sell.leg};
    if (draft.byAmount) {
        int64_t amount = 0;
        if (!parseAmount(draft.amount, amount, out.message)) {
            return out;
        }
        const int64_t buy = quantityForAmount(amount, out.buy.entryClose);
        const int64_t sell = quantityForAmount(amount, out.sell.entryClose);
        if (buy == 0 || sell == 0 || buy > kMaxLineQuantity || sell > kMaxLineQuantity) {
            out.message =
                "金額から株数を決められません（建てた日の終値が 0 か、株数が大きすぎます）";
            return out;
        }
        record.buy.quantity = static_cast<int32_t>(buy);
        record.sell.quantity = static_cast<int32_t>(sell);
    } else if (!parseQuantity(draft.buyQuantity, record.buy.quantity, out.message) ||
               !parseQuantity(draft.sellQuantity, record.sell.quantity, out.message)) {
        return out;
    }
    if (!trimmed(draft.buyName).empty()) {
        record.buy.shortName = writableShortName(cp932FromUtf8(draft.buyName));
    }
    if (!trimmed(draft.sellName).empty()) {
        record.sell.shortName = writableShortName(cp932FromUtf8(draft.sellName));
    }
    out.record = record;
    out.ok = true;
    return out;
}

PositionDraft draftOf(const PositionRecord& record) {
    PositionDraft draft;
    draft.buyCode = stockCodeText(record.buy.marketLetter[0], record.buy.stockCode);
    draft.sellCode = stockCodeText(record.sell.marketLetter[0], record.sell.stockCode);
    draft.buyDate = yyyymmddOf(record.buy.entryDate);
    draft.sellDate = yyyymmddOf(record.sell.entryDate);
    draft.buyQuantity = std::to_string(record.buy.quantity);
    draft.sellQuantity = std::to_string(record.sell.quantity);
    draft.buyName = trimmed(shownShortName(record.buy.shortName));
    draft.sellName = trimmed(shownShortName(record.sell.shortName));
    return draft;
}

}  // namespace zepa
