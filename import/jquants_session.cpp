#include "import/jquants_session.h"

#include <algorithm>
#include <utility>

#include "import/jquants_pages.h"

namespace zepa {

std::string queryEncoded(std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_' || c == '.' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        }
    }
    return out;
}

JQuantsSession::JQuantsSession(JQuantsSettings settings, JQuantsWorld world)
    : settings_(std::move(settings)), world_(std::move(world)) {
    settings_.requestsPerMinute = std::max(1, settings_.requestsPerMinute);
    settings_.maxAttempts = std::max(1, settings_.maxAttempts);
    while (!settings_.apiBase.empty() && settings_.apiBase.back() == '/') {
        settings_.apiBase.pop_back();
    }
}

std::string JQuantsSession::withoutKey(std::string text) const {
    const std::string& key = settings_.key;
    if (key.empty()) {
        return text;
    }
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at)) {
        text.replace(at, key.size(), "(key)");
    }
    return text;
}

bool JQuantsSession::waitUntil(int64_t whenMs) {
    const int64_t now = world_.nowMs();
    if (whenMs <= now) {
        return !world_.stopRequested();
    }
    return world_.sleepMs(whenMs - now) && !world_.stopRequested();
}

FetchResult JQuantsSession::getOne(const std::string& target, std::string& body,
                                   std::string& problem) {
    HttpRequest request;
    request.url = settings_.apiBase + target;
    request.headers = {{"x-api-key", settings_.key}, {"Accept", "application/json"}};
    request.timeoutMs = settings_.timeoutMs;
    request.maxBodyBytes = settings_.maxBodyBytes;
    const int64_t interval = 60000 / settings_.requestsPerMinute;
    int64_t retryWait = settings_.firstRetryWaitMs;
    const std::string what = "GET " + target;
    for (int attempt = 1;; ++attempt) {
        if (!waitUntil(started_ ? lastStartMs_ + interval : 0)) {
            return FetchResult::Stopped;
        }
        started_ = true;
        lastStartMs_ = world_.nowMs();
        HttpResponse response;
        const HttpOutcome outcome = world_.get(request, response);
        std::string reason;
        std::optional<int64_t> asked;
        if (outcome == HttpOutcome::Answered) {
            if (response.status == 200) {
                body = std::move(response.body);
                return FetchResult::Ok;
            }
            const std::string message = answerMessage(response.body);
            reason = "HTTP " + std::to_string(response.status) +
                     (message.empty() ? "" : " (" + message + ")");
            if (response.status == 401 || response.status == 403) {
                problem = withoutKey(what + ": " + reason +
                                     ": the API key was refused (check it on the J-Quants "
                                     "dashboard, and that the plan is active)");
                return FetchResult::KeyRefused;
            }
            if (response.status != 429 && response.status < 500) {
                problem = withoutKey(what + ": " + reason);
                return FetchResult::Failed;
            }
            asked = response.retryAfterSeconds;
        } else {
            reason = outcome == HttpOutcome::TimedOut
                         ? "no answer in time (" + response.problem + ")"
                         : response.problem;
            if (outcome != HttpOutcome::TimedOut && outcome != HttpOutcome::CannotConnect) {
                problem = withoutKey(what + ": " + reason);
                return FetchResult::Failed;
            }
        }
        int64_t wait = retryWait;
        retryWait = std::min(retryWait * 2, settings_.longestWaitMs);
        if (asked) {
            if (*asked * 1000 > settings_.longestWaitMs) {
                problem = withoutKey(what + ": " + reason + ": the service asks to wait " +
                                     std::to_string(*asked) + " s; try again later");
                return FetchResult::Failed;
            }
            wait = std::max(wait, *asked * 1000);
        }
        if (attempt >= settings_.maxAttempts) {
            problem = withoutKey(what + ": " + reason + " (gave up after " +
                                 std::to_string(attempt) + " attempts)");
            return FetchResult::Failed;
        }
        world_.note(withoutKey(what + ": " + reason + "; trying again in " +
                               std::to_string((wait + 999) / 1000) + " s (attempt " +
                               std::to_string(attempt + 1) + " of " +
                               std::to_string(settings_.maxAttempts) + ")"));
        // The pace counts from this attempt; the wait runs on from now.
        if (!waitUntil(world_.nowMs() + wait)) {
            return FetchResult::Stopped;
        }
    }
}

FetchResult JQuantsSession::getPages(const std::string& path, const std::string& query,
                                     const PageCheck& check, std::vector<std::string>& bodies,
                                     std::string& problem) {
    bodies.clear();
    std::optional<std::string> next;
    std::vector<std::string> seen;
    for (int page = 1;; ++page) {
        std::string target = path;
        std::string q = query;
        if (next) {
            q += (q.empty() ? "" : "&") + std::string("pagination_key=") + queryEncoded(*next);
        }
        if (!q.empty()) {
            target += "?" + q;
        }
        std::string body;
        const FetchResult result = getOne(target, body, problem);
        if (result != FetchResult::Ok) {
            return result;
        }
        std::string why;
        next.reset();
        if (!check(body, next, why)) {
            problem = withoutKey("GET " + target + ": " + why);
            return FetchResult::Failed;
        }
        bodies.push_back(std::move(body));
        if (!next) {
            return FetchResult::Ok;
        }
        if (std::find(seen.begin(), seen.end(), *next) != seen.end() ||
            page >= settings_.maxPages) {
            problem = withoutKey("GET " + path + (query.empty() ? "" : "?" + query) +
                                 ": the pages do not end (pagination_key repeats or more than " +
                                 std::to_string(settings_.maxPages) + " pages)");
            return FetchResult::Failed;
        }
        seen.push_back(*next);
    }
}

}  // namespace zepa
