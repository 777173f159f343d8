#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "app/pair_search_table.h"
#include "app/walkforward_job.h"
#include "settings/chart_values.h"
#include "settings/memory_value_store.h"
#include "tests/app/reverting_market.h"

namespace zepa {
namespace {

constexpr int kDates = 700;

// A window short enough for several periods on the generated market.
PairSearchSettings walkSettings() {
    PairSearchSettings s = defaultPairSearchSettings();
    s.screen.days = 120;
    s.screen.shortDays = 36;
    s.rule.entry = 1.5;
    return s;
}

TEST(WalkForwardFields, RefusedByNameAndRangeLeavingThemAsTheyWere) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::string h = "取引期間は 5〜1500 の整数にして下さい";
    const std::string s = "間隔は 1〜1500 の整数にして下さい";
    struct Case {
        std::optional<double> tradeDays;
        std::optional<double> step;
        std::string message;
        int32_t h = 0;  // taken, when the message is empty
        int32_t s = 0;
    };
    for (const Case& c :
         {Case{4, 20, h}, Case{1501, 20, h}, Case{60.5, 20, h}, Case{std::nullopt, 20, h},
          Case{nan, 20, h}, Case{60, 0, s}, Case{60, 1501, s}, Case{60, 2.5, s}, Case{60, nan, s},
          Case{5, 1, "", 5, 1}, Case{1500, 1500, "", 1500, 1500},
          Case{60, std::nullopt, "", 60, 60}}) {
        WalkForwardFields f{70, 30};
        EXPECT_EQ(readWalkForwardFields(f, c.tradeDays, c.step), c.message)
            << c.tradeDays.value_or(-1) << " " << c.step.value_or(-1);
        EXPECT_EQ(f.tradeDays, c.message.empty() ? c.h : 70);
        EXPECT_EQ(f.step, c.message.empty() ? c.s : 30);
    }
}

TEST(WalkForwardFields, StoredInAValueOfTheirOwn) {
    MemoryValueStore store;
    WalkForwardFields d = loadWalkForwardFields(store);
    EXPECT_EQ(d.tradeDays, 125);
    EXPECT_EQ(d.step, 125);
    saveWalkForwardFields(store, WalkForwardFields{60, 21});
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "PairWalkForward"), "60,21");
    EXPECT_EQ(store.values.size(), 1u);  // the screen's and the rule's values untouched
    // Read back; hand-edited values: what does not parse or lies outside its range keeps the
    // default; a lone H takes S with it.
    struct Case {
        const char* text;
        int32_t h;
        int32_t s;
    };
    for (const Case& c :
         {Case{"90", 90, 90}, Case{"4,20", 125, 20}, Case{"90,0", 90, 125}, Case{"x,y", 125, 125},
          Case{"90.5,20", 125, 20}, Case{"", 125, 125}, Case{"90,20,7", 90, 125}}) {
        store.set(kChartSubkey, "PairWalkForward", c.text);
        d = loadWalkForwardFields(store);
        EXPECT_EQ(d.tradeDays, c.h) << c.text;
        EXPECT_EQ(d.step, c.s) << c.text;
    }
}

TEST(WalkForwardFields, AStartStoresOnlyWhatItAccepts) {
    MemoryValueStore store;
    const PairSearchSettings s = defaultPairSearchSettings();
    WalkForwardFields fields{60, 21};
    EXPECT_EQ(acceptWalkForwardStart(s, fields, 4.0, 21.0, &store),
              "取引期間は 5〜1500 の整数にして下さい");
    PairSearchSettings badRule = s;
    badRule.rule.exit = badRule.rule.entry + 1.0;  // a target beyond its entry
    EXPECT_FALSE(acceptWalkForwardStart(badRule, fields, 90.0, 30.0, &store).empty());
    EXPECT_EQ(fields.tradeDays, 60);
    EXPECT_TRUE(store.values.empty());

    EXPECT_EQ(acceptWalkForwardStart(s, fields, 90.0, std::nullopt, &store), "");
    EXPECT_EQ(fields.tradeDays, 90);
    EXPECT_EQ(fields.step, 90);
    EXPECT_EQ(queryChartValue(store, kChartSubkey, "PairWalkForward"), "90,90");
    EXPECT_FALSE(queryChartValue(store, kChartSubkey, "PairScreen").empty());
}

