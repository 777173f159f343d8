// The ペア検索 window's settings: the screen's window, universe and filters, the backtest rule
// with its costs and whether it runs, remembered per user in two values of their own
// (`PairScreen` and `PairRule` under CHART), which no other value's format shares.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "screen/backtest_rule.h"
#include "screen/screen_options.h"
#include "settings/value_store.h"

namespace zepa {

struct PairSearchSettings {
    ScreenOptions screen;  // days, short days, ratio period, universe, pairs, filters, top
    int marketCode = -1;   // -1 every market, else the market code of a letter (T 東証 ...)
    BacktestRule rule;     // its ratio period follows the screen's
    bool withBacktest = false;
};

// A choice of the window's drop-down lists: the stored value and its label (UTF-8).
struct PairChoice {
    int value;
    const char* label;
};
// 市場: every market, then the letters' markets (the market codes of T, O, N, J, G).
inline constexpr PairChoice kPairMarketChoices[] = {{-1, "全市場"}, {1, "東証"}, {2, "大証"},
                                                    {3, "名証"},    {8, "店頭"}, {9, "外国"}};
// 業種: none, the same 17-industry or the same 33-industry group.
inline constexpr PairChoice kPairSectorChoices[] = {
    {0, "指定なし"}, {17, "同じ17業種"}, {33, "同じ33業種"}};
// 約定: the index is the BacktestFill value.
inline constexpr PairChoice kPairFillChoices[] = {{0, "翌日始値"}, {1, "当日終値"}};

// The index of `value` among `choices`; 0 (the first) when it is none of them.
inline int pairChoiceIndex(std::span<const PairChoice> choices, int value) {
    for (size_t i = 0; i < choices.size(); ++i) {
        if (choices[i].value == value) {
            return static_cast<int>(i);
        }
    }
    return 0;
}
// The value at `index`, the first choice's for an index out of range.
inline int pairChoiceValue(std::span<const PairChoice> choices, int index) {
    return index >= 0 && static_cast<size_t>(index) < choices.size()
               ? choices[static_cast<size_t>(index)].value
               : choices.front().value;
}

// The windows' number fields, in the order they show them, each in the unit it shows: 売買代金
// in millions of yen, the amount in ten thousands of yen, the costs in percent.
enum class PairField {
    Days,
    ShortDays,
    RatioPeriod,
    MinTurnover,
    MinPrice,
    MinCorrelation,
    MinShortCorrelation,
    MaxP,
    MaxQ,
    MinHalfLife,
    MaxHalfLife,
    MinAbsZ,
    Entry,
    Exit,
    Stop,
    MaxDays,
    Amount,
    Commission,
    BuyRate,
    BorrowRate,
};
inline constexpr int kPairFieldCount = 20;

// The field's value as shown; 0 for a filter that is off.
double pairFieldValue(const PairSearchSettings& settings, PairField field);
// A value shown in the field, stored back: a filter at 0 or below is off; a value outside the
// field's range, or not whole where the field counts, leaves the setting as it was (false).
bool setPairField(PairSearchSettings& settings, PairField field, double shown);

// What a field accepts, in the unit it shows; a filter also takes 0 (or nothing) for off.
struct PairFieldRange {
    double low = 0.0;
    double high = 0.0;
    bool whole = false;
    bool filter = false;
};
PairFieldRange pairFieldRange(PairField field);
// The field's name as the windows label it, UTF-8: "期間", "半減期の下限", ...
std::string_view pairFieldName(PairField field);
// "期間は 20〜1500 の整数にして下さい": the field and what it takes.
std::string pairFieldRangeMessage(PairField field);
// The same message for any field named `name` that takes `range`.
std::string fieldRangeMessage(std::string_view name, const PairFieldRange& range);
// Every field as typed (nullopt: empty or not a number) into `settings`: "" when all were
// taken, else the first refused field's message, `settings` then left as it was. Nothing typed
// is ever replaced by what was stored.
std::string readPairFields(PairSearchSettings& settings,
                           std::span<const std::optional<double>> shown);

// What a first run starts with: the screen's default filters, the rule's defaults, no backtest.
PairSearchSettings defaultPairSearchSettings();

// The two stored texts, and reading them back: a field that is absent, does not parse or is out
// of its range keeps what `settings` held; an empty filter field turns the filter off.
std::string formatPairScreenValue(const PairSearchSettings& settings);
std::string formatPairRuleValue(const PairSearchSettings& settings);
void parsePairScreenValue(std::string_view text, PairSearchSettings& settings);
void parsePairRuleValue(std::string_view text, PairSearchSettings& settings);

// Defaults, then whatever the store keeps.
PairSearchSettings loadPairSearchSettings(ValueStore& store);
void savePairSearchSettings(ValueStore& store, const PairSearchSettings& settings);

// The first reason the settings cannot run (UTF-8, for the window), or "" when they can.
std::string pairSearchSettingsProblem(const PairSearchSettings& settings);

// The options runScreen takes, and the rule the backtest takes (its ratio period the screen's).
ScreenOptions screenOptionsOf(const PairSearchSettings& settings);
BacktestRule backtestRuleOf(const PairSearchSettings& settings);

}  // namespace zepa
