#include "app/walkforward_job.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <utility>

#include "app/pair_search_job.h"
#include "marketdata/data_error.h"
#include "positions/position_request.h"

namespace zepa {
namespace {

constexpr int kLoadingPermille = 200;

WalkForwardJobOutcome refused(std::string message) {
    WalkForwardJobOutcome o;
    o.result = WalkForwardJobResult::Refused;
    o.message = std::move(message);
    return o;
}

std::string tooFewDates(int32_t window) {
    return "価格データの日付が期間 (" + std::to_string(window) + "日) と取引の1日に足りません";
}

WalkForwardJobOutcome walk(const InstallationPaths& paths, const PairSearchSettings& settings,
                           const WalkForwardFields& fields, WalkForwardProgress& progress) {
    WalkForwardOptions options = walkForwardOptionsOf(settings, fields);
    options.cancel = &progress.cancel;
    options.periodsDone = &progress.periodsDone;
    options.periodCount = &progress.periodCount;
    ListingTable listing;
    if (std::string problem = readPairListing(paths, options.screen, listing); !problem.empty()) {
        return refused(std::move(problem));
    }
    MarketData md;
    md.dataDirectory = paths.dataDirectory;
    if (scanPriceDatabases(md) != DataError::None || loadPriceDatabases(md) != DataError::None) {
        return refused(dataErrorMessage(md.dataError, md.dataDirectory));
    }
    CorrectionList corrections;
    loadCorrectionList(paths.correctionFile, corrections);
    WalkForwardMarketRequest request;
    request.window = options.screen.days;
    request.marketCode = settings.marketCode;
    request.cancel = &progress.cancel;
    request.stocksDone = &progress.stocksDone;
    request.stockCount = &progress.stockCount;
    WalkForwardMarket market;
    const ScreenLoad loaded = loadWalkForwardMarket(md, corrections, listing, request, market);
    // The market holds what the walk needs: the files' blocks go before it runs.
    const std::string dataError = dataErrorMessage(md.dataError, md.dataDirectory);
    releaseMarketData(md);
    switch (loaded) {
        case ScreenLoad::Loaded:
            break;
        case ScreenLoad::EndBeforeFirstDate:
        case ScreenLoad::TooFewDates:
            return refused(tooFewDates(options.screen.days));
        case ScreenLoad::DataError:
            return refused(dataError);
        case ScreenLoad::OutOfMemory:
            return refused("メモリが確保できません");
        case ScreenLoad::Cancelled:
            return {};
    }

    progress.stage = static_cast<int>(WalkForwardStage::Walking);
    WalkForwardJobOutcome out;
    switch (runWalkForward(market, options, out.walk)) {
        case WalkForwardOutcome::Done:
            break;
        case WalkForwardOutcome::TooFewDates:
        case WalkForwardOutcome::NoPeriod:
            return refused(tooFewDates(options.screen.days));
        case WalkForwardOutcome::OutOfMemory:
            return refused("メモリが確保できません");
        case WalkForwardOutcome::Cancelled:
            return {};
    }
    out.result = WalkForwardJobResult::Done;
    out.settings = settings;
    out.fields = fields;
    out.lastDate = market.market.dates.back();
    progress.stage = static_cast<int>(WalkForwardStage::Finished);
    return out;
}

}  // namespace

int walkForwardPermille(const WalkForwardProgress& p) {
    const auto part = [](int64_t done, int64_t count, int span) {
        return count > 0 ? static_cast<int>(span * std::clamp<int64_t>(done, 0, count) / count) : 0;
    };
    switch (static_cast<WalkForwardStage>(p.stage.load())) {
        case WalkForwardStage::Loading:
            return part(p.stocksDone.load(), p.stockCount.load(), kLoadingPermille);
        case WalkForwardStage::Walking:
            return kLoadingPermille +
                   part(p.periodsDone.load(), p.periodCount.load(), 1000 - kLoadingPermille);
        case WalkForwardStage::Finished:
            break;
    }
    return 1000;
}

std::string walkForwardProgressText(const WalkForwardProgress& p) {
    switch (static_cast<WalkForwardStage>(p.stage.load())) {
        case WalkForwardStage::Loading:
            return "価格データの読み込み";
        case WalkForwardStage::Walking: {
            const int64_t count = p.periodCount.load();
            return "期間 " + std::to_string(std::min(p.periodsDone.load(), count)) + "/" +
                   std::to_string(count);
        }
        case WalkForwardStage::Finished:
            break;
    }
    return "完了";
}

std::string walkForwardSettingsProblem(const PairSearchSettings& settings) {
    PairSearchSettings traded = settings;
    traded.withBacktest = true;
    return pairSearchSettingsProblem(traded);
}

std::string acceptWalkForwardStart(const PairSearchSettings& settings, WalkForwardFields& fields,
                                   std::optional<double> tradeDays, std::optional<double> step,
                                   ValueStore* store) {
    WalkForwardFields read = fields;
    std::string problem = readWalkForwardFields(read, tradeDays, step);
    if (problem.empty()) {
        problem = walkForwardSettingsProblem(settings);
    }
    if (!problem.empty()) {
        return problem;
    }
    fields = read;
    if (store != nullptr) {
        savePairSearchSettings(*store, settings);
        saveWalkForwardFields(*store, fields);
    }
    return {};
}

WalkForwardOptions walkForwardOptionsOf(const PairSearchSettings& settings,
                                        const WalkForwardFields& fields) {
    WalkForwardOptions o;
    o.screen = screenOptionsOf(settings);
    o.rule = backtestRuleOf(settings);
    o.tradeDays = fields.tradeDays;
    o.step = fields.step;
    return o;
}

WalkForwardJobOutcome runPairWalkForward(const InstallationPaths& paths,
                                         const PairSearchSettings& settings,
                                         const WalkForwardFields& fields,
                                         WalkForwardProgress& progress) {
    try {
        WalkForwardJobOutcome out = walk(paths, settings, fields, progress);
        return progress.cancel ? WalkForwardJobOutcome{} : out;
    } catch (const std::bad_alloc&) {
        return refused("メモリが確保できません");
    }
}

std::string walkForwardFileName(int32_t lastDate) {
    if (lastDate <= 0) {
        return "過去の成績.csv";
    }
    return "過去の成績_" + isoDate(lastDate) + ".csv";
}

WalkForwardJob::WalkForwardJob(InstallationPaths paths, PairSearchSettings settings,
                               WalkForwardFields fields)
    : paths_(std::move(paths)), settings_(std::move(settings)), fields_(fields) {
    thread_ = std::thread([this] {
        outcome_ = runPairWalkForward(paths_, settings_, fields_, progress_);
        finished_ = true;
    });
}

WalkForwardJob::~WalkForwardJob() {
    cancel();
    if (thread_.joinable()) {
        thread_.join();
    }
}

WalkForwardJobOutcome WalkForwardJob::take() {
    if (thread_.joinable()) {
        thread_.join();
    }
    return std::move(outcome_);
}

}  // namespace zepa
