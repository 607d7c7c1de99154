#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/protocol/ExchangeLimits.h"

class NetworkAdapters;
class ProcessService;
struct RenewOutcome;
struct SessionFields;

// Finding the modem on the local network, the work of the detection page's worker and of
// "modemctl detect": run the DHCP helper, release and renew every interface so that the PC
// takes an address from the modem, take the DHCP server of every DHCP-enabled adapter as a
// candidate, and ask each candidate for the LAN test until one passes.

// The name of the DHCP helper, found in the directory the caller names (the current directory).
inline constexpr const char* kDhcpHelperName = "EnableDHCP";
// The helper's exit code when an authorization it asked for (to start a DHCP client) was refused;
// any other code says nothing the detection acts on.
inline constexpr int kDhcpHelperNotAuthorized = 4;

struct DetectionServices {
    NetworkAdapters* adapters = nullptr;  // nullptr: no usable way to read or renew the adapters
    ProcessService* processes = nullptr;
};

struct DetectionTiming {
    int settleMs = 1000;   // the pause before and after the renewal
    int commandGapMs = 5;  // the pause after starting the cache flush and the ping
    ExchangeLimits limits = kDefaultLimits;
};

enum class CandidateOutcome {
    Refused,        // no connection (refused, unreachable, or the connect limit ran out)
    FailedLanTest,  // connected, but the LAN test failed
    Passed,
};

struct DetectionCallbacks {
    // A step of the detection has begun ("helper", "renew", "lan-test"), or ended the detection
    // ("no-helper", "renew-failed", "no-adapters", "no-candidates", "superseded").
    // "not-authorized": the user's authorization to renew was refused; the detection goes on with
    // the DHCP servers the adapters already know, once this returns.
    std::function<void(const std::string& step)> onStep;
    // The outcome of the renewal of every interface.
    std::function<void(const std::vector<RenewOutcome>& outcomes)> onRenewal;
    // A candidate accepted the connection but failed the LAN test. The detection goes on with
    // the next candidate once this returns, so the page can hold it while the user reads.
    std::function<void(const std::string& address)> onCandidateFailed;
    // Every candidate's outcome, in the order they were tried.
    std::function<void(const std::string& address, CandidateOutcome outcome)> onCandidate;
};

// Runs the detection. helperDirectory holds kDhcpHelperName. Writes fields.dhcpServerList and
// dhcpServerCount; on success also modemIpAddress and modemFound = 1. Returns 0 when a modem
// was found, 1 otherwise.
//
// Detections may overlap (a page that gave up does not stop its worker). Only the newest one of
// the process counts: once a newer call has started, an older one writes nothing into fields,
// stops before its next step or candidate ("superseded") and returns 1.
int DetectModem(SessionFields& fields, const std::string& helperDirectory,
                const DetectionServices& services, const DetectionCallbacks& callbacks = {},
                const DetectionTiming& timing = {});

// The human name of an outcome: "refused", "failed the LAN test", "passed".
const char* CandidateOutcomeText(CandidateOutcome outcome);
