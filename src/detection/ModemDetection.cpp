#include "detection/ModemDetection.h"

#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/protocol/Exchanges.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "detection/adapters/NetworkAdapters.h"
#include "detection/processes/ProcessService.h"

namespace {

// The detections of this process in the order they started. A page that gave up leaves its
// worker running and the next attempt starts another, so several may run at once; only the
// newest one's results reach the session. Never destroyed: a worker may outlive static objects.
struct Detections {
    std::mutex mutex;
    std::uint64_t newest = 0;
};

Detections& AllDetections() {
    static Detections* detections = new Detections;
    return *detections;
}

std::uint64_t StartDetection() {
    Detections& all = AllDetections();
    std::lock_guard lock(all.mutex);
    return ++all.newest;
}

// What one detection found, kept apart from the session until it is known to be the newest.
struct Findings {
    char dhcpServerList[kMaxDhcpServers][16] = {};
    int dhcpServerCount = 0;
    char modemIpAddress[16] = {};
    bool modemFound = false;
};

void Pause(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void Step(const DetectionCallbacks& callbacks, const char* step) {
    if (callbacks.onStep) callbacks.onStep(step);
}

// True (after saying so) once a newer detection has started: this one then stops.
bool Superseded(std::uint64_t ticket, const DetectionCallbacks& callbacks) {
    bool superseded;
    {
        Detections& all = AllDetections();
        std::lock_guard lock(all.mutex);
        superseded = ticket != all.newest;
    }
    if (superseded) Step(callbacks, "superseded");
    return superseded;
}

// Writes the findings into the session fields, unless a newer detection has started. Under the
// lock that orders the detections, so that no newer one can start in between.
bool Publish(const Findings& findings, std::uint64_t ticket, SessionFields& fields,
             const DetectionCallbacks& callbacks) {
    {
        Detections& all = AllDetections();
        std::lock_guard lock(all.mutex);
        if (ticket == all.newest) {
            for (int i = 0; i < findings.dhcpServerCount; ++i) {
                CopyText(fields.dhcpServerList[i], TextOf(findings.dhcpServerList[i]));
            }
            fields.dhcpServerCount = findings.dhcpServerCount;
            if (findings.modemFound) {
                std::memset(fields.modemIpAddress, 0, sizeof fields.modemIpAddress);
                CopyText(fields.modemIpAddress, TextOf(findings.modemIpAddress));
                fields.modemFound = 1;
            }
            return true;
        }
    }
    Step(callbacks, "superseded");
    return false;
}

// The DHCP server of every DHCP-enabled adapter, in adapter order, into dhcpServerList. An
// adapter without a server yet costs one more renewal and stays a candidate. False when the
// interfaces could not be renewed or the adapters not read.
bool CollectDhcpServers(Findings& findings, NetworkAdapters& adapters,
                        const DetectionCallbacks& callbacks, bool refusalTold) {
    findings.dhcpServerCount = 0;
    const std::vector<RenewOutcome> outcomes = adapters.RenewAll();
    if (callbacks.onRenewal) callbacks.onRenewal(outcomes);
    const bool refused = AnyRefused(outcomes);
    if (refused) {
        // The user hears of a refusal once per detection.
        if (!refusalTold) Step(callbacks, "not-authorized");
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
        CopyText(findings.dhcpServerList[count++], adapter.dhcpServer);
        // Once refused, the user is not asked again.
        if (adapter.dhcpServer == kNoDhcpServer && !refused) adapters.RenewAll();
    }
    findings.dhcpServerCount = count;
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
    const std::uint64_t ticket = StartDetection();
    ProcessService& processes = *services.processes;

    // Only a helper that cannot be started ends the detection: its exit code, or its death by a
    // signal, says nothing about the network.
    Step(callbacks, "helper");
    const std::string helper = helperDirectory + "/" + kDhcpHelperName;
    const int helperCode = processes.Run({helper}, false);
    if (helperCode == ProcessService::kNotStarted) {
        Step(callbacks, "no-helper");
        return 1;
    }
    const bool refusalTold = helperCode == kDhcpHelperNotAuthorized;
    if (refusalTold) Step(callbacks, "not-authorized");
    if (!services.adapters) {
        Step(callbacks, "renew-failed");
        return 1;
    }
    if (Superseded(ticket, callbacks)) return 1;

    // The system-wide renewal and the release and renewal of every interface are one and the
    // same here; it runs once, with the pauses that let the addresses settle around it.
    Step(callbacks, "renew");
    Pause(timing.settleMs);
    auto findings = std::make_unique<Findings>();
    const bool collected =
        CollectDhcpServers(*findings, *services.adapters, callbacks, refusalTold);
    Pause(timing.settleMs);
    if (!collected) {
        Publish(*findings, ticket, fields, callbacks);
        return 1;
    }
    if (findings->dhcpServerCount < 1) {
        Publish(*findings, ticket, fields, callbacks);
        Step(callbacks, "no-candidates");
        return 1;
    }

    Step(callbacks, "lan-test");
    for (int i = 0; i < findings->dhcpServerCount; ++i) {
        if (Superseded(ticket, callbacks)) return 1;
        const std::string candidate(TextOf(findings->dhcpServerList[i]));
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
            CopyText(findings->modemIpAddress, candidate);
            findings->modemFound = true;
            if (callbacks.onCandidate) callbacks.onCandidate(candidate, CandidateOutcome::Passed);
            return Publish(*findings, ticket, fields, callbacks) ? 0 : 1;
        }
        if (accepted && callbacks.onCandidateFailed) callbacks.onCandidateFailed(candidate);
        if (callbacks.onCandidate) {
            callbacks.onCandidate(
                candidate, accepted ? CandidateOutcome::FailedLanTest : CandidateOutcome::Refused);
        }
    }
    Publish(*findings, ticket, fields, callbacks);
    return 1;
}
