#include "core/protocol/Exchanges.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "core/protocol/DeviceClient.h"
#include "core/protocol/ReplyMode.h"

namespace {

struct Outcome {
    bool ok;     // connected, sent, and a non-empty reply arrived
    int result;  // the ParseReply result when ok
};

// Connect, send the whole request in one send, receive once into buffer and parse it.
Outcome Exchange(const char* address, std::string_view request, int mode, char* buffer,
                 int bufferSize, const ExchangeLimits& limits, bool* accepted = nullptr,
                 const std::function<void()>& onConnected = {}) {
    DeviceClient client(limits);
    std::memset(buffer, 0, static_cast<std::size_t>(bufferSize));
    if (accepted) *accepted = false;
    if (client.Connect(address) != 0) return {false, 1};
    if (accepted) *accepted = true;
    if (onConnected) onConnected();
    int sent = client.Send(request.data(), static_cast<int>(request.size()), 0);
    if (sent <= 0) {
        client.Close();
        return {false, 1};
    }
    int received = client.Receive(buffer, bufferSize, 0);
    if (received <= 0) {
        client.Close();
        buffer[0] = '\0';
        return {false, 1};
    }
    int result = client.ParseReply(mode, buffer);
    client.Close();
    return {true, result};
}

}  // namespace

int ExchangeLanTest(const char* address, const ExchangeLimits& limits, bool* accepted,
                    const std::function<void()>& onConnected) {
    char request[DeviceClient::kReplyBufferSize];
    std::snprintf(request, sizeof request, kLanTestFormat, kModelIdentifier);
    char buffer[DeviceClient::kReplyBufferSize];
    Outcome o = Exchange(address, request, ReplyLanTest, buffer, sizeof buffer, limits, accepted,
                         onConnected);
    return o.ok ? o.result : 1;
}

int ExchangeInternetTest(const char* address, int timeout, const ExchangeLimits& limits) {
    char request[DeviceClient::kReplyBufferSize];
    std::snprintf(request, sizeof request, kInternetTestFormat, timeout);
    char buffer[DeviceClient::kReplyBufferSize];
    Outcome o = Exchange(address, request, ReplyWanTest, buffer, sizeof buffer, limits);
    return o.ok ? o.result : 1;
}

int SendDeviceRequest(const char* address, std::string_view request, const ExchangeLimits& limits) {
    char buffer[DeviceClient::kReplyBufferSize];
    Outcome o = Exchange(address, request, ReplyReason, buffer, sizeof buffer, limits);
    return o.ok ? o.result : 1;
}

int ExchangeWirelessRead(const char* address, char* buffer, int bufferSize,
                         const ExchangeLimits& limits, bool* exchanged) {
    if (exchanged) *exchanged = false;
    if (bufferSize < DeviceClient::kReplyBufferSize) return 1;
    Outcome o =
        Exchange(address, kWirelessReadRequest, ReplyWirelessGet, buffer, bufferSize, limits);
    if (exchanged) *exchanged = o.ok;
    return o.ok ? o.result : 1;
}
