// A small HTTP/1.1 server on 127.0.0.1 for the web client's tests: each request is answered by
// the test's handler (status, headers, body, an optional delay), each connection on a thread of
// its own (a slow answer does not hold up the next request), and recorded. The sockets are the
// platform's (local_http_server_posix.cpp, _win32.cpp).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zepa::test {

struct ServedRequest {
    std::string method;
    std::string target;                          // path and query
    std::map<std::string, std::string> headers;  // names in lower case
    std::string head;                            // the request's bytes up to the blank line
};

struct ServedReply {
    using Headers = std::vector<std::pair<std::string, std::string>>;
    ServedReply(int status_ = 200, std::string body_ = {}, Headers headers_ = {}, int delayMs_ = 0)
        : status(status_),
          body(std::move(body_)),
          headers(std::move(headers_)),
          delayMs(delayMs_) {}

    int status;
    std::string body;
    Headers headers;
    int delayMs;  // before anything is sent
};

// The socket primitives, per platform; a socket is an integer handle, -1 for none.
namespace net {
bool startup();
int64_t listenLocal(uint16_t& port);
// A connection within waitMs, else -1.
int64_t acceptWithin(int64_t listener, int waitMs);
// Bytes received, 0 at the end, -1 on failure.
int receiveSome(int64_t socket, char* buffer, int size);
bool sendAll(int64_t socket, const std::string& bytes);
void closeSocket(int64_t socket);
}  // namespace net

class LocalHttpServer {
  public:
    using Handler = std::function<ServedReply(const ServedRequest&)>;

    explicit LocalHttpServer(Handler handler);
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool running() const { return listener_ >= 0; }
    // http://127.0.0.1:PORT
    std::string base() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::vector<ServedRequest> requests() const;

  private:
    void serve();
    void answer(int64_t connection);

    Handler handler_;
    int64_t listener_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<ServedRequest> requests_;
    std::thread thread_;
    std::vector<std::thread> connections_;
};

inline LocalHttpServer::LocalHttpServer(Handler handler) : handler_(std::move(handler)) {
    if (net::startup()) {
        listener_ = net::listenLocal(port_);
    }
    if (listener_ >= 0) {
        thread_ = std::thread([this] { serve(); });
    }
}

inline LocalHttpServer::~LocalHttpServer() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (listener_ >= 0) {
        net::closeSocket(listener_);
    }
}

inline std::vector<ServedRequest> LocalHttpServer::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

inline void LocalHttpServer::serve() {
    while (!stop_) {
        const int64_t connection = net::acceptWithin(listener_, 50);
        if (connection >= 0) {
            connections_.emplace_back([this, connection] {
                answer(connection);
                net::closeSocket(connection);
            });
        }
    }
    for (std::thread& t : connections_) {
        t.join();
    }
}

inline void LocalHttpServer::answer(int64_t connection) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        const int n = net::receiveSome(connection, buffer, sizeof buffer);
        if (n <= 0) {
            return;
        }
        head.append(buffer, static_cast<size_t>(n));
    }
    ServedRequest request;
    request.head = head.substr(0, head.find("\r\n\r\n"));
    size_t lineEnd = request.head.find("\r\n");
    const std::string first = request.head.substr(0, lineEnd);
    const size_t space1 = first.find(' ');
    const size_t space2 = first.find(' ', space1 + 1);
    request.method = first.substr(0, space1);
    request.target = first.substr(space1 + 1, space2 - space1 - 1);
    while (lineEnd != std::string::npos) {
        const size_t start = lineEnd + 2;
        lineEnd = request.head.find("\r\n", start);
        const std::string line = request.head.substr(start, lineEnd - start);
        const size_t colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        std::string name = line.substr(0, colon);
        for (char& c : name) {
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
        const size_t value = line.find_first_not_of(' ', colon + 1);
        request.headers[name] = value == std::string::npos ? "" : line.substr(value);
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
    }
    const ServedReply reply = handler_(request);
    for (int waited = 0; waited < reply.delayMs && !stop_; waited += 10) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::string out = "HTTP/1.1 " + std::to_string(reply.status) + " Status\r\n";
    out += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
    out += "Content-Type: application/json\r\nConnection: close\r\n";
    for (const auto& [name, value] : reply.headers) {
        out += name + ": " + value + "\r\n";
    }
    out += "\r\n" + reply.body;
    net::sendAll(connection, out);
}

}  // namespace zepa::test
