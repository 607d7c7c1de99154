#pragma once

#include <functional>

class CWizardPage;
class MessageBoxService;
class ShellService;
struct WizardSession;

// Opens the page that follows `owner` modally, with `owner` as its owner, and returns when that
// page has ended.
using PageOpener = std::function<void(CWizardPage& owner)>;
// The same for the pages that receive a copy of the owner's settings record.
using RecordPageOpener = std::function<void(CWizardPage& owner, const WizardSession& record)>;

// What the pages reach outside themselves: the platform services and the successors that are
// plugged in from outside the shell. main sets the one current context; tests set their own.
struct WizardContext {
    MessageBoxService* messageBox = nullptr;
    ShellService* shell = nullptr;
    // Successor of CGuidePage3 (the detection page). Unset: CModemFoundPage opens directly.
    PageOpener openDetection;
    // Successor of CModemFoundPage (the ISP page). Unset: Next does nothing.
    PageOpener openIsp;
    // The wireless page, opened by the ISP page (Bridging), the PPP page and the WAN IP page.
    RecordPageOpener openWireless;
    // The wireless page's successors: the apply page (settings to send) and the Internet test
    // page (settings already applied). Unset: Next does nothing.
    RecordPageOpener openApply;
    PageOpener openInternetTest;
};

// The context in force. Pages read it at the moment they need a service.
WizardContext& CurrentContext();

// Installs a context for the lifetime of the object and puts the previous one back afterwards.
class ScopedWizardContext {
public:
    explicit ScopedWizardContext(WizardContext context);
    ~ScopedWizardContext();
    ScopedWizardContext(const ScopedWizardContext&) = delete;
    ScopedWizardContext& operator=(const ScopedWizardContext&) = delete;

private:
    WizardContext previous_;
};
