#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string_view>

#include "ui/services/MessageBoxService.h"

class QWidget;
class ShellService;
struct WizardSession;

// Every way one page leads to another. The whole chain is laid down in one place
// (InstallWizardFlow in app/WizardFlow.cpp); pages only say which step they take.
enum class WizardStep : std::size_t {
    HomeStart,            // the home page's Start: the first instruction page
    HomeRelanguage,       // a language was chosen: the home page again, in that language
    Guide1Next,           // the second instruction page
    Guide2Next,           // the third instruction page
    Guide3Next,           // the detection page
    ModemDetected,        // the found-modem page, in the detection page's place
    ModemFoundNext,       // the ISP page
    IspNextPppoe,         // the PPP account page for PPPoE
    IspNextPppoa,         // the PPP account page for PPPoA
    IspNextMer,           // the WAN IP page for MER
    IspNextIpoa,          // the WAN IP page for IPoA
    IspNextBridging,      // the wireless page (Bridging asks for no account)
    AccountNext,          // the wireless page, after the PPP or WAN IP page
    WirelessNextApply,    // the apply page: the settings still have to be sent
    WirelessNextApplied,  // the Internet test page: the settings were sent already
    SettingsApplied,      // the Internet test page, in the apply page's place
    InternetWorks,        // the final page, in the Internet test page's place
    Count
};

// Opens a page modally with `owner` as its owner and returns when that page has ended. Pages
// that carry the settings record get a copy of `record` (nullptr for the others).
using PageOpener = std::function<void(QWidget* owner, const WizardSession* record)>;
using WizardFlow = std::array<PageOpener, static_cast<std::size_t>(WizardStep::Count)>;

// What the pages reach outside themselves: the platform services and the page chain. main sets
// the one current context; tests set their own.
struct WizardContext {
    MessageBoxService* messageBox = nullptr;
    ShellService* shell = nullptr;
    WizardFlow flow;

    PageOpener& operator[](WizardStep step) { return flow[static_cast<std::size_t>(step)]; }
};

// The context in force. Pages read it at the moment they need a service.
WizardContext& CurrentContext();

// Shows a message box with the current context's message service, modal to owner; nothing when
// no service is installed.
void ShowMessage(QWidget* owner, std::string_view text, MessageIcon icon);

// Takes a step of the current flow. Every step the wizard takes must have its opener: a missing
// one is a programming error and stops the program.
void OpenStep(WizardStep step, QWidget* owner, const WizardSession* record = nullptr);

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
