#pragma once

#include <functional>
#include <string_view>

#include "core/protocol/ExchangeLimits.h"

// The four kinds of exchange with the modem, each following the one calling order (construct a
// client, Connect, Send the request, Receive once, ParseReply, Close) and its caller's rule for
// what counts as failure. An empty reply (the peer closed at once) is a failure in all four.

constexpr const char* kModelIdentifier = "HX4260RB";
constexpr const char* kLanTestFormat = "connectiontest.wzd?method=lanconnection&device=%s";
constexpr const char* kInternetTestFormat = "connectiontest.wzd?method=wanconnection&timeout=%d";
constexpr const char* kWirelessReadRequest = "wl.wzd?method=get";

// LAN test of one candidate address: 0 when it answered "connection=ok" (or named no
// connection), 1 on any failure. accepted (when given) tells whether the candidate accepted the
// connection; onConnected (when given) runs between Connect and Send, where detection flushes the
// neighbour cache and pings the candidate.
int ExchangeLanTest(const char* address, const ExchangeLimits& limits = kDefaultLimits,
                    bool* accepted = nullptr, const std::function<void()>& onConnected = {});

// Internet test: 1 when the exchange failed, else the ReplyWanTest code (0 = connected).
int ExchangeInternetTest(const char* address, int timeout,
                         const ExchangeLimits& limits = kInternetTestLimits);

// One configuration request (WAN or wireless write): 1 when the exchange failed, else the
// reply's reason (0 = accepted).
int SendDeviceRequest(const char* address, std::string_view request,
                      const ExchangeLimits& limits = kDefaultLimits);

// The wireless read: 1 when the exchange failed, else the ReplyWirelessGet code. On return
// buffer (at least kReplyBufferSize bytes) holds the value list, or the whole reply when it had
// no "?", or is empty after a failure. exchanged (when given) tells a failed exchange apart from
// a reply whose code is 1 (WEP128).
int ExchangeWirelessRead(const char* address, char* buffer, int bufferSize,
                         const ExchangeLimits& limits = kDefaultLimits, bool* exchanged = nullptr);
