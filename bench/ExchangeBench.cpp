// Measures what the client adds to one exchange with the modem, and how long a reply takes to
// parse. Prints the ratio of a full exchange through the client (SendDeviceRequest) to a bare
// connect/send/receive/close round trip against the same loopback server (target: at most 1.3),
// and the time to parse a 260-byte reply (target: under 1 microsecond).

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "core/protocol/DeviceClient.h"
#include "core/protocol/Exchanges.h"
#include "core/protocol/ReplyMode.h"
#include "core/protocol/ReplyParser.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kAddress = "127.0.0.77";
constexpr const char* kRequest = "wl.wzd?method=set&wlSsid=home&wlChannel=6&wlAuthMode=open";
constexpr const char* kReply = "wl.wzd?reason=0";

// One recv, one reply, close: the same server work for both kinds of client.
class ReplyServer {
public:
    bool Start() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(DeviceClient::kPort);
        ::inet_pton(AF_INET, kAddress, &a.sin_addr);
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return false;
        if (::listen(fd_, 128) != 0) return false;
        thread_ = std::thread([this] { Serve(); });
        return true;
    }
    void Stop() {
        stop_ = true;
        ::shutdown(fd_, SHUT_RDWR);
        thread_.join();
        ::close(fd_);
    }

private:
    void Serve() {
        char buf[1024];
        while (!stop_) {
            int c = ::accept(fd_, nullptr, nullptr);
            if (c < 0) continue;
            if (::recv(c, buf, sizeof buf, 0) > 0) ::send(c, kReply, std::strlen(kReply), 0);
            ::close(c);
        }
    }
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

int BareExchange() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(DeviceClient::kPort);
    ::inet_pton(AF_INET, kAddress, &a.sin_addr);
    int result = 1;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::send(fd, kRequest, std::strlen(kRequest), 0) > 0) {
        char buf[DeviceClient::kReplyBufferSize] = {};
        result = ::recv(fd, buf, DeviceClient::kMaxReplyBytes, 0) > 0 ? 0 : 1;
    }
    ::close(fd);
    return result;
}

double MedianMicros(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    ReplyServer server;
    if (!server.Start()) {
        std::fprintf(stderr, "bench: cannot listen on %s:%d\n", kAddress, DeviceClient::kPort);
        return 1;
    }
    constexpr int kRounds = 40;
    constexpr int kPerRound = 50;
    std::vector<double> bare, client;
    int failures = 0;
    for (int round = 0; round < kRounds; ++round) {
        // Alternate the two kinds in blocks so drift in the machine's load hits both alike.
        auto t0 = Clock::now();
        for (int i = 0; i < kPerRound; ++i) failures += BareExchange();
        auto t1 = Clock::now();
        for (int i = 0; i < kPerRound; ++i) failures += SendDeviceRequest(kAddress, kRequest);
        auto t2 = Clock::now();
        bare.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count() / kPerRound);
        client.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count() / kPerRound);
    }
    server.Stop();

    // A 260-byte wireless read reply, parsed in the mode that does the most work.
    std::string reply = "wl.wzd?reason=0&wlSsid=Orvane-4260&wlChannel=6&wlAuthMode=WEP128";
    reply += "&wlKey1=0123456789abc&wlKey2=none&wlKey3=none&wlKey4=none&wlKeyIndex=1&pad=";
    reply.resize(DeviceClient::kMaxReplyBytes, 'x');
    constexpr int kParses = 1000000;
    char buffer[DeviceClient::kReplyBufferSize];
    char valueList[1024];
    int sink = 0;
    auto p0 = Clock::now();
    for (int i = 0; i < kParses; ++i) {
        std::memcpy(buffer, reply.c_str(), reply.size() + 1);
        valueList[0] = '\0';
        sink += ParseReplyText(ReplyWirelessGet, buffer, valueList, sizeof valueList);
    }
    double parseNs = std::chrono::duration<double, std::nano>(Clock::now() - p0).count() / kParses;

    double bareUs = MedianMicros(bare);
    double clientUs = MedianMicros(client);
    std::printf("bare exchange:   %.1f us (median of %d blocks of %d)\n", bareUs, kRounds,
                kPerRound);
    std::printf("client exchange: %.1f us\n", clientUs);
    std::printf("exchange_ratio=%.3f (target <= 1.3)\n", clientUs / bareUs);
    std::printf("parse_260_byte_reply_ns=%.1f (target < 1000; checksum %d)\n", parseNs, sink % 7);
    std::printf("failed exchanges: %d\n", failures);
    return failures == 0 ? 0 : 1;
}
