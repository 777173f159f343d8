// The position on show when the viewer closed, so that the next start opens on it while the
// position file still holds it. Kept as the value "LastPos_SY" under CHART.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/app_context.h"

namespace zepa {

inline constexpr const char* kLastPositionValue = "LastPos_SY";

// "<index>,<buy letter>,<code>,<entry date>,<quantity>,<sell letter>,<code>,<entry date>,
// <quantity>": the index and both legs, so that the position is found again after lines were
// added, removed or moved above it. A leg without a market letter has an empty field.
std::string formatLastPosition(int32_t index, const PositionRecord& position);

// The index of the stored position among the table's first positionCount records: the stored
// index when that record still has the same legs, else the first record that has them; -1
// when none has, or the text is not such a value.
int32_t findLastPosition(std::string_view stored, const PositionTable& table);

// At the end of a run: stores the position on show (nothing while none is loaded).
void rememberShownPosition(AppContext& a);
// At the start: where the selector starts, 0 when the stored position is gone.
int32_t shownPositionAtStart(const AppContext& a);

}  // namespace zepa
