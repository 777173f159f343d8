#include "app/pair_search_settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include "marketdata/market_code.h"
#include "screen/screen_market.h"
#include "settings/chart_values.h"

namespace zepa {
namespace {

constexpr std::string_view kScreenValue = "PairScreen";
constexpr std::string_view kRuleValue = "PairRule";
constexpr int32_t kMaxTop = 10000;
constexpr int32_t kMaxHoldingDays = 3650;

std::vector<std::string_view> splitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        fields.push_back(
            text.substr(start, comma == std::string_view::npos ? text.npos : comma - start));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

std::optional<double> number(std::string_view field) {
    double v = 0.0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
    if (ec != std::errc{} || end != field.data() + field.size() || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

// Where a number field is kept (one of the three targets), its range as stored, and how a shown
// value becomes a stored one: shown * multiply / divide.
struct FieldSlot {
    int32_t* whole = nullptr;
    double* real = nullptr;
    std::optional<double>* filter = nullptr;
    double low = 0.0;
    double high = 0.0;
    double multiply = 1.0;
    double divide = 1.0;

    // Stores v when it lies in the range (and is whole where it must be).
    bool put(double v) const {
        if (!(v >= low && v <= high) || (whole != nullptr && v != std::floor(v))) {
            return false;
        }
        if (whole != nullptr) {
            *whole = static_cast<int32_t>(v);
        } else if (real != nullptr) {
            *real = v;
        } else {
            *filter = v;
        }
        return true;
    }
};

FieldSlot slotOf(PairSearchSettings& s, PairField field) {
    ScreenOptions& o = s.screen;
    BacktestRule& r = s.rule;
    switch (field) {
        case PairField::Days:
            return {.whole = &o.days, .low = kMinWindow, .high = kMaxWindow};
        case PairField::ShortDays:
            return {.whole = &o.shortDays, .low = kMinShortDays, .high = kMaxWindow};
        case PairField::RatioPeriod:
            return {.whole = &o.ratioPeriod, .low = kMinRatioPeriod, .high = kMaxRatioPeriod};
        case PairField::MinTurnover:
            return {.filter = &o.minTurnover, .low = 0.0, .high = 1e15, .multiply = 1e6};
        case PairField::MinPrice:
            return {.filter = &o.minPrice, .low = 0.0, .high = 1e9};
        case PairField::MinCorrelation:
            return {.filter = &o.minCorrelation, .low = -1.0, .high = 1.0};
        case PairField::MinShortCorrelation:
            return {.filter = &o.minShortCorrelation, .low = -1.0, .high = 1.0};
        case PairField::MaxP:
            return {.filter = &o.maxP, .low = 0.0, .high = 1.0};
        case PairField::MaxQ:
            return {.filter = &o.maxQ, .low = 0.0, .high = 1.0};
        case PairField::MinHalfLife:
            return {.filter = &o.minHalfLife, .low = 0.0, .high = 1e6};
        case PairField::MaxHalfLife:
            return {.filter = &o.maxHalfLife, .low = 0.0, .high = 1e6};
        case PairField::MinAbsZ:
            return {.filter = &o.minAbsZ, .low = 0.0, .high = 100.0};
        case PairField::Entry:
            return {.real = &r.entry, .low = 0.01, .high = 100.0};
        case PairField::Exit:
            return {.real = &r.exit, .low = -100.0, .high = 100.0};
        case PairField::Stop:
            return {.real = &r.stop, .low = 0.01, .high = 100.0};
        case PairField::MaxDays:
            return {.whole = &r.maxDays, .low = 1, .high = kMaxHoldingDays};
        case PairField::Amount:
            return {.real = &r.amount, .low = 1.0, .high = 1e12, .multiply = 1e4};
        case PairField::Commission:
            return {.real = &r.commission, .low = 0.0, .high = 1.0, .divide = 100.0};
        case PairField::BuyRate:
            return {.real = &r.buyRate, .low = 0.0, .high = 1.0, .divide = 100.0};
        case PairField::BorrowRate:
            return {.real = &r.borrowRate, .low = 0.0, .high = 1.0, .divide = 100.0};
    }
    return {};
}

// Reads fields in order, each into its target when it parses and lies in its range.
struct FieldReader {
    std::vector<std::string_view> fields;
    size_t next = 0;

    std::optional<std::string_view> take() {
        return next < fields.size() ? std::optional(fields[next++]) : std::nullopt;
    }
    // A number field as stored; an empty filter field turns the filter off.
    void stored(const FieldSlot& slot) {
        const auto f = take();
        if (!f) {
            return;
        }
        if (slot.filter != nullptr && f->empty()) {
            slot.filter->reset();
        } else if (const auto v = number(*f)) {
            slot.put(*v);
        }
    }
    void whole(int32_t& out, int32_t low, int32_t high) {
        const auto f = take();
        if (const auto v = f ? number(*f) : std::nullopt;
            v && *v == std::floor(*v) && *v >= low && *v <= high) {
            out = static_cast<int32_t>(*v);
        }
    }
};

std::string numberText(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

std::string filterText(const std::optional<double>& v) {
    return v ? numberText(*v) : std::string();
}

std::string joined(const std::vector<std::string>& fields) {
    std::string text;
    for (size_t k = 0; k < fields.size(); ++k) {
        text += (k > 0 ? "," : "") + fields[k];
    }
    return text;
}

// Every market, or one that has a letter in the position file.
bool knownMarket(int code) {
    return code == -1 || (code > 0 && marketLetterOf(code) != 0);
}

}  // namespace

double pairFieldValue(const PairSearchSettings& s, PairField field) {
    PairSearchSettings copy = s;  // the slot points into what it is given
    const FieldSlot slot = slotOf(copy, field);
    double v = 0.0;
    if (slot.whole != nullptr) {
        v = *slot.whole;
    } else if (slot.real != nullptr) {
        v = *slot.real;
    } else if (slot.filter->has_value()) {
        v = **slot.filter;
    }
    return v * slot.divide / slot.multiply;
}

bool setPairField(PairSearchSettings& s, PairField field, double shown) {
    const FieldSlot slot = slotOf(s, field);
    if (slot.filter != nullptr && !(shown > 0.0)) {
        slot.filter->reset();
        return true;
    }
    return slot.put(shown * slot.multiply / slot.divide);
}

PairFieldRange pairFieldRange(PairField field) {
    PairSearchSettings scratch;
    const FieldSlot slot = slotOf(scratch, field);
    return {slot.low * slot.divide / slot.multiply, slot.high * slot.divide / slot.multiply,
            slot.whole != nullptr, slot.filter != nullptr};
}

std::string_view pairFieldName(PairField field) {
    static constexpr std::string_view kNames[] = {
        "期間",         "短期",        "レシオ期間", "売買代金", "株価",
        "相関",         "相関(短期)",  "p",          "q",        "半減期の下限",
        "半減期の上限", "|Z|",         "仕掛け |Z|", "決済 Z",   "損切り |Z|",
        "最長保有",     "1銘柄の金額", "手数料",     "買方金利", "貸株料"};
    static_assert(std::size(kNames) == kPairFieldCount);
    return kNames[static_cast<size_t>(field)];
}

std::string fieldRangeMessage(std::string_view name, const PairFieldRange& r) {
    std::string text = std::string(name) + "は " + numberText(r.low) + "〜" + numberText(r.high) +
                       (r.whole ? " の整数" : " の数値");
    return text + (r.filter ? "（0 か空欄は条件なし）にして下さい" : "にして下さい");
}

std::string pairFieldRangeMessage(PairField field) {
    return fieldRangeMessage(pairFieldName(field), pairFieldRange(field));
}

std::string readPairFields(PairSearchSettings& settings,
                           std::span<const std::optional<double>> shown) {
    PairSearchSettings s = settings;
    for (int f = 0; f < kPairFieldCount && static_cast<size_t>(f) < shown.size(); ++f) {
        const auto field = static_cast<PairField>(f);
        const std::optional<double>& v = shown[static_cast<size_t>(f)];
        // An empty filter is off; any other field must hold a number of its range (text that
        // is no number comes as NaN, which a filter would otherwise take for off).
        const bool taken = v ? std::isfinite(*v) && setPairField(s, field, *v)
                             : pairFieldRange(field).filter && setPairField(s, field, 0.0);
        if (!taken) {
            return pairFieldRangeMessage(field);
        }
    }
    settings = s;
    return {};
}

PairSearchSettings defaultPairSearchSettings() {
    PairSearchSettings s;
    applyDefaultFilters(s.screen);
    return s;
}

std::string formatPairScreenValue(const PairSearchSettings& s) {
    const ScreenOptions& o = s.screen;
    return joined({std::to_string(o.days), std::to_string(o.shortDays),
                   std::to_string(o.ratioPeriod), std::to_string(s.marketCode),
                   std::to_string(o.sector), o.borrowable ? "1" : "0", filterText(o.minTurnover),
                   filterText(o.minPrice), filterText(o.minCorrelation),
                   filterText(o.minShortCorrelation), filterText(o.maxP), filterText(o.maxQ),
                   filterText(o.minHalfLife), filterText(o.maxHalfLife), filterText(o.minAbsZ),
                   std::to_string(o.top), s.withBacktest ? "1" : "0"});
}

std::string formatPairRuleValue(const PairSearchSettings& s) {
    const BacktestRule& r = s.rule;
    return joined({numberText(r.entry), numberText(r.exit), numberText(r.stop),
                   std::to_string(r.maxDays), numberText(r.amount),
                   r.fill == BacktestFill::Close ? "1" : "0", numberText(r.commission),
                   numberText(r.buyRate), numberText(r.borrowRate)});
}

void parsePairScreenValue(std::string_view text, PairSearchSettings& s) {
    ScreenOptions& o = s.screen;
    FieldReader f{splitFields(text)};
    for (PairField field : {PairField::Days, PairField::ShortDays, PairField::RatioPeriod}) {
        f.stored(slotOf(s, field));
    }
    int32_t market = s.marketCode;
    f.whole(market, -1, 99);
    s.marketCode = knownMarket(market) ? market : s.marketCode;
    int32_t sector = o.sector;
    f.whole(sector, 0, 33);
    o.sector = sector == 0 || sector == 17 || sector == 33 ? sector : o.sector;
    int32_t flag = o.borrowable ? 1 : 0;
    f.whole(flag, 0, 1);
    o.borrowable = flag == 1;
    for (int field = static_cast<int>(PairField::MinTurnover);
         field <= static_cast<int>(PairField::MinAbsZ); ++field) {
        f.stored(slotOf(s, static_cast<PairField>(field)));
    }
    f.whole(o.top, 1, kMaxTop);
    flag = s.withBacktest ? 1 : 0;
    f.whole(flag, 0, 1);
    s.withBacktest = flag == 1;
    // A short window longer than the window cannot be: the default's proportion instead.
    if (o.shortDays > o.days) {
        o.shortDays = std::max(kMinShortDays, o.days * 3 / 10);
    }
}

void parsePairRuleValue(std::string_view text, PairSearchSettings& s) {
    BacktestRule& r = s.rule;
    FieldReader f{splitFields(text)};
    for (PairField field : {PairField::Entry, PairField::Exit, PairField::Stop, PairField::MaxDays,
                            PairField::Amount}) {
        f.stored(slotOf(s, field));
    }
    int32_t fill = r.fill == BacktestFill::Close ? 1 : 0;
    f.whole(fill, 0, 1);
    r.fill = fill == 1 ? BacktestFill::Close : BacktestFill::Open;
    for (PairField field : {PairField::Commission, PairField::BuyRate, PairField::BorrowRate}) {
        f.stored(slotOf(s, field));
    }
}

PairSearchSettings loadPairSearchSettings(ValueStore& store) {
    PairSearchSettings s = defaultPairSearchSettings();
    const std::string screen = queryChartValue(store, kChartSubkey, kScreenValue);
    if (!screen.empty()) {
        parsePairScreenValue(screen, s);
    }
    const std::string rule = queryChartValue(store, kChartSubkey, kRuleValue);
    if (!rule.empty()) {
        parsePairRuleValue(rule, s);
    }
    return s;
}

void savePairSearchSettings(ValueStore& store, const PairSearchSettings& s) {
    storeChartValue(store, kChartSubkey, kScreenValue, formatPairScreenValue(s));
    storeChartValue(store, kChartSubkey, kRuleValue, formatPairRuleValue(s));
}

std::string pairSearchSettingsProblem(const PairSearchSettings& s) {
    const ScreenOptions& o = s.screen;
    if (o.shortDays > o.days) {
        return "短期の日数は期間以下にして下さい";
    }
    if (o.minHalfLife && o.maxHalfLife && *o.minHalfLife > *o.maxHalfLife) {
        return "半減期の下限が上限を超えています";
    }
    if (s.withBacktest && !(std::abs(s.rule.exit) < s.rule.entry && s.rule.entry < s.rule.stop)) {
        return "検証の条件は |決済| < 仕掛け < 損切り にして下さい";
    }
    return {};
}

ScreenOptions screenOptionsOf(const PairSearchSettings& s) {
    return s.screen;
}

BacktestRule backtestRuleOf(const PairSearchSettings& s) {
    BacktestRule rule = s.rule;
    rule.ratioPeriod = s.screen.ratioPeriod;
    return rule;
}

}  // namespace zepa
