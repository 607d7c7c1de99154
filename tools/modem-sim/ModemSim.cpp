#include "ModemSim.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <system_error>

namespace {

constexpr std::size_t kMaxRequest = 4096;
constexpr int kRequestPauseMs = 50;      // the client sends its request in one piece
constexpr int kFirstByteWaitMs = 10000;  // a client that sends nothing is dropped after this
constexpr std::size_t kMaxReply = 260;   // what the wizard reads with its single receive
constexpr std::size_t kOversizedLength = 700;
constexpr int kDefaultSplitPauseMs = 200;
constexpr std::size_t kMaxVpiVciPairs = 8;
constexpr std::string_view kModel = "HX4260RB";
constexpr std::pair<RequestKind, std::string_view> kKindNames[] = {
    {RequestKind::LanTest, "lan-test"},         {RequestKind::InternetTest, "internet-test"},
    {RequestKind::WirelessGet, "wireless-get"}, {RequestKind::WirelessSet, "wireless-set"},
    {RequestKind::WanConfig, "wan-config"},     {RequestKind::Unknown, "unknown"}};
// A reply without any "?", with NUL and other binary bytes in it.
constexpr char kGarbage[] = "\x01\x7f\xfe garbage\x00 no pairs here \xff\x00\x1b[0m";

// "endpoint?key=value&key=value" with the values as received: the modem takes the wizard's
// texts as they were typed, and returns them the same way. Anything that breaks the pair grammar
// (an empty piece, a piece without a key and "=", a repeated key) marks the query malformed; the
// pairs read so far still tell which request it is.
struct Query {
    std::string endpoint;
    std::map<std::string, std::string, std::less<>> values;
    bool malformed = false;

