#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "QuietProcesses.h"
#include "UiDriver.h"
#include "ui/progress/ProgressSettings.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardPage.h"

// The progress scripts are the driver's When and OnShow steps.
using PageScript = UiDriver;

// A plain page that remembers the wParam of every WM_WIZARD_RESHOW it receives.
class StandInPage final : public CWizardPage {
public:
    explicit StandInPage(QWidget* owner)
        : CWizardPage(kTemplateGuide1, ResourcePath("install01.bmp"), owner) {}
    long OnWizardReshow(std::uintptr_t wParam) override {
        reshows.push_back(wParam);
        return CWizardPage::OnWizardReshow(wParam);
    }
    std::vector<std::uintptr_t> reshows;
};

// Runs depth stand-in pages, each modal on the one before, and calls leaf on the top one once it
// shows. Returns when the bottom page has ended; the pages stay in pages.
void RunStack(std::vector<std::unique_ptr<StandInPage>>& pages, int depth,
              const std::function<void(CWizardPage& top)>& leaf);
// Destroys the pages top first: each page is its owner's child and would go with it.
inline void DestroyStack(std::vector<std::unique_ptr<StandInPage>>& pages) {
    while (!pages.empty()) pages.pop_back();
}

// The pacing fifty times faster, short exchange limits, never the system's adapters (the
// simulated modem's when the detection is pointed at one, else none) and quiet processes.
ProgressSettings QuickProgressSettings();
// Processes events until every worker thread has ended; false after timeoutMs.
bool WaitForWorkers(int timeoutMs);
// Puts the outcomes of detection, apply and test back to their initial values.
void ResetSessionOutcomes();
// Writes the DHCP helper into the current directory as a shell script with this body.
void WriteDhcpHelper(const std::string& body);
