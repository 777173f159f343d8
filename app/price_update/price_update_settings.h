// What the viewer keeps for 株価更新 per user: the pace and the first day of a first fill in the
// value store (subkey "JQUANTS"), the API key in the per-user key file (import/jquants_key.h),
// never in the store. And the texts the menus show around them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "import/jquants_session.h"
#include "settings/value_store.h"

namespace zepa {

struct PriceUpdateSettings {
    int requestsPerMinute = 5;  // the free plan's limit
    int32_t firstFillFrom = 0;  // YYYYMMDD; 0: two years before today
    // Where the service answers. A mirror or a local test server may stand in (value "API",
    // set by hand, not in the dialog).
    std::string apiBase = kJQuantsApiBase;
};

// An address the key may be sent to: https anywhere, plain http only to this computer.
bool usableApiBase(std::string_view text);

// 詳細設定's pace and first fill's day as typed (the key is not among them): false with the
// reason, and `settings` unchanged, when either does not read.
bool readPriceUpdateForm(std::string_view rate, std::string_view from,
                         PriceUpdateSettings& settings, std::string& problem);

PriceUpdateSettings loadPriceUpdateSettings(ValueStore& store);
bool savePriceUpdateSettings(ValueStore& store, const PriceUpdateSettings& settings);

// The first day an update asks for when the installation holds no prices yet.
int32_t firstFillDay(const PriceUpdateSettings& settings, int32_t today);

// What the key field shows: one dot per character, UTF-8.
std::string maskedKey(std::string_view key);
// 詳細設定's line under the key field, the same in both shells: "保存済み: " and the masked
// stored key, or where a key comes from when none is stored.
std::string storedKeyHint(bool stored, std::string_view key);

// 株価更新 without a key: where to get one and where it goes.
extern const std::string_view kNoKeyMessage;

}  // namespace zepa
