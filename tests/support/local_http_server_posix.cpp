#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "tests/support/local_http_server.h"

namespace zepa::test::net {

bool startup() {
    return true;
}

int64_t listenLocal(uint16_t& port) {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) {
        return -1;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(s, 16) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::close(s);
        return -1;
    }
    port = ntohs(address.sin_port);
    return s;
}

int64_t acceptWithin(int64_t listener, int waitMs) {
    pollfd p{static_cast<int>(listener), POLLIN, 0};
    if (::poll(&p, 1, waitMs) <= 0) {
        return -1;
    }
    return ::accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_CLOEXEC);
}

int receiveSome(int64_t socket, char* buffer, int size) {
    return static_cast<int>(::recv(static_cast<int>(socket), buffer, static_cast<size_t>(size), 0));
}

bool sendAll(int64_t socket, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        // MSG_NOSIGNAL: a client that gave up must not kill the test with SIGPIPE.
        const ssize_t n = ::send(static_cast<int>(socket), bytes.data() + sent, bytes.size() - sent,
                                 MSG_NOSIGNAL);
        if (n <= 0) {
            return false;
        }
        sent += static_cast<size_t>(n);
    }
    return true;
}

void closeSocket(int64_t socket) {
    ::close(static_cast<int>(socket));
}

}  // namespace zepa::test::net
