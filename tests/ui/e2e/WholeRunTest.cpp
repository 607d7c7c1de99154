// Whole runs of the wizard as a user makes them: Start on the home page, through the instruction
// pages, the detection, the provider and account pages, the wireless page, the apply and Internet
// test pages to the final page, and Exit. Each run talks to its own simulated modem on
// 127.0.0.240-254; the pacing runs fifty times faster and message boxes are recorded.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest/QTest>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "FakeNetworkAdapters.h"
#include "FakeShellService.h"
#include "ModemSim.h"
#include "ProgressTestSupport.h"
#include "RecordingMessageBoxService.h"
#include "SessionBuilders.h"
#include "TestResources.h"
#include "UiDriver.h"
#include "app/WizardFlow.h"
#include "core/session/SessionFields.h"
#include "detection/adapters/NetworkAdapters.h"
#include "ui/account/IspPage.h"
#include "ui/account/PppPage.h"
#include "ui/account/WanIpPage.h"
#include "ui/controls/IpAddressEdit.h"
#include "ui/progress/ProgressSettings.h"
#include "ui/services/MessageBoxService.h"
#include "ui/services/ShellService.h"
#include "ui/wireless/WirelessPage.h"
#include "ui/wizard/HomePage.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"

namespace {

using Values = std::vector<std::pair<int, QString>>;
using Requests = std::vector<std::string>;
using I = CIspPage;
using P = CPppPage;
using W = CWanIpPage;
using L = CWirelessPage;

const std::string kLanTest = "connectiontest.wzd?method=lanconnection&device=HX4260RB";
const std::string kWirelessRead = "wl.wzd?method=get";
const std::string kInternetTest = "connectiontest.wzd?method=wanconnection&timeout=100";
const std::string kWan = "wancfg.wzd?method=set&edit=";
const std::string kWireless = "wl.wzd?method=set&wlSsid=";

// Sets controls as the user would: a list entry by position (with its change notification),
// typed text, an address, or a click on a box or radio that is not yet checked.
void Set(CWizardPage& page, const Values& values) {
    for (const auto& [id, value] : values) {
        QWidget* control = page.Control(id);
        ASSERT_NE(control, nullptr) << id;
        if (auto* list = qobject_cast<QComboBox*>(control)) {
            list->setCurrentIndex(value.toInt());
            emit list->activated(value.toInt());
        } else if (auto* address = qobject_cast<IpAddressEdit*>(control)) {
            address->setText(value);
        } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->clear();
            QTest::keyClicks(edit, value);
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            if (!button->isChecked()) button->click();
        }
    }
}

PageScript::Action Click(int id) {
    return [id](CWizardPage& top) { qobject_cast<QAbstractButton*>(top.Control(id))->click(); };
}

PageScript::Action Fill(Values values, int thenClick = kIdNext) {
    return [values = std::move(values), thenClick](CWizardPage& top) {
        Set(top, values);
        Click(thenClick)(top);
    };
}

class WholeRun : public ::testing::Test {
protected:
    WholeRun() {
        folder.AddLanguage(QStringLiteral("English"), QSize(600, 560), QColor(40, 80, 120));
        WriteDhcpHelper("exit 0");
        WizardContext wizard;
        wizard.messageBox = &boxes;
        wizard.shell = &shell;
        InstallWizardFlow(wizard);
        context.emplace(std::move(wizard));
        settings.emplace(QuickProgressSettings());
    }
    ~WholeRun() override { unsetenv(kSimulatedModemVariable); }

    // A fresh program run against a fresh modem at address: nothing remembered, no outcome.
    ModemSim& FreshRun(const std::string& address) {
        EXPECT_TRUE(WaitForWorkers(10000));
        FreshSession();
        boxes.Clear();
        modem = std::make_unique<ModemSim>(address);
        std::string error;
        EXPECT_TRUE(modem->Start(&error)) << error;
        setenv(kSimulatedModemVariable, address.c_str(), 1);
        return *modem;
    }

    // The run from the home page to the ISP page, then steps, then Exit on the final page.
    // True when every step ran in time and Exit ended the home page's modal run.
    bool Run(const std::function<void(PageScript&)>& steps) {
        PageScript script(15000);
        script.When("CHomePage", Click(CHomePage::kIdStart))
            .When("CGuidePage1", Click(kIdNext))
            .When("CGuidePage2", Click(kIdNext))
            .When("CGuidePage3", Click(kIdNext))
            .When("CModemFoundPage", Click(kIdNext));
        steps(script);
        script.When("CFinishPage", Click(kIdExit));
        script.Start();
        CHomePage home(ResourcePath("home.bmp"), nullptr);
        const int result = home.DoModal();
        shown = script.Shown();
        std::erase(shown, "CWizardPage");
        return script.Finished() && result == QDialog::Accepted && UiDriver::TopPage() == nullptr;
    }

