#pragma once

#include <functional>
#include <memory>

#include "core/protocol/ExchangeLimits.h"

class NetworkAdapters;
class ProcessService;

// How the three progress pages and their workers run. The program keeps the defaults; tests
// shorten every interval with scale, so that a time-out of 72 s costs well under a second, and
// may give the detection a scripted adapter list.
struct ProgressSettings {
    double scale = 1.0;  // multiplies every timer interval, fill pause and detection pause
    ExchangeLimits limits = kDefaultLimits;
    ExchangeLimits internetTestLimits = kInternetTestLimits;
    // The adapter service of the detection worker; unset: CreateNetworkAdapters. Called on the
    // worker, which owns the result.
    std::function<std::unique_ptr<NetworkAdapters>(ProcessService&)> makeAdapters;
    // The process service of the detection worker; unset: real processes.
    std::function<std::unique_ptr<ProcessService>()> makeProcesses;
};

// The settings in force; pages copy them for their workers when they start.
const ProgressSettings& CurrentProgressSettings();

// One of the pages' intervals in milliseconds under the current scale; at least 1 ms.
int ScaledMs(int ms);

// Installs settings for the lifetime of the object and puts the previous ones back afterwards.
class ScopedProgressSettings {
public:
    explicit ScopedProgressSettings(ProgressSettings settings);
    ~ScopedProgressSettings();
    ScopedProgressSettings(const ScopedProgressSettings&) = delete;
    ScopedProgressSettings& operator=(const ScopedProgressSettings&) = delete;

private:
    ProgressSettings previous_;
};
