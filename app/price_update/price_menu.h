// The File menu's 株価更新 and 株価取り込み… as both shells run them around their own windows:
// the key looked for before the update's window opens, the work each job does on its thread,
// the progress line, and a job's end (the prices read again when something was written, then
// the summary). The shells only add the windows.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/app_context.h"
#include "app/price_update/price_update_job.h"
#include "app/shell.h"

namespace zepa {

inline constexpr std::string_view kPriceUpdateCaption = "株価更新";
inline constexpr std::string_view kPriceImportCaption = "株価取り込み";

// The job window's line before, at the start of and while stopping a job.
inline constexpr std::string_view kPriceJobReadyText = "開始を押すと始まります。";
inline constexpr std::string_view kPriceJobPreparingText = "準備中…";
inline constexpr std::string_view kPriceJobStoppingText = "中止しています（今の要求が終わるまで）…";

using PriceJobWork = std::function<PriceJobOutcome(PriceJobProgress&)>;

// Whether 株価更新 may open its window. A refused key (an unreadable key file, a bad
// JQUANTS_API_KEY): its reason shown, false. No key: where to get one shown, then
// `editSettings` (the shell's 詳細設定), and true only when a key is there afterwards.
bool priceUpdateKeyReady(Shell& shell, const std::function<void()>& editSettings);

// The update's work. The key is looked for again as it starts, and `settings` read then, so
// that what 詳細設定 changed in the job's window counts; `settings` must outlive the job.
PriceJobWork priceUpdateWork(std::string root, const PriceUpdateSettings& settings);
PriceJobWork priceImportWork(PriceImportRequest request);

// The job window's line while it runs ("3 / 10 日: 2024-01-05"); empty when there is nothing
// new to say (the days not known yet, or a stop asked for).
std::string priceJobProgressText(const PriceJobProgress& progress);

// A job's end: the prices read again when it wrote something (a new file that does not read
// is named under the summary, the prices shown before stay), then the summary box.
void finishPriceJob(AppContext& a, Shell& shell, std::string_view caption, PriceJobOutcome outcome);

}  // namespace zepa
