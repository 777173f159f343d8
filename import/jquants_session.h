// Requests to the J-Quants API (second version) at a steady pace: the key in the x-api-key
// header and nowhere else, answers of 429, 5xx, a time-out or a lost connection tried again
// after growing waits (longer when the answer's Retry-After asks), pages followed through
// pagination_key. The network, the clock and the waits come from outside, so that a test runs
// against its own server without waiting.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/http_get.h"

namespace zepa {

inline constexpr const char* kJQuantsApiBase = "https://api.jquants.com/v2";

struct JQuantsSettings {
    std::string apiBase = kJQuantsApiBase;
    std::string key;
    int requestsPerMinute = 5;  // the free plan's limit
    int maxAttempts = 6;        // per request, the first included
    int64_t timeoutMs = 60000;
    int64_t firstRetryWaitMs = 5000;  // doubled at each attempt
    int64_t longestWaitMs = 600000;   // a longer Retry-After gives up instead
    size_t maxBodyBytes = size_t{64} << 20;
    int maxPages = 1000;  // of one request
};

struct JQuantsWorld {
    std::function<HttpOutcome(const HttpRequest&, HttpResponse&)> get = httpGet;
    std::function<int64_t()> nowMs;  // a steady clock
    // Waits; false when the wait was cut short by a stop.
    std::function<bool(int64_t ms)> sleepMs;
    std::function<bool()> stopRequested = [] { return false; };
    // A line for the user: a wait before another attempt.
    std::function<void(const std::string&)> note = [](const std::string&) {};
};

enum class FetchResult {
    Ok,
    Stopped,     // a stop was asked for
    KeyRefused,  // 401 or 403
    Failed,      // anything else, with the reason
};

class JQuantsSession {
  public:
    JQuantsSession(JQuantsSettings settings, JQuantsWorld world);

    // GET path?query, each page's body in order. `check` judges a page (the reason on false) and
    // gives its pagination_key. The problem names the request (never the key) and the reason.
    using PageCheck = std::function<bool(
        const std::string& body, std::optional<std::string>& nextKey, std::string& problem)>;
    FetchResult getPages(const std::string& path, const std::string& query, const PageCheck& check,
                         std::vector<std::string>& bodies, std::string& problem);

    bool stopRequested() const { return world_.stopRequested(); }

    // The text with every occurrence of the key replaced, for any message built from an answer.
    std::string withoutKey(std::string text) const;

  private:
    FetchResult getOne(const std::string& target, std::string& body, std::string& problem);
    bool waitUntil(int64_t whenMs);

    JQuantsSettings settings_;
    JQuantsWorld world_;
    bool started_ = false;
    int64_t lastStartMs_ = 0;
};

// The query value percent-encoded (RFC 3986 unreserved characters kept).
std::string queryEncoded(std::string_view value);

}  // namespace zepa
