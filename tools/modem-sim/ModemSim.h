#pragma once

// A stand-in for the modem's configuration service on TCP port 1028, for tests and the demo.
// Each connection carries one bare request text and gets one query-like reply
// ("prefix?key=value&..."); the service keeps the wireless settings and the WAN connections that
// the requests write, and can be told to misbehave in the ways a real modem or network does.

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

enum class RequestKind { LanTest, InternetTest, WirelessGet, WirelessSet, WanConfig, Unknown };

// How the reply of a kind of request goes out (the request itself is always read and handled):
// Delay: after delayMs. Silent: never; the connection stays open until the client closes it or
// the service stops. CloseAtOnce: the connection is closed without any reply bytes.
// Oversized: the reply padded to 700 bytes, in one send. Garbage: bytes without any "?",
// binary and NUL bytes among them. Split: the reply in two sends, delayMs apart (200 when 0).
enum class FaultMode { None, Delay, Silent, CloseAtOnce, Oversized, Garbage, Split };

struct Fault {
    FaultMode mode = FaultMode::None;
    int delayMs = 0;
};

struct WirelessState {
    std::string ssid = "Orvane-4260";
    int channel = 0;                // channel list position, 0 = automatic
    std::string authMode = "open";  // "open", "WEP128", "WEP64" or "WPA"
    std::string keys[4];            // empty = unset; keys[0] holds the pre-shared key in WPA mode
    int keyIndex = 1;               // current WEP key number 1..4
};

struct WanConnection {
    int protocol = 0;  // 0 PPPoE, 1 PPPoA, 2 MER, 3 Bridging, 5 IPoA
    int encapMode = 0;
    int vpi = 0;
    int vci = 0;
    std::map<std::string, std::string> fields;  // account and address values, decoded
};

// The name used in the log and on the command line: "lan-test", "internet-test",
// "wireless-get", "wireless-set", "wan-config", "unknown".
std::string_view KindName(RequestKind kind);
std::optional<RequestKind> KindFromName(std::string_view name);

// The text with every byte outside printable ASCII, and the backslash, written as \xNN.
std::string EscapeBytes(std::string_view bytes);

// Set to "1", lets the service bind addresses outside loopback. Only meant for a network
// namespace of its own, where the service stands on the modem's address.
constexpr const char* kAllowAnyAddressVariable = "MODEM_SIM_ALLOW_ANY_ADDRESS";
bool AnyAddressAllowed();

class ModemSim {
public:
    // Only loopback addresses (127.0.0.0/8) are served, unless AnyAddressAllowed().
    explicit ModemSim(std::string address, int port = 1028);
    ~ModemSim();
    ModemSim(const ModemSim&) = delete;
    ModemSim& operator=(const ModemSim&) = delete;

    // Binds and listens, then serves on a thread. False (with the reason in *error) when the
    // address cannot be bound or the service already runs.
    bool Start(std::string* error = nullptr);
    // Idempotent; wakes and joins every thread, also connections held open by Silent.
    void Stop();

    // A fixed reply text for a kind: the request is then only recorded, not acted on.
    void SetReply(RequestKind kind, std::string reply);
    void ClearReply(RequestKind kind);
    void SetFault(RequestKind kind, Fault fault);
    void SetInternetCode(int modemCode);             // "connection" value of the test, default 6
    void SetEthernetWanEnabled(bool on);             // WAN requests are then refused with -1
    void ForceWanReason(std::optional<int> reason);  // every WAN request refused with it

    // Receives one line per request ("REQ <kind> <length> <escaped text>") and one per reply
    // ("REP <kind> <length> <escaped text>", or "NOREPLY <kind> silent|close"). Lines are
    // delivered one at a time. Set it before Start.
    void SetLogger(std::function<void(const std::string& line)> logger);

    std::vector<std::string> Requests() const;  // every request received, byte for byte
    std::string LastRequest(RequestKind kind) const;
    WirelessState Wireless() const;
    void SetWireless(WirelessState state);
    std::vector<WanConnection> WanConnections() const;  // least recently written first
    int ConnectionsAccepted() const;

private:
    struct Connection;

    void AcceptLoop();
    void Serve(int fd);
    bool ReadRequest(int fd, std::string& request);
    bool Pause(int ms);
    void HoldUntilClosed(int fd);
    void Log(const std::string& line);
    std::string Handle(RequestKind kind, std::string_view request);

    const std::string address_;
    const int port_;
    int listenFd_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::thread acceptThread_;
    std::vector<std::unique_ptr<Connection>> connections_;  // touched by the accept thread only

    mutable std::mutex mutex_;
    std::map<RequestKind, std::string> fixedReplies_;
    std::map<RequestKind, Fault> faults_;
    int internetCode_ = 6;
    bool ethernetWan_ = false;
    std::optional<int> forcedWanReason_;
    std::vector<std::string> requests_;
    std::map<RequestKind, std::string> lastRequests_;
    WirelessState wireless_;
    std::vector<WanConnection> wan_;
    int accepted_ = 0;

    std::mutex logMutex_;
    std::function<void(const std::string&)> logger_;
};
