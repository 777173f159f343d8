// Reading, writing and splitting the text values of the per-user store. Every value is one
// line of comma-separated fields; all store access of the viewer goes through these.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "settings/value_store.h"

namespace zepa {

inline constexpr std::string_view kChartSubkey = "CHART";
inline constexpr std::string_view kMenuSubkey = "MENU";

// The reader keeps at most this many characters of a value; the rest is cut.
inline constexpr size_t kValueTextLimit = 199;
inline constexpr int kSettingFieldCount = 20;
inline constexpr size_t kSettingFieldLimit = 19;

using SettingFields = std::array<std::string, kSettingFieldCount>;

// The stored text, cut at kValueTextLimit characters (never inside a UTF-8 sequence) and at
// a NUL; empty when the value is missing or unreadable. A value counts as present when the
// text is not empty.
std::string queryChartValue(ValueStore& store, std::string_view subkey, std::string_view valueName);

// Stores the text; a failure is not reported and changes nothing.
void storeChartValue(ValueStore& store, std::string_view subkey, std::string_view valueName,
                     std::string_view text);

// Splits at commas into kSettingFieldCount fields, all empty to begin with: a double quote is
// dropped, a NUL, LF or CR ends the text, further fields and characters beyond
// kSettingFieldLimit of a field are dropped.
SettingFields splitSettingFields(std::string_view text);

// Field `index` as the C library's atoi reads it (0 for an empty or non-numeric field).
int32_t settingFieldValue(const SettingFields& fields, int index);

// Reads comma-separated integers as sscanf does with "%d,%d,...": white space before a
// number is skipped, a literal comma must follow each number, conversion stops at the first
// field that does not match and leaves the later integers unchanged. Numbers beyond the
// 32-bit range saturate. Returns the number of integers converted.
int scanIntegerFields(std::string_view text, std::span<int32_t> out);

}  // namespace zepa