    const std::string* Find(std::string_view key) const {
        auto it = values.find(key);
        return it == values.end() ? nullptr : &it->second;
    }
};

Query Parse(std::string_view text) {
    Query q;
    std::size_t mark = text.find('?');
    q.endpoint = text.substr(0, mark);
    if (mark == std::string_view::npos) {
        q.malformed = true;
        return q;
    }
    std::string_view rest = text.substr(mark + 1);
    while (true) {
        std::size_t amp = rest.find('&');
        std::string_view piece = rest.substr(0, amp);
        std::size_t eq = piece.find('=');
        if (eq == std::string_view::npos || eq == 0 ||
            !q.values.emplace(std::string(piece.substr(0, eq)), std::string(piece.substr(eq + 1)))
                 .second) {
            q.malformed = true;
        }
        if (amp == std::string_view::npos) break;
        rest.remove_prefix(amp + 1);
    }
    return q;
}

RequestKind Classify(const Query& q) {
    const std::string* found = q.Find("method");
    std::string_view method = found ? std::string_view(*found) : std::string_view();
    if (q.endpoint == "connectiontest.wzd" && method == "lanconnection")
        return RequestKind::LanTest;
    if (q.endpoint == "connectiontest.wzd" && method == "wanconnection") {
        return RequestKind::InternetTest;
    }
    if (q.endpoint == "wl.wzd" && method == "get") return RequestKind::WirelessGet;
    if (q.endpoint == "wl.wzd" && method == "set") return RequestKind::WirelessSet;
    if (q.endpoint == "wancfg.wzd" && method == "set") return RequestKind::WanConfig;
    return RequestKind::Unknown;
}

// True when the query is well formed and carries exactly these keys.
bool KeysAre(const Query& q, const std::vector<std::string_view>& keys) {
    if (q.malformed || q.values.size() != keys.size()) return false;
    return std::all_of(keys.begin(), keys.end(), [&](auto key) { return q.Find(key); });
}

std::optional<int> Number(const Query& q, std::string_view key, int low, int high) {
    const std::string* text = q.Find(key);
    if (!text) return std::nullopt;
    int value = 0;
    auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (ec != std::errc() || end != text->data() + text->size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

bool IsIpv4(const std::string& text) {
    in_addr unused{};
    return inet_pton(AF_INET, text.c_str(), &unused) == 1;
}

std::string WirelessReply(const WirelessState& w) {
    std::string reply = "wl.wzd?reason=0&wlSsid=" + w.ssid +
                        "&wlChannel=" + std::to_string(w.channel) + "&wlAuthMode=" + w.authMode;
    for (int i = 0; i < 4; ++i) {
        reply += "&wlKey" + std::to_string(i + 1) + "=";
        reply += w.keys[i].empty() ? "none" : w.keys[i];  // four characters: unset
    }
    return reply + "&wlKeyIndex=" + std::to_string(w.keyIndex);
}

// Stores a wireless write in state; reason 2 for anything the modem would not take, including
// settings whose read reply would no longer fit the wizard's 260 bytes.
std::string WirelessWrite(const Query& q, WirelessState& state) {
    const std::string refused = "wl.wzd?reason=2";
    const std::string* ssid = q.Find("wlSsid");
    const std::string* mode = q.Find("wlAuthMode");
    std::optional<int> channel = Number(q, "wlChannel", 0, 13);
    if (!ssid || ssid->empty() || ssid->size() > 32 || !mode || !channel) return refused;

    std::vector<std::string_view> keys = {"method", "wlSsid", "wlChannel", "wlAuthMode"};
    WirelessState next;
    next.ssid = *ssid;
    next.channel = *channel;
    if (*mode == "open") {
        if (!KeysAre(q, keys)) return refused;
    } else if (*mode == "shared") {
        keys.insert(keys.end(), {"wlKeyBit", "wlKeyIndex", "wlKey1", "wlKey2", "wlKey3", "wlKey4"});
        std::optional<int> bit = Number(q, "wlKeyBit", 0, 1);
        std::optional<int> index = Number(q, "wlKeyIndex", 1, 4);
        if (!KeysAre(q, keys) || !bit || !index) return refused;
        const std::size_t length = *bit == 0 ? 13 : 5;
        for (int i = 0; i < 4; ++i) {
            next.keys[i] = *q.Find("wlKey" + std::to_string(i + 1));
            if (!next.keys[i].empty() && next.keys[i].size() != length) return refused;
        }
        if (next.keys[*index - 1].empty()) return refused;
        next.authMode = *bit == 0 ? "WEP128" : "WEP64";
        next.keyIndex = *index;
    } else if (*mode == "psk2mix") {
        keys.push_back("wlWpaPsk");
        if (!KeysAre(q, keys)) return refused;
        next.keys[0] = *q.Find("wlWpaPsk");
        if (next.keys[0].size() < 8 || next.keys[0].size() > 63) return refused;
        next.authMode = "WPA";
    } else {
        return refused;
    }
    if (WirelessReply(next).size() > kMaxReply) return refused;
    state = next;
    return "wl.wzd?reason=0";
}

// The connection a WAN request describes, or nothing when the request is malformed.
std::optional<WanConnection> ReadWanConnection(const Query& q) {
    std::optional<int> protocol = Number(q, "ntwkPrtcl", 0, 5);
    std::optional<int> encap = Number(q, "encapMode", 0, 1);
    std::optional<int> vpi = Number(q, "atmVpi", 0, 255);
    std::optional<int> vci = Number(q, "atmVci", 32, 65535);
    if (!Number(q, "edit", 0, 1) || !protocol || *protocol == 4 || !encap || !vpi || !vci) {
        return std::nullopt;
    }
    const std::vector<std::string_view> base = {"method",    "edit",   "ntwkPrtcl",
                                                "encapMode", "atmVpi", "atmVci"};
    std::vector<std::string_view> keys = base;
    std::vector<std::string_view> addresses;
    if (*protocol == 0 || *protocol == 1) {
        keys.insert(keys.end(), {"pppUserName", "pppPassword"});
    }
    if (*protocol == 0) {
        keys.push_back("pppServerName");
        if (const std::string* fixed = q.Find("useStaticIpAddress")) {
            if (*fixed != "1") return std::nullopt;
            keys.insert(keys.end(), {"useStaticIpAddress", "pppLocalIpAddress"});
            addresses.push_back("pppLocalIpAddress");
        }
    }
    if (*protocol == 2 || *protocol == 5) {
        // Each automatic setting, when off, brings the addresses it needs.
        const std::vector<std::pair<std::string_view, std::vector<std::string_view>>> choices = {
            {"enblDhcpClnt", {"wanIpAddress", "wanSubnetMask"}},
            {"enblAuto", {"defaultGateway"}},
            {"dnsDynamic", {"dnsPrimary", "dnsSecondary"}}};
        for (const auto& [flag, needed] : choices) {
            std::optional<int> on = Number(q, flag, 0, 1);
            if (!on) return std::nullopt;
            keys.push_back(flag);
            if (*on == 0) {
                keys.insert(keys.end(), needed.begin(), needed.end());
                addresses.insert(addresses.end(), needed.begin(), needed.end());
            }
        }
    }
    if (!KeysAre(q, keys)) return std::nullopt;
    for (auto key : addresses) {
        if (!IsIpv4(*q.Find(key))) return std::nullopt;
    }
    WanConnection c{*protocol, *encap, *vpi, *vci, {}};
    for (const auto& [key, value] : q.values) {
        if (std::find(base.begin(), base.end(), key) == base.end()) c.fields[key] = value;
    }
    return c;
}

std::string WanReason(int reason) {
    return "wancfg.wzd?reason=" + std::to_string(reason);
}

}  // namespace

std::string_view KindName(RequestKind kind) {
    for (const auto& [k, name] : kKindNames) {
        if (k == kind) return name;
    }
    return "unknown";
}

std::optional<RequestKind> KindFromName(std::string_view name) {
    for (const auto& [kind, text] : kKindNames) {
        if (text == name) return kind;
    }
    return std::nullopt;
}

std::string EscapeBytes(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c > 0x7e || c == '\\') {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0x0f];
        } else {
            out += ch;
        }
    }
    return out;
}

