#pragma once

#include <functional>
#include <string>
#include <vector>

#include "detection/adapters/NetworkAdapters.h"

// A scripted adapter list for tests: answers from its fields and counts the calls. onRenew, when
// set, runs at every RenewAll and may change the adapters (as a real renewal brings a lease).
class FakeNetworkAdapters final : public NetworkAdapters {
public:
    std::string_view Backend() const override { return "fake"; }
    bool List(std::vector<NetworkAdapter>& out) override {
        ++listCalls;
        if (!listOk) return false;
        out = adapters;
        return true;
    }
    std::vector<RenewOutcome> RenewAll() override {
        ++renewCalls;
        if (onRenew) onRenew(*this);
        return outcomes;
    }

    std::vector<NetworkAdapter> adapters;
    bool listOk = true;
    std::vector<RenewOutcome> outcomes{{"eth0", true, true}};
    std::function<void(FakeNetworkAdapters&)> onRenew;
    int listCalls = 0;
    int renewCalls = 0;
};
