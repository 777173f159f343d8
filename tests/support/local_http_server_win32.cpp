#include <winsock2.h>
#include <ws2tcpip.h>

#include "tests/support/local_http_server.h"

namespace zepa::test::net {

bool startup() {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

int64_t listenLocal(uint16_t& port) {
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        return -1;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(s, 16) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::closesocket(s);
        return -1;
    }
    port = ntohs(address.sin_port);
    return static_cast<int64_t>(s);
}

int64_t acceptWithin(int64_t listener, int waitMs) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(static_cast<SOCKET>(listener), &readable);
    timeval wait{waitMs / 1000, (waitMs % 1000) * 1000};
    if (::select(0, &readable, nullptr, nullptr, &wait) <= 0) {
        return -1;
    }
    const SOCKET s = ::accept(static_cast<SOCKET>(listener), nullptr, nullptr);
    return s == INVALID_SOCKET ? -1 : static_cast<int64_t>(s);
}

int receiveSome(int64_t socket, char* buffer, int size) {
    return ::recv(static_cast<SOCKET>(socket), buffer, size, 0);
}

bool sendAll(int64_t socket, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const int n = ::send(static_cast<SOCKET>(socket), bytes.data() + sent,
                             static_cast<int>(bytes.size() - sent), 0);
        if (n <= 0) {
            return false;
        }
        sent += static_cast<size_t>(n);
    }
    return true;
}

void closeSocket(int64_t socket) {
    ::closesocket(static_cast<SOCKET>(socket));
}

}  // namespace zepa::test::net
