// The fake service on the local server, a clock whose waits take no time, and the key check.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/jquants_session.h"
#include "tests/jquants/fake_jquants.h"

namespace zepa::test {

struct FakeClock {
    int64_t now = 0;
    std::vector<int64_t> sleeps;
    bool stopNow = false;
    std::vector<std::string> notes;

    JQuantsWorld world() {
        JQuantsWorld w;
        w.nowMs = [this] { return now; };
        w.sleepMs = [this](int64_t ms) {
            sleeps.push_back(ms);
            now += ms;
            return !stopNow;
        };
        w.stopRequested = [this] { return stopNow; };
        w.note = [this](const std::string& line) { notes.push_back(line); };
        return w;
    }
};

struct ServedFake {
    FakeJQuants fake;
    LocalHttpServer server{[this](const ServedRequest& r) { return fake(r); }};

    JQuantsSettings settings(int requestsPerMinute = 60) const {
        JQuantsSettings s;
        s.apiBase = server.base() + "/v2";
        s.key = kTestKey;
        s.requestsPerMinute = requestsPerMinute;
        s.timeoutMs = 5000;
        return s;
    }
    std::vector<std::string> targets() const {
        std::vector<std::string> out;
        for (const ServedRequest& r : server.requests()) {
            out.push_back(r.target);
        }
        return out;
    }
};

// The key, or a telling part of it, in none of the texts.
inline void expectNoKey(const std::vector<std::string>& texts) {
    for (const std::string& t : texts) {
        EXPECT_EQ(t.find("S3CRET"), std::string::npos) << t;
        EXPECT_EQ(t.find("WRONG-key"), std::string::npos) << t;
    }
}

}  // namespace zepa::test
