#include "app/walkforward_settings.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "screen/walkforward_periods.h"
#include "settings/chart_values.h"

namespace zepa {
namespace {

constexpr std::string_view kWalkForwardValue = "PairWalkForward";

PairFieldRange rangeOf(WalkForwardField field) {
    return field == WalkForwardField::TradeDays
               ? PairFieldRange{kMinTradeDays, kMaxTradeDays, true, false}
               : PairFieldRange{kMinStep, kMaxStep, true, false};
}

bool inRange(WalkForwardField field, double v) {
    const PairFieldRange r = rangeOf(field);
    return v >= r.low && v <= r.high && v == std::floor(v);
}

// A stored field: whole and in its range, else none.
std::optional<int32_t> storedField(std::string_view text, WalkForwardField field) {
    int32_t v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc{} || end != text.data() + text.size() || !inRange(field, v)) {
        return std::nullopt;
    }
    return v;
}

}  // namespace

std::string_view walkForwardFieldName(WalkForwardField field) {
    return field == WalkForwardField::TradeDays ? "取引期間" : "間隔";
}

std::string walkForwardFieldRangeMessage(WalkForwardField field) {
    return fieldRangeMessage(walkForwardFieldName(field), rangeOf(field));
}

std::string readWalkForwardFields(WalkForwardFields& fields, std::optional<double> tradeDays,
                                  std::optional<double> step) {
    // NaN (text that is no number) fails every comparison, so it is refused too.
    if (!tradeDays || !inRange(WalkForwardField::TradeDays, *tradeDays)) {
        return walkForwardFieldRangeMessage(WalkForwardField::TradeDays);
    }
    if (step && !inRange(WalkForwardField::Step, *step)) {
        return walkForwardFieldRangeMessage(WalkForwardField::Step);
    }
    fields.tradeDays = static_cast<int32_t>(*tradeDays);
    fields.step = static_cast<int32_t>(step.value_or(*tradeDays));
    return {};
}

std::string formatWalkForwardValue(const WalkForwardFields& fields) {
    return std::to_string(fields.tradeDays) + "," + std::to_string(fields.step);
}

void parseWalkForwardValue(std::string_view text, WalkForwardFields& fields) {
    const size_t comma = text.find(',');
    const std::optional<int32_t> h =
        storedField(text.substr(0, comma), WalkForwardField::TradeDays);
    const std::optional<int32_t> s =
        comma == std::string_view::npos
            ? std::nullopt
            : storedField(text.substr(comma + 1), WalkForwardField::Step);
    if (h) {
        fields.tradeDays = *h;
    }
    if (s) {
        fields.step = *s;
    } else if (comma == std::string_view::npos && h) {
        fields.step = *h;
    }
}

WalkForwardFields loadWalkForwardFields(ValueStore& store) {
    WalkForwardFields fields;
    parseWalkForwardValue(queryChartValue(store, kChartSubkey, kWalkForwardValue), fields);
    return fields;
}

void saveWalkForwardFields(ValueStore& store, const WalkForwardFields& fields) {
    storeChartValue(store, kChartSubkey, kWalkForwardValue, formatWalkForwardValue(fields));
}

bool sameScreenAndRule(const PairSearchSettings& a, const PairSearchSettings& b) {
    // The stored texts hold every setting at the precision kept; 検証も計算 is set alike first.
    PairSearchSettings x = a;
    PairSearchSettings y = b;
    x.withBacktest = false;
    y.withBacktest = false;
    return formatPairScreenValue(x) == formatPairScreenValue(y) &&
           formatPairRuleValue(x) == formatPairRuleValue(y);
}

std::string funnelWithWalkForward(const std::string& funnel, const PairSearchSettings& shown,
                                  const std::optional<WalkForwardMark>& mark) {
    if (!mark || funnel.empty() || !sameScreenAndRule(shown, mark->settings)) {
        return funnel;
    }
    std::string ratio = "--";
    if (mark->ratio) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", *mark->ratio);
        ratio = text;
    }
    return funnel + "　過去の成績 比 " + ratio;
}

}  // namespace zepa
