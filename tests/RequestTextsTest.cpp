#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "core/protocol/ApplySettings.h"
#include "core/protocol/RequestValue.h"
#include "core/protocol/WirelessRequests.h"
#include "core/session/TextBuffer.h"
#include "core/wireless/GenerateRandomKey.h"

namespace {

WizardSession PppSession(std::uint32_t protocol) {
    WizardSession s{};
    s.ntwkPrtcl = protocol;
    s.encapMode = 1;
    s.atmVpi = 8;
    s.atmVci = 35;
    CopyText(s.account.ppp.pppUserName, "user@isp");
    CopyText(s.account.ppp.pppPassword, "secret");
    CopyText(s.account.ppp.pppServerName, "svc");
    CopyText(s.account.ppp.pppLocalIpAddress, "10.1.2.3");
    return s;
}

WizardSession IpSession(std::uint32_t protocol, bool dhcp, bool autoGw, bool dns) {
    WizardSession s{};
    s.ntwkPrtcl = protocol;
    s.atmVpi = 0;
    s.atmVci = 35;
    WanIpAccount& ip = s.account.wanIp;
    ip.enblDhcpClnt = dhcp;
    ip.enblAuto = autoGw;
    ip.dnsDynamic = dns;
    CopyText(ip.wanIpAddress, "10.0.0.2");
    CopyText(ip.wanSubnetMask, "255.255.255.0");
    CopyText(ip.defaultGateway, "10.0.0.1");
    CopyText(ip.dnsPrimary, "10.0.0.53");
    CopyText(ip.dnsSecondary, "0.0.0.0");
    return s;
}

TEST(WanRequest, EveryProtocolFormIsByteExact) {
    const std::string head = "wancfg.wzd?method=set&edit=0&ntwkPrtcl=";
    WizardSession pppoeStatic = PppSession(kProtocolPppoe);
    pppoeStatic.account.ppp.useStaticIpAddress = 1;
    struct Case {
        WizardSession session;
        int edit;
        std::string expected;
    } cases[] = {
        {PppSession(kProtocolPppoe), 0,
         head + "0&encapMode=1&atmVpi=8&atmVci=35&pppUserName=user@isp&pppPassword=secret"
                "&pppServerName=svc"},
        {pppoeStatic, 1,
         "wancfg.wzd?method=set&edit=1&ntwkPrtcl=0&encapMode=1&atmVpi=8&atmVci=35"
         "&pppUserName=user@isp&pppPassword=secret&pppServerName=svc&useStaticIpAddress=1"
         "&pppLocalIpAddress=10.1.2.3"},
        // PPPoA never sends the service name or a fixed address, even when the record has them.
        {[] {
             WizardSession s = PppSession(kProtocolPppoa);
             s.account.ppp.useStaticIpAddress = 1;
             return s;
         }(),
         0, head + "1&encapMode=1&atmVpi=8&atmVci=35&pppUserName=user@isp&pppPassword=secret"},
        {IpSession(kProtocolMer, true, true, true), 0,
         head + "2&encapMode=0&atmVpi=0&atmVci=35&enblDhcpClnt=1&enblAuto=1&dnsDynamic=1"},
        {IpSession(kProtocolIpoa, false, false, false), 0,
         head + "5&encapMode=0&atmVpi=0&atmVci=35&enblDhcpClnt=0&wanIpAddress=10.0.0.2"
                "&wanSubnetMask=255.255.255.0&enblAuto=0&defaultGateway=10.0.0.1&dnsDynamic=0"
                "&dnsPrimary=10.0.0.53&dnsSecondary=0.0.0.0"},
        {IpSession(kProtocolMer, true, false, true), 0,
         head + "2&encapMode=0&atmVpi=0&atmVci=35&enblDhcpClnt=1&enblAuto=0"
                "&defaultGateway=10.0.0.1&dnsDynamic=1"},
        {[] {
             WizardSession s{};
             s.ntwkPrtcl = kProtocolBridging;
             s.atmVpi = 255;
             s.atmVci = 65535;
             return s;
         }(),
         0, head + "3&encapMode=0&atmVpi=255&atmVci=65535"},
    };
    for (const Case& c : cases) {
        auto text = FormatWanRequest(c.session, c.edit);
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(*text, c.expected);
    }
    for (std::uint32_t code : {4u, 6u, 0xffffffffu}) {
        WizardSession s{};
        s.ntwkPrtcl = code;
        EXPECT_FALSE(FormatWanRequest(s, 0).has_value()) << code;
    }
}

WizardSession WirelessSession(const char* mode) {
    WizardSession s{};
    CopyText(s.wlAuthMode, mode);
    CopyText(s.wlSsid, "home");
    s.wlChannel = 6;
    s.wlKeyIndex = 3;
    return s;
}

TEST(WirelessRequest, FourFormsAreByteExact) {
    WizardSession open = WirelessSession("open");
    WizardSession wep128 = WirelessSession("WEP128");
    CopyText(wep128.keys.wep128.wlKey1, "0123456789abc");
    CopyText(wep128.keys.wep128.wlKey3, "fedcba9876543");
    WizardSession wep64 = WirelessSession("WEP64");
    CopyText(wep64.keys.wep64.wlKey1, "abcde");
    CopyText(wep64.keys.wep64.wlKey4, "12345");
    WizardSession wpa = WirelessSession("WPA");
    CopyText(wpa.keys.wlWpaPsk, "my pass=phrase");
    WizardSession noSelection = WirelessSession("open");
    noSelection.wlChannel = 0xffffffffu;

    const std::string head = "wl.wzd?method=set&wlSsid=home&wlChannel=";
    EXPECT_EQ(*FormatWirelessWriteRequest(open), head + "6&wlAuthMode=open");
    EXPECT_EQ(*FormatWirelessWriteRequest(wep128),
              head +
                  "6&wlAuthMode=shared&wlKeyBit=0&wlKeyIndex=3&wlKey1=0123456789abc&wlKey2="
                  "&wlKey3=fedcba9876543&wlKey4=");
    EXPECT_EQ(*FormatWirelessWriteRequest(wep64),
              head +
                  "6&wlAuthMode=shared&wlKeyBit=1&wlKeyIndex=3&wlKey1=abcde&wlKey2=&wlKey3="
                  "&wlKey4=12345");
    EXPECT_EQ(*FormatWirelessWriteRequest(wpa),
              head + "6&wlAuthMode=psk2mix&wlWpaPsk=my pass=phrase");
    EXPECT_EQ(*FormatWirelessWriteRequest(noSelection), head + "-1&wlAuthMode=open");
    for (const char* mode : {"", "wpa", "WEP", "shared", "none"}) {
        EXPECT_FALSE(FormatWirelessWriteRequest(WirelessSession(mode)).has_value()) << mode;
    }
}

TEST(WirelessRequest, WepKeysNeverReadPastTheirOwnField) {
    // 128-bit keys fill their 14 bytes with no terminator: each must stop at its own field.
    WizardSession s = WirelessSession("WEP128");
    std::memset(s.keys.wlWpaPsk, 'k', sizeof s.keys.wlWpaPsk);
    std::string text = *FormatWirelessWriteRequest(s);
    EXPECT_NE(text.find("&wlKey1=" + std::string(14, 'k') + "&wlKey2="), std::string::npos);
}

// The user's texts go as typed, UTF-8 and all; a text holding "&" or a control byte is refused
// by the builder itself, but only when the request would carry it.
TEST(RequestTexts, GoAsTypedAndUncarriableOnesAreRefused) {
    const std::string tricky = "a=b c %20+#?\xC3\xA9~";
    struct Case {
        const char* name;
        std::function<void(WizardSession&)> set;
        std::string carried;  // a piece the request holds; "": refused as uncarriable
    };
    const Case cases[] = {
        {"user name as typed",
         [&](WizardSession& s) { CopyText(s.account.ppp.pppUserName, tricky); },
         "&pppUserName=" + tricky + "&"},
        {"full-length user name whole",
         [](WizardSession& s) {
             std::memset(s.account.ppp.pppUserName, 'u', 256);
             s.account.ppp.pppUserName[256] = '\0';
         },
         "&pppUserName=" + std::string(256, 'u') + "&pppPassword="},
        {"user name with &",
         [](WizardSession& s) { CopyText(s.account.ppp.pppUserName, "a&edit=1"); }, ""},
        {"password with a tab",
         [](WizardSession& s) { CopyText(s.account.ppp.pppPassword, "p\tw"); }, ""},
        {"password with DEL",
         [](WizardSession& s) { CopyText(s.account.ppp.pppPassword, "p\x7f"); }, ""},
        {"password with unit separator",
         [](WizardSession& s) { CopyText(s.account.ppp.pppPassword, "\x1f"); }, ""},
        {"service name with &",
         [](WizardSession& s) { CopyText(s.account.ppp.pppServerName, "x&y"); }, ""},
        {"service name with & under PPPoA, which does not send it",
         [](WizardSession& s) {
             s.ntwkPrtcl = kProtocolPppoa;
             CopyText(s.account.ppp.pppServerName, "x&y");
         },
         "&pppPassword=secret"},
        {"fixed address, sent",
         [](WizardSession& s) {
             s.account.ppp.useStaticIpAddress = 1;
             CopyText(s.account.ppp.pppLocalIpAddress, "1.2.3.4\n");
         },
         ""},
        {"fixed address, not sent",
         [](WizardSession& s) { CopyText(s.account.ppp.pppLocalIpAddress, "1&2"); },
         "&pppServerName=svc"},
        {"DNS address, sent",
         [](WizardSession& s) {
             s = IpSession(kProtocolIpoa, true, true, false);
             CopyText(s.account.wanIp.dnsSecondary, "8.8.8.8&x=1");
         },
         ""},
        {"DNS address, obtained automatically",
         [](WizardSession& s) {
             s = IpSession(kProtocolMer, true, true, true);
             CopyText(s.account.wanIp.dnsSecondary, "8.8.8.8&x=1");
         },
         "&dnsDynamic=1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WizardSession s = PppSession(kProtocolPppoe);
        c.set(s);
        RequestRefusal why = RequestRefusal::UnknownForm;
        const std::optional<std::string> text = FormatWanRequest(s, 0, &why);
        if (c.carried.empty()) {
            EXPECT_EQ(text, std::nullopt);
            EXPECT_EQ(why, RequestRefusal::UncarriableValue);
        } else {
            ASSERT_TRUE(text.has_value());
            EXPECT_NE(text->find(c.carried), std::string::npos) << *text;
            EXPECT_EQ(why, RequestRefusal::None);
        }
    }
    RequestRefusal why = RequestRefusal::None;
    WizardSession unsupported{};
    unsupported.ntwkPrtcl = 4;
    EXPECT_EQ(FormatWanRequest(unsupported, 0, &why), std::nullopt);
    EXPECT_EQ(why, RequestRefusal::UnknownForm);

    const std::pair<std::function<void(WizardSession&)>, std::string> wireless[] = {
        {[](WizardSession& s) { CopyText(s.keys.wlWpaPsk, "correct horse battery"); },
         "&wlWpaPsk=correct horse battery"},
        {[&](WizardSession& s) { CopyText(s.wlSsid, tricky); }, "&wlSsid=" + tricky + "&"},
        {[](WizardSession& s) { CopyText(s.wlSsid, "caf\xC3\xA9&"); }, ""},
        {[](WizardSession& s) { CopyText(s.keys.wlWpaPsk, "12345678\r"); }, ""},
        {[](WizardSession& s) {
             CopyText(s.wlAuthMode, "WEP64");
             CopyText(s.keys.wep64.wlKey3, "ab&de");
         },
         ""},
        {[](WizardSession& s) {
             CopyText(s.wlAuthMode, "open");
             CopyText(s.keys.wlWpaPsk, "not&sent");
         },
         "&wlAuthMode=open"},
    };
    for (const auto& [set, carried] : wireless) {
        SCOPED_TRACE(carried);
        WizardSession s = WirelessSession("WPA");
        set(s);
        const std::optional<std::string> text = FormatWirelessWriteRequest(s, &why);
        EXPECT_EQ(text.has_value(), !carried.empty());
        if (text) {
            EXPECT_NE(text->find(carried), std::string::npos) << *text;
        }
        EXPECT_EQ(why, carried.empty() ? RequestRefusal::UncarriableValue : RequestRefusal::None);
    }
    EXPECT_EQ(FormatWirelessWriteRequest(WirelessSession("wpa"), &why), std::nullopt);
    EXPECT_EQ(why, RequestRefusal::UnknownForm);
}

TEST(WirelessRead, ValuesAreStoredByPosition) {
    struct Case {
        const char* valueList;
        const char* expected[8];
    } cases[] = {
        {"home&6&WEP64&abcde&none&null&xxxx&1&", {"home", "6", "WEP64", "abcde", "", "", "", "1"}},
        // Runs of "&" count as one separator; pieces after the eighth are ignored.
        {"&&net&&0&open&k1&k2&&k3&k4&2&extra&more",
         {"net", "0", "open", "k1", "k2", "k3", "k4", "2"}},
        // Four characters empty only the key fields.
        {"abcd&1234&WPA&passphrase&none&none&none&1",
         {"abcd", "1234", "WPA", "passphrase", "", "", "", "1"}},
        // Values are kept as the modem sent them: nothing is decoded.
        {"a%26b=c d&3&open&", {"a%26b=c d", "3", "open", "", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        SessionFields f;
        CopyText(f.wlKey2Saved, "old");
        CopyText(f.wlKeyIndexSaved, "4");
        StoreWirelessValues(c.valueList, f);
        const char* got[] = {f.wlSsidSaved, f.wlChannelSaved, f.wlAuthModeSaved, f.wlKey1Saved,
                             f.wlKey2Saved, f.wlKey3Saved,    f.wlKey4Saved,     f.wlKeyIndexSaved};
        const bool shortList = std::string(c.valueList).find("a%26b") == 0;
        for (int i = 0; i < 8; ++i) {
            std::string want = c.expected[i];
            // A shorter list leaves the remaining fields as they were.
            if (shortList && i == 4) want = "old";
            if (shortList && i == 7) want = "4";
            EXPECT_EQ(std::string(got[i]), want) << c.valueList << " field " << i;
        }
    }
}

TEST(GenerateRandomKey, LengthsAndAlphabet) {
    std::set<std::string> seen;
    for (int length : {5, 8, 13, 1, 21}) {
        for (int i = 0; i < 200; ++i) {
            char key[32];
            std::memset(key, 0, sizeof key);
            key[length + 1] = 'Z';
            GenerateRandomKey(key, length);
            std::string text(key);
            ASSERT_EQ(text.size(), static_cast<std::size_t>(length));
            EXPECT_EQ(key[length + 1], 'Z') << "wrote past the key";
            EXPECT_EQ(text.find_first_not_of("0123456789abcdef"), std::string::npos) << text;
            if (length == 13) seen.insert(text);
        }
    }
    // Keys drawn back to back differ: the generator is not reseeded from a clock.
    EXPECT_GT(seen.size(), 195u);
    char untouched[4] = "xyz";
    GenerateRandomKey(untouched, 0);
    GenerateRandomKey(untouched, 22);
    EXPECT_STREQ(untouched, "xyz");
}

}  // namespace
