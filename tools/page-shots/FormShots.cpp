// The pages a person fills in or reads, each shown over nothing and saved once it is visible.
#include <QAbstractButton>
#include <QLineEdit>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FakeShellService.h"
#include "PageShots.h"
#include "RecordingMessageBoxService.h"
#include "UiDriver.h"
#include "app/WizardFlow.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "ui/account/IspPage.h"
#include "ui/account/PppPage.h"
#include "ui/account/WanIpPage.h"
#include "ui/controls/IpAddressEdit.h"
#include "ui/services/MessageBoxService.h"
#include "ui/services/ShellService.h"
#include "ui/wireless/WirelessPage.h"
#include "ui/wizard/FinishPage.h"
#include "ui/wizard/HomePage.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"

namespace {

// Runs page modally: once it shows, prepare runs on it, it is saved as folder/name.png and closed.
// Returns the pictures lost (0 or 1).
int ShootPage(CWizardPage& page, const QString& folder, const QString& name,
              const UiDriver::Action& prepare = {}) {
    bool saved = false;
    UiDriver driver;
    driver.Then([&](CWizardPage& top) {
        if (prepare) prepare(top);
        saved = UiDriver::SavePage(top, folder, name);
        top.OnClose();
    });
    driver.Start();
    page.DoModal();
    return saved && driver.AllActionsRan() && !driver.TimedOut() ? 0 : 1;
}

// Checks a box or radio button as a click would, or types into an edit or address control.
void Set(CWizardPage& page, int id, const QString& value) {
    QWidget* control = page.Control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setText(value);
    if (auto* address = qobject_cast<IpAddressEdit*>(control)) address->setText(value);
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (button != nullptr && !button->isChecked()) button->click();
}

int ShootAccountPages(const QString& folder) {
    int lost = 0;
    CIspPage isp(ResourcePath("install06.bmp"), nullptr);
    lost += ShootPage(isp, folder, QStringLiteral("isp"));

    CPppPage pppoe(ResourcePath("install07.bmp"), 1, nullptr);
    lost += ShootPage(pppoe, folder, QStringLiteral("ppp_pppoe"), [](CWizardPage& page) {
        Set(page, CPppPage::kIdServiceNameBox, QStringLiteral("1"));
        Set(page, CPppPage::kIdStaticIpBox, QStringLiteral("1"));
    });
    CPppPage pppoa(ResourcePath("install07_pppoa.bmp"), 0, nullptr);
    lost += ShootPage(pppoa, folder, QStringLiteral("ppp_pppoa"), [](CWizardPage& page) {
        Set(page, CPppPage::kIdStaticIpBox, QStringLiteral("1"));
    });

    CWanIpPage mer(ResourcePath("install07_mer.bmp"), 1, nullptr);
    lost += ShootPage(mer, folder, QStringLiteral("wan_mer"), [](CWizardPage& page) {
        for (int id :
             {CWanIpPage::kIdIpFixed, CWanIpPage::kIdGatewayFixed, CWanIpPage::kIdDnsFixed}) {
            Set(page, id, QStringLiteral("1"));
        }
        Set(page, CWanIpPage::kIdIpAddress, QStringLiteral("192.168.1.10"));
    });
    CWanIpPage ipoa(ResourcePath("install07_mer.bmp"), 0, nullptr);
    lost += ShootPage(ipoa, folder, QStringLiteral("wan_ipoa"));
    return lost;
}

// The wireless page in each security mode, from entries an earlier visit left, so that it does
// not ask a modem.
int ShootWirelessPages(const QString& folder) {
    const struct {
        const char* mode;
        const char* key;
        const char* name;
    } modes[] = {
        {"open", "", "none"},
        {"WEP128", "a1b2c3d4e5f60", "wep128"},
        {"WEP64", "a1b2c", "wep64"},
        {"WPA", "correct horse battery", "wpa"},
    };
    SessionFields& s = Session();
    int lost = 0;
    for (const auto& m : modes) {
        CopyText(s.wlAuthModeSaved, m.mode);
        CopyText(s.wlSsidSaved, "Orvane-4260");
        CopyText(s.wlChannelSaved, "6");
        CopyText(s.wlKey1Saved, m.key);
        for (char* key : {s.wlKey2Saved, s.wlKey3Saved, s.wlKey4Saved}) {
            CopyText(key, kRememberedSize, "");
        }
        CopyText(s.wlKeyIndexSaved, "1");
        CWirelessPage page(ResourcePath("install08.bmp"), nullptr);
        page.SetRecord({});
        lost += ShootPage(page, folder, QStringLiteral("wireless_") + QLatin1String(m.name));
    }
    return lost;
}

}  // namespace

int ShootWalk(const QString& folder) {
    RecordingMessageBoxService boxes;
    FakeShellService shell;
    shell.defaultResult = kShellOk;
    WizardContext wizard{&boxes, &shell, {}};
    InstallWizardFlow(wizard);
    // The progress pages have their own pictures: here the modem is found at once.
    wizard[WizardStep::Guide3Next] = wizard[WizardStep::ModemDetected];
    ScopedWizardContext context(std::move(wizard));

    UiDriver walk;
    walk.Screenshot(folder, QStringLiteral("home"))
        .Click(CHomePage::kIdStart)
        .Screenshot(folder, QStringLiteral("guide1"))
        .Click(kIdNext)
        .Screenshot(folder, QStringLiteral("guide2"))
        .Click(kIdNext)
        .Screenshot(folder, QStringLiteral("guide3"))
        .Click(kIdNext)
        .Screenshot(folder, QStringLiteral("modem_found"))
        .Click(kIdExit);
    walk.Start();
    CHomePage home(ResourcePath("home.bmp"), nullptr);
    home.DoModal();
    const int walkLost = walk.AllActionsRan() && !walk.TimedOut() ? 0 : 1;

    CFinishPage finish(ResourcePath("install11.bmp"), nullptr);
    return walkLost + ShootPage(finish, folder, QStringLiteral("finish"));
}

int ShootFormPages(const QString& folder) {
    RecordingMessageBoxService boxes;
    ScopedWizardContext context(WizardContext{&boxes, nullptr, {}});
    return ShootAccountPages(folder) + ShootWirelessPages(folder);
}
