// modem-sim: serves the modem's configuration service on ADDRESS, port 1028, until SIGTERM or
// SIGINT. Every request and reply is logged, byte for byte, to the log file or to stderr.

#include <pthread.h>

#include <charconv>
#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "ModemSim.h"

namespace {

constexpr char kUsage[] =
    "usage: modem-sim [--log FILE] [--reply KIND=TEXT]... [--fault KIND=MODE[:MS]]...\n"
    "                 [--internet-code N] [--ethernet-wan] ADDRESS\n"
    "  KIND: lan-test, internet-test, wireless-get, wireless-set, wan-config\n"
    "  MODE: delay, silent, close, oversized, garbage, split\n"
    "  ADDRESS: a loopback address; any address when MODEM_SIM_ALLOW_ANY_ADDRESS=1\n";

struct Options {
    std::string logPath;
    std::vector<std::pair<RequestKind, std::string>> replies;
    std::vector<std::pair<RequestKind, Fault>> faults;
    std::optional<int> internetCode;
    bool ethernetWan = false;
    std::string address;
};

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<FaultMode> FaultFromName(std::string_view name) {
    const std::pair<std::string_view, FaultMode> modes[] = {
        {"delay", FaultMode::Delay},       {"silent", FaultMode::Silent},
        {"close", FaultMode::CloseAtOnce}, {"oversized", FaultMode::Oversized},
        {"garbage", FaultMode::Garbage},   {"split", FaultMode::Split}};
    for (const auto& [text, mode] : modes) {
        if (text == name) return mode;
    }
    return std::nullopt;
}

// Splits "KIND=REST" and reads the kind.
std::optional<std::pair<RequestKind, std::string>> KindAndRest(std::string_view arg) {
    std::size_t eq = arg.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    std::optional<RequestKind> kind = KindFromName(arg.substr(0, eq));
    if (!kind) return std::nullopt;
    return std::make_pair(*kind, std::string(arg.substr(eq + 1)));
}

// Returns an error text, empty when the arguments are good.
std::string ParseArgs(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool takesValue =
            arg == "--log" || arg == "--reply" || arg == "--fault" || arg == "--internet-code";
        if (takesValue && i + 1 >= argc) return std::string(arg) + " needs a value";
        const std::string_view value = takesValue ? argv[++i] : "";
        if (arg == "--log") {
            o.logPath = value;
        } else if (arg == "--reply") {
            auto parsed = KindAndRest(value);
            if (!parsed) return "bad --reply " + std::string(value);
            o.replies.push_back(*parsed);
        } else if (arg == "--fault") {
            auto parsed = KindAndRest(value);
            if (!parsed) return "bad --fault " + std::string(value);
            std::string_view modeText = parsed->second;
            std::size_t colon = modeText.find(':');
            Fault fault;
            std::optional<FaultMode> mode = FaultFromName(modeText.substr(0, colon));
            std::optional<int> ms = 0;
            if (colon != std::string_view::npos) ms = ParseInt(modeText.substr(colon + 1));
            if (!mode || !ms || *ms < 0) return "bad --fault " + std::string(value);
            o.faults.emplace_back(parsed->first, Fault{*mode, *ms});
        } else if (arg == "--internet-code") {
            o.internetCode = ParseInt(value);
            if (!o.internetCode) return "bad --internet-code " + std::string(value);
        } else if (arg == "--ethernet-wan") {
            o.ethernetWan = true;
        } else if (arg.starts_with("-") || !o.address.empty()) {
            return "unexpected argument " + std::string(arg);
        } else {
            o.address = arg;
        }
    }
    return o.address.empty() ? "no address given" : "";
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (std::string error = ParseArgs(argc, argv, options); !error.empty()) {
        std::fprintf(stderr, "modem-sim: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    FILE* log = stderr;
    if (!options.logPath.empty() && !(log = std::fopen(options.logPath.c_str(), "w"))) {
        std::fprintf(stderr, "modem-sim: cannot open %s\n", options.logPath.c_str());
        return 2;
    }

    // Block the stop signals before any thread starts, so that only sigwait below sees them. A
    // shell starts background jobs with SIGINT ignored, and an ignored signal is dropped rather
    // than kept pending, so the default handling is restored first.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    ModemSim sim(options.address);
    for (const auto& [kind, text] : options.replies) sim.SetReply(kind, text);
    for (const auto& [kind, fault] : options.faults) sim.SetFault(kind, fault);
    if (options.internetCode) sim.SetInternetCode(*options.internetCode);
    sim.SetEthernetWanEnabled(options.ethernetWan);
    sim.SetLogger([log](const std::string& line) {
        std::fprintf(log, "%s\n", line.c_str());
        std::fflush(log);
    });
    std::string error;
    if (!sim.Start(&error)) {
        std::fprintf(stderr, "modem-sim: %s\n", error.c_str());
        if (log != stderr) std::fclose(log);
        return 2;
    }
    std::printf("modem-sim listening on %s:1028\n", options.address.c_str());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    sim.Stop();
    if (log != stderr) std::fclose(log);
    return 0;
}
