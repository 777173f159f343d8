// A walk-forward run as the ペア検索 window's 過去の成績 starts it: the installation's prices read
// once, then the window's screen and rule tried period by period (screen/walkforward_run.h), on
// a thread of its own. The window polls the progress (periods done of periods) and may cancel
// at any time; a cancelled run hands back nothing.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>

#include "app/pair_search_settings.h"
#include "app/walkforward_settings.h"
#include "marketdata/installation_paths.h"
#include "screen/walkforward_run.h"

namespace zepa {

enum class WalkForwardStage { Loading, Walking, Finished };

struct WalkForwardProgress {
    std::atomic<int> stage{static_cast<int>(WalkForwardStage::Loading)};
    std::atomic<bool> cancel{false};
    std::atomic<int64_t> stocksDone{0};
    std::atomic<int64_t> stockCount{0};
    std::atomic<int64_t> periodsDone{0};
    std::atomic<int64_t> periodCount{0};
};

// The bar in permille: loading the first fifth by stocks, the rest by periods done.
int walkForwardPermille(const WalkForwardProgress& progress);
// Beside the bar, UTF-8: "価格データの読み込み", then "期間 3/12".
std::string walkForwardProgressText(const WalkForwardProgress& progress);

enum class WalkForwardJobResult { Done, Cancelled, Refused };

struct WalkForwardJobOutcome {
    WalkForwardJobResult result = WalkForwardJobResult::Cancelled;
    std::string message;  // UTF-8: why it was refused
    WalkForwardResult walk;
    PairSearchSettings settings;  // what it ran with
    WalkForwardFields fields;
    int32_t lastDate = 0;  // YYYYMMDD of the walk's last date
};

// The first reason the settings cannot be walked forward (UTF-8), or "": the rule is always
// traded, so its thresholds must hold whether 検証も計算 is on or not.
std::string walkForwardSettingsProblem(const PairSearchSettings& settings);

// 過去の成績 pressed, the window's settings read: 取引期間 and 間隔 as typed taken into `fields`
// and the whole checked; "" when the walk may start, both then stored for the window's next
// opening, else the first reason (UTF-8) with nothing stored.
std::string acceptWalkForwardStart(const PairSearchSettings& settings, WalkForwardFields& fields,
                                   std::optional<double> tradeDays, std::optional<double> step,
                                   ValueStore* store);

// Beside the bar after 中止, UTF-8.
inline constexpr const char* kWalkForwardCancelledText = "過去の成績を中止しました";

// The options the walk takes from the window's settings: its screen (W, universe, filters, top)
// and its rule, H and S, from the first formation end the window allows to the newest date.
WalkForwardOptions walkForwardOptionsOf(const PairSearchSettings& settings,
                                        const WalkForwardFields& fields);

// The whole run on the calling thread; Cancelled once `progress.cancel` is set.
WalkForwardJobOutcome runPairWalkForward(const InstallationPaths& paths,
                                         const PairSearchSettings& settings,
                                         const WalkForwardFields& fields,
                                         WalkForwardProgress& progress);

// "過去の成績_2026-12-04.csv": the file name offered for the period table, naming the last date.
std::string walkForwardFileName(int32_t lastDate);

// One run on a thread of its own. Destroying the job cancels the run and waits for it.
class WalkForwardJob {
  public:
    WalkForwardJob(InstallationPaths paths, PairSearchSettings settings, WalkForwardFields fields);
    ~WalkForwardJob();
    WalkForwardJob(const WalkForwardJob&) = delete;
    WalkForwardJob& operator=(const WalkForwardJob&) = delete;

    void cancel() { progress_.cancel = true; }
    bool finished() const { return finished_.load(); }
    const WalkForwardProgress& progress() const { return progress_; }
    // The outcome once finished() (then the thread has ended).
    WalkForwardJobOutcome take();

  private:
    InstallationPaths paths_;
    PairSearchSettings settings_;
    WalkForwardFields fields_;
    WalkForwardProgress progress_;
    WalkForwardJobOutcome outcome_;
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

}  // namespace zepa
