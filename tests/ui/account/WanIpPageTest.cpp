#include <cstring>

#include "AccountTestSupport.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "ui/account/WanIpPage.h"
#include "ui/wizard/ResourcePath.h"

namespace {

using P = CWanIpPage;
using WanIpPageTest = AccountPageTest;
constexpr auto kAddresses = {P::kIdIpAddress, P::kIdSubnetMask, P::kIdGateway, P::kIdDnsPrimary,
                             P::kIdDnsSecondary};

// The three choices ("a" automatic, "f" fixed) and the five address texts.
Values Entries(const char* choices, std::vector<QString> texts) {
    texts.resize(5);
    Values values;
    const int radios[][2] = {{P::kIdIpAuto, P::kIdIpFixed},
                             {P::kIdGatewayAuto, P::kIdGatewayFixed},
                             {P::kIdDnsAuto, P::kIdDnsFixed}};
    for (int i = 0; i < 3; ++i) values.push_back({radios[i][choices[i] == 'f'], "1"});
    int i = 0;
    for (int id : kAddresses) values.push_back({id, texts[static_cast<std::size_t>(i++)]});
    return values;
}

// The order of the checks is in the core's tables; IPoA offers no automatic address, even when
// "automatic" was remembered.
TEST_F(WanIpPageTest, IpoaAlwaysChecksTheFixedAddress) {
    CopyText(Session().enblDhcpClntSaved, "1");
    P page(ResourcePath("install07_mer.bmp"), 0, nullptr);
    driver.Then([&](CWizardPage&) {
        EXPECT_EQ(Get(page, P::kIdIpAuto), "0~");
        Set(page, Entries("aaa", {}));
        EXPECT_EQ(Next(page), Refused(kMsgEmptyValue, P::kIdIpAddress));
        Set(page, Entries("aaa", {"192.168.1.10", "255.255.255.252"}));
        EXPECT_EQ(Next(page), "");
    });
    Run(page);
}

TEST_F(WanIpPageTest, RecordHandedOnKeepsTheSectionsStoredBeforeAFailure) {
    WizardSession record{};
    record.ntwkPrtcl = kProtocolMer;
    P page(ResourcePath("install07_mer.bmp"), 1, nullptr);
    page.SetRecord(record);
    std::vector<WizardSession> sent;
    driver.Then([&](CWizardPage&) {
        EXPECT_EQ(Next(page), "");
        sent.push_back(HandedOn());
        Set(page, Entries("ffa", {"192.168.100.100", "255.255.0.0", "0.0.0.0"}));
        EXPECT_EQ(Next(page), Refused(kMsgBadValueType, P::kIdGateway));
        EXPECT_STREQ(page.Record().account.wanIp.wanIpAddress, "192.168.100.100");
        const SessionFields& s = Session();
        // The gateway section stored nothing: "automatic" from the first Next is still remembered.
        EXPECT_EQ(
            std::string(s.enblDhcpClntSaved) + "|" + s.wanSubnetMaskSaved + "|" + s.enblAutoSaved,
            "0|255.255.0.0|1");
        // A shorter address replaces the longer one whole.
        Set(page, Entries("fff", {"10.0.0.1", "255.0.0.0", "10.0.0.2", "8.8.4.4"}));
        EXPECT_EQ(Next(page), "");
        sent.push_back(HandedOn());
    });
    Run(page);
    const WanIpAccount& automatic = sent.at(0).account.wanIp;
    EXPECT_EQ(automatic.enblDhcpClnt + automatic.enblAuto + automatic.dnsDynamic, 3u);
    EXPECT_TRUE(AllZero(&automatic, offsetof(WanIpAccount, enblDhcpClnt)));
    const WanIpAccount& fixed = sent.at(1).account.wanIp;
    EXPECT_EQ(sent[1].ntwkPrtcl, kProtocolMer);
    EXPECT_EQ(std::string(fixed.wanIpAddress) + "|" + fixed.wanSubnetMask + "|" +
                  fixed.defaultGateway + "|" + fixed.dnsPrimary + "|" + fixed.dnsSecondary,
              "10.0.0.1|255.0.0.0|10.0.0.2|8.8.4.4|0.0.0.0");
    EXPECT_EQ(fixed.enblDhcpClnt + fixed.enblAuto + fixed.dnsDynamic, 0u);
    EXPECT_STREQ(Session().dnsSecondarySaved, "");  // "0.0.0.0" is remembered as empty
}

TEST_F(WanIpPageTest, BackRemembersWithoutChecksAndANewPageRestores) {
    const WizardSession filled = FilledRecord();
    P first(ResourcePath("install07_mer.bmp"), 1, nullptr);
    first.SetRecord(filled);
    driver.Then([&](CWizardPage&) {
        Set(first, Entries("ffa", {"192.168.1.10", "", "0.0.0.0", "8.8.8.8"}));
    });
    Run(first, kIdBack);
    EXPECT_TRUE(boxes.Entries().empty());
    EXPECT_EQ(std::memcmp(&first.Record(), &filled, sizeof filled), 0);
    const SessionFields& s = Session();
    EXPECT_EQ(std::string(s.enblDhcpClntSaved) + s.enblAutoSaved + s.dnsDynamicSaved + "|" +
                  s.wanIpAddressSaved + "|" + s.wanSubnetMaskSaved + "|" + s.defaultGatewaySaved +
                  "|" + s.dnsPrimarySaved,
              "001|192.168.1.10|||");

    CopyText(Session().dnsPrimarySaved, "8.8.8.8");
    P second(ResourcePath("install07_mer.bmp"), 1, nullptr);
    QString shown;
    driver.Then([&](CWizardPage& top) {
        shown = Get(top, {P::kIdIpFixed, P::kIdGatewayFixed, P::kIdDnsFixed}) + " " +
                Get(top, kAddresses);
    });
    Run(second);
    EXPECT_EQ(shown, "1|1|0 192.168.1.10|||8.8.8.8~|~");
}

}  // namespace
