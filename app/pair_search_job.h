// A screen run as the ペア検索 window starts it: the installation's prices read, the screen, the
// listed pairs' z as the ratio chart shows it and, with 検証 on, each pair's backtest, on a
// thread of its own. The window polls its stage and may cancel it at any time; a cancelled run
// hands back nothing.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "app/pair_candidate.h"
#include "app/pair_search_settings.h"
#include "app/pair_search_table.h"
#include "marketdata/installation_paths.h"
#include "marketdata/listing_file.h"

namespace zepa {

enum class PairSearchStage { Loading, Screening, RatioZ, Backtest, Finished };

// What the window shows for a stage, UTF-8: "価格データの読み込み", ...
std::string_view pairSearchStageName(PairSearchStage stage);

struct PairSearchProgress {
    std::atomic<int> stage{static_cast<int>(PairSearchStage::Loading)};
    std::atomic<int> permille{0};  // of the whole run, for the progress bar
    std::atomic<bool> cancel{false};
    // The stage's steps, for the bar: the stocks while loading, the tiles while screening.
    std::atomic<int64_t> stepsDone{0};
    std::atomic<int64_t> stepCount{0};
};

// Where the progress bar stands, in permille: within loading and screening by their steps.
int pairSearchPermille(const PairSearchProgress& progress);

enum class PairSearchResult { Done, Cancelled, Refused };

struct PairSearchOutcome {
    PairSearchResult result = PairSearchResult::Cancelled;
    std::string message;  // UTF-8: why it was refused
    PairSearchTable table;
    std::string funnel;
    int32_t windowStart = 0;  // YYYYMMDD of the window's first date: the candidates' entry
    int32_t endDate = 0;      // YYYYMMDD of the screen's end
};

// The listing the screen's options need, read into `listing`: "" when it serves them, else why
// not (UTF-8: a malformed file, or the column 業種 or 両方とも貸借 needs and how to get it).
std::string readPairListing(const InstallationPaths& paths, const ScreenOptions& options,
                            ListingTable& listing);

// The whole run on the calling thread; returns early with Cancelled once `progress.cancel` is
// set.
PairSearchOutcome runPairSearch(const InstallationPaths& paths, const PairSearchSettings& settings,
                                PairSearchProgress& progress);

// The candidate of a listed pair: its legs as the table has them, the cheaper-to-buy leg bought,
// quantities for the rule's amount, entered at the window's first date, the screen's ratio
// period, and its trades.
PairCandidate pairCandidateOf(const PairSearchRow& row, const PairSearchSettings& settings,
                              int32_t windowStart);

// The candidate's legs at the closes of the screen's end: each one's quantity × close and the
// difference (legAmountsText).
std::string candidateAmountsText(const PairSearchRow& row, const PairCandidate& candidate);

// One run on a thread of its own. Destroying the job cancels the run and waits for it.
class PairSearchJob {
  public:
    PairSearchJob(InstallationPaths paths, PairSearchSettings settings);
    ~PairSearchJob();
    PairSearchJob(const PairSearchJob&) = delete;
    PairSearchJob& operator=(const PairSearchJob&) = delete;

    void cancel() { progress_.cancel = true; }
    bool finished() const { return finished_.load(); }
    const PairSearchProgress& progress() const { return progress_; }
    // The outcome once finished() (then the thread has ended).
    PairSearchOutcome take();

  private:
    InstallationPaths paths_;
    PairSearchSettings settings_;
    PairSearchProgress progress_;
    PairSearchOutcome outcome_;
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

}  // namespace zepa
