// 株価更新 and 株価取り込み… as the viewer runs them, and their settings.
#include <gtest/gtest.h>

#include "app/price_update/background_job.h"
#include "app/price_update/price_update_job.h"
#include "settings/memory_value_store.h"
#include "tests/jquants/jquants_test_support.h"
#include "tests/support/temp_installation.h"

namespace zepa {
namespace {

using namespace test;

struct UpdateRun {
    ServedFake s;
    FakeClock clock;
    TempInstallation root;
    PriceJobProgress progress;

    UpdateRun() {
        for (int32_t day : {20240104, 20240105, 20240109}) {
            s.fake.bars[day] = {
                barRow(FakeJQuants::iso(day), "72030", "2000", "2050", "1990", "2020", "1000"),
                barRow(FakeJQuants::iso(day), "67580", "null", "null", "null", "null", "0")};
        }
    }
    PriceUpdateRequest request() {
        PriceUpdateRequest r;
        r.root = root.root.string();
        r.key = kTestKey;
        r.settings.firstFillFrom = 20240101;
        r.settings.requestsPerMinute = 60;
        r.today = 20240109;
        r.settings.apiBase = s.server.base() + "/v2";
        r.world = clock.world();
        r.realWaits = false;
        return r;
    }
};

TEST(PriceUpdateJob, AFirstFillFromTheSettingsDayShowsItsCountsAndAsksForAReload) {
    UpdateRun run;
    BackgroundJob<PriceJobOutcome> job(
        [&run, request = run.request()] { return runPriceUpdate(request, run.progress); });
    const PriceJobOutcome outcome = job.take();
    EXPECT_EQ(outcome.status, kExitImported) << outcome.summary;
    EXPECT_TRUE(job.finished());
    EXPECT_TRUE(outcome.reload);
    EXPECT_EQ(std::pair(run.progress.done.load(), run.progress.total.load()), std::pair(3, 3));
    EXPECT_TRUE(
        outcome.summary.starts_with("株価更新: 3 日分を取り込みました（2024-01-09 まで）\n追加 3 "
                                    "行、置き換え 0 行、スキップ 3 行\n"))
        << outcome.summary;
    EXPECT_NE(outcome.summary.find("wrote DBW.2024"), std::string::npos) << outcome.summary;

    // Again: nothing new, nothing to reload.
    const PriceJobOutcome again = runPriceUpdate(run.request(), run.progress);
    EXPECT_EQ(again.status, kExitImported);
    EXPECT_FALSE(again.reload);
    EXPECT_EQ(again.summary, "株価更新: 新しい株価はありません（2024-01-09 まで取り込み済み）\n");
    expectNoKey({outcome.summary, again.summary});
}

TEST(PriceUpdateJob, CancelKeepsTheDaysFetchedAndARefusedKeyIsShownWithoutIt) {
    UpdateRun run;
    PriceUpdateRequest request = run.request();
    // 中止 pressed while the third day is asked for.
    request.world.stopRequested = [&run] { return run.s.server.requests().size() >= 4; };
    const PriceJobOutcome stopped = runPriceUpdate(request, run.progress);
    EXPECT_EQ(stopped.status, kExitInputError);
    EXPECT_TRUE(stopped.reload);
    EXPECT_NE(stopped.summary.find("中止しました。2024-01-05 までの株価は保存済みです。"),
              std::string::npos)
        << stopped.summary;

    UpdateRun refused;
    PriceUpdateRequest wrong = refused.request();
    wrong.key = "WRONG-key-77";
    const PriceJobOutcome outcome = runPriceUpdate(wrong, refused.progress);
    EXPECT_FALSE(outcome.reload);
    EXPECT_NE(outcome.summary.find("株価更新を続けられませんでした。株価は書き込んでいません。\n"
                                   "GET /markets/calendar?from=20240101&to=20240109: HTTP 401"),
              std::string::npos)
        << outcome.summary;
    expectNoKey({stopped.summary, outcome.summary});
}

TEST(PriceImportJob, ImportsChosenFilesOrNamesTheRefusedLineAndWritesNothing) {
    TempInstallation root(false);
    const std::string good = (root.root / "7203.csv").string();
    TempInstallation::writeText(good,
                                "Date,Open,High,Low,Close,Volume\n"
                                "2024-01-04,2000,2050,1990,2020,1000\n"
                                "2024-01-05,,,,,\n");
    const std::string bad = (root.root / "6758.csv").string();
    TempInstallation::writeText(bad,
                                "Date,Open,High,Low,Close,Volume\n"
                                "2024-01-04,13000,12900,13200,13100,500\n");
    PriceJobProgress progress;
    const PriceJobOutcome refused = runPriceImport({root.root.string(), {good, bad}, ""}, progress);
    EXPECT_EQ(refused.status, kExitInputError);
    EXPECT_FALSE(refused.reload);
    EXPECT_TRUE(refused.summary.starts_with("取り込めませんでした（何も書き込んでいません）:\n" +
                                            bad + ":2: "))
        << refused.summary;
    EXPECT_FALSE(fs::exists(root.root / "ZEPAWIN"));

    const PriceJobOutcome imported = runPriceImport({root.root.string(), {good}, ""}, progress);
    EXPECT_EQ(imported.status, kExitImported);
    EXPECT_TRUE(imported.reload);
    EXPECT_EQ(progress.done.load(), 1);
    EXPECT_TRUE(
        imported.summary.starts_with("株価取り込み: 追加 1 行、置き換え 0 行、スキップ 1 行\n"))
        << imported.summary;
}

TEST(PriceUpdateSettings, PaceAndFirstDayAreStoredAndTheKeyIsShownAsDots) {
    MemoryValueStore store;
    EXPECT_EQ(loadPriceUpdateSettings(store).requestsPerMinute, 5);
    EXPECT_TRUE(savePriceUpdateSettings(store, {120, 20150105}));
    const PriceUpdateSettings loaded = loadPriceUpdateSettings(store);
    EXPECT_EQ(loaded.requestsPerMinute, 120);
    EXPECT_EQ(loaded.firstFillFrom, 20150105);
    // A hand-edited value out of range keeps the default.
    for (const char* text : {"0", "abc", "99999999"}) {
        store.set("JQUANTS", "RATE", text);
        EXPECT_EQ(loadPriceUpdateSettings(store).requestsPerMinute, 5) << text;
    }
    EXPECT_EQ(firstFillDay({5, 0}, 20260305), 20240305);
    EXPECT_EQ(firstFillDay({5, 0}, 20280229), 20260228);
    EXPECT_EQ(firstFillDay({5, 20150105}, 20260305), 20150105);
    EXPECT_EQ(maskedKey("abc"), "●●●");
    EXPECT_EQ(maskedKey(""), "");
    EXPECT_EQ(storedKeyHint(true, "abc"), "保存済み: ●●●");
    EXPECT_EQ(storedKeyHint(false, ""), "J-Quants のダッシュボードの API キー");
}

}  // namespace
}  // namespace zepa
