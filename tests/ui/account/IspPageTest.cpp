#include <QAbstractButton>
#include <cstring>

#include "AccountTestSupport.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "ui/account/IspPage.h"
#include "ui/account/PppPage.h"
#include "ui/account/WanIpPage.h"
#include "ui/wizard/ResourcePath.h"

namespace {

using P = CIspPage;
using IspPageTest = AccountPageTest;
constexpr auto kAtmEntries = {P::kIdProtocol, P::kIdEncapsulation, P::kIdVpi, P::kIdVci};

// The order of the checks is in the core's tables; here what a refusal does to the page.
TEST_F(IspPageTest, RefusalErasesAnOutOfRangeValueAndStoresNothing) {
    P page(ResourcePath("install06.bmp"), nullptr);
    driver.Then([&](CWizardPage&) {
        CopyText(Session().atmVpiSaved, "kept");
        Set(page, {{P::kIdVpi, ""}, {P::kIdVci, "35"}});
        EXPECT_EQ(Next(page), Refused(kMsgEmptyValue, P::kIdVpi));
        Set(page, {{P::kIdVpi, "256"}});
        EXPECT_EQ(Next(page), Refused(kMsgNumber0To255, P::kIdVpi));
        EXPECT_EQ(Get(page, {P::kIdVpi, P::kIdVci}), "|35");
        EXPECT_STREQ(Session().atmVpiSaved, "kept");
    });
    Run(page);
}

TEST_F(IspPageTest, NextZeroFillsTheRecordAndOpensThePageOfTheProtocol) {
    const std::pair<std::uint32_t, std::string> cases[] = {
        {kProtocolPppoe, "CPppPage install07.bmp 1"},
        {kProtocolPppoa, "CPppPage install07_pppoa.bmp 0"},
        {kProtocolMer, "CWanIpPage install07_mer.bmp 1"},
        {kProtocolBridging, "wireless"},
        {kProtocolIpoa, "CWanIpPage install07_mer.bmp 0"},
    };
    std::vector<std::pair<std::string, WizardSession>> seen;
    P page(ResourcePath("install06.bmp"), nullptr);
    page.SetRecord(FilledRecord());
    for (int entry = 0; entry < 5; ++entry) {
        driver.Then([&, entry](CWizardPage&) {
            Set(page, {{P::kIdProtocol, QString::number(entry)},
                       {P::kIdEncapsulation, "1"},
                       {P::kIdVpi, "8"},
                       {P::kIdVci, "35"}});
            Next(page);  // returns once the page it opened has gone Back
        });
        driver.Then([&](CWizardPage& top) {
            if (&top == &page) return seen.push_back({"wireless", HandedOn()});
            auto* ppp = qobject_cast<CPppPage*>(&top);
            CRecordPage& next =
                ppp ? static_cast<CRecordPage&>(*ppp) : UiDriver::Expect<CWanIpPage>(top);
            const bool mode = ppp ? ppp->IsPppoe() : static_cast<CWanIpPage&>(next).IsMerMode();
            seen.push_back({std::string(top.metaObject()->className()) + " " +
                                next.BackgroundPath().section('/', -1).toStdString() + " " +
                                std::to_string(mode),
                            next.Record()});
            next.OnBack();
        });
    }
    Run(page);
    ASSERT_EQ(seen.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        const auto& [opened, r] = seen[i];
        EXPECT_EQ(opened, cases[i].second);
        EXPECT_EQ(r.ntwkPrtcl, cases[i].first) << opened;
        EXPECT_EQ(std::vector<std::uint32_t>({r.encapMode, r.atmVpi, r.atmVci}),
                  std::vector<std::uint32_t>({1, 8, 35}));
        // All else zero: the account block (Bridging included) and the wireless part.
        EXPECT_TRUE(AllZero(&r.account, sizeof r - offsetof(WizardSession, account))) << opened;
    }
}

TEST_F(IspPageTest, BackRemembersWithoutChecksAndANewPageRestores) {
    const WizardSession filled = FilledRecord();
    P first(ResourcePath("install06.bmp"), nullptr);
    first.SetRecord(filled);
    driver.Then([&](CWizardPage&) {
        Set(first, {{P::kIdProtocol, "4"},
                    {P::kIdEncapsulation, "1"},
                    {P::kIdVpi, "300"},
                    {P::kIdVci, "20"}});
    });
    Run(first, kIdBack);
    EXPECT_TRUE(boxes.Entries().empty());
    EXPECT_EQ(std::memcmp(&first.Record(), &filled, sizeof filled), 0);
    const SessionFields& s = Session();
    EXPECT_EQ(std::string(s.ntwkPrtclSaved) + s.encapModeSaved + "|" + s.atmVpiSaved + "|" +
                  s.atmVciSaved,
              "51|300|20");

    P second(ResourcePath("install06.bmp"), nullptr);
    QString shown;
    driver.Then([&](CWizardPage& top) {
        shown = Get(top, {P::kIdCountry, P::kIdIsp, P::kIdProtocol, P::kIdEncapsulation, P::kIdVpi,
                          P::kIdVci});
    });
    Run(second);
    EXPECT_EQ(shown, "Other|Other|Static IP (IPoA)|VC/MUX|300|20");
}

TEST_F(IspPageTest, CountryAndProviderApplyPresetsOverWhatWasTyped) {
    const std::pair<Values, QString> cases[] = {
        {{{P::kIdCountry, "29"}}, "PPPoE|LLC/SNAP-BRIDGING|1|50"},  // Russia: Stream at once
        {{{P::kIdCountry, "9"}, {P::kIdIsp, "1"}}, "Static IP (IPoA)|LLC/SNAP-ROUTING|0|35"},
        {{{P::kIdCountry, "16"}, {P::kIdIsp, "3"}}, "PPPoA|LLC/ENCAPSULATION|0|67"},
        {{{P::kIdCountry, "16"}, {P::kIdIsp, "4"}}, "PPPoA|VC/MUX|0|67"},
        {{{P::kIdCountry, "0"}}, "Dynamic/Static IP (Bridge)|VC/MUX|7|77"},  // "Other"
    };
    P page(ResourcePath("install06.bmp"), nullptr);
    driver.Then([&](CWizardPage&) {
        for (const auto& [choice, shown] : cases) {
            Set(page, {{P::kIdProtocol, "2"},
                       {P::kIdEncapsulation, "1"},
                       {P::kIdVpi, "7"},
                       {P::kIdVci, "77"}});
            Set(page, choice);
            EXPECT_EQ(Get(page, kAtmEntries), shown);
        }
        Set(page, {{P::kIdCountry, "29"}, {P::kIdIsp, "28"}});
        EXPECT_EQ(Get(page, {P::kIdCountry, P::kIdIsp}), "Russia|Megapolis-Telecom");
        // Egypt's "TeData (IPoA)" goes on to the WAN page in IPoA mode.
        Set(page, {{P::kIdCountry, "9"}, {P::kIdIsp, "1"}});
        qobject_cast<QAbstractButton*>(page.Control(kIdNext))->click();
    });
    driver.Then([&](CWizardPage& top) {
        auto& wan = UiDriver::Expect<CWanIpPage>(top);
        EXPECT_FALSE(wan.IsMerMode());
        EXPECT_EQ(wan.Record().ntwkPrtcl, kProtocolIpoa);
    });
    Run(page);
}

}  // namespace
