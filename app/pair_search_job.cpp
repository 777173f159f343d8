#include "app/pair_search_job.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

#include "app/pair_candidate.h"
#include "app/position_forms.h"
#include "marketdata/data_error.h"
#include "marketdata/listing_file.h"
#include "marketdata/pair_series.h"
#include "marketdata/price_database.h"
#include "screen/backtest_calendar.h"
#include "screen/screen_chart_z.h"
#include "screen/screen_load.h"

namespace zepa {
namespace {

// Where each stage starts on the progress bar, in permille.
constexpr int kStageStart[] = {0, 300, 800, 850, 1000};

void enter(PairSearchProgress& p, PairSearchStage stage) {
    // The steps are the new stage's from here on (its own code sets the count).
    p.stepCount = 0;
    p.stepsDone = 0;
    p.stage = static_cast<int>(stage);
    p.permille = kStageStart[static_cast<int>(stage)];
}

// Progress within a stage: done of total.
void within(PairSearchProgress& p, PairSearchStage stage, size_t done, size_t total) {
    const int s = static_cast<int>(stage);
    const int span = kStageStart[s + 1] - kStageStart[s];
    p.permille = kStageStart[s] + static_cast<int>(total > 0 ? span * done / total : 0);
}

PairSearchOutcome refused(std::string message) {
    PairSearchOutcome o;
    o.result = PairSearchResult::Refused;
    o.message = std::move(message);
    return o;
}

PairSearchOutcome cancelled() {
    return PairSearchOutcome{};
}

// The listed pair as a position: the cheaper leg bought, each for `amount` yen.
PositionRecord rowRecord(const PairSearchRow& row, double amount, int32_t windowStart) {
    return candidateRecord({row.aMarket, row.aCode, row.aName, row.aClose},
                           {row.bMarket, row.bCode, row.bName, row.bClose}, row.z.value_or(0.0),
                           row.z.has_value(), amount, windowStart);
}

PairSearchOutcome search(const InstallationPaths& paths, const PairSearchSettings& settings,
                         PairSearchProgress& progress) {
    enter(progress, PairSearchStage::Loading);
    ScreenOptions options = screenOptionsOf(settings);
    options.cancel = &progress.cancel;
    options.tilesDone = &progress.stepsDone;
    options.tileCount = &progress.stepCount;
    ListingTable listing;
    if (std::string problem = readPairListing(paths, options, listing); !problem.empty()) {
        return refused(std::move(problem));
    }
    MarketData md;
    md.dataDirectory = paths.dataDirectory;
    if (scanPriceDatabases(md) != DataError::None || loadPriceDatabases(md) != DataError::None) {
        return refused(dataErrorMessage(md.dataError, md.dataDirectory));
    }
    // Every stock is read, then the listed pairs' again: each price file is opened once.
    const HeldPriceFiles held(md);
    CorrectionList corrections;
    loadCorrectionList(paths.correctionFile, corrections);
    if (progress.cancel) {
        return cancelled();
    }
    ScreenLoadRequest request;
    request.days = options.days;
    request.rows = std::max(options.days, options.ratioPeriod);
    request.marketCode = settings.marketCode;
    request.cancel = &progress.cancel;
    request.stocksDone = &progress.stepsDone;
    request.stockCount = &progress.stepCount;
    ScreenMarket market;
    switch (loadScreenMarket(md, corrections, listing, request, market)) {
        case ScreenLoad::Loaded:
            break;
        case ScreenLoad::EndBeforeFirstDate:
        case ScreenLoad::TooFewDates:
            return refused("価格データの日付が期間 (" + std::to_string(options.days) +
                           "日) に足りません");
        case ScreenLoad::DataError:
            return refused(dataErrorMessage(md.dataError, md.dataDirectory));
        case ScreenLoad::OutOfMemory:
            return refused("メモリが確保できません");
        case ScreenLoad::Cancelled:
            return cancelled();
    }
    if (progress.cancel) {
        return cancelled();
    }

    enter(progress, PairSearchStage::Screening);
    ScreenResult result;
    switch (runScreen(market, options, result)) {
        case ScreenOutcome::Done:
            break;
        case ScreenOutcome::Cancelled:
            return cancelled();
        case ScreenOutcome::OutOfMemory:
            return refused("メモリが確保できません");
    }
    if (progress.cancel) {
        return cancelled();
    }

    enter(progress, PairSearchStage::RatioZ);
    PairSearchOutcome out;
    out.result = PairSearchResult::Done;
    out.funnel = funnelLine(result, options);
    out.endDate = market.dates.back();
    out.windowStart = market.dates[static_cast<size_t>(market.rows() - market.window)];
    out.table.withBacktest = settings.withBacktest;
    out.table.windowDays = market.window;
    for (size_t k = 0; k < result.pairs.size(); ++k) {
        if (progress.cancel) {
            return cancelled();
        }
        ScreenPair& p = result.pairs[k];
        const ScreenStock& a = market.stocks[static_cast<size_t>(p.a)];
        const ScreenStock& b = market.stocks[static_cast<size_t>(p.b)];
        p.z = chartRatioZ(md, corrections, a, b, options.ratioPeriod, market.endSlot);
        out.table.rows.push_back(
            pairSearchRow(market, p, static_cast<int32_t>(k), options.sector, &listing));
        within(progress, PairSearchStage::RatioZ, k + 1, result.pairs.size());
    }

    if (settings.withBacktest) {
        enter(progress, PairSearchStage::Backtest);
        const BacktestCalendar calendar = installationCalendar(md.set);
        const BacktestRule rule = backtestRuleOf(settings);
        if (!calendar.dates.empty()) {
            out.table.backtestFirstDate = std::max(calendar.dates.front(), rule.startDate);
            out.table.backtestLastDate = std::min(calendar.dates.back(), rule.endDate);
        }
        SpreadSeries series;
        for (size_t k = 0; k < out.table.rows.size(); ++k) {
            if (progress.cancel) {
                return cancelled();
            }
            PairSearchRow& row = out.table.rows[k];
            const PositionRecord record = rowRecord(row, rule.amount, out.windowStart);
            BacktestStats stats;
            if (buildPairSeries(md, corrections, record, PairSeriesOptions{}, series).result == 1 &&
                backtestSeries(series, calendar, rule, row.trades, stats)) {
                row.stats = stats;
            }
            within(progress, PairSearchStage::Backtest, k + 1, out.table.rows.size());
        }
        releasePairSeries(series);
    }
    releaseMarketData(md);
    enter(progress, PairSearchStage::Finished);
    return out;
}

}  // namespace

std::string readPairListing(const InstallationPaths& paths, const ScreenOptions& options,
                            ListingTable& listing) {
    std::string listingError;
    const ListingRead listingRead =
        readListingFile(paths.zepawin + "/" + kListingFileName, listing, listingError);
    const bool needsListing = options.sector != 0 || options.borrowable;
    if (listingRead == ListingRead::Malformed) {
        if (needsListing) {
            return listingError;
        }
        listing = ListingTable{};
    }
    // As the command says it: the column that is missing and how to get it.
    const bool sectorMissing = (options.sector == 17 && !listing.hasSector17) ||
                               (options.sector == 33 && !listing.hasSector33);
    if (sectorMissing || (options.borrowable && !listing.hasMargin)) {
        const std::string condition = !sectorMissing         ? "両方とも貸借"
                                      : options.sector == 17 ? "同じ17業種"
                                                             : "同じ33業種";
        const std::string column = !sectorMissing         ? "MarginCode"
                                   : options.sector == 17 ? "Sector17Code"
                                                          : "Sector33Code";
        return "「" + condition + "」には銘柄一覧 (" + std::string(kListingFileName) + ") の " +
               column +
               " の列が要ります。上場銘柄情報のファイルを zepa_import --names FILE "
               "で取り込んで下さい";
    }
    return {};
}

PairCandidate pairCandidateOf(const PairSearchRow& row, const PairSearchSettings& settings,
                              int32_t windowStart) {
    PairCandidate c;
    c.record = rowRecord(row, settings.rule.amount, windowStart);
    c.ratioPeriod = settings.screen.ratioPeriod;
    c.withBacktest = row.stats.has_value();
    c.rule = backtestRuleOf(settings);
    c.trades = row.trades;
    c.stats = row.stats.value_or(BacktestStats{});
    return c;
}

std::string candidateAmountsText(const PairSearchRow& row, const PairCandidate& candidate) {
    const auto amount = [&](const PositionLeg& leg) {
        const bool isA = leg.stockCode == row.aCode && leg.marketLetter[0] == row.aMarket;
        return std::llround(static_cast<double>(leg.quantity) * (isA ? row.aClose : row.bClose));
    };
    return legAmountsText(amount(candidate.record.buy), amount(candidate.record.sell));
}

int pairSearchPermille(const PairSearchProgress& p) {
    const int stage = p.stage.load();
    const int64_t count = p.stepCount.load();
    if ((stage != static_cast<int>(PairSearchStage::Loading) &&
         stage != static_cast<int>(PairSearchStage::Screening)) ||
        count <= 0) {
        return p.permille.load();
    }
    const int span = kStageStart[stage + 1] - kStageStart[stage];
    return kStageStart[stage] +
           static_cast<int>(span * std::min(p.stepsDone.load(), count) / count);
}

std::string_view pairSearchStageName(PairSearchStage stage) {
    switch (stage) {
        case PairSearchStage::Loading:
            return "価格データの読み込み";
        case PairSearchStage::Screening:
            return "全ペアの検定";
        case PairSearchStage::RatioZ:
            return "Z値の計算";
        case PairSearchStage::Backtest:
            return "検証";
        case PairSearchStage::Finished:
            return "完了";
    }
    return {};
}

PairSearchOutcome runPairSearch(const InstallationPaths& paths, const PairSearchSettings& settings,
                                PairSearchProgress& progress) {
    try {
        PairSearchOutcome out = search(paths, settings, progress);
        return progress.cancel ? cancelled() : out;
    } catch (const std::bad_alloc&) {
        return refused("メモリが確保できません");
    }
}

PairSearchJob::PairSearchJob(InstallationPaths paths, PairSearchSettings settings)
    : paths_(std::move(paths)), settings_(std::move(settings)) {
    thread_ = std::thread([this] {
        outcome_ = runPairSearch(paths_, settings_, progress_);
        finished_ = true;
    });
}

PairSearchJob::~PairSearchJob() {
    cancel();
    if (thread_.joinable()) {
        thread_.join();
    }
}

PairSearchOutcome PairSearchJob::take() {
    if (thread_.joinable()) {
        thread_.join();
    }
    return std::move(outcome_);
}

}  // namespace zepa