struct ModemSim::Connection {
    std::thread thread;
    std::atomic<bool> done{false};
};

bool AnyAddressAllowed() {
    const char* value = std::getenv(kAllowAnyAddressVariable);
    return value && std::string_view(value) == "1";
}

ModemSim::ModemSim(std::string address, int port) : address_(std::move(address)), port_(port) {}

ModemSim::~ModemSim() {
    Stop();
}

bool ModemSim::Start(std::string* error) {
    auto fail = [&](const std::string& message) {
        if (error) *error = message;
        if (listenFd_ >= 0) close(listenFd_);
        listenFd_ = -1;
        return false;
    };
    if (acceptThread_.joinable()) return fail("already running");
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<uint16_t>(port_));
    if (inet_pton(AF_INET, address_.c_str(), &sa.sin_addr) != 1) {
        return fail("not an IPv4 address: " + address_);
    }
    if ((ntohl(sa.sin_addr.s_addr) >> 24) != 127 && !AnyAddressAllowed()) {
        return fail("only loopback addresses (127.x.x.x) are served unless " +
                    std::string(kAllowAnyAddressVariable) + "=1: " + address_);
    }
    const std::string where = address_ + ":" + std::to_string(port_);
    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) {
        return fail("cannot create a socket: " + std::generic_category().message(errno));
    }
    int one = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (bind(listenFd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
        listen(listenFd_, 16) != 0) {
        return fail("cannot bind " + where + ": " + std::generic_category().message(errno));
    }
    int wake[2];
    if (pipe2(wake, O_CLOEXEC) != 0) return fail("cannot create a pipe");
    wakeRead_ = wake[0];
    wakeWrite_ = wake[1];
    acceptThread_ = std::thread(&ModemSim::AcceptLoop, this);
    return true;
}

void ModemSim::Stop() {
    if (!acceptThread_.joinable()) return;
    // The pipe is never drained, so every poll on it wakes from now on.
    char byte = 1;
    while (write(wakeWrite_, &byte, 1) < 0 && errno == EINTR) {
    }
    acceptThread_.join();
    for (auto& c : connections_) c->thread.join();
    connections_.clear();
    for (int* fd : {&listenFd_, &wakeRead_, &wakeWrite_}) {
        close(*fd);
        *fd = -1;
    }
}

