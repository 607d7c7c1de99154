#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest/QTest>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "RecordingMessageBoxService.h"
#include "SessionBuilders.h"
#include "TestResources.h"
#include "UiDriver.h"
#include "app/WizardFlow.h"
#include "core/messages/LocalizedMessages.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "ui/account/IspPage.h"
#include "ui/account/PppPage.h"
#include "ui/account/WanIpPage.h"
#include "ui/controls/IpAddressEdit.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"

// The account pages through their modal loops: refusals, what is stored before a later check
// fails, the record handed on, Back (check order: the core's tables; next pages: the whole run).
namespace {

using I = CIspPage;
using P = CPppPage;
using W = CWanIpPage;
using Values = std::vector<std::pair<int, QString>>;
constexpr int kTestLanguage = 1;

// Sets controls as the user would: texts, list positions (running the list's handler), buttons
// ("1" checks, "0" unchecks, by a click).
void Set(CWizardPage& page, const Values& values) {
    for (const auto& [id, value] : values) {
        QWidget* control = page.Control(id);
        if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setText(value);
        if (auto* address = qobject_cast<IpAddressEdit*>(control)) address->setText(value);
        if (auto* list = qobject_cast<QComboBox*>(control)) {
            list->setCurrentIndex(value.toInt());
            emit list->activated(value.toInt());
        }
        auto* button = qobject_cast<QAbstractButton*>(control);
        if (button != nullptr && button->isChecked() != (value == "1")) button->click();
    }
}

// What the controls show, joined by "|": the text (a blank address ""), the list text or "1"/"0"
// for a button; then "!" when hidden and "~" when disabled.
QString Get(const CWizardPage& page, std::initializer_list<int> ids) {
    QStringList texts;
    for (int id : ids) {
        QWidget* control = page.Control(id);
        QString text;
        if (auto* edit = qobject_cast<QLineEdit*>(control)) text = edit->text();
        if (auto* address = qobject_cast<IpAddressEdit*>(control))
            text = address->isBlank() ? QString() : address->text();
        if (auto* list = qobject_cast<QComboBox*>(control)) text = list->currentText();
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            text = button->isChecked() ? "1" : "0";
        texts << text + (control->isHidden() ? "!" : "") + (control->isEnabled() ? "" : "~");
    }
    return texts.join('|');
}

// A record full of non-zero bytes, to show what a page overwrites and what it keeps.
WizardSession FilledRecord() {
    WizardSession record;
    std::memset(&record, 0x5A, sizeof record);
    return record;
}

// Messages in French, so that a fixed English text would show.
class AccountPageTest : public ::testing::Test {
protected:
    AccountPageTest() {
        FreshSession();
        Session().languageIndex = kTestLanguage;
        LoadLocalizedMessages(Session());
        WizardContext context{&boxes, nullptr, {}};
        InstallWizardFlow(context);
        context[WizardStep::AccountNext] = context[WizardStep::IspNextBridging] =
            [this](QWidget*, const WizardSession* r) { handedOn.push_back(*r); };
        scope.emplace(std::move(context));
    }

    // The boxes expected for a refusal (then any plain box) and the focused control.
    static std::string Refused(MessageId id, int focus, const std::string& plain = "") {
        return LocalizedMessage(kTestLanguage, id) + (plain.empty() ? "" : plain + "(plain)") +
               "@" + std::to_string(focus);
    }

    // Presses Next: "" when a record was handed on, else the boxes shown, "@" and the focus.
    std::string Next(CWizardPage& page) {
        boxes.Clear();
        handedOn.clear();
        qobject_cast<QAbstractButton*>(page.Control(kIdNext))->click();
        if (handedOn.size() == 1 && boxes.Entries().empty()) return {};
        std::string shown;
        for (const auto& box : boxes.Entries())
            shown += box.text + (box.icon == MessageIcon::Exclamation ? "" : "(plain)");
        QWidget* focused = page.focusWidget();  // up to the page's child that holds it
        while (focused != nullptr && focused->parentWidget() != &page)
            focused = focused->parentWidget();
        return shown + "@" + (focused ? focused->objectName().toStdString() : "none");
    }

    // Runs the page's modal loop through the action, then Exit or Back (which checks nothing).
    void Run(CWizardPage& page, int lastButton, const std::function<void()>& action) {
        UiDriver driver;
        driver.Then([&](CWizardPage&) { action(); }).Click(lastButton);
        driver.Start();
        boxes.Clear();
        page.DoModal();
        ASSERT_TRUE(driver.Finished());
        EXPECT_TRUE(lastButton != kIdBack || boxes.Entries().empty());
    }

