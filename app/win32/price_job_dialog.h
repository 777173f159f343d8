// 株価更新 and 株価取り込み… in the Win32 shell: the job's window (its line, a progress bar, 開始,
// 詳細設定… and 中止) over a job on its own thread, and 株価更新's 詳細設定; what the job does and
// shows is app/price_update/price_menu.h's.
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

#include "app/price_update/price_menu.h"

namespace zepa::win32 {

// Modal over `owner`. With `settings`, the window waits for 開始 and offers 詳細設定…; without,
// the work starts as it opens. True with the outcome once the job has ended; false when the
// window closed before a start.
bool runPriceJobDialog(HWND owner, HINSTANCE instance, std::string_view caption, PriceJobWork work,
                       const std::function<void()>& settings, PriceJobOutcome& outcome);

// 詳細設定 of 株価更新: the key (stored on OK when one was typed), the pace and the first fill's
// day, refused while they do not read. False when cancelled.
bool runPriceUpdateSettingsDialog(HWND owner, HINSTANCE instance, PriceUpdateSettings& settings);

}  // namespace zepa::win32