void ModemSim::AcceptLoop() {
    while (true) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;
        int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        {
            std::lock_guard lock(mutex_);
            ++accepted_;
        }
        // Join the connections that have ended, so a long run does not pile up threads.
        std::erase_if(connections_, [](const std::unique_ptr<Connection>& c) {
            if (!c->done) return false;
            c->thread.join();
            return true;
        });
        auto c = std::make_unique<Connection>();
        Connection* raw = c.get();
        c->thread = std::thread([this, fd, raw] {
            Serve(fd);
            close(fd);
            raw->done = true;
        });
        connections_.push_back(std::move(c));
    }
}

// The request ends at a short pause after its first bytes, when the client shuts its side, or
// at 4096 bytes. False when nothing arrived or the service is stopping.
bool ModemSim::ReadRequest(int fd, std::string& request) {
    char buffer[1024];
    int wait = kFirstByteWaitMs;
    while (request.size() < kMaxRequest) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        int ready = poll(fds, 2, wait);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        if (fds[1].revents != 0) return false;
        ssize_t n = recv(fd, buffer, std::min(sizeof buffer, kMaxRequest - request.size()), 0);
        if (n <= 0) break;
        request.append(buffer, static_cast<std::size_t>(n));
        wait = kRequestPauseMs;
    }
    return !request.empty();
}

// Waits ms milliseconds; true when the service is stopping instead.
bool ModemSim::Pause(int ms) {
    pollfd wake = {wakeRead_, POLLIN, 0};
    return poll(&wake, 1, ms) > 0;
}

void ModemSim::HoldUntilClosed(int fd) {
    char buffer[256];
    while (true) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;
        if (recv(fd, buffer, sizeof buffer, 0) <= 0) return;
    }
}

void ModemSim::Log(const std::string& line) {
    std::lock_guard lock(logMutex_);
    if (logger_) logger_(line);
}

void ModemSim::Serve(int fd) {
    std::string request;
    if (!ReadRequest(fd, request)) return;
    const RequestKind kind = Classify(Parse(request));
    const std::string name(KindName(kind));
    Log("REQ " + name + " " + std::to_string(request.size()) + " " + EscapeBytes(request));
    Fault fault;
    {
        std::lock_guard lock(mutex_);
        if (auto it = faults_.find(kind); it != faults_.end()) fault = it->second;
    }
    std::string reply = Handle(kind, request);

    auto sendAll = [&](std::string_view data) {
        while (!data.empty()) {
            ssize_t n = send(fd, data.data(), data.size(), MSG_NOSIGNAL);
            if (n <= 0) return;
            data.remove_prefix(static_cast<std::size_t>(n));
        }
    };
    auto logReply = [&](const std::string& sent) {
        Log("REP " + name + " " + std::to_string(sent.size()) + " " + EscapeBytes(sent));
    };
    switch (fault.mode) {
        case FaultMode::Silent:
            Log("NOREPLY " + name + " silent");
            HoldUntilClosed(fd);
            return;
        case FaultMode::CloseAtOnce:
            Log("NOREPLY " + name + " close");
            return;
        case FaultMode::Delay:
            if (Pause(fault.delayMs)) return;
            break;
        case FaultMode::Oversized:
            reply += "&pad=";
            reply.resize(std::max(reply.size(), kOversizedLength), 'x');
            break;
        case FaultMode::Garbage:
            reply.assign(kGarbage, sizeof kGarbage - 1);
            break;
        case FaultMode::Split:
            if (reply.size() > 1) {
                logReply(reply);
                sendAll(std::string_view(reply).substr(0, reply.size() / 2));
                if (Pause(fault.delayMs > 0 ? fault.delayMs : kDefaultSplitPauseMs)) return;
                sendAll(std::string_view(reply).substr(reply.size() / 2));
                return;
            }
            break;
        case FaultMode::None:
            break;
    }
    logReply(reply);
    sendAll(reply);
}

