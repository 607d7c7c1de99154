#include "core/protocol/DeviceClient.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "core/protocol/ReplyParser.h"

namespace {

// Waits for the socket to become ready for events, retrying on signals, until the deadline.
// True when ready (or in error, which the following call reports).
bool WaitReady(int fd, short events, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() < 0) return false;
        pollfd p{fd, events, 0};
        int r = ::poll(&p, 1, static_cast<int>(left.count()));
        if (r > 0) return true;
        if (r == 0) return false;
        if (errno != EINTR) return true;
    }
}

}  // namespace

DeviceClient::DeviceClient(const ExchangeLimits& limits) : limits_(limits) {
    std::memset(valueList_, 0, sizeof valueList_);
}

// The caller closes the connection; a forgotten Close must still not leak the descriptor.
DeviceClient::~DeviceClient() {
    if (socket_ >= 0) ::close(socket_);
}

int DeviceClient::Connect(const char* address) {
    if (socket_ >= 0) return 1;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(kPort);
    if (address == nullptr || ::inet_pton(AF_INET, address, &peer.sin_addr) != 1) return 1;

    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return 1;
    int r = ::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer);
    if (r < 0 && errno == EINPROGRESS) {
        int error = ETIMEDOUT;
        if (WaitReady(fd, POLLOUT, limits_.connectMs)) {
            socklen_t len = sizeof error;
            if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) < 0) error = errno;
        }
        r = error == 0 ? 0 : -1;
    }
    if (r < 0) {
        ::close(fd);
        return 1;
    }
    socket_ = fd;
    return 0;
}

int DeviceClient::Send(const char* buffer, int length, int flags) {
    if (socket_ < 0 || buffer == nullptr || length < 0) return -1;
    if (!WaitReady(socket_, POLLOUT, limits_.sendMs)) return -1;
    // MSG_NOSIGNAL: a modem that has already closed must not end the program with SIGPIPE.
    ssize_t n = ::send(socket_, buffer, static_cast<size_t>(length), flags | MSG_NOSIGNAL);
    return n < 0 ? -1 : static_cast<int>(n);
}

int DeviceClient::Receive(char* buffer, int length, int /*flags*/) {
    if (socket_ < 0 || buffer == nullptr || length < 1) return -1;
    int capacity = length - 1 < kMaxReplyBytes ? length - 1 : kMaxReplyBytes;
    buffer[0] = '\0';
    if (!WaitReady(socket_, POLLIN, limits_.receiveMs)) return -1;
    ssize_t n;
    do {
        n = ::recv(socket_, buffer, static_cast<size_t>(capacity), 0);
    } while (n < 0 && errno == EINTR);
    if (n < 0) return -1;
    buffer[n] = '\0';
    return static_cast<int>(n);
}

int DeviceClient::ParseReply(int mode, char* buffer) {
    return ParseReplyText(mode, buffer, valueList_, sizeof valueList_);
}

int DeviceClient::Close() {
    if (socket_ < 0) return 0;
    int r = ::close(socket_);
    socket_ = -1;
    return r == 0 ? 0 : 1;
}
