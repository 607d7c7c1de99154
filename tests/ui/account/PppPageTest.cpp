#include <cstring>

#include "AccountTestSupport.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "ui/account/PppPage.h"
#include "ui/wizard/ResourcePath.h"

namespace {

using P = CPppPage;
using PppPageTest = AccountPageTest;
constexpr auto kOptional = {P::kIdServiceNameBox, P::kIdServiceName, P::kIdStaticIpBox,
                            P::kIdStaticIp};

TEST_F(PppPageTest, EachBoxShowsAndEnablesItsFieldAndPppoaOffersNoServiceName) {
    const std::pair<int, std::vector<QString>> cases[] = {
        {1, {"0|!~|0|!~", "1||1|", "0|!~|0|!~"}},
        {0, {"0!|!|0|!", "0!|!|1|", "0!|!|0|!~"}},  // PPPoA only hides what it does not use
    };
    for (const auto& [pppoe, expected] : cases) {
        P page(ResourcePath("install07.bmp"), pppoe, nullptr);
        std::vector<QString> seen;
        driver.Then([&](CWizardPage&) {
            for (const char* on : {"0", "1", "0"}) {
                if (pppoe) Set(page, {{P::kIdServiceNameBox, on}});
                Set(page, {{P::kIdStaticIpBox, on}});
                seen.push_back(Get(page, kOptional));
            }
        });
        Run(page);
        EXPECT_EQ(seen, expected);
    }
}

// The order of the checks is in the core's tables; here what the page shows, sends and keeps.
TEST_F(PppPageTest, RefusalsShowTheirBoxesAndKeepWhatPassedAndTheAcceptedTextsAreSent) {
    const QString e = QString::fromUtf8("\xC3\xA9");  // two bytes in UTF-8
    const QString user256(256, 'u'), pw32(32, 'p'), service32 = QString(30, 's') + e;
    WizardSession accepted{};
    P page(ResourcePath("install07.bmp"), 1, nullptr);
    driver.Then([&](CWizardPage&) {
        Set(page, {{P::kIdUserName, QString(255, 'u') + e}, {P::kIdPassword, "p"}});
        EXPECT_EQ(Next(page),
                  Refused(kMsgBadValueType, P::kIdUserName, "Please input chars < 256."));
        // A refused service name leaves user name and password already copied into the record.
        Set(page, {{P::kIdUserName, "short"}, {P::kIdServiceNameBox, "1"}});
        EXPECT_EQ(Next(page), Refused(kMsgEmptyValue, P::kIdServiceName));
        EXPECT_STREQ(page.Record().account.ppp.pppUserName, "short");
        EXPECT_STREQ(page.Record().account.ppp.pppPassword, "p");
        Set(page, {{P::kIdUserName, user256},
                   {P::kIdPassword, pw32},
                   {P::kIdServiceName, service32},
                   {P::kIdStaticIpBox, "1"},
                   {P::kIdStaticIp, "10.0.0.1"}});
        EXPECT_EQ(Next(page), "");
        accepted = HandedOn();
    });
    Run(page);
    const PppAccount& ppp = accepted.account.ppp;
    EXPECT_EQ(ppp.pppUserName, user256.toStdString());
    EXPECT_EQ(ppp.pppPassword, pw32.toStdString());
    EXPECT_EQ(ppp.pppServerName, service32.toStdString());
    EXPECT_EQ(ppp.useStaticIpAddress, 1u);
    EXPECT_STREQ(ppp.pppLocalIpAddress, "10.0.0.1");
}

TEST_F(PppPageTest, BackRemembersWithoutChecksAndANewPageRestoresByMode) {
    WizardSession record = FilledRecord();
    CopyText(record.account.ppp.pppServerName, "held");
    CopyText(Session().pppUserNameSaved, "older");
    P first(ResourcePath("install07.bmp"), 1, nullptr);
    first.SetRecord(record);
    driver.Then([&](CWizardPage&) {
        Set(first, {{P::kIdUserName, ""}, {P::kIdPassword, "secret"}, {P::kIdServiceName, "svc"}});
    });
    Run(first, kIdBack);
    EXPECT_TRUE(boxes.Entries().empty());
    EXPECT_EQ(std::memcmp(&first.Record(), &record, sizeof record), 0);
    const SessionFields& s = Session();
    EXPECT_EQ(
        std::string(s.pppUserNameSaved) + "|" + s.pppPasswordSaved + "|" + s.pppServerNameSaved,
        "|secret|svc");  // an empty name is remembered too

    CopyText(Session().pppUserNameSaved, "name");
    for (int pppoe : {1, 0}) {
        SCOPED_TRACE(pppoe);
        P page(ResourcePath("install07.bmp"), pppoe, nullptr);
        page.SetRecord(record);
        QString shown;
        driver.Then([&](CWizardPage&) {
            shown = Get(page, {P::kIdUserName, P::kIdPassword, P::kIdServiceName});
            EXPECT_EQ(Next(page), "");
        });
        Run(page);
        EXPECT_EQ(shown, pppoe ? "name|secret|svc!~" : "name|secret|!");
        // The restored service name is not sent while its box is unchecked.
        const PppAccount& sent = HandedOn().account.ppp;
        EXPECT_EQ(std::string(sent.pppUserName) + "|" + sent.pppPassword + "|" + sent.pppServerName,
                  "name|secret|held");
        EXPECT_EQ(sent.useStaticIpAddress, 0u);
        EXPECT_EQ(std::memcmp(&handedOn[0].wlAuthMode, &record.wlAuthMode,
                              sizeof record - offsetof(WizardSession, wlAuthMode)),
                  0);
    }
}

}  // namespace
