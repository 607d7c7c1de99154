#include "progress/ModemDetection.h"

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "device/Exchanges.h"
#include "platform/NetworkAdapters.h"
#include "platform/ProcessService.h"
#include "wizard/SessionFields.h"
#include "wizard/TextBuffer.h"

namespace {

void Pause(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void Step(const DetectionCallbacks& callbacks, const char* step) {
    if (callbacks.onStep) callbacks.onStep(step);
}

// The DHCP server of every DHCP-enabled adapter, in adapter order, into dhcpServerList. An
// adapter without a server yet costs one more renewal and stays a candidate. False when the
// interfaces could not be renewed or the adapters not read.
bool CollectDhcpServers(SessionFields& fields, NetworkAdapters& adapters,
                        const DetectionCallbacks& callbacks) {
    fields.dhcpServerCount = 0;
    const std::vector<RenewOutcome> outcomes = adapters.RenewAll();
    if (callbacks.onRenewal) callbacks.onRenewal(outcomes);
    const bool refused = AnyRefused(outcomes);
    if (refused) {
        Step(callbacks, "not-authorized");
    } else if (!AnyRenewed(outcomes)) {
        Step(callbacks, "renew-failed");
        return false;
    }
    std::vector<NetworkAdapter> list;
    if (!adapters.List(list)) {
        Step(callbacks, "no-adapters");
        return false;
    }
    int count = 0;
    for (const NetworkAdapter& adapter : list) {
        if (!adapter.dhcpEnabled) continue;
        if (count >= kMaxDhcpServers) break;
        CopyText(fields.dhcpServerList[count++], adapter.dhcpServer);
        // Once refused, the user is not asked again.
        if (adapter.dhcpServer == kNoDhcpServer && !refused) adapters.RenewAll();
    }
    fields.dhcpServerCount = count;
    return true;
}

}  // namespace

const char* CandidateOutcomeText(CandidateOutcome outcome) {
    switch (outcome) {
        case CandidateOutcome::Refused:
            return "refused";
        case CandidateOutcome::FailedLanTest:
            return "failed the LAN test";
        case CandidateOutcome::Passed:
            return "passed";
    }
    return "";
}

int DetectModem(SessionFields& fields, const std::string& helperDirectory,
                const DetectionServices& services, const DetectionCallbacks& callbacks,
                const DetectionTiming& timing) {
    ProcessService& processes = *services.processes;

    Step(callbacks, "helper");
    const std::string helper = helperDirectory + "/" + kDhcpHelperName;
    if (processes.Run({helper}, false) == ProcessService::kNotStarted) {
        Step(callbacks, "no-helper");
        return 1;
    }
    if (!services.adapters) {
        Step(callbacks, "renew-failed");
        return 1;
    }

    // The system-wide renewal and the release and renewal of every interface are one and the
    // same here; it runs once, with the pauses that let the addresses settle around it.
    Step(callbacks, "renew");
    Pause(timing.settleMs);
    const bool collected = CollectDhcpServers(fields, *services.adapters, callbacks);
    Pause(timing.settleMs);
    if (!collected) return 1;
    if (fields.dhcpServerCount < 1) {
        Step(callbacks, "no-candidates");
        return 1;
    }

    Step(callbacks, "lan-test");
    for (int i = 0; i < fields.dhcpServerCount; ++i) {
        const std::string candidate(TextOf(fields.dhcpServerList[i]));
        // Forget stale neighbour entries and wake the candidate's, once the connection stands.
        // The flush needs root; an ordinary user is not asked for a password just for it (the
        // kernel ages stale entries out by itself), so it is left out.
        auto nudge = [&] {
            if (RunsAsRoot()) processes.StartDetached({"ip", "neigh", "flush", "all"});
            Pause(timing.commandGapMs);
            processes.StartDetached({"ping", "-c", "1", "-W", "1", candidate});
            Pause(timing.commandGapMs);
        };
        bool accepted = false;
        const int result = ExchangeLanTest(candidate.c_str(), timing.limits, &accepted, nudge);
        if (result == 0) {
            std::memset(fields.modemIpAddress, 0, sizeof fields.modemIpAddress);
            CopyText(fields.modemIpAddress, candidate);
            fields.modemFound = 1;
            if (callbacks.onCandidate) callbacks.onCandidate(candidate, CandidateOutcome::Passed);
            return 0;
        }
        if (accepted && callbacks.onCandidateFailed) callbacks.onCandidateFailed(candidate);
        if (callbacks.onCandidate) {
            callbacks.onCandidate(
                candidate, accepted ? CandidateOutcome::FailedLanTest : CandidateOutcome::Refused);
        }
    }
    return 1;
}
