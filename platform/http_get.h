// One HTTP GET with headers, a time-out and a bound on the answer's size: the web client's
// only contact with the network. Implemented per platform (http_get_curl.cpp over libcurl,
// http_get_winhttp.cpp over WinHTTP); the answer's headers are read in http_answer.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zepa {

struct HttpRequest {
    std::string url;  // http:// or https://, the query already encoded
    std::vector<std::pair<std::string, std::string>> headers;
    int64_t timeoutMs = 60000;               // the whole exchange, connection included
    size_t maxBodyBytes = size_t{64} << 20;  // a longer answer is refused, not kept
};

enum class HttpOutcome {
    Answered,       // a status and a body (any status: the caller judges it)
    TimedOut,       // no whole answer within the time-out
    CannotConnect,  // name, connection or TLS failure
    TooLarge,       // the body outgrew maxBodyBytes
    Failed,         // anything else the transport reports
};

struct HttpResponse {
    int status = 0;
    std::string body;
    // Retry-After in seconds, when the answer has one this reader understands.
    std::optional<int64_t> retryAfterSeconds;
    // The transport's reason when not Answered: never the request's headers.
    std::string problem;
};

HttpOutcome httpGet(const HttpRequest& request, HttpResponse& response);

// Retry-After's value: delay-seconds ("120"); an HTTP date or anything else gives nothing.
std::optional<int64_t> parseRetryAfter(std::string_view value);

// One raw header line "Name: value" (CR LF or not): the value of Retry-After, when it is that.
std::optional<int64_t> retryAfterOfHeaderLine(std::string_view line);

}  // namespace zepa
