#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/account/AccountChecks.h"
#include "core/account/CheckIpText.h"
#include "core/account/IspPresetCatalogue.h"
#include "core/messages/LocalizedMessages.h"
#include "core/session/SessionFields.h"
#include "core/wireless/WirelessChecks.h"

// The checks of the account and wireless pages, one table row per entry the user could make: the
// first failure (message and focused control), or none when the page accepts it.

namespace {

using M = FormMessage;
using Fail = FormFailure;
constexpr FormCheck kAccepted;

TEST(FormChecks, DecimalValueReadsTheLeadingNumberAndStopsBeyondEveryRange) {
    const char* texts[] = {"", "abc", "007x", " -1", "+5", "65535", "999999999999", "-99999999999"};
    const long values[] = {0, 0, 7, -1, 5, 65535, 65536, -65536};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(DecimalValue(texts[i]), values[i]) << texts[i];
}

TEST(FormChecks, EachMessageIsTheSessionTextOfItsName) {
    SessionFields session;
    session.languageIndex = 2;
    LoadLocalizedMessages(session);
    const M messages[] = {M::EmptyValue,  M::Number0To255, M::Number32To65535, M::BadValueType,
                          M::NameTooLong, M::Length13,     M::Length5,         M::Length8To63};
    const MessageId ids[] = {kMsgEmptyValue,   kMsgNumber0To255, kMsgNumber32To65535,
                             kMsgBadValueType, kMsgBadValueType, kMsgLength13,
                             kMsgLength5,      kMsgLength8To63};
    for (int i = 0; i < 8; ++i)
        EXPECT_STREQ(FormMessageText(session, messages[i]), LocalizedMessage(2, ids[i])) << i;
}

TEST(CheckIpText, AddressesAndMasksAtTheEdges) {
    // Per kind (address, mask): the texts it accepts, then those it refuses.
    const std::initializer_list<const char*> cases[2][2] = {
        {{"192.168.1.1", "223.255.255.254", "1.0.0.1", "010.0.0.1"},
         {"127.0.0.1", "224.0.0.1", "0.1.2.3", "192.168.1.0", "192.168.1.255", "192.168.1.256",
          "192.168.1", "192.168.1.1.", "192..1.1", "", " 192.168.1.1", "+10.0.0.1", "10.0.0.0001"}},
        {{"255.255.255.252", "255.255.255.0", "255.0.0.0", "255.128.0.0", "255.255.254.0"},
         {"255.255.255.254", "255.255.255.255", "255.255.192.255", "255.127.0.0", "254.0.0.0",
          "255.0.255.0", "255.255.255.253"}},
    };
    for (int isMask : {0, 1}) {
        for (int expected : {0, 1}) {
            for (const char* text : cases[isMask][expected])
                EXPECT_EQ(CheckIpText(text, isMask), expected) << '"' << text << "\" " << isMask;
        }
    }
    EXPECT_EQ(CheckIpText(nullptr, 0), 1);
}

TEST(FormChecks, IspEmptyChecksVciFirstAndRangesCheckVpiFirst) {
    using F = IspForm;
    const std::pair<IspEntries, FormCheck> cases[] = {
        {{"", ""}, Fail{M::EmptyValue, F::kIdVci}},
        {{"", "35"}, Fail{M::EmptyValue, F::kIdVpi}},
        {{"256", "35"}, Fail{M::Number0To255, F::kIdVpi}},
        {{"255", "31"}, Fail{M::Number32To65535, F::kIdVci}},
        {{"8", "65536"}, Fail{M::Number32To65535, F::kIdVci}},
        {{"0", "32"}, kAccepted},
        {{"255", "65535"}, kAccepted},
    };
    for (const auto& [entries, expected] : cases)
        EXPECT_EQ(CheckIsp(entries), expected) << entries.vpi << "/" << entries.vci;
}

// Sections "a" automatic or "f" fixed, then the five address texts.
WanIpEntries Wan(const char* choices, const std::string& address = "", const std::string& mask = "",
                 const std::string& gateway = "", const std::string& primary = "",
                 const std::string& secondary = "") {
    return {choices[0] == 'a', address,           mask,    choices[1] == 'a',
            gateway,           choices[2] == 'a', primary, secondary};
}

TEST(FormChecks, WanIpChecksTheSectionsInOrder) {
    using F = WanIpForm;
    const std::string ip = "10.0.0.1", mask = "255.255.255.128", gw = "10.0.0.2", dns = "8.8.8.8";
    const std::pair<WanIpEntries, FormCheck> cases[] = {
        {Wan("faa"), Fail{M::EmptyValue, F::kIdIpAddress}},
        {Wan("faa", ip), Fail{M::EmptyValue, F::kIdSubnetMask}},
        {Wan("faa", ip, "255.255.255.254"), Fail{M::BadValueType, F::kIdSubnetMask}},
        {Wan("ffa", ip, mask), Fail{M::EmptyValue, F::kIdGateway}},
        {Wan("afa", "", "", "192.168.1.0"), Fail{M::BadValueType, F::kIdGateway}},
        {Wan("aaf", "", "", "", "224.0.0.1"), Fail{M::BadValueType, F::kIdDnsPrimary}},
        {Wan("aaf", "", "", "", dns, "192.168.1.255"), Fail{M::BadValueType, F::kIdDnsSecondary}},
        {Wan("aaf", "", "", "", dns), kAccepted},  // the secondary server is optional
        // An earlier section's failure comes first.
        {Wan("fff", ip, "", "", "", "1.1.1.0"), Fail{M::EmptyValue, F::kIdSubnetMask}},
        {Wan("aff", "", "", "10.0.0.0", ""), Fail{M::BadValueType, F::kIdGateway}},
    };
    int row = 0;
    for (const auto& [entries, expected] : cases) EXPECT_EQ(CheckWanIp(entries), expected) << row++;
}

TEST(FormChecks, PppChecksByteLengthsAndCarriageInOrder) {
    using F = PppForm;
    const std::string e = "\xC3\xA9";  // two bytes in UTF-8
    const std::string user256(256, 'u'), pw32(32, 'p');
    const auto ppp = [](std::string user, std::string pw, bool useService = false,
                        std::string service = "", bool useIp = false, std::string ip = "0.0.0.0") {
        return PppEntries{user, pw, useService, service, useIp, ip};
    };
    const std::pair<PppEntries, FormCheck> cases[] = {
        {ppp("", ""), Fail{M::EmptyValue, F::kIdUserName}},
        {ppp("u", ""), Fail{M::EmptyValue, F::kIdPassword}},
        {ppp(std::string(255, 'u') + e, "p"), Fail{M::NameTooLong, F::kIdUserName}},
        {ppp(user256, std::string(31, 'p') + e), Fail{M::BadValueType, F::kIdPassword}},
        {ppp("anna&edit=1", "p"), Fail{M::BadValueType, F::kIdUserName}},
        {ppp(user256, "p\tw"), Fail{M::BadValueType, F::kIdPassword}},
        {ppp("u", "p", true, ""), Fail{M::EmptyValue, F::kIdServiceName}},
        {ppp("u", "p", true, std::string(31, 's') + e), Fail{M::BadValueType, F::kIdServiceName}},
        {ppp("u", "p", true, "", true, "1.2.3"), Fail{M::EmptyValue, F::kIdServiceName}},
        {ppp("u", "p", false, "a&b"), kAccepted},  // unticked, the name is not checked
        {ppp("u", "p", false, "", true, "127.0.0.1"), Fail{M::BadValueType, F::kIdStaticIp}},
        {ppp(user256, pw32, true, std::string(30, 's') + e, true, "10.0.0.1"), kAccepted},
    };
    int row = 0;
    for (const auto& [entries, expected] : cases) EXPECT_EQ(CheckPpp(entries), expected) << row++;
}

TEST(FormChecks, WirelessChecksTheNameThenTheKeysOfTheMode) {
    using F = WirelessForm;
    std::string eAcute16;  // 32 bytes
    for (int i = 0; i < 16; ++i) eAcute16 += "\xC3\xA9";
    const auto wep = [](int mode, int position, std::array<std::string, 4> keys) {
        return WirelessEntries{mode, "Home", position, std::move(keys), ""};
    };
    const auto wpa = [](std::string key, std::string ssid = "Home") {
        return WirelessEntries{F::kModeWpa, std::move(ssid), 0, {}, std::move(key)};
    };
    const auto open = [](std::string ssid) {
        return WirelessEntries{F::kModeOpen, std::move(ssid), 0, {}, "ignored&"};
    };
    const std::pair<WirelessEntries, FormCheck> cases[] = {
        {open(eAcute16), kAccepted},
        {open(""), Fail{M::EmptyValue, F::kIdSsid}},
        {open(eAcute16 + "a"), Fail{M::BadValueType, F::kIdSsid}},
        {open("Caf\xC3\xA9 & bar"), Fail{M::BadValueType, F::kIdSsid}},
        {wpa("abcdefg"), Fail{M::Length8To63, F::kIdWpaKey}},
        {wpa("abcdefgh"), kAccepted},
        {wpa(std::string(63, 'k')), kAccepted},
        {wpa(std::string(64, 'k')), Fail{M::Length8To63, F::kIdWpaKey}},
        {wpa("correct horse&battery"), Fail{M::BadValueType, F::kIdWpaKey}},
        {wep(F::kModeWep64, 0, {"abcde"}), kAccepted},
        {wep(F::kModeWep64, 1, {"", "abcdefghijklm"}), Fail{M::Length5, F::kIdFirstKey + 1}},
        {wep(F::kModeWep128, 2, {"", "", "abcdefghijklm"}), kAccepted},
        {wep(F::kModeWep128, 3, {"", "", "", "abcdefg"}), Fail{M::Length13, F::kIdFirstKey + 3}},
        // Thirteen characters, twenty-six bytes: the key the modem would get is too long.
        {wep(F::kModeWep128, 0, {eAcute16.substr(0, 26)}), Fail{M::Length13, F::kIdFirstKey}},
        // Without a selected key, key 1 is checked and no control gets the focus.
        {wep(F::kModeWep64, -1, {"abc"}), Fail{M::Length5, 0}},
        // Every key that would be sent is checked, the current one first.
        {wep(F::kModeWep64, 0, {"abcde", "", "abc\tx"}), Fail{M::BadValueType, F::kIdFirstKey + 2}},
        {wep(F::kModeWep64, 3, {"a&cde", "", "", "ab&de"}),
         Fail{M::BadValueType, F::kIdFirstKey + 3}},
        {wep(F::kModeWep64, 0, {"abcde", "", "ab&d"}), kAccepted},  // wrong length: not sent
    };
    int row = 0;
    for (const auto& [entries, expected] : cases)
        EXPECT_EQ(CheckWireless(entries), expected) << row++;
}

using Catalogue = IspPresetCatalogue;

// The published size of the lists and a country's last entries (a provider index that is
// shifted shows as a duplicate in the next test, one that runs off a country's end here); "Other"
// and indexes out of range have no preset.
TEST(IspPresetCatalogue, ListsAsPublishedWithNoPresetForOtherOrOutOfRange) {
    EXPECT_EQ(Catalogue::TotalProviderCount(), 176);
    EXPECT_EQ(Catalogue::ProviderCount(29), 29);
    EXPECT_STREQ(Catalogue::CountryName(37), "UAE");
    EXPECT_STREQ(Catalogue::ProviderName(37, 0), "ETISALAT");
    EXPECT_STREQ(Catalogue::CountryName(0), "Other");
    EXPECT_STREQ(Catalogue::ProviderName(0, 0), "Other");
    EXPECT_EQ(Catalogue::ProviderCount(0), 1);
    EXPECT_EQ(Catalogue::ProviderName(0, 1), nullptr);
    IspPreset untouched{"x", "y", 7, 7};
    const int noPreset[][2] = {{0, 0}, {1, 12}, {29, 29}, {37, 1}, {-1, 0}, {38, 0}, {5, -1}};
    for (const auto& [country, provider] : noPreset) {
        EXPECT_FALSE(Catalogue::Preset(country, provider, &untouched))
            << country << "/" << provider;
        if (country != 0) {
            EXPECT_EQ(Catalogue::ProviderName(country, provider), nullptr);
        }
    }
    EXPECT_EQ(untouched.protocolEntry, 7);
    for (int country : {-1, 38}) {
        EXPECT_EQ(Catalogue::CountryName(country), nullptr);
        EXPECT_EQ(Catalogue::ProviderCount(country), 0);
    }
}

TEST(IspPresetCatalogue, EveryPresetIsAcceptedByThePageChecks) {
    for (int country = 1; country < Catalogue::kCountryCount; ++country) {
        std::set<std::string> names;
        for (int provider = 0; provider < Catalogue::ProviderCount(country); ++provider) {
            const char* name = Catalogue::ProviderName(country, provider);
            ASSERT_NE(name, nullptr);
            SCOPED_TRACE(name);
            EXPECT_TRUE(*name != '\0' && names.insert(name).second) << "in country " << country;
            IspPreset p{};
            ASSERT_TRUE(Catalogue::Preset(country, provider, &p));
            // Digits only, as the page's digit-only edits hold them, and within the ranges.
            const std::string atm = std::string(p.vpi) + p.vci;
            EXPECT_EQ(atm.find_first_not_of("0123456789"), std::string::npos) << atm;
            EXPECT_EQ(CheckIsp({p.vpi, p.vci}), FormCheck{}) << atm;
            EXPECT_TRUE(p.protocolEntry >= 0 && p.protocolEntry < kProtocolEntryCount);
            EXPECT_TRUE(p.encapEntry >= 0 && p.encapEntry < kEncapsulationEntryCount);
        }
    }
}

// The texts and codes of the lists are seen on the ISP page and in whole runs; here the edges.
TEST(ProtocolList, EntriesOutsideTheListsHaveNoTextOrCode) {
    EXPECT_EQ(ProtocolCodeForEntry(4), 5);  // IPoA skips code 4
    for (int code : {-1, 4, 6}) EXPECT_EQ(ProtocolEntryForCode(code), -1) << code;
    EXPECT_EQ(ProtocolCodeForEntry(-1), -1);  // a list without a selection
    for (int entry : {-1, 5}) EXPECT_EQ(ProtocolText(entry), nullptr);
    const int noText[][2] = {{5, 0}, {1, 2}, {0, -1}};
    for (const auto& [entry, encap] : noText) EXPECT_EQ(EncapsulationText(entry, encap), nullptr);
}

}  // namespace
