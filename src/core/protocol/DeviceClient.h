#pragma once

#include "core/protocol/ExchangeLimits.h"

// The socket side of one exchange with the modem's configuration service on TCP port 1028:
// Connect, Send the bare request text (no line end, no terminator), one Receive of at most
// kMaxReplyBytes, ParseReply, Close. One client serves exactly one exchange; every exchange
// constructs a fresh one, so valueList always starts empty.
class DeviceClient {
public:
    static constexpr int kPort = 1028;
    static constexpr int kMaxReplyBytes = 260;
    // A receive buffer must hold the longest reply and its terminator.
    static constexpr int kReplyBufferSize = kMaxReplyBytes + 1;

    explicit DeviceClient(const ExchangeLimits& limits = kDefaultLimits);
    virtual ~DeviceClient();
    DeviceClient(const DeviceClient&) = delete;
    DeviceClient& operator=(const DeviceClient&) = delete;

    // address: dotted IPv4 text. 0 when connected within the connect limit, 1 otherwise.
    int Connect(const char* address);
    // One send of exactly length bytes; bytes sent, or -1 on an error or when the send limit ran
    // out.
    int Send(const char* buffer, int length, int flags);
    // One receive of at most kMaxReplyBytes (and at most length - 1) bytes, then a terminator.
    // Bytes received, 0 when the peer closed, -1 on an error or when the receive limit ran out.
    int Receive(char* buffer, int length, int flags);
    // Interprets the reply in buffer (see ParseReplyText); in ReplyWirelessGet mode the collected
    // values are left in buffer.
    int ParseReply(int mode, char* buffer);
    // Closes the socket. 0 on success.
    int Close();

    void SetReceiveTimeout(int ms) { limits_.receiveMs = ms; }
    const char* valueList() const { return valueList_; }

private:
    ExchangeLimits limits_;
    int socket_ = -1;
    char valueList_[1024];
};