    ScratchFolder folder;
    RecordingMessageBoxService boxes;
    FakeShellService shell;
    std::optional<ScopedWizardContext> context;
    std::optional<ScopedProgressSettings> settings;
    std::unique_ptr<ModemSim> modem;
    std::vector<std::string> shown;
};

const std::vector<std::string> kPages{"CHomePage",         "CGuidePage1",   "CGuidePage2",
                                      "CGuidePage3",       "CDetectPage",   "CModemFoundPage",
                                      "CIspPage",          "CWirelessPage", "CApplyPage",
                                      "CInternetTestPage", "CFinishPage"};

struct Row {
    const char* name;
    Values isp;
    const char* accountPage;  // nullptr: Bridging goes straight to the wireless page
    Values account;
    std::optional<WirelessState> modemHas;  // what the modem reports to the wireless page
    Values wirelessEntries;
    std::string wan;       // the bytes of the WAN request
    std::string wireless;  // and of the wireless request
};

// The country "Other" leaves the protocol, encapsulation, VPI and VCI to the user.
Values Isp(int protocol, int encapsulation, const char* vpi, const char* vci) {
    return {{I::kIdCountry, "0"},
            {I::kIdProtocol, QString::number(protocol)},
            {I::kIdEncapsulation, QString::number(encapsulation)},
            {I::kIdVpi, vpi},
            {I::kIdVci, vci}};
}

