#include "app/pair_search_settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

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

// Reads fields in order, each into its target when it parses and lies in its range.
struct FieldReader {
    std::vector<std::string_view> fields;
    size_t next = 0;

    std::optional<std::string_view> take() {
        return next < fields.size() ? std::optional(fields[next++]) : std::nullopt;
    }
    void real(double& out, double low, double high) {
        const auto f = take();
        if (const auto v = f ? number(*f) : std::nullopt; v && *v >= low && *v <= high) {
            out = *v;
        }
    }
    void whole(int32_t& out, int32_t low, int32_t high) {
        const auto f = take();
        if (const auto v = f ? number(*f) : std::nullopt;
            v && *v == std::floor(*v) && *v >= low && *v <= high) {
            out = static_cast<int32_t>(*v);
        }
    }
    // An empty field is the filter off; an absent or bad one keeps what was there.
    void filter(std::optional<double>& out, double low, double high) {
        const auto f = take();
        if (!f) {
            return;
        }
        if (f->empty()) {
            out.reset();
        } else if (const auto v = number(*f); v && *v >= low && *v <= high) {
            out = *v;
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
    f.whole(o.days, kMinWindow, kMaxWindow);
    f.whole(o.shortDays, kMinShortDays, kMaxWindow);
    f.whole(o.ratioPeriod, kMinRatioPeriod, kMaxRatioPeriod);
    int32_t market = s.marketCode;
    f.whole(market, -1, 99);
    s.marketCode = knownMarket(market) ? market : s.marketCode;
    int32_t sector = o.sector;
    f.whole(sector, 0, 33);
    o.sector = sector == 0 || sector == 17 || sector == 33 ? sector : o.sector;
    int32_t flag = o.borrowable ? 1 : 0;
    f.whole(flag, 0, 1);
    o.borrowable = flag == 1;
    f.filter(o.minTurnover, 0.0, 1e15);
    f.filter(o.minPrice, 0.0, 1e9);
    f.filter(o.minCorrelation, -1.0, 1.0);
    f.filter(o.minShortCorrelation, -1.0, 1.0);
    f.filter(o.maxP, 0.0, 1.0);
    f.filter(o.maxQ, 0.0, 1.0);
    f.filter(o.minHalfLife, 0.0, 1e6);
    f.filter(o.maxHalfLife, 0.0, 1e6);
    f.filter(o.minAbsZ, 0.0, 100.0);
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
    f.real(r.entry, 0.01, 100.0);
    f.real(r.exit, -100.0, 100.0);
    f.real(r.stop, 0.01, 100.0);
    f.whole(r.maxDays, 1, kMaxHoldingDays);
    f.real(r.amount, 1.0, 1e12);
    int32_t fill = r.fill == BacktestFill::Close ? 1 : 0;
    f.whole(fill, 0, 1);
    r.fill = fill == 1 ? BacktestFill::Close : BacktestFill::Open;
    f.real(r.commission, 0.0, 1.0);
    f.real(r.buyRate, 0.0, 1.0);
    f.real(r.borrowRate, 0.0, 1.0);
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
