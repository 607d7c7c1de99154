#pragma once

// Time limits of one exchange with the modem. Every exchange is bounded: a modem that accepts
// the connection and never answers costs seconds, not forever. The Internet test waits longest
// because the modem tests its line before it answers.
struct ExchangeLimits {
    int connectMs;
    int sendMs;
    int receiveMs;
};

constexpr int kConnectTimeoutMs = 3000;
constexpr int kSendTimeoutMs = 3000;
constexpr int kReceiveTimeoutMs = 10000;
constexpr int kInternetTestReceiveTimeoutMs = 120000;

constexpr ExchangeLimits kDefaultLimits{kConnectTimeoutMs, kSendTimeoutMs, kReceiveTimeoutMs};
constexpr ExchangeLimits kInternetTestLimits{kConnectTimeoutMs, kSendTimeoutMs,
                                             kInternetTestReceiveTimeoutMs};