TEST_F(WholeRun, EveryProtocolAndSecurityModeReachesTheModemByteForByte) {
    const Row rows[] = {
        {"PPPoE with service name, WPA-PSK",
         {{I::kIdCountry, "29"}},  // Russia: "Stream", PPPoE LLC/SNAP-BRIDGING 1/50
         "CPppPage",
         {{P::kIdUserName, "anna@stream"},
          {P::kIdPassword, "p ss=1"},
          {P::kIdServiceNameBox, "1"},
          {P::kIdServiceName, "STREAM"}},
         std::nullopt,
         {{L::kIdSsid, "Anna"},
          {L::kIdChannelList, "6"},
          {L::kIdAuthList, "3"},
          {L::kIdWpaKey, "correct horse battery"}},
         kWan + "0&ntwkPrtcl=0&encapMode=0&atmVpi=1&atmVci=50&pppUserName=anna@stream"
                "&pppPassword=p ss=1&pppServerName=STREAM",
         kWireless + "Anna&wlChannel=6&wlAuthMode=psk2mix&wlWpaPsk=correct horse battery"},
        {"PPPoA, WEP 64bit",
         Isp(1, 1, "0", "67"),
         "CPppPage",
         {{P::kIdUserName, "dora"}, {P::kIdPassword, "letmein"}},
         std::nullopt,
         {{L::kIdSsid, "Dora"},
          {L::kIdChannelList, "1"},
          {L::kIdAuthList, "2"},
          {L::kIdKeyList, "3"},
          {L::kIdFirstKey, "abcde"},
          {L::kIdFirstKey + 3, "12345"}},
         kWan + "0&ntwkPrtcl=1&encapMode=1&atmVpi=0&atmVci=67&pppUserName=dora"
                "&pppPassword=letmein",
         kWireless + "Dora&wlChannel=1&wlAuthMode=shared&wlKeyBit=1&wlKeyIndex=4&wlKey1=abcde"
                     "&wlKey2=&wlKey3=&wlKey4=12345"},
        {"MER, every address fixed, WPA-PSK",
         Isp(2, 1, "0", "100"),
         "CWanIpPage",
         {{W::kIdIpFixed, "1"},
          {W::kIdIpAddress, "10.0.0.2"},
          {W::kIdSubnetMask, "255.255.255.0"},
          {W::kIdGatewayFixed, "1"},
          {W::kIdGateway, "10.0.0.1"},
          {W::kIdDnsFixed, "1"},
          {W::kIdDnsPrimary, "10.0.0.53"},
          {W::kIdDnsSecondary, "9.9.9.9"}},
         std::nullopt,
         {{L::kIdSsid, "Fritz"},
          {L::kIdChannelList, "13"},
          {L::kIdAuthList, "3"},
          {L::kIdWpaKey, "12345678"}},
         kWan + "0&ntwkPrtcl=2&encapMode=1&atmVpi=0&atmVci=100&enblDhcpClnt=0"
                "&wanIpAddress=10.0.0.2&wanSubnetMask=255.255.255.0&enblAuto=0"
                "&defaultGateway=10.0.0.1&dnsDynamic=0&dnsPrimary=10.0.0.53"
                "&dnsSecondary=9.9.9.9",
         kWireless + "Fritz&wlChannel=13&wlAuthMode=psk2mix&wlWpaPsk=12345678"},
        {"IPoA, fixed address and DNS, WEP 128bit",
         Isp(4, 0, "0", "35"),
         "CWanIpPage",
         {{W::kIdIpAddress, "62.1.1.9"},
          {W::kIdSubnetMask, "255.255.255.252"},
          {W::kIdDnsFixed, "1"},
          {W::kIdDnsPrimary, "62.1.0.1"}},
         std::nullopt,
         {{L::kIdSsid, "Gina"},
          {L::kIdAuthList, "1"},
          {L::kIdKeyList, "0"},
          {L::kIdFirstKey, "ABCDEF0123456"}},
         kWan + "0&ntwkPrtcl=5&encapMode=0&atmVpi=0&atmVci=35&enblDhcpClnt=0"
                "&wanIpAddress=62.1.1.9&wanSubnetMask=255.255.255.252&enblAuto=1&dnsDynamic=0"
                "&dnsPrimary=62.1.0.1&dnsSecondary=0.0.0.0",
         kWireless + "Gina&wlChannel=0&wlAuthMode=shared&wlKeyBit=0&wlKeyIndex=1"
                     "&wlKey1=ABCDEF0123456&wlKey2=&wlKey3=&wlKey4="},
        // The network name and channel as the modem reported them.
        {"Bridging, WEP 64bit",
         Isp(3, 1, "255", "65535"),
         nullptr,
         {},
         WirelessState{"Cafe Net", 11, "open", {}, 1},
         {{L::kIdAuthList, "2"}, {L::kIdKeyList, "2"}, {L::kIdFirstKey + 2, "h-u-g"}},
         kWan + "0&ntwkPrtcl=3&encapMode=1&atmVpi=255&atmVci=65535",
         kWireless + "Cafe Net&wlChannel=11&wlAuthMode=shared&wlKeyBit=1&wlKeyIndex=3&wlKey1="
                     "&wlKey2=&wlKey3=h-u-g&wlKey4="},
    };
    int host = 240;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ModemSim& sim = FreshRun("127.0.0." + std::to_string(host++));
        if (row.modemHas) sim.SetWireless(*row.modemHas);
        const bool ended = Run([&row](PageScript& script) {
            script.When("CIspPage", Fill(row.isp));
            if (row.accountPage) script.When(row.accountPage, Fill(row.account));
            script.When("CWirelessPage", Fill(row.wirelessEntries));
        });
        EXPECT_TRUE(ended);
        std::vector<std::string> pages = kPages;
        if (row.accountPage) pages.insert(pages.begin() + 7, row.accountPage);
        EXPECT_EQ(shown, pages);
        EXPECT_TRUE(boxes.Entries().empty());
        EXPECT_EQ(sim.Requests(),
                  (Requests{kLanTest, kWirelessRead, row.wan, row.wireless, kInternetTest}));
    }
}

