// modemctl: one exchange with a modem from a terminal, for support and diagnosis. It goes
// through the same client and the same rules as the wizard, so its last line, result=N, is the
// result the wizard would compute for that exchange.

#include <arpa/inet.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "device/Exchanges.h"
#include "wireless/WirelessRequests.h"
#include "wizard/SessionFields.h"
#include "wizard/TextBuffer.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: modemctl ADDRESS lan-test\n"
                 "       modemctl ADDRESS internet-test\n"
                 "       modemctl ADDRESS wireless-get\n"
                 "       modemctl ADDRESS send TEXT\n");
    return 2;
}

int WirelessGet(const char* address) {
    SessionFields fields;
    CopyText(fields.modemIpAddress, address);
    char buffer[1024] = {};
    bool exchanged = false;
    unsigned result = ReadWirelessSettings(buffer, sizeof buffer, fields, &exchanged);
    if (!exchanged) std::printf("exchange failed (no connection, no reply or an empty reply)\n");
    const struct {
        const char* name;
        const char* value;
    } rows[] = {
        {"wlSsid", fields.wlSsidSaved},         {"wlChannel", fields.wlChannelSaved},
        {"wlAuthMode", fields.wlAuthModeSaved}, {"wlKey1", fields.wlKey1Saved},
        {"wlKey2", fields.wlKey2Saved},         {"wlKey3", fields.wlKey3Saved},
        {"wlKey4", fields.wlKey4Saved},         {"wlKeyIndex", fields.wlKeyIndexSaved},
    };
    for (const auto& row : rows) std::printf("%s=%s\n", row.name, row.value);
    return static_cast<int>(result);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const char* address = argv[1];
    const std::string command = argv[2];
    in_addr parsed{};
    if (inet_pton(AF_INET, address, &parsed) != 1) {
        std::fprintf(stderr, "modemctl: '%s' is not a dotted IPv4 address\n", address);
        return 2;
    }

    int result;
    if (command == "lan-test" && argc == 3) {
        bool accepted = false;
        result = ExchangeLanTest(address, kDefaultLimits, &accepted);
        std::printf("connection %s\n", accepted ? "accepted" : "refused or timed out");
    } else if (command == "internet-test" && argc == 3) {
        result = ExchangeInternetTest(address, Session().wanTestTimeout);
    } else if (command == "wireless-get" && argc == 3) {
        result = WirelessGet(address);
    } else if (command == "send" && argc == 4) {
        result = SendDeviceRequest(address, argv[3]);
    } else {
        return Usage();
    }
    std::printf("result=%d\n", result);
    return 0;
}
