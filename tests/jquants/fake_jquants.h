// A stand-in for the J-Quants API on the local test server, with faults scripted per request.
#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/local_http_server.h"

namespace zepa::test {

inline constexpr const char* kTestKey = "k3y-S3CRET-0123456789abcdef";

// One bar row as the service writes it ("null" for a price is no trade).
inline std::string barRow(const std::string& isoDay, const std::string& code, const char* open,
                          const char* high, const char* low, const char* close, const char* volume,
                          const char* factor = "1.0") {
    return std::string("{\"Date\":\"") + isoDay + "\",\"Code\":\"" + code + "\",\"O\":" + open +
           ",\"H\":" + high + ",\"L\":" + low + ",\"C\":" + close + ",\"UL\":\"0\",\"LL\":\"0\"" +
           ",\"Vo\":" + volume + ",\"Va\":123456789.0,\"AdjFactor\":" + factor +
           ",\"AdjO\":" + open + ",\"AdjH\":" + high + ",\"AdjL\":" + low + ",\"AdjC\":" + close +
           ",\"AdjVo\":" + volume + "}";
}

class FakeJQuants {
  public:
    // Trading days (YYYYMMDD) in order with their rows; a day may have none.
    std::map<int32_t, std::vector<std::string>> bars;
    std::vector<std::pair<int32_t, const char*>> holidays;  // date, HolDiv ("0" or "3")
    std::vector<std::string> listing;                       // master rows as JSON objects
    size_t pageRows = 2;
    // Replies given, in order, before the normal answer of a target (path and query).
    std::map<std::string, std::deque<ServedReply>> faults;

    ServedReply operator()(const ServedRequest& r) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto key = r.headers.find("x-api-key");
        if (key == r.headers.end() || key->second != kTestKey) {
            // The service names what it got; the client must not repeat it.
            return {401, "{\"message\":\"The incoming token is invalid: " +
                             (key == r.headers.end() ? std::string() : key->second) + "\"}"};
        }
        if (auto f = faults.find(r.target); f != faults.end() && !f->second.empty()) {
            ServedReply reply = f->second.front();
            f->second.pop_front();
            return reply;
        }
        const std::string path = r.target.substr(0, r.target.find('?'));
        const std::string query =
            r.target.find('?') == std::string::npos ? "" : r.target.substr(r.target.find('?') + 1);
        if (path == "/v2/markets/calendar") {
            std::string body = "{\"data\":[";
            std::map<int32_t, const char*> days;
            for (const auto& [d, rows] : bars) {
                days[d] = "1";
            }
            for (const auto& [d, division] : holidays) {
                days[d] = division;
            }
            const int32_t from = std::stoi(param(query, "from"));
            const int32_t to = std::stoi(param(query, "to"));
            bool first = true;
            for (const auto& [d, division] : days) {
                if (d >= from && d <= to) {
                    body += std::string(first ? "" : ",") + "{\"Date\":\"" + iso(d) +
                            "\",\"HolDiv\":\"" + division + "\"}";
                    first = false;
                }
            }
            return {200, body + "]}"};
        }
        if (path == "/v2/equities/master") {
            return page(listing, query);
        }
        if (path == "/v2/equities/bars/daily") {
            const auto day = bars.find(std::stoi(param(query, "date")));
            return page(day == bars.end() ? std::vector<std::string>{} : day->second, query);
        }
        return {404, "{\"message\":\"not found\"}"};
    }

    static std::string iso(int32_t d) {
        char text[16];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", d / 10000, d / 100 % 100, d % 100);
        return text;
    }

  private:
    static std::string param(const std::string& query, const std::string& name) {
        size_t at = 0;
        while (at < query.size()) {
            const size_t end = std::min(query.find('&', at), query.size());
            const std::string part = query.substr(at, end - at);
            if (part.starts_with(name + "=")) {
                return part.substr(name.size() + 1);
            }
            at = end + 1;
        }
        return {};
    }

    // The rows from the page the pagination key names ("p<index>"), pageRows a page.
    ServedReply page(const std::vector<std::string>& rows, const std::string& query) {
        const std::string key = param(query, "pagination_key");
        const size_t start = key.empty() ? 0 : std::stoul(key.substr(1));
        std::string body = "{\"data\":[";
        for (size_t i = start; i < rows.size() && i < start + pageRows; ++i) {
            body += (i == start ? "" : ",") + rows[i];
        }
        body += "]";
        if (start + pageRows < rows.size()) {
            body += ",\"pagination_key\":\"p" + std::to_string(start + pageRows) + "\"";
        }
        return {200, body + "}"};
    }

    std::mutex mutex_;
};

}  // namespace zepa::test
