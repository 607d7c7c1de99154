#pragma once

#include "detection/processes/ProcessService.h"

// Runs programs for real (the DHCP helper) but never starts the neighbour-cache flush or the
// ping, which would reach outside the test.
class QuietProcesses final : public ProcessService {
public:
    int Run(const std::vector<std::string>& command, bool quiet) override {
        return real_.Run(command, quiet);
    }
    void StartDetached(const std::vector<std::string>&) override {}

private:
    PosixProcessService real_;
};
