#include "screen/screen_options.h"

#include <array>
#include <utility>

namespace zepa {
namespace {

constexpr std::array<std::pair<ScreenColumn, std::string_view>, 9> kNames{{
    {ScreenColumn::P, "p"},
    {ScreenColumn::Q, "q"},
    {ScreenColumn::AdfT, "adf_t"},
    {ScreenColumn::Ssd, "ssd"},
    {ScreenColumn::HalfLife, "half_life"},
    {ScreenColumn::Correlation, "correlation"},
    {ScreenColumn::CorrelationShort, "correlation_short"},
    {ScreenColumn::Crossings, "crossings"},
    {ScreenColumn::Z, "z"},
}};

}  // namespace

std::string_view screenColumnName(ScreenColumn column) {
    for (const auto& [c, name] : kNames) {
        if (c == column) {
            return name;
        }
    }
    return {};
}

std::optional<ScreenColumn> screenColumnNamed(std::string_view name) {
    for (const auto& [c, n] : kNames) {
        if (n == name) {
            return c;
        }
    }
    return std::nullopt;
}

void applyDefaultFilters(ScreenOptions& o) {
    o.minCorrelation = o.minCorrelation.value_or(0.7);
    o.minShortCorrelation = o.minShortCorrelation.value_or(0.5);
    o.maxP = o.maxP.value_or(0.05);
    if (!o.minHalfLife && !o.maxHalfLife) {
        o.minHalfLife = 1.0;
        o.maxHalfLife = 60.0;
    }
}

}  // namespace zepa
