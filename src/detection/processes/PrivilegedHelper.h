#pragma once

#include <memory>
#include <string>

#include "detection/adapters/NetworkAdapters.h"

// The steps an ordinary user may not take alone, and who authorizes them:
// - changing a NetworkManager profile and taking a connection down and up: NetworkManager asks
//   polkit itself (settings.modify.system, network-control), and the desktop's agent asks for a
//   password where the policy wants one;
// - renewing the lease of a dhclient, and starting a DHCP client on a wired interface nothing
//   manages: root is needed outside any service, so the small helper below does them, started
//   through pkexec, which asks polkit for the helper's own action;
// - renewing a systemd-networkd link: systemd-networkd asks polkit itself (its action renew);
// - the neighbour-cache flush: left out for an ordinary user (see DetectModem).
// Reading the adapters, the leases and the profiles needs no authorization. Nothing else runs
// as root: as root, the program does these steps itself.

// The helper's name; it lies beside the wizard and EnableDHCP. It takes one word: "renew"
// (releases and renews every dhclient instance of the system, one "renew NAME RELEASED RENEWED"
// line per interface, and one "notice TEXT" line for each instance or option it left out) or
// "start-dhcp" (what EnableDHCP does for interfaces nothing manages, one line per interface). It
// trusts nothing from its caller but that word.
inline constexpr const char* kPrivilegedHelperName = "setuppilot-network-helper";
// The polkit action of the helper, installed with it.
inline constexpr const char* kPrivilegedHelperAction = "com.orvane.setuppilot.network-helper";

struct HelperRun {
    bool started = false;  // pkexec and the helper could be started
    bool refused = false;  // no authorization was obtained: refused, dismissed or no agent
    int exitCode = -1;
    std::string output;  // the helper's standard output
};

// Runs "pkexec DIRECTORY/HELPER WORD" and waits for it.
HelperRun RunPrivilegedHelper(const std::string& directory, const std::string& word);

// What the helper's "renew" printed: the outcome per interface, every one granted, and the
// notices, each once. Reading stops at the first line of neither kind.
struct HelperRenewReport {
    std::vector<RenewOutcome> outcomes;
    std::vector<std::string> notices;
};
HelperRenewReport ReadHelperRenewOutput(const std::string& output);

// Reads the adapters through inner and renews through the helper: the dhclient service of an
// ordinary user.
class HelperRenewAdapters final : public NetworkAdapters {
public:
    HelperRenewAdapters(std::unique_ptr<NetworkAdapters> inner, std::string directory)
        : inner_(std::move(inner)), directory_(std::move(directory)) {
        // What the inner adapters leave out while reading is told through this object's sink.
        inner_->SetNoticeSink([this](const std::string& text) { Notice(text); });
    }
    std::string_view Backend() const override { return inner_->Backend(); }
    std::string AuthorizationRoute() const override;
    bool List(std::vector<NetworkAdapter>& adapters) override { return inner_->List(adapters); }
    // The helper's notices, too, go to this object's notice sink.
    std::vector<RenewOutcome> RenewAll() override;

private:
    std::unique_ptr<NetworkAdapters> inner_;
    std::string directory_;
};
