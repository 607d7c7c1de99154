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
#include <optional>
#include <string>

#include "ModemSim.h"
#include "ProgressTestSupport.h"
#include "RecordingMessageBoxService.h"
#include "SessionBuilders.h"
#include "TestResources.h"
#include "app/WizardFlow.h"
#include "core/session/SessionFields.h"
#include "detection/adapters/NetworkAdapters.h"
#include "ui/account/IspPage.h"
#include "ui/account/PppPage.h"
#include "ui/account/WanIpPage.h"
#include "ui/controls/IpAddressEdit.h"
#include "ui/wireless/WirelessPage.h"
#include "ui/wizard/HomePage.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"

namespace {

using Values = std::vector<std::pair<int, QString>>;
using Names = std::vector<std::string>;
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
// typed text, an address, or a click on a box or radio that is not yet checked; then Next.
PageScript::Action Fill(Values values) {
    return [values = std::move(values)](CWizardPage& page) {
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
        qobject_cast<QAbstractButton*>(page.Control(kIdNext))->click();
    };
}

PageScript::Action Click(int id) {
    return [id](CWizardPage& top) { qobject_cast<QAbstractButton*>(top.Control(id))->click(); };
}

// The country "Other" leaves the protocol, encapsulation, VPI and VCI to the user.
Values Isp(int protocol, int encapsulation, const char* vpi, const char* vci) {
    return {{I::kIdCountry, "0"},
            {I::kIdProtocol, QString::number(protocol)},
            {I::kIdEncapsulation, QString::number(encapsulation)},
            {I::kIdVpi, vpi},
            {I::kIdVci, vci}};
}

// The entries of the wireless page for WPA-PSK.
Values Wpa(const char* ssid, const char* channel, const char* key) {
    return {{L::kIdSsid, ssid},
            {L::kIdChannelList, channel},
            {L::kIdAuthList, "3"},
            {L::kIdWpaKey, key}};
}

TEST(WholeRun, EveryProtocolAndSecurityModeReachesTheModemByteForByte) {
    const struct {
        const char* name;
        Values isp;
        const char* accountPage;  // nullptr: Bridging goes straight to the wireless page
        Values account;
        Values wirelessEntries;
        std::string wan;       // the bytes of the WAN request after its edit flag
        std::string wireless;  // and of the wireless request
        std::optional<WirelessState> modemHas = std::nullopt;  // read by the wireless page
        bool failsFirst = false;  // the modem's first Internet test fails (ADSL line)
    } rows[] = {
        // The line test fails once: back on the first instruction page, every entry comes back,
        // the PPP page's ticked boxes included, so Next alone sends the same settings again.
        {"PPPoE with service name and fixed address, WPA-PSK, first test failed",
         {{I::kIdCountry, "29"}},  // Russia: "Stream", PPPoE LLC/SNAP-BRIDGING 1/50
         "CPppPage",
         {{P::kIdUserName, "anna@stream"},
          {P::kIdPassword, "p ss=1"},
          {P::kIdServiceNameBox, "1"},
          {P::kIdServiceName, "STREAM"},
          {P::kIdStaticIpBox, "1"},
          {P::kIdStaticIp, "81.2.3.4"}},
         Wpa("Anna", "6", "correct horse battery"),
         "&ntwkPrtcl=0&encapMode=0&atmVpi=1&atmVci=50&pppUserName=anna@stream"
         "&pppPassword=p ss=1&pppServerName=STREAM&useStaticIpAddress=1"
         "&pppLocalIpAddress=81.2.3.4",
         kWireless + "Anna&wlChannel=6&wlAuthMode=psk2mix&wlWpaPsk=correct horse battery",
         std::nullopt,
         true},
        {"PPPoA, WEP 64bit",
         Isp(1, 1, "0", "67"),
         "CPppPage",
         {{P::kIdUserName, "dora"}, {P::kIdPassword, "letmein"}},
         {{L::kIdSsid, "Dora"},
          {L::kIdChannelList, "1"},
          {L::kIdAuthList, "2"},
          {L::kIdKeyList, "3"},
          {L::kIdFirstKey, "abcde"},
          {L::kIdFirstKey + 3, "12345"}},
         "&ntwkPrtcl=1&encapMode=1&atmVpi=0&atmVci=67&pppUserName=dora"
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
         Wpa("Fritz", "13", "12345678"),
         "&ntwkPrtcl=2&encapMode=1&atmVpi=0&atmVci=100&enblDhcpClnt=0"
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
         {{L::kIdSsid, "Gina"},
          {L::kIdAuthList, "1"},
          {L::kIdKeyList, "0"},
          {L::kIdFirstKey, "ABCDEF0123456"}},
         "&ntwkPrtcl=5&encapMode=0&atmVpi=0&atmVci=35&enblDhcpClnt=0"
         "&wanIpAddress=62.1.1.9&wanSubnetMask=255.255.255.252&enblAuto=1&dnsDynamic=0"
         "&dnsPrimary=62.1.0.1&dnsSecondary=0.0.0.0",
         kWireless + "Gina&wlChannel=0&wlAuthMode=shared&wlKeyBit=0&wlKeyIndex=1"
                     "&wlKey1=ABCDEF0123456&wlKey2=&wlKey3=&wlKey4="},
        // The network name and channel as the modem reported them.
        {"Bridging, WEP 64bit",
         Isp(3, 1, "255", "65535"),
         nullptr,
         {},
         {{L::kIdAuthList, "2"}, {L::kIdKeyList, "2"}, {L::kIdFirstKey + 2, "h-u-g"}},
         "&ntwkPrtcl=3&encapMode=1&atmVpi=255&atmVci=65535",
         kWireless + "Cafe Net&wlChannel=11&wlAuthMode=shared&wlKeyBit=1&wlKeyIndex=3&wlKey1="
                     "&wlKey2=&wlKey3=h-u-g&wlKey4=",
         WirelessState{"Cafe Net", 11, "open", {}, 1}},
    };
    ScratchFolder folder;
    folder.AddLanguage(QStringLiteral("English"), QSize(600, 560), QColor(40, 80, 120));
    WriteDhcpHelper("exit 0");
    RecordingMessageBoxService boxes;
    WizardContext wizard;
    wizard.messageBox = &boxes;
    InstallWizardFlow(wizard);
    ScopedWizardContext context(std::move(wizard));
    ScopedProgressSettings settings(QuickProgressSettings());
    int host = 240;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // A fresh program run against a fresh modem: nothing remembered, no outcome.
        ASSERT_TRUE(WaitForWorkers(10000));
        FreshSession();
        boxes.Clear();
        const std::string address = "127.0.0." + std::to_string(host++);
        ModemSim modem(address);
        std::string error;
        ASSERT_TRUE(modem.Start(&error)) << error;
        setenv(kSimulatedModemVariable, address.c_str(), 1);
        if (row.modemHas) modem.SetWireless(*row.modemHas);
        if (row.failsFirst) modem.SetInternetCode(3);
        PageScript script(15000);
        script.When("CHomePage", Click(CHomePage::kIdStart));
        for (const char* page : {"CGuidePage1", "CGuidePage2", "CGuidePage3", "CModemFoundPage"}) {
            script.When(page, Click(kIdNext));
        }
        script.When("CIspPage", Fill(row.isp));
        if (row.accountPage) script.When(row.accountPage, Fill(row.account));
        script.When("CWirelessPage", Fill(row.wirelessEntries));
        if (row.failsFirst) {
            script.When("CGuidePage1", [&modem](CWizardPage& top) {
                modem.SetInternetCode(6);  // the modem's code for a working connection
                Click(kIdNext)(top);
            });
            for (const char* page : {"CGuidePage2", "CGuidePage3", "CModemFoundPage", "CIspPage",
                                     row.accountPage, "CWirelessPage"}) {
                script.When(page, Click(kIdNext));
            }
        }
        script.When("CFinishPage", Click(kIdExit));
        script.Start();
        CHomePage home(ResourcePath("home.bmp"), nullptr);
        // Exit on the final page ended the home page's modal run.
        EXPECT_EQ(home.DoModal(), QDialog::Accepted);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(UiDriver::TopPage(), nullptr);
        Names shown = script.Shown();
        std::erase(shown, "CWizardPage");
        Names pages{"CHomePage",   "CGuidePage1",       "CGuidePage2", "CGuidePage3",
                    "CDetectPage", "CModemFoundPage",   "CIspPage",    "CWirelessPage",
                    "CApplyPage",  "CInternetTestPage", "CFinishPage"};
        if (row.accountPage) pages.insert(pages.begin() + 7, row.accountPage);
        Names requests{kLanTest, kWirelessRead, kWan + "0" + row.wan, row.wireless, kInternetTest};
        Names texts;
        for (const auto& entry : boxes.Entries()) texts.push_back(entry.text);
        EXPECT_EQ(texts, row.failsFirst ? Names{Session().msgDslFailed} : Names{});
        if (row.failsFirst) {
            // The second time the WAN request edits the connection the first one created.
            requests.insert(requests.end(),
                            {kLanTest, kWan + "1" + row.wan, row.wireless, kInternetTest});
            EXPECT_EQ(shown.back(), "CFinishPage");
        } else {
            EXPECT_EQ(shown, pages);
        }
        EXPECT_EQ(modem.Requests(), requests);
    }
    unsetenv(kSimulatedModemVariable);
}

}  // namespace
