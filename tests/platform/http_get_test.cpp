#include <gtest/gtest.h>

#include "platform/http_get.h"
#include "tests/support/local_http_server.h"

namespace zepa {
namespace {

using test::LocalHttpServer;
using test::ServedReply;
using test::ServedRequest;

TEST(HttpGet, SendsTheHeadersAndReturnsStatusBodyAndRetryAfter) {
    LocalHttpServer server([](const ServedRequest& r) {
        if (r.target == "/busy") {
            return ServedReply{429, "{\"message\":\"slow down\"}", {{"Retry-After", "7"}}};
        }
        if (r.target == "/moved") {
            return ServedReply{302, "", {{"Location", "/elsewhere"}}};
        }
        return ServedReply{200, "{\"data\":[]} " + r.headers.at("x-api-key"), {}};
    });
    ASSERT_TRUE(server.running());
    HttpRequest request;
    request.url = server.base() + "/v2/equities/master?date=20240104";
    request.headers = {{"x-api-key", "abc"}};
    HttpResponse response;
    ASSERT_EQ(httpGet(request, response), HttpOutcome::Answered) << response.problem;
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, "{\"data\":[]} abc");
    EXPECT_FALSE(response.retryAfterSeconds);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].method, "GET");
    EXPECT_EQ(server.requests()[0].target, "/v2/equities/master?date=20240104");

    request.url = server.base() + "/busy";
    ASSERT_EQ(httpGet(request, response), HttpOutcome::Answered) << response.problem;
    EXPECT_EQ(response.status, 429);
    EXPECT_EQ(response.retryAfterSeconds, 7);

    // A redirect is an answer to judge: the key is not carried to where it points.
    request.url = server.base() + "/moved";
    ASSERT_EQ(httpGet(request, response), HttpOutcome::Answered) << response.problem;
    EXPECT_EQ(response.status, 302);
    EXPECT_EQ(server.requests().size(), 3u);
}

TEST(HttpGet, BoundsTheBodyTimesOutAndReportsARefusedConnection) {
    LocalHttpServer server([](const ServedRequest& r) {
        if (r.target == "/slow") {
            return ServedReply{200, "{}", {}, 3000};
        }
        return ServedReply{200, std::string(300000, 'x'), {}};
    });
    ASSERT_TRUE(server.running());
    HttpRequest request;
    request.url = server.base() + "/big";
    request.maxBodyBytes = 299999;
    HttpResponse response;
    EXPECT_EQ(httpGet(request, response), HttpOutcome::TooLarge);
    EXPECT_TRUE(response.body.empty());
    request.maxBodyBytes = 300000;  // exactly the bound: kept
    EXPECT_EQ(httpGet(request, response), HttpOutcome::Answered) << response.problem;
    EXPECT_EQ(response.body.size(), 300000u);

    request.url = server.base() + "/slow";
    request.timeoutMs = 300;
    EXPECT_EQ(httpGet(request, response), HttpOutcome::TimedOut) << response.problem;

    // A port that was just listened on and closed again: nobody answers there.
    uint16_t port = 0;
    const int64_t closed = test::net::listenLocal(port);
    ASSERT_GE(closed, 0);
    test::net::closeSocket(closed);
    request.url = "http://127.0.0.1:" + std::to_string(port) + "/";
    request.timeoutMs = 5000;
    EXPECT_EQ(httpGet(request, response), HttpOutcome::CannotConnect) << response.problem;
}

TEST(HttpGet, RetryAfterIsReadAsSecondsOnly) {
    const std::pair<const char*, std::optional<int64_t>> cases[] = {
        {"120", 120},
        {"  5 \r\n", 5},
        {"0", 0},
        {"", std::nullopt},
        {"-1", std::nullopt},
        {"1.5", std::nullopt},
        {"Wed, 21 Oct 2015 07:28:00 GMT", std::nullopt},
        {"9999999999", std::nullopt}};
    for (const auto& [text, seconds] : cases) {
        EXPECT_EQ(parseRetryAfter(text), seconds) << text;
    }
    EXPECT_EQ(retryAfterOfHeaderLine("retry-AFTER: 3\r\n"), 3);
    EXPECT_FALSE(retryAfterOfHeaderLine("X-Retry-After: 3\r\n"));
}

}  // namespace
}  // namespace zepa