TEST(WalkForwardFunnel, TheRatioShowsForTheSameScreenAndRuleOnly) {
    const std::string funnel = "4銘柄 → 6組 → 相関 2　上位 100 組を表示";
    const PairSearchSettings shown = walkSettings();
    const WalkForwardMark mark{shown, 0.4375};
    EXPECT_EQ(funnelWithWalkForward(funnel, shown, std::nullopt), funnel);
    EXPECT_EQ(funnelWithWalkForward(funnel, shown, mark), funnel + "　過去の成績 比 0.44");
    PairSearchSettings other = shown;
    other.withBacktest = !other.withBacktest;  // only adds columns
    EXPECT_EQ(funnelWithWalkForward(funnel, other, mark), funnel + "　過去の成績 比 0.44");
    EXPECT_EQ(funnelWithWalkForward(funnel, shown, WalkForwardMark{shown, std::nullopt}),
              funnel + "　過去の成績 比 --");
    // Any change of the screen or the rule drops it.
    for (auto change : std::initializer_list<void (*)(PairSearchSettings&)>{
             [](PairSearchSettings& s) { s.screen.days = 121; },
             [](PairSearchSettings& s) { s.screen.maxP = 0.1; },
             [](PairSearchSettings& s) { s.marketCode = 1; },
             [](PairSearchSettings& s) { s.rule.entry = 2.0; },
             [](PairSearchSettings& s) { s.rule.fill = BacktestFill::Close; }}) {
        other = shown;
        change(other);
        EXPECT_EQ(funnelWithWalkForward(funnel, other, mark), funnel);
    }
    // No funnel (a refusal's or 中止's note is not one): nothing added.
    EXPECT_EQ(funnelWithWalkForward("", shown, mark), "");
}

