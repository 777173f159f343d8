// Requests, pages, pace, retries and refusals of the J-Quants client against the local server.
#include <gtest/gtest.h>

#include "import/jquants_pages.h"
#include "tests/jquants/jquants_test_support.h"

namespace zepa {
namespace {

using namespace test;

const JQuantsSession::PageCheck kPage = [](const std::string& body,
                                           std::optional<std::string>& next, std::string& problem) {
    JQuantsPage page;
    if (!readJQuantsPage(body, 20240104, page, problem)) {
        return false;
    }
    next = page.paginationKey;
    return true;
};

const char* const kDay = "/v2/equities/bars/daily?date=20240104";

std::vector<std::string> fiveRows() {
    std::vector<std::string> rows;
    for (const char* code : {"13010", "72030", "67580", "83060", "99840"}) {
        rows.push_back(barRow("2024-01-04", code, "100", "110", "90", "105", "1000"));
    }
    return rows;
}

struct Fetched {
    FetchResult result;
    std::vector<std::string> bodies;
    std::string problem;
};

// The day's bars (or another path's pages) through a new session.
Fetched fetch(const JQuantsSettings& settings, JQuantsWorld world,
              const char* path = "/equities/bars/daily", const char* query = "date=20240104") {
    JQuantsSession session(settings, std::move(world));
    Fetched f;
    f.result = session.getPages(path, query, kPage, f.bodies, f.problem);
    return f;
}

TEST(JQuantsSession, FollowsThePagesWithTheKeyInTheHeaderOnlyAtTheGivenPace) {
    ServedFake s;
    ASSERT_TRUE(s.server.running());
    s.fake.bars[20240104] = fiveRows();
    FakeClock clock;
    const Fetched f = fetch(s.settings(5), clock.world());
    ASSERT_EQ(f.result, FetchResult::Ok) << f.problem;
    EXPECT_EQ(f.bodies.size(), 3u);
    EXPECT_EQ(s.targets(), (std::vector<std::string>{kDay, std::string(kDay) + "&pagination_key=p2",
                                                     std::string(kDay) + "&pagination_key=p4"}));
    for (const ServedRequest& r : s.server.requests()) {
        EXPECT_EQ(r.headers.at("x-api-key"), kTestKey);
        EXPECT_EQ(r.target.find(kTestKey), std::string::npos);
        EXPECT_EQ(r.head.find(kTestKey), r.head.rfind(kTestKey));  // in one header
    }
    // Five a minute: twelve seconds from one request's start to the next.
    EXPECT_EQ(clock.sleeps, (std::vector<int64_t>{12000, 12000}));
}

TEST(JQuantsSession, TriesAgainAfterBusyFailingOrSlowAnswers) {
    struct Case {
        const char* what;
        ServedReply fault;
        int64_t wait;
    };
    const Case cases[] = {
        {"429 asking for 30 s",
         {429, "{\"message\":\"Too Many Requests\"}", {{"Retry-After", "30"}}},
         30000},
        {"429 without Retry-After", {429, "{\"message\":\"Too Many Requests\"}", {}}, 5000},
        {"503 asking for less than the first wait", {503, "", {{"Retry-After", "2"}}}, 5000},
        {"no answer in time", {200, "{\"data\":[]}", {}, 3000}, 5000},
    };
    for (const Case& c : cases) {
        ServedFake s;
        s.fake.bars[20240104] = {barRow("2024-01-04", "72030", "1", "1", "1", "1", "1")};
        s.fake.faults[kDay].push_back(c.fault);
        FakeClock clock;
        JQuantsSettings settings = s.settings();
        settings.timeoutMs = 300;
        const Fetched f = fetch(settings, clock.world());
        EXPECT_EQ(f.result, FetchResult::Ok) << c.what << ": " << f.problem;
        EXPECT_EQ(s.server.requests().size(), 2u) << c.what;
        EXPECT_EQ(clock.sleeps, std::vector<int64_t>{c.wait}) << c.what;
        ASSERT_EQ(clock.notes.size(), 1u) << c.what;
        EXPECT_NE(clock.notes[0].find("GET /equities/bars/daily?date=20240104"), std::string::npos)
            << clock.notes[0];
        expectNoKey(clock.notes);
    }
}

TEST(JQuantsSession, GivesUpAfterGrowingWaitsOrWhenAskedToWaitTooLong) {
    ServedFake s;
    for (int i = 0; i < 6; ++i) {
        s.fake.faults[kDay].push_back({500, "{\"message\":\"down\"}", {}});
    }
    FakeClock clock;
    const Fetched f = fetch(s.settings(), clock.world());
    EXPECT_EQ(f.result, FetchResult::Failed);
    EXPECT_EQ(clock.sleeps, (std::vector<int64_t>{5000, 10000, 20000, 40000, 80000}));
    EXPECT_EQ(f.problem,
              "GET /equities/bars/daily?date=20240104: HTTP 500 (down) (gave up after 6 attempts)");

    ServedFake t;
    t.fake.faults[kDay].push_back({429, "{}", {{"Retry-After", "3600"}}});
    FakeClock clock2;
    const Fetched g = fetch(t.settings(), clock2.world());
    EXPECT_EQ(g.result, FetchResult::Failed);
    EXPECT_TRUE(clock2.sleeps.empty());
    EXPECT_NE(g.problem.find("the service asks to wait 3600 s"), std::string::npos) << g.problem;
}

// A wrong key (401, the service naming it) and a plan that does not cover the data (403).
TEST(JQuantsSession, ARefusedKeyIsNamedWithoutTheKey) {
    const std::string plan = std::string("{\"message\":\"no plan for ") + kTestKey + "\"}";
    const struct {
        std::string key;
        std::deque<ServedReply> faults;
        const char* reason;
    } cases[] = {
        {"WRONG-key-123",
         {},
         "GET /equities/master: HTTP 401 (The incoming token is invalid: (key))"},
        {kTestKey, {{403, plan, {}}}, "GET /equities/master: HTTP 403 (no plan for (key))"},
    };
    for (const auto& c : cases) {
        ServedFake s;
        s.fake.faults["/v2/equities/master"] = c.faults;
        FakeClock clock;
        JQuantsSettings settings = s.settings();
        settings.key = c.key;
        const Fetched f = fetch(settings, clock.world(), "/equities/master", "");
        EXPECT_EQ(f.result, FetchResult::KeyRefused) << c.reason;
        EXPECT_EQ(s.server.requests().size(), 1u);  // never tried again
        EXPECT_TRUE(f.problem.starts_with(c.reason)) << f.problem;
        expectNoKey({f.problem});
    }
}

// Every occurrence of the key leaves a message, wherever it stands.
TEST(JQuantsSession, TheKeyIsCutOutOfEveryMessage) {
    FakeClock clock;
    JQuantsSettings settings;
    settings.key = "abcabc";
    const JQuantsSession session(settings, clock.world());
    EXPECT_EQ(session.withoutKey("abcabcabcabc x abcabc"), "(key)(key) x (key)");
    EXPECT_EQ(session.withoutKey("abcab"), "abcab");
}

TEST(JQuantsPages, PaginationKeysAreQueryEncoded) {
    EXPECT_EQ(queryEncoded("p2-_.~"), "p2-_.~");
    EXPECT_EQ(queryEncoded("a b/+=&?#%"), "a%20b%2F%2B%3D%26%3F%23%25");
    EXPECT_EQ(queryEncoded("\xE3\x81\x82"), "%E3%81%82");
}

// Trading days are HolDiv 1 and the half days 2, in order, each once; a holiday (0) or a
// derivatives-only day (3) is none; an entry without Date or HolDiv refuses the calendar.
TEST(JQuantsPages, TheCalendarsTradingDays) {
    const auto entry = [](const char* date, const char* division) {
        return std::string("{\"Date\":\"") + date + "\",\"HolDiv\":\"" + division + "\"}";
    };
    const std::vector<std::string> bodies = {
        "{\"data\":[" + entry("2024-01-05", "2") + "," + entry("2024-01-04", "1") + "," +
            entry("2024-01-06", "0") + "]}",
        "{\"data\":[" + entry("2024-01-08", "3") + "," + entry("2024-01-04", "1") + "]}"};
    std::vector<int32_t> days;
    std::string problem;
    ASSERT_TRUE(readTradingDays(bodies, days, problem)) << problem;
    EXPECT_EQ(days, (std::vector<int32_t>{20240104, 20240105}));
    for (const std::string& bad : {entry("2024-01-04", ""), entry("04/01/2024", "1")}) {
        EXPECT_FALSE(readTradingDays({"{\"data\":[" + bad + "]}"}, days, problem)) << bad;
        EXPECT_EQ(problem, "a calendar entry has no usable Date or HolDiv");
    }
}

TEST(JQuantsSession, AnswersNotInTheDocumentedShapeAreRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {"<html>Service Unavailable</html>", "the answer is not valid JSON"},
        {"[1, 2]", "the answer is not a JSON object"},
        {"{\"daily_quotes\": []}", "the answer has no \"data\" array"},
        {"{\"data\": [1]}", "a \"data\" entry is not an object"},
        {"{\"data\": [{\"Date\": \"2024-01-05\", \"Code\": \"72030\"}]}",
         "a row is of \"2024-01-05\", not of the day asked for"},
        {"{\"data\": [], \"pagination_key\": 5}", "the answer's \"pagination_key\" is not a text"},
    };
    for (const auto& [body, reason] : cases) {
        ServedFake s;
        s.fake.faults[kDay].push_back({200, body, {}});
        FakeClock clock;
        const Fetched f = fetch(s.settings(), clock.world());
        EXPECT_EQ(f.result, FetchResult::Failed) << body;
        EXPECT_EQ(f.problem, std::string("GET /equities/bars/daily?date=20240104: ") + reason);
        EXPECT_EQ(s.server.requests().size(), 1u) << body;
    }
}

TEST(JQuantsSession, PagesThatNeverEndAreRefused) {
    ServedFake s;
    const std::string again = "{\"data\":[],\"pagination_key\":\"same\"}";
    s.fake.faults[kDay].push_back({200, again, {}});
    s.fake.faults[std::string(kDay) + "&pagination_key=same"] = {{200, again, {}},
                                                                 {200, again, {}}};
    FakeClock clock;
    const Fetched f = fetch(s.settings(), clock.world());
    EXPECT_EQ(f.result, FetchResult::Failed);
    EXPECT_NE(f.problem.find("the pages do not end"), std::string::npos) << f.problem;
    EXPECT_EQ(s.server.requests().size(), 2u);
}

TEST(JQuantsSession, AStopDuringAWaitEndsTheRequest) {
    ServedFake s;
    s.fake.faults[kDay].push_back({503, "", {}});
    FakeClock clock;
    clock.stopNow = false;
    JQuantsWorld world = clock.world();
    world.sleepMs = [&](int64_t) { return false; };
    EXPECT_EQ(fetch(s.settings(), world).result, FetchResult::Stopped);
    EXPECT_EQ(s.server.requests().size(), 1u);
}

}  // namespace
}  // namespace zepa
