#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>

#include "app/price_update/price_menu.h"
#include "import/jquants_key.h"
#include "import/jquants_update.h"
#include "tests/app/viewer_fixture.h"
#include "tests/jquants/jquants_test_support.h"

namespace zepa::test {
namespace {

#ifdef _WIN32
constexpr const char* kConfigVariable = "APPDATA";
#else
constexpr const char* kConfigVariable = "XDG_CONFIG_HOME";
#endif

// One environment variable set, or removed when given none, for a test; as it was afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* v = std::getenv(name)) {
            old_ = v;
        }
        set(name, value);
    }
    ~ScopedEnv() { set(name_, old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    static void set(const char* name, const std::optional<std::string>& value) {
#ifdef _WIN32
        _putenv_s(name, value ? value->c_str() : "");  // an empty value removes it
#else
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
#endif
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// The key's places for one test: the per-user key file in a folder of its own, no
// JQUANTS_API_KEY.
struct KeyPlaces {
    ~KeyPlaces() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    fs::path folder = makeTempFolder();
    ScopedEnv config{kConfigVariable, folder.string()};
    ScopedEnv key{"JQUANTS_API_KEY", std::nullopt};
};

void storeKey(const std::string& key) {
    std::string problem;
    ASSERT_TRUE(storeApiKey(key, problem)) << problem;
}

TEST(PriceMenu, TheKeyIsLookedForBeforeTheUpdatesWindowOpens) {
    KeyPlaces places;
    RecordingShell shell;
    int edits = 0;

    // None anywhere, and 詳細設定 left without one: where to get it is said, nothing opens.
    EXPECT_FALSE(priceUpdateKeyReady(shell, [&] { ++edits; }));
    EXPECT_EQ(edits, 1);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, kNoKeyMessage);
    EXPECT_EQ(shell.messages[0].caption, kPriceUpdateCaption);
    EXPECT_EQ(shell.messages[0].icon, MessageIcon::Information);

    // 詳細設定 given one: the window opens without another word.
    shell.messages.clear();
    EXPECT_TRUE(priceUpdateKeyReady(shell, [&] {
        ++edits;
        storeKey(kTestKey);
    }));
    EXPECT_EQ(edits, 2);
    EXPECT_EQ(shell.messages.size(), 1u);

    // Stored: no message, no 詳細設定.
    shell.messages.clear();
    EXPECT_TRUE(priceUpdateKeyReady(shell, [&] { ++edits; }));
    EXPECT_EQ(edits, 2);
    EXPECT_TRUE(shell.messages.empty());

    // A key that cannot be one: refused with the reason (never the text), 詳細設定 not offered.
    ScopedEnv::set("JQUANTS_API_KEY", "S3CRET with blanks");
    EXPECT_FALSE(priceUpdateKeyReady(shell, [&] { ++edits; }));
    EXPECT_EQ(edits, 2);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(shell.messages[0].text.find("S3CRET"), std::string::npos);
}

TEST(PriceMenu, TheUpdatesWorkReadsTheKeyAndSettingsAsItStarts) {
    KeyPlaces places;
    ServedFake served;
    FakeJQuants& fake = served.fake;
    LocalHttpServer& server = served.server;
    const int32_t today = tokyoDateOf(static_cast<int64_t>(std::time(nullptr)));
    fake.bars[today] = {
        barRow(FakeJQuants::iso(today), "72030", "2000", "2050", "1990", "2020", "1000")};
    TempInstallation root;

    PriceUpdateSettings settings;
    const PriceJobWork work = priceUpdateWork(root.root.string(), settings);
    {
        // Without a key by then: nothing is asked of anyone, nothing written.
        PriceJobProgress progress;
        const PriceJobOutcome outcome = work(progress);
        EXPECT_NE(outcome.status, kExitImported);
        EXPECT_FALSE(outcome.reload);
        EXPECT_TRUE(server.requests().empty());
    }
    storeKey(kTestKey);
    settings.apiBase = server.base() + "/v2";
    settings.requestsPerMinute = 10000;
    settings.firstFillFrom = today;
    PriceJobProgress progress;
    const PriceJobOutcome outcome = work(progress);
    EXPECT_EQ(outcome.status, kExitImported) << outcome.summary;
    EXPECT_TRUE(outcome.reload);
    EXPECT_EQ(progress.done, 1);
    EXPECT_EQ(progress.total, 1);
    EXPECT_FALSE(server.requests().empty());
    EXPECT_EQ(outcome.summary.find("S3CRET"), std::string::npos) << outcome.summary;
}

TEST(PriceMenu, ProgressLine) {
    struct Case {
        int done, total;
        int32_t day;
        bool cancel;
        const char* line;
    };
    const Case cases[] = {
        {0, 0, 0, false, ""},   // nothing known yet
        {0, 10, 0, false, ""},  // days counted, none started
        {0, 10, 20240104, false, "1 / 10 日: 2024-01-04"},
        {10, 10, 20240119, false, "10 / 10 日: 2024-01-19"},  // never past the count
        {2, 10, 20240109, true, ""},                          // stopping: the window says so itself
    };
    for (const Case& c : cases) {
        PriceJobProgress p;
        p.done = c.done;
        p.total = c.total;
        p.day = c.day;
        p.cancel = c.cancel;
        EXPECT_EQ(priceJobProgressText(p), c.line) << c.done << "/" << c.total;
    }
}

TEST(PriceMenu, SettingsFormRefusesWhatDoesNotRead) {
    struct Case {
        const char* rate;
        const char* from;
        bool ok;
        int rateRead;
        int32_t fromRead;
    };
    const Case cases[] = {
        {"5", "", true, 5, 0},
        {" 60 ", "2024-01-04", true, 60, 20240104},
        {"10000", "20230301", true, 10000, 20230301},
        {"1", "2024/2/29", true, 1, 20240229},
        {"0", "", false, 0, 0},
        {"10001", "", false, 0, 0},
        {"99999999999999", "", false, 0, 0},  // no wrap-around into range
        {"", "", false, 0, 0},
        {"5回", "", false, 0, 0},
        {"5", "2023-02-29", false, 0, 0},
        {"5", "yesterday", false, 0, 0},
    };
    for (const Case& c : cases) {
        PriceUpdateSettings s;
        s.requestsPerMinute = 7;
        s.firstFillFrom = 20200101;
        std::string problem;
        EXPECT_EQ(readPriceUpdateForm(c.rate, c.from, s, problem), c.ok) << c.rate << " " << c.from;
        if (c.ok) {
            EXPECT_EQ(s.requestsPerMinute, c.rateRead);
            EXPECT_EQ(s.firstFillFrom, c.fromRead);
        } else {
            // Refused: nothing taken, and the reason given.
            EXPECT_EQ(s.requestsPerMinute, 7);
            EXPECT_EQ(s.firstFillFrom, 20200101);
            EXPECT_FALSE(problem.empty());
        }
    }
}

TEST(PriceMenu, TheKeyGoesOnlyWhereItIsSafe) {
    struct Case {
        const char* base;
        bool usable;
    };
    const Case cases[] = {
        {"https://api.jquants.com/v2", true},
        {"http://127.0.0.1:8080/v2", true},
        {"http://localhost/v2", true},
        {"http://[::1]:99", true},
        {"http://api.jquants.com/v2", false},  // the key in clear over the network
        {"http://localhost.example.com/v2", false},
        {"http://127.0.0.1.example.com/v2", false},
        {"http://127.0.0.1:80@evil.example/v2", false},  // the local name as a user name
        {"http://localhost@evil.example/", false},
        {"http://[::1]:/v2", false},
        {"https://", false},
        {"ftp://127.0.0.1/", false},
        {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(usableApiBase(c.base), c.usable) << c.base;
    }
    // A stored address the key may not go to is not taken.
    MemoryValueStore store;
    store.writeValue("JQUANTS", "API", "http://example.com/v2");
    EXPECT_EQ(loadPriceUpdateSettings(store).apiBase, kJQuantsApiBase);
    store.writeValue("JQUANTS", "API", "http://127.0.0.1:4000/v2");
    EXPECT_EQ(loadPriceUpdateSettings(store).apiBase, "http://127.0.0.1:4000/v2");
}

using PriceJobEnd = Viewer;

TEST_F(PriceJobEnd, ReloadsWhenWrittenAndShowsTheSummary) {
    openThree();
    const int invalidations = shell.invalidations;

    // Nothing written: the summary only, the prices not read again.
    PriceJobOutcome nothing;
    nothing.status = kExitInputError;
    nothing.summary = "取り込めませんでした";
    finishPriceJob(a, shell, kPriceImportCaption, nothing);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "取り込めませんでした");
    EXPECT_EQ(shell.messages[0].caption, kPriceImportCaption);
    EXPECT_EQ(shell.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(shell.invalidations, invalidations);

    // Written: the new days are in before the summary shows, the selector filled again and the
    // chart redrawn.
    writeLaterPrices({0, 1, 2, 3, 4});
    shell.selectorItems.clear();
    PriceJobOutcome written;
    written.status = kExitImported;
    written.reload = true;
    written.summary = "株価更新: 5 日分";
    finishPriceJob(a, shell, kPriceUpdateCaption, written);
    EXPECT_EQ(a.md.set.dateCount, kDates + 5);
    EXPECT_EQ(shell.selectorItems.size(), 3u);
    EXPECT_GT(shell.invalidations, invalidations);
    paint();
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[1].text, "株価更新: 5 日分");
    EXPECT_EQ(shell.messages[1].icon, MessageIcon::Information);

    // Written, but the files no longer read: said under the summary, the prices shown stay.
    for (int i = 0; i < 99; ++i) {
        write(dataFile("DBW.x" + std::to_string(100 + i)), "");
    }
    finishPriceJob(a, shell, kPriceUpdateCaption, written);
    EXPECT_EQ(a.md.set.dateCount, kDates + 5);
    ASSERT_EQ(shell.messages.size(), 3u);
    EXPECT_EQ(shell.messages[2].text.rfind("株価更新: 5 日分\n", 0), 0u);
    EXPECT_GT(shell.messages[2].text.size(), written.summary.size() + 1);
    paint();
}

}  // namespace
}  // namespace zepa::test