std::string ModemSim::Handle(RequestKind kind, std::string_view request) {
    const Query q = Parse(request);
    std::lock_guard lock(mutex_);
    requests_.emplace_back(request);
    lastRequests_[kind] = std::string(request);
    if (auto it = fixedReplies_.find(kind); it != fixedReplies_.end()) return it->second;

    switch (kind) {
        case RequestKind::LanTest:
            if (!KeysAre(q, {"method", "device"})) return "connectiontest.wzd?reason=2";
            return *q.Find("device") == kModel ? "connectiontest.wzd?connection=ok"
                                               : "connectiontest.wzd?connection=unsupported";
        case RequestKind::InternetTest:
            if (!KeysAre(q, {"method", "timeout"}) || !Number(q, "timeout", 0, INT_MAX)) {
                return "connectiontest.wzd?reason=2";
            }
            return "connectiontest.wzd?connection=" + std::to_string(internetCode_);
        case RequestKind::WirelessGet: {
            if (!KeysAre(q, {"method"})) return "wl.wzd?reason=2";
            std::string reply = WirelessReply(wireless_);
            reply.resize(std::min(reply.size(), kMaxReply));
            return reply;
        }
        case RequestKind::WirelessSet:
            return WirelessWrite(q, wireless_);
        case RequestKind::WanConfig:
            break;
        case RequestKind::Unknown:
            return "?reason=2";
    }

    if (forcedWanReason_) return WanReason(*forcedWanReason_);
    std::optional<WanConnection> c = ReadWanConnection(q);
    if (!c) return WanReason(2);
    if (ethernetWan_) return WanReason(-1);
    auto samePair = std::find_if(wan_.begin(), wan_.end(), [&](const WanConnection& w) {
        return w.vpi == c->vpi && w.vci == c->vci;
    });
    if (Number(q, "edit", 0, 1) == 1) {
        // An edit replaces the connection on that pair, else the most recently written one;
        // the replacement becomes the most recent.
        auto target = samePair != wan_.end() ? samePair
                      : wan_.empty()         ? wan_.end()
                                             : wan_.end() - 1;
        if (target != wan_.end()) {
            wan_.erase(target);
            wan_.push_back(*c);
            return WanReason(0);
        }
    } else if (samePair != wan_.end()) {
        return WanReason(7);
    }
    if (wan_.size() >= kMaxVpiVciPairs) return WanReason(5);
    wan_.push_back(*c);
    return WanReason(0);
}

void ModemSim::SetReply(RequestKind kind, std::string reply) {
    std::lock_guard lock(mutex_);
    fixedReplies_[kind] = std::move(reply);
}

void ModemSim::ClearReply(RequestKind kind) {
    std::lock_guard lock(mutex_);
    fixedReplies_.erase(kind);
}

void ModemSim::SetFault(RequestKind kind, Fault fault) {
    std::lock_guard lock(mutex_);
    faults_[kind] = fault;
}

void ModemSim::SetInternetCode(int modemCode) {
    std::lock_guard lock(mutex_);
    internetCode_ = modemCode;
}

void ModemSim::SetEthernetWanEnabled(bool on) {
    std::lock_guard lock(mutex_);
    ethernetWan_ = on;
}

void ModemSim::ForceWanReason(std::optional<int> reason) {
    std::lock_guard lock(mutex_);
    forcedWanReason_ = reason;
}

void ModemSim::SetLogger(std::function<void(const std::string&)> logger) {
    std::lock_guard lock(logMutex_);
    logger_ = std::move(logger);
}

std::vector<std::string> ModemSim::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::string ModemSim::LastRequest(RequestKind kind) const {
    std::lock_guard lock(mutex_);
    auto it = lastRequests_.find(kind);
    return it == lastRequests_.end() ? std::string() : it->second;
}

WirelessState ModemSim::Wireless() const {
    std::lock_guard lock(mutex_);
    return wireless_;
}

void ModemSim::SetWireless(WirelessState state) {
    std::lock_guard lock(mutex_);
    wireless_ = std::move(state);
}

std::vector<WanConnection> ModemSim::WanConnections() const {
    std::lock_guard lock(mutex_);
    return wan_;
}

int ModemSim::ConnectionsAccepted() const {
    std::lock_guard lock(mutex_);
    return accepted_;
}