    ScratchFolder folder;
    RecordingMessageBoxService boxes;
    std::optional<ScopedWizardContext> scope;
    std::vector<WizardSession> handedOn;
};

// The address control: typing fills four fields of 0 to 255, moving on after a third digit or a
// dot (not from an empty field, which Backspace leaves); a text set keeps its well-formed parts.
TEST(IpAddressEditTest, TypingAndSetTextKeepFourFieldsOfZeroTo255) {
    const std::pair<const char*, const char*> typed[] = {
        {"", "0.0.0.0 blank"},     {"1921681", "192.168.1.0"}, {"300", "255.0.0.0"},
        {"1a.b2", "1.2.0.0"},      {"..5", "5.0.0.0"},         {"1.2.3.4.5", "1.2.3.45"},
        {"12.\b\b\b7", "7.0.0.0"},
    };
    for (const auto& [keys, text] : typed) {
        IpAddressEdit edit;
        edit.show();
        edit.setFocus();
        for (const char* key = keys; *key != '\0'; ++key) QTest::keyClick(edit.focusWidget(), *key);
        EXPECT_EQ(edit.text() + (edit.isBlank() ? " blank" : ""), text) << keys;
    }
    const std::pair<const char*, const char*> set[] = {
        {"", "0.0.0.0 blank"},      {"1.2", "1.2.0.0"},           {"300.1.1.1", "255.1.1.1"},
        {"a.1.-2.1234", "0.1.0.0"}, {"a.b.c.d", "0.0.0.0 blank"},
    };
    IpAddressEdit edit;
    for (const auto& [in, text] : set) {
        edit.setText(QString::fromLatin1(in));
        EXPECT_EQ(edit.text() + (edit.isBlank() ? " blank" : ""), text) << in;
    }
}

// A refusal erases an out-of-range value and stores nothing; an accepted Next starts the record
// afresh with the page's four values; Back remembers what is shown without checks.
TEST_F(AccountPageTest, IspRefusalErasesNextStartsAFreshRecordBackRemembersUnchecked) {
    I page(ResourcePath("install06.bmp"), nullptr);
    page.SetRecord(FilledRecord());
    Run(page, kIdBack, [&] {
        CopyText(Session().atmVpiSaved, "kept");
        Set(page, {{I::kIdProtocol, "3"}, {I::kIdEncapsulation, "1"}, {I::kIdVpi, ""}});
        Set(page, {{I::kIdVci, "35"}});
        EXPECT_EQ(Next(page), Refused(kMsgEmptyValue, I::kIdVpi));
        Set(page, {{I::kIdVpi, "256"}});
        EXPECT_EQ(Next(page), Refused(kMsgNumber0To255, I::kIdVpi));
        EXPECT_EQ(Get(page, {I::kIdVpi, I::kIdVci}), "|35");
        EXPECT_STREQ(Session().atmVpiSaved, "kept");
        Set(page, {{I::kIdVpi, "8"}});
        EXPECT_EQ(Next(page), "");
        Set(page, {{I::kIdProtocol, "4"}, {I::kIdEncapsulation, "1"}});
        Set(page, {{I::kIdVpi, "300"}, {I::kIdVci, "20"}});
    });
    WizardSession expected{};
    std::tie(expected.ntwkPrtcl, expected.encapMode, expected.atmVpi, expected.atmVci) =
        std::tuple(kProtocolBridging, 1, 8, 35);
    EXPECT_EQ(std::memcmp(&handedOn.at(0), &expected, sizeof expected), 0);
    EXPECT_EQ(std::memcmp(&page.Record(), &expected, sizeof expected), 0);

    I second(ResourcePath("install06.bmp"), nullptr);
    Run(second, kIdExit, [&] {
        EXPECT_EQ(Get(second, {I::kIdCountry, I::kIdIsp, I::kIdProtocol, I::kIdEncapsulation,
                               I::kIdVpi, I::kIdVci}),
                  "Other|Other|Static IP (IPoA)|VC/MUX|300|20");
    });
}

TEST_F(AccountPageTest, IspCountryAndProviderApplyPresetsOverWhatWasTyped) {
    const std::pair<Values, QString> cases[] = {
        {{{I::kIdCountry, "29"}}, "PPPoE|LLC/SNAP-BRIDGING|1|50"},  // Russia: Stream at once
        {{{I::kIdCountry, "16"}, {I::kIdIsp, "3"}}, "PPPoA|LLC/ENCAPSULATION|0|67"},
        {{{I::kIdCountry, "0"}}, "Dynamic/Static IP (Bridge)|VC/MUX|7|77"},  // "Other"
    };
    I page(ResourcePath("install06.bmp"), nullptr);
    Run(page, kIdExit, [&] {
        for (const auto& [choice, shown] : cases) {
            Set(page, {{I::kIdProtocol, "2"}, {I::kIdEncapsulation, "1"}});
            Set(page, {{I::kIdVpi, "7"}, {I::kIdVci, "77"}});
            Set(page, choice);
            EXPECT_EQ(Get(page, {I::kIdProtocol, I::kIdEncapsulation, I::kIdVpi, I::kIdVci}),
                      shown);
        }
        Set(page, {{I::kIdCountry, "29"}, {I::kIdIsp, "28"}});
        EXPECT_EQ(Get(page, {I::kIdCountry, I::kIdIsp}), "Russia|Megapolis-Telecom");
    });
}

// PPPoA offers no service name; a box shows and enables its field.
TEST_F(AccountPageTest, PppoaOffersNoServiceNameAndTheBoxShowsItsField) {
    P page(ResourcePath("install07_pppoa.bmp"), 0, nullptr);
    Run(page, kIdExit, [&] {
        for (const auto& [on, shown] :
             {std::pair{"0", "0!|!|0|!"}, {"1", "0!|!|1|"}, {"0", "0!|!|0|!~"}}) {
            Set(page, {{P::kIdStaticIpBox, on}});
            EXPECT_EQ(Get(page, {P::kIdServiceNameBox, P::kIdServiceName, P::kIdStaticIpBox,
                                 P::kIdStaticIp}),
                      shown);
        }
    });
}

// A refusal shows its boxes and keeps what passed; texts at the byte limits go on whole; Back
// remembers without checks and a new page restores by mode.
TEST_F(AccountPageTest, PppRefusalsKeepWhatPassedAndBackRemembersUnchecked) {
    const QString user(256, 'u'), password(32, 'p'), service(32, 's');
    WizardSession record = FilledRecord();
    CopyText(record.account.ppp.pppServerName, "held");
    P first(ResourcePath("install07.bmp"), 1, nullptr);
    Run(first, kIdBack, [&] {
        Set(first, {{P::kIdUserName, user.chopped(1) + QString::fromUtf8("\xC3\xA9")}});
        Set(first, {{P::kIdPassword, "p"}});
        EXPECT_EQ(Next(first),
                  Refused(kMsgBadValueType, P::kIdUserName, "Please input chars < 256."));
        // A refused service name leaves user name and password already copied into the record.
        Set(first, {{P::kIdUserName, "short"}, {P::kIdServiceNameBox, "1"}});
        EXPECT_EQ(Next(first), Refused(kMsgEmptyValue, P::kIdServiceName));
        const PppAccount& kept = first.Record().account.ppp;
        EXPECT_EQ(std::string(kept.pppUserName) + "|" + kept.pppPassword, "short|p");
        Set(first,
            {{P::kIdUserName, user}, {P::kIdPassword, password}, {P::kIdServiceName, service}});
        EXPECT_EQ(Next(first), "");
        Set(first, {{P::kIdUserName, ""}, {P::kIdPassword, "secret"}});
        Set(first, {{P::kIdServiceName, "svc"}, {P::kIdServiceNameBox, "0"}});
    });
    const PppAccount& sent = handedOn.at(0).account.ppp;
    EXPECT_EQ(QString(sent.pppUserName) + sent.pppPassword + sent.pppServerName,
              user + password + service);
    EXPECT_EQ(std::memcmp(&first.Record(), &handedOn[0], sizeof record), 0);
    EXPECT_STREQ(Session().pppUserNameSaved, "");  // an empty name is remembered too

    CopyText(Session().pppUserNameSaved, "name");
    for (int pppoe : {1, 0}) {
        SCOPED_TRACE(pppoe);
        P page(ResourcePath("install07.bmp"), pppoe, nullptr);
        page.SetRecord(record);
        Run(page, kIdExit, [&] {
            EXPECT_EQ(Get(page, {P::kIdUserName, P::kIdPassword, P::kIdServiceName}),
                      pppoe ? "name|secret|svc!~" : "name|secret|!");
            EXPECT_EQ(Next(page), "");
        });
        // The restored service name is not sent while its box is unchecked.
        const PppAccount& next = handedOn.at(0).account.ppp;
        EXPECT_EQ(next.pppServerName + std::to_string(next.useStaticIpAddress), "held0");
    }
}

constexpr auto kAddresses = {W::kIdIpAddress, W::kIdSubnetMask, W::kIdGateway, W::kIdDnsPrimary,
                             W::kIdDnsSecondary};

// The three choices ("a" automatic, "f" fixed) and the five address texts.
Values Entries(const char* choices, std::vector<QString> texts) {
    texts.resize(5);
    Values values;
    const int radios[][2] = {{W::kIdIpAuto, W::kIdIpFixed},
                             {W::kIdGatewayAuto, W::kIdGatewayFixed},
                             {W::kIdDnsAuto, W::kIdDnsFixed}};
    for (int i = 0; i < 3; ++i) values.push_back({radios[i][choices[i] == 'f'], "1"});
    for (int id : kAddresses) values.push_back({id, texts[values.size() - 3]});
    return values;
}

// IPoA offers no automatic address; each section is stored once it passed, before a later one
// fails; Back remembers what is shown without checks, "0.0.0.0" as empty.
TEST_F(AccountPageTest, WanPassedSectionsAreStoredAndBackRemembersUnchecked) {
    W ipoa(ResourcePath("install07_mer.bmp"), 0, nullptr);
    Run(ipoa, kIdExit, [&] {
        EXPECT_EQ(Get(ipoa, {W::kIdIpAuto, W::kIdIpFixed}), "0~|1");
        EXPECT_EQ(Next(ipoa), Refused(kMsgEmptyValue, W::kIdIpAddress));
    });

    W page(ResourcePath("install07_mer.bmp"), 1, nullptr);
    std::vector<WizardSession> sent;
    Run(page, kIdBack, [&] {
        EXPECT_EQ(Next(page), "");
        sent.push_back(handedOn.at(0));
        Set(page, Entries("ffa", {"192.168.100.100", "255.255.0.0", "0.0.0.0"}));
        EXPECT_EQ(Next(page), Refused(kMsgBadValueType, W::kIdGateway));
        EXPECT_STREQ(page.Record().account.wanIp.wanIpAddress, "192.168.100.100");
        const SessionFields& s = Session();
        // The gateway section stored nothing: "automatic" from the first Next is still remembered.
        EXPECT_EQ(
            std::string(s.enblDhcpClntSaved) + "|" + s.wanSubnetMaskSaved + "|" + s.enblAutoSaved,
            "0|255.255.0.0|1");
        // A shorter address replaces the longer one whole.
        Set(page, Entries("fff", {"10.0.0.1", "255.0.0.0", "10.0.0.2", "8.8.4.4"}));
        EXPECT_EQ(Next(page), "");
        sent.push_back(handedOn.at(0));
        Set(page, Entries("ffa", {"192.168.1.10", "", "0.0.0.0", "8.8.8.8"}));
    });
    EXPECT_EQ(std::memcmp(&page.Record(), &sent.at(1), sizeof(WizardSession)), 0);
    const WanIpAccount &automatic = sent[0].account.wanIp, &fixed = sent[1].account.wanIp;
    EXPECT_EQ(automatic.enblDhcpClnt + automatic.enblAuto + automatic.dnsDynamic, 3u);
    EXPECT_EQ(std::string(fixed.wanIpAddress) + "|" + fixed.wanSubnetMask + "|" +
                  fixed.defaultGateway + "|" + fixed.dnsPrimary + "|" + fixed.dnsSecondary,
              "10.0.0.1|255.0.0.0|10.0.0.2|8.8.4.4|0.0.0.0");
    EXPECT_EQ(fixed.enblDhcpClnt + fixed.enblAuto + fixed.dnsDynamic, 0u);

    W second(ResourcePath("install07_mer.bmp"), 1, nullptr);
    Run(second, kIdExit, [&] {
        EXPECT_EQ(Get(second, {W::kIdIpFixed, W::kIdGatewayFixed, W::kIdDnsFixed}) + " " +
                      Get(second, kAddresses),
                  "1|1|0 192.168.1.10|||8.8.4.4~|~");
    });
}

}  // namespace
