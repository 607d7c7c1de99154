#include "ProgressTestSupport.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#include <fstream>

#include "FakeNetworkAdapters.h"
#include "core/session/SessionFields.h"
#include "core/worker/WorkerThread.h"
#include "detection/ModemDetection.h"
#include "detection/adapters/NetworkAdapters.h"

void RunStack(std::vector<std::unique_ptr<StandInPage>>& pages, int depth,
              const std::function<void(CWizardPage&)>& leaf) {
    pages.push_back(std::make_unique<StandInPage>(pages.empty() ? nullptr : pages.back().get()));
    StandInPage& page = *pages.back();
    QTimer::singleShot(0, &page, [&pages, &page, depth, &leaf] {
        if (static_cast<int>(pages.size()) < depth) return RunStack(pages, depth, leaf);
        leaf(page);
    });
    page.DoModal();
}

ProgressSettings QuickProgressSettings() {
    ProgressSettings quick;
    quick.scale = 0.02;
    quick.limits = {300, 300, 400};
    quick.internetTestLimits = {300, 300, 4000};
    quick.makeAdapters = [](ProcessService& processes) -> std::unique_ptr<NetworkAdapters> {
        if (std::getenv(kSimulatedModemVariable)) return CreateNetworkAdapters(processes);
        return std::make_unique<FakeNetworkAdapters>();
    };
    quick.makeProcesses = [] { return std::make_unique<QuietProcesses>(); };
    return quick;
}

bool WaitForWorkers(int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (WorkerThread::Running() > 0) {
        if (clock.elapsed() > timeoutMs) return false;
        // A detection worker may be waiting for the UI thread to show its box.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

void ResetSessionOutcomes() {
    SessionFields& fields = Session();
    fields.modemFound = 0;
    fields.internetConnected = 0;
    fields.applyFinished = 0;
    fields.wanConnectionCreated = 0;
    fields.dhcpServerCount = 0;
    std::fill(std::begin(fields.modemIpAddress), std::end(fields.modemIpAddress), '\0');
}

void WriteDhcpHelper(const std::string& body) {
    const std::string path = CurrentDirectory() + "/" + kDhcpHelperName;
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0755);
}
