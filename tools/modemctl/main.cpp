// modemctl: one exchange with a modem from a terminal, for support and diagnosis. It goes
// through the same client and the same rules as the wizard, so its last line, result=N, is the
// result the wizard would compute for that exchange.
//
// "modemctl detect" runs the whole modem detection of the wizard without a window. Like the
// wizard it starts the DHCP helper EnableDHCP from the current directory, so it is run from the
// bundle folder, where modemctl, the wizard and EnableDHCP lie side by side.

#include <arpa/inet.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "device/Exchanges.h"
#include "device/LocalizedMessages.h"
#include "platform/NetworkAdapters.h"
#include "platform/ProcessService.h"
#include "progress/ModemDetection.h"
#include "wireless/WirelessRequests.h"
#include "wizard/SessionFields.h"
#include "wizard/TextBuffer.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: modemctl ADDRESS lan-test\n"
                 "       modemctl ADDRESS internet-test\n"
                 "       modemctl ADDRESS wireless-get\n"
                 "       modemctl ADDRESS send TEXT\n"
                 "       modemctl detect    (run in the bundle folder, beside EnableDHCP)\n");
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

// The wizard's detection, reported line by line: the adapter service in use, each step that
// ends it early, each candidate with its outcome, then modem=ADDRESS when found.
int Detect() {
    SessionFields fields;
    LoadLocalizedMessages(fields);
    PosixProcessService processes;
    std::unique_ptr<NetworkAdapters> adapters = CreateNetworkAdapters(processes);
    std::printf("adapters: %s\n",
                adapters ? std::string(adapters->Backend()).c_str() : "no usable service");
    // Which steps need someone's authorization, and whose.
    if (RunsAsRoot()) {
        std::printf("authorization: none needed (running as root)\n");
    } else {
        if (adapters && !adapters->AuthorizationRoute().empty()) {
            std::printf("authorization: renewals through %s\n",
                        adapters->AuthorizationRoute().c_str());
        }
        std::printf("authorization: neighbour-cache flush left out (it needs root)\n");
    }
    std::fflush(stdout);
    const std::string directory = CurrentDirectory();

    DetectionCallbacks callbacks;
    callbacks.onStep = [&](const std::string& step) {
        if (step == "no-helper") {
            std::printf("%s/%s could not be started: run modemctl detect in the bundle folder\n",
                        directory.c_str(), kDhcpHelperName);
        } else if (step == "renew-failed") {
            std::printf("no interface could be released and renewed\n");
        } else if (step == "no-adapters") {
            std::printf("the adapter list could not be read\n");
        } else if (step == "no-candidates") {
            std::printf("no DHCP-enabled adapter\n");
        } else if (step == "not-authorized") {
            std::printf("authorization refused: %s\n", NotAuthorizedMessage(fields.languageIndex));
        }
        std::fflush(stdout);
    };
    callbacks.onRenewal = [](const std::vector<RenewOutcome>& outcomes) {
        for (const RenewOutcome& outcome : outcomes) {
            if (outcome.authorization == Authorization::NotNeeded) continue;
            std::printf("renewal of %s: authorization %s\n", outcome.name.c_str(),
                        outcome.authorization == Authorization::Granted ? "granted" : "refused");
        }
        std::fflush(stdout);
    };
    callbacks.onCandidateFailed = [&](const std::string& address) {
        std::printf("%s: %s\n", address.c_str(), fields.msgModemNotDetected);
    };
    callbacks.onCandidate = [](const std::string& address, CandidateOutcome outcome) {
        std::printf("candidate %s %s\n", address.c_str(), CandidateOutcomeText(outcome));
        std::fflush(stdout);
    };
    const int result = DetectModem(fields, directory, {adapters.get(), &processes}, callbacks);
    if (result == 0) std::printf("modem=%s\n", fields.modemIpAddress);
    std::printf("result=%d\n", result);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "detect") return Detect();
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