// The job's outcome is the engine's on the same installation and settings, computed here
// without the job.
TEST(WalkForwardJob, HandsBackTheEnginesWalkWithItsProgress) {
    test::TempInstallation in;
    test::writeRevertingMarket(in, kDates);
    const PairSearchSettings s = walkSettings();
    const WalkForwardFields fields{60, 40};
    WalkForwardProgress progress;
    const WalkForwardJobOutcome got = runPairWalkForward(in.paths, s, fields, progress);
    ASSERT_EQ(got.result, WalkForwardJobResult::Done) << got.message;

    MarketData md;
    md.dataDirectory = in.paths.dataDirectory;
    ASSERT_EQ(scanPriceDatabases(md), DataError::None);
    ASSERT_EQ(loadPriceDatabases(md), DataError::None);
    CorrectionList corrections;
    WalkForwardMarketRequest request;
    request.window = 120;
    WalkForwardMarket market;
    ASSERT_EQ(loadWalkForwardMarket(md, corrections, ListingTable{}, request, market),
              ScreenLoad::Loaded);
    WalkForwardOptions o;
    o.screen = s.screen;
    o.rule = s.rule;
    o.rule.ratioPeriod = s.screen.ratioPeriod;
    o.tradeDays = 60;
    o.step = 40;
    WalkForwardResult want;
    ASSERT_EQ(runWalkForward(market, o, want), WalkForwardOutcome::Done);

    // Formation ends at rows 119, 159, ... 679 of 700: 15 periods, the last one short.
    ASSERT_EQ(want.periods.size(), 15u);
    ASSERT_EQ(got.walk.periods.size(), want.periods.size());
    EXPECT_TRUE(got.walk.periods.back().period.isShort);
    int32_t trades = 0;
    for (size_t k = 0; k < want.periods.size(); ++k) {
        const auto figures = [](const WalkForwardPeriodResult& r) {
            std::vector<int64_t> v = {r.formationEndDate, r.tradeLastDate, r.universe,
                                      r.out.trades,       r.out.net,       r.in.net};
            for (const WalkForwardPair& pair : r.pairs) {
                v.insert(v.end(), {pair.a, pair.b});
            }
            return v;
        };
        EXPECT_EQ(figures(got.walk.periods[k]), figures(want.periods[k])) << k;
        trades += want.periods[k].out.trades;
    }
    EXPECT_GT(trades, 0);  // the planted pair is chosen and traded
    EXPECT_EQ(got.walk.out.stats.net, want.out.stats.net);
    EXPECT_EQ(got.walk.in.stats.net, want.in.stats.net);
    EXPECT_EQ(got.walk.ratio.has_value(), want.ratio.has_value());
    EXPECT_EQ(got.walk.out.curve.size(), want.out.curve.size());
    EXPECT_EQ(got.lastDate, market.market.dates.back());
    EXPECT_EQ(got.fields.step, 40);
    EXPECT_TRUE(sameScreenAndRule(got.settings, s));

    // The bar and its text end at the period count.
    EXPECT_EQ(progress.periodsDone.load(), 15);
    EXPECT_EQ(progress.periodCount.load(), 15);
    EXPECT_EQ(walkForwardPermille(progress), 1000);
    WalkForwardProgress p;
    EXPECT_EQ(walkForwardProgressText(p), "価格データの読み込み");
    p.stockCount = 4;
    p.stocksDone = 2;
    EXPECT_EQ(walkForwardPermille(p), 100);
    p.stage = static_cast<int>(WalkForwardStage::Walking);
    p.periodCount = 15;
    p.periodsDone = 3;
    EXPECT_EQ(walkForwardPermille(p), 200 + 800 * 3 / 15);
    EXPECT_EQ(walkForwardProgressText(p), "期間 3/15");
}

TEST(WalkForwardJob, CancelledHandsBackNothingAndRefusalsSayWhy) {
    test::TempInstallation in;
    test::writeRevertingMarket(in, 300);
    WalkForwardProgress cancelled;
    cancelled.cancel = true;
    WalkForwardJobOutcome out = runPairWalkForward(in.paths, walkSettings(), {}, cancelled);
    EXPECT_EQ(out.result, WalkForwardJobResult::Cancelled);
    EXPECT_TRUE(out.walk.periods.empty());
    {
        WalkForwardJob job(in.paths, walkSettings(), {});
        job.cancel();
        out = job.take();
        EXPECT_EQ(out.result, WalkForwardJobResult::Cancelled);
        EXPECT_TRUE(out.walk.periods.empty());
    }
    { WalkForwardJob dropped(in.paths, walkSettings(), {}); }

    // A window with no date after it to trade on.
    PairSearchSettings s = walkSettings();
    s.screen.days = 300;
    WalkForwardProgress p1;
    out = runPairWalkForward(in.paths, s, {}, p1);
    EXPECT_EQ(out.result, WalkForwardJobResult::Refused);
    EXPECT_NE(out.message.find("300日"), std::string::npos) << out.message;
    // 業種 without the listing's column: the column and how to get it.
    s = walkSettings();
    s.screen.sector = 33;
    WalkForwardProgress p2;
    out = runPairWalkForward(in.paths, s, {}, p2);
    EXPECT_EQ(out.result, WalkForwardJobResult::Refused);
    EXPECT_NE(out.message.find("Sector33Code"), std::string::npos) << out.message;
    // The rule is always traded: its thresholds hold with 検証も計算 off too.
    s = walkSettings();
    s.withBacktest = false;
    s.rule.stop = 1.0;
    EXPECT_EQ(pairSearchSettingsProblem(s), "");
    EXPECT_EQ(walkForwardSettingsProblem(s), "検証の条件は |決済| < 仕掛け < 損切り にして下さい");
}

}  // namespace
}  // namespace zepa
