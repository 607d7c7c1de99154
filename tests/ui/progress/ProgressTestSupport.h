#pragma once

#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "detection/processes/ProcessService.h"
#include "ui/wizard/WizardPage.h"

// Runs actions on the top page as it comes: each step waits until the page on top is the one it
// names, runs, and the next step waits for its own page. Also records every wizard page shown,
// in order. After the watchdog every open page is closed so that a stuck case cannot hang.
class PageScript final : public QObject {
public:
    using Action = std::function<void(CWizardPage& top)>;
    using Match = std::function<bool(CWizardPage& top)>;

    explicit PageScript(int watchdogMs = 20000);
    ~PageScript() override;

    PageScript& When(std::string pageClass, Action action);
    PageScript& When(Match match, Action action);
    // Runs action on every page of this class as it is shown, before its first timer tick.
    PageScript& OnShow(std::string pageClass, Action action);
    void Start();

    bool Finished() const { return steps_.empty() && !timedOut_; }
    const std::vector<std::string>& Shown() const { return shown_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Step {
        std::function<bool(CWizardPage&)> match;
        Action action;
    };
    void Poll();
    void Abandon();

    std::deque<Step> steps_;
    std::vector<std::pair<std::string, Action>> onShow_;
    std::vector<std::string> shown_;
    int watchdogMs_;
    bool timedOut_ = false;
};

// A plain page that remembers the wParam of every WM_WIZARD_RESHOW it receives.
class StandInPage final : public CWizardPage {
public:
    explicit StandInPage(QWidget* owner);
    long OnWizardReshow(std::uintptr_t wParam) override;
    std::vector<std::uintptr_t> reshows;
};

// Runs depth stand-in pages, each modal on the one before, and calls leaf on the top one once it
// shows. Returns when the bottom page has ended; the pages stay in pages.
void RunStack(std::vector<std::unique_ptr<StandInPage>>& pages, int depth,
              const std::function<void(CWizardPage& top)>& leaf);

// Destroys the pages top first: each page is its owner's child and would go with it.
void DestroyStack(std::vector<std::unique_ptr<StandInPage>>& pages);

// Runs programs for real (the DHCP helper) but never starts the neighbour-cache flush or the
// ping, which would reach outside the test.
class QuietProcesses final : public ProcessService {
public:
    int Run(const std::vector<std::string>& command, bool quiet) override;
    void StartDetached(const std::vector<std::string>&) override {}

private:
    PosixProcessService real_;
};

// Processes events until every worker thread has ended; false after timeoutMs.
bool WaitForWorkers(int timeoutMs);
// Puts the outcomes of detection, apply and test back to their initial values.
void ResetSessionOutcomes();
// Writes the DHCP helper into the current directory as a shell script with this body.
void WriteDhcpHelper(const std::string& body);