// A failed Internet test unwinds to the first instruction page. Going through the pages again
// brings back every entry, the PPP page's ticked boxes and fixed address included, so the second
// request carries the same settings as the first.
TEST_F(WholeRun, AfterAFailedTestTheSecondRequestCarriesTheSameSettings) {
    ModemSim& sim = FreshRun("127.0.0.252");
    sim.SetInternetCode(3);  // the ADSL line test fails
    std::string pppOnReturn;
    const bool ended = Run([&](PageScript& script) {
        script.When("CIspPage", Fill(Isp(0, 0, "8", "35")))
            .When("CPppPage", Fill({{P::kIdUserName, "anna"},
                                    {P::kIdPassword, "secret"},
                                    {P::kIdServiceNameBox, "1"},
                                    {P::kIdServiceName, "STREAM"},
                                    {P::kIdStaticIpBox, "1"},
                                    {P::kIdStaticIp, "81.2.3.4"}}))
            .When("CWirelessPage", Fill({{L::kIdSsid, "Anna"}}));
        for (const char* page : {"CGuidePage1", "CGuidePage2", "CGuidePage3", "CModemFoundPage"}) {
            script.When(page, Click(kIdNext));
        }
        script
            .When("CIspPage",
                  [&](CWizardPage& top) {
                      sim.SetInternetCode(6);
                      Click(kIdNext)(top);
                  })
            .When("CPppPage",
                  [&](CWizardPage& top) {
                      for (auto [box, field] : {std::pair{P::kIdServiceNameBox, P::kIdServiceName},
                                                std::pair{P::kIdStaticIpBox, P::kIdStaticIp}}) {
                          const auto* tick = qobject_cast<QAbstractButton*>(top.Control(box));
                          pppOnReturn += tick != nullptr && tick->isChecked() ? "ticked" : "clear";
                          pppOnReturn += top.Control(field)->isVisible() ? " shown;" : " hidden;";
                      }
                      Click(kIdNext)(top);
                  })
            .When("CWirelessPage", Click(kIdNext));
    });
    EXPECT_TRUE(ended);
    EXPECT_EQ(pppOnReturn, "ticked shown;ticked shown;");
    ASSERT_EQ(boxes.Entries().size(), 1u);
    EXPECT_EQ(boxes.Entries()[0].text, Session().msgDslFailed);
    const std::string entries =
        "&ntwkPrtcl=0&encapMode=0&atmVpi=8&atmVci=35&pppUserName=anna&pppPassword=secret"
        "&pppServerName=STREAM&useStaticIpAddress=1&pppLocalIpAddress=81.2.3.4";
    const std::string wireless = kWireless + "Anna&wlChannel=0&wlAuthMode=open";
    EXPECT_EQ(sim.Requests(),
              (Requests{kLanTest, kWirelessRead, kWan + "0" + entries, wireless, kInternetTest,
                        kLanTest, kWan + "1" + entries, wireless, kInternetTest}));
    EXPECT_EQ(shown.back(), "CFinishPage");
}

// A failed apply brings the wireless page back; once the modem takes requests again, Next
// applies again (edit=1 only when the modem had accepted the WAN request) and the run goes on to
// the Internet test and the final page.
TEST_F(WholeRun, FailedApplyReturnsToTheWirelessPageAndNextAppliesAgain) {
    struct Case {
        const char* name;
        std::function<void(ModemSim&)> fail;
        std::function<void(ModemSim&)> mend;
        Requests between;  // after the failed WAN request, before the second one
        const char* edit;  // of the second WAN request
    };
    const std::string wan = "&ntwkPrtcl=3&encapMode=0&atmVpi=8&atmVci=35";
    const std::string wireless = kWireless + "Ivo&wlChannel=0&wlAuthMode=open";
    const Case cases[] = {
        {"WAN request refused",
         [](ModemSim& m) { m.ForceWanReason(7); },
         [](ModemSim& m) { m.ForceWanReason(std::nullopt); },
         {},
         "0"},
        {"wireless request failed",
         [](ModemSim& m) {
             m.SetFault(RequestKind::WirelessSet, {FaultMode::CloseAtOnce, 0});
         },
         [](ModemSim& m) { m.SetFault(RequestKind::WirelessSet, {}); },
         {wireless},
         "1"},
    };
    int host = 250;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModemSim& sim = FreshRun("127.0.0." + std::to_string(host++));
        c.fail(sim);
        bool backOnWireless = false;
        const bool ended = Run([&](PageScript& script) {
            script.When("CIspPage", Fill(Isp(3, 0, "8", "35")))
                .When("CWirelessPage", Fill({{L::kIdSsid, "Ivo"}}))
                .When("CWirelessPage", [&](CWizardPage& top) {
                    backOnWireless = true;
                    c.mend(sim);
                    Click(kIdNext)(top);
                });
        });
        EXPECT_TRUE(ended);
        EXPECT_TRUE(backOnWireless);
        ASSERT_EQ(boxes.Entries().size(), 1u);
        EXPECT_EQ(boxes.Entries()[0].text, Session().msgWriteFailed);
        EXPECT_EQ(boxes.Entries()[0].icon, MessageIcon::Exclamation);
        Requests expected{kLanTest, kWirelessRead, kWan + "0" + wan};
        expected.insert(expected.end(), c.between.begin(), c.between.end());
        expected.insert(expected.end(), {kWan + c.edit + wan, wireless, kInternetTest});
        EXPECT_EQ(sim.Requests(), expected);
        EXPECT_EQ(shown.back(), "CFinishPage");
    }
}

}  // namespace
