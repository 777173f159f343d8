// What the viewer keeps for 株価更新 per user: the pace and the first day of a first fill in the
// value store (subkey "JQUANTS"), the API key in the per-user key file (import/jquants_key.h),
// never in the store. And the texts the menus show around them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/value_store.h"

namespace zepa {

struct PriceUpdateSettings {
    int requestsPerMinute = 5;  // the free plan's limit
    int32_t firstFillFrom = 0;  // YYYYMMDD; 0: two years before today
};

PriceUpdateSettings loadPriceUpdateSettings(ValueStore& store);
bool savePriceUpdateSettings(ValueStore& store, const PriceUpdateSettings& settings);

// The first day an update asks for when the installation holds no prices yet.
int32_t firstFillDay(const PriceUpdateSettings& settings, int32_t today);

// What the key field shows: one dot per character, UTF-8.
std::string maskedKey(std::string_view key);

// 株価更新 without a key: where to get one and where it goes.
extern const std::string_view kNoKeyMessage;

}  // namespace zepa
