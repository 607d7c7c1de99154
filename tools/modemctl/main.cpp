// modemctl: one exchange with a modem from a terminal, for support and diagnosis. It goes
// through the same client and the same rules as the wizard, so its last line, result=N, is the
// result the wizard would compute for that exchange. The exit status follows it, as scripts
// expect: 0 when the result is 0, 1 otherwise, 2 for a wrong command line.
//
// Texts that come from the modem (or from other processes, in detect's notes) are printed with
// control bytes and bytes that are not UTF-8 escaped as \xHH, so that a hostile reply cannot
// send escape sequences to the terminal of the person reading it.
//
// "modemctl detect" runs the whole modem detection of the wizard without a window. Like the
// wizard it starts the DHCP helper EnableDHCP from the current directory, so it is run from the
// bundle folder, where modemctl, the wizard and EnableDHCP lie side by side.

#include <arpa/inet.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/messages/LocalizedMessages.h"
#include "core/protocol/Exchanges.h"
#include "core/protocol/WirelessRequests.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "detection/ModemDetection.h"
#include "detection/adapters/NetworkAdapters.h"
#include "detection/processes/ProcessService.h"

namespace {

// The length of the well-formed UTF-8 sequence at the start of text that encodes a printable
// character (no C1 control, no surrogate, nothing above U+10FFFF, no overlong form); 0 if none.
std::size_t PrintableUtf8Length(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || text.size() < length) return 0;
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ||
        code <= 0x9F) {
        return 0;
    }
    return length;
}

// text as it may be shown on a terminal: printable ASCII and printable UTF-8 as they are, every
// other byte as \xHH, and the backslash doubled so that the escapes read back unambiguously.
std::string Escaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\\') {
            out += "\\\\";
            ++i;
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
            ++i;
        } else if (std::size_t n = PrintableUtf8Length(text.substr(i)); n > 0) {
            out.append(text.substr(i, n));
            i += n;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
            ++i;
        }
    }
    return out;
}

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
    for (const auto& row : rows) std::printf("%s=%s\n", row.name, Escaped(row.value).c_str());
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
    // What the adapter service left out, such as a DHCP client it does not trust. The texts may
    // hold another user's file names.
    if (adapters) {
        adapters->SetNoticeSink([](const std::string& text) {
            std::printf("%s\n", Escaped(text).c_str());
            std::fflush(stdout);
        });
    }
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
        std::printf("%s: %s\n", Escaped(address).c_str(), fields.msgModemNotDetected);
    };
    callbacks.onCandidate = [](const std::string& address, CandidateOutcome outcome) {
        std::printf("candidate %s %s\n", Escaped(address).c_str(), CandidateOutcomeText(outcome));
        std::fflush(stdout);
    };
    const int result = DetectModem(fields, directory, {adapters.get(), &processes}, callbacks);
    if (result == 0) std::printf("modem=%s\n", Escaped(fields.modemIpAddress).c_str());
    return result;
}

// The last line and the exit status of every exchange.
int Finish(int result) {
    std::printf("result=%d\n", result);
    return result == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "detect") return Finish(Detect());
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
    return Finish(result);
}
