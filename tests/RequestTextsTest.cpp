#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/protocol/ApplySettings.h"
#include "core/protocol/DeviceClient.h"
#include "core/protocol/ReplyMode.h"
#include "core/protocol/ReplyParser.h"
#include "core/protocol/RequestValue.h"
#include "core/protocol/WirelessRequests.h"
#include "core/wireless/GenerateRandomKey.h"
#include "support/SessionBuilders.h"

namespace {

// Typed by a user: must reach the modem byte for byte, nothing encoded.
const std::string kTyped = "a=b c %20+#?\xC3\xA9~";

// The usual form of each protocol and mode is checked by the whole runs; here the edges.
TEST(WanRequest, FormsAreByteExact) {
    const std::string head = "wancfg.wzd?method=set&edit=";
    const std::string ppp =
        "&encapMode=1&atmVpi=8&atmVci=35&pppUserName=" + kTyped + "&pppPassword=secret";
    WizardSession pppoe = PppRecord(kProtocolPppoe);
    CopyText(pppoe.account.ppp.pppUserName, kTyped);
    WizardSession fixed = pppoe;
    fixed.account.ppp.useStaticIpAddress = 1;
    // PPPoA never sends the service name or a fixed address, even when the record has them.
    WizardSession pppoa = fixed;
    pppoa.ntwkPrtcl = kProtocolPppoa;
    const struct {
        WizardSession record;
        int edit;
        std::string expected;
    } cases[] = {
        {fixed, 1,
         head + "1&ntwkPrtcl=0" + ppp +
             "&pppServerName=svc&useStaticIpAddress=1&pppLocalIpAddress=10.1.2.3"},
        {pppoa, 0, head + "0&ntwkPrtcl=1" + ppp},
        {WanIpRecord(kProtocolMer, true, true, true), 0,
         head + "0&ntwkPrtcl=2&encapMode=0&atmVpi=0&atmVci=35&enblDhcpClnt=1&enblAuto=1"
                "&dnsDynamic=1"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatWanRequest(c.record, c.edit), c.expected);

    // A user name filling its whole field goes whole.
    std::memset(pppoe.account.ppp.pppUserName, 'u', 256);
    EXPECT_NE(FormatWanRequest(pppoe, 0)->find("=" + std::string(256, 'u') + "&"),
              std::string::npos);
    for (std::uint32_t code : {4u, 6u}) {
        WizardSession unknown{};
        unknown.ntwkPrtcl = code;
        RequestRefusal why = RequestRefusal::None;
        EXPECT_EQ(FormatWanRequest(unknown, 0, &why), std::nullopt) << code;
        EXPECT_EQ(why, RequestRefusal::UnknownForm);
    }
}

TEST(WirelessRequest, FormsAreByteExact) {
    WizardSession wep128 = WirelessRecord("WEP128");
    CopyText(wep128.keys.wep128.wlKey1, "0123456789abc");
    CopyText(wep128.keys.wep128.wlKey3, "fedcba9876543");
    WizardSession noChannel = WirelessRecord("open");
    noChannel.wlChannel = 0xffffffffu;
    CopyText(noChannel.wlSsid, kTyped);

    EXPECT_EQ(FormatWirelessWriteRequest(wep128),
              "wl.wzd?method=set&wlSsid=home&wlChannel=6&wlAuthMode=shared&wlKeyBit=0&wlKeyIndex=3"
              "&wlKey1=0123456789abc&wlKey2=&wlKey3=fedcba9876543&wlKey4=");
    EXPECT_EQ(FormatWirelessWriteRequest(noChannel),
              "wl.wzd?method=set&wlSsid=" + kTyped + "&wlChannel=-1&wlAuthMode=open");
    for (const char* mode : {"", "wpa"}) {
        RequestRefusal why = RequestRefusal::None;
        EXPECT_EQ(FormatWirelessWriteRequest(WirelessRecord(mode), &why), std::nullopt) << mode;
        EXPECT_EQ(why, RequestRefusal::UnknownForm);
    }
    // 128-bit keys fill their 14 bytes with no terminator: each stops at its own field.
    std::memset(wep128.keys.wlWpaPsk, 'k', sizeof wep128.keys.wlWpaPsk);
    EXPECT_NE(FormatWirelessWriteRequest(wep128)->find("&wlKey1=" + std::string(14, 'k') + "&"),
              std::string::npos);
}

#define FIELD(f) [](WizardSession& s) -> char* { return s.f; }

// A text holding "&" or a control byte cannot be carried by the key=value&... grammar; the
// builders refuse it, but only when their request would carry it.
TEST(RequestTexts, UncarriableTextsAreRefusedOnlyWhereTheyWouldBeSent) {
    for (const char* text : {"", " ", "~", "\xC3\xA9", "a=b", "%26"})
        EXPECT_TRUE(IsCarriableValue(text));
    for (const char* text : {"a&b", "\t", "\x1f", "\x7f"}) EXPECT_FALSE(IsCarriableValue(text));
    // Each row: the account's protocol (PPPoE with a fixed address, IPoA with fixed DNS servers,
    // MER with automatic ones), the wireless mode, the text that gets "a&b", and whether it goes.
    const struct {
        const char* name;
        std::uint32_t protocol;
        const char* mode;
        char* (*field)(WizardSession&);
        bool sent;
    } cases[] = {
        {"user name", kProtocolPppoe, "WPA", FIELD(account.ppp.pppUserName), true},
        {"password", kProtocolPppoa, "WPA", FIELD(account.ppp.pppPassword), true},
        {"service name", kProtocolPppoe, "WPA", FIELD(account.ppp.pppServerName), true},
        {"service name under PPPoA", kProtocolPppoa, "WPA", FIELD(account.ppp.pppServerName),
         false},
        {"fixed address", kProtocolPppoe, "WPA", FIELD(account.ppp.pppLocalIpAddress), true},
        {"fixed address under PPPoA", kProtocolPppoa, "WPA", FIELD(account.ppp.pppLocalIpAddress),
         false},
        {"DNS address", kProtocolIpoa, "WPA", FIELD(account.wanIp.dnsSecondary), true},
        {"automatic DNS", kProtocolMer, "WPA", FIELD(account.wanIp.dnsSecondary), false},
        {"network name", kProtocolPppoe, "open", FIELD(wlSsid), true},
        {"WPA key", kProtocolPppoe, "WPA", FIELD(keys.wlWpaPsk), true},
        {"WEP key", kProtocolPppoe, "WEP64", FIELD(keys.wep64.wlKey3), true},
        {"WPA key of an open network", kProtocolPppoe, "open", FIELD(keys.wlWpaPsk), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool ppp = c.protocol == kProtocolPppoe || c.protocol == kProtocolPppoa;
        WizardSession s = WirelessRecord(
            c.mode, ppp ? PppRecord(c.protocol)
                        : WanIpRecord(c.protocol, true, true, c.protocol == kProtocolMer));
        if (ppp) s.account.ppp.useStaticIpAddress = 1;
        CopyText(s.keys.wlWpaPsk, "correct horse");
        std::strcpy(c.field(s), "a&b");  // every field holds at least five bytes
        RequestRefusal wan = RequestRefusal::UnknownForm, wireless = RequestRefusal::UnknownForm;
        const bool built = FormatWanRequest(s, 0, &wan) && FormatWirelessWriteRequest(s, &wireless);
        EXPECT_EQ(built, !c.sent);
        EXPECT_EQ(
            wan == RequestRefusal::UncarriableValue || wireless == RequestRefusal::UncarriableValue,
            c.sent);
    }
}

TEST(WirelessRead, ValuesAreStoredByPosition) {
    const std::pair<const char*, const char*> cases[] = {
        // Four characters on a key field stand for an unset key.
        {"home&6&WEP64&abcde&none&null&xxxx&1&", "home|6|WEP64|abcde||||1"},
        // Runs of "&" count as one separator; pieces after the eighth are ignored.
        {"&&net&&0&open&k1&k2&&k3&k4&2&extra&more", "net|0|open|k1|k2|k3|k4|2"},
        // Kept as the modem sent them; a shorter list leaves the other fields as they were.
        {"a%26b=c d&3&open&", "a%26b=c d|3|open||old|||4"},
    };
    for (const auto& [valueList, expected] : cases) {
        SessionFields f;
        CopyText(f.wlKey2Saved, "old");
        CopyText(f.wlKeyIndexSaved, "4");
        StoreWirelessValues(valueList, f);
        std::string got = f.wlSsidSaved;
        for (const char* field : {f.wlChannelSaved, f.wlAuthModeSaved, f.wlKey1Saved, f.wlKey2Saved,
                                  f.wlKey3Saved, f.wlKey4Saved, f.wlKeyIndexSaved})
            got = got + "|" + field;
        EXPECT_EQ(got, expected) << valueList;
    }
}

TEST(GenerateRandomKey, LengthsAndAlphabet) {
    std::set<std::string> seen;
    for (int length : {1, 13, 21}) {
        for (int i = 0; i < 200; ++i) {
            char key[32] = {};
            key[length + 1] = 'Z';
            GenerateRandomKey(key, length);
            ASSERT_EQ(std::strlen(key), static_cast<std::size_t>(length));
            EXPECT_EQ(key[length + 1], 'Z') << "wrote past the key";
            EXPECT_EQ(std::string(key).find_first_not_of("0123456789abcdef"), std::string::npos);
            if (length == 13) seen.insert(key);
        }
    }
    // Keys drawn back to back differ: the generator is not reseeded from a clock.
    EXPECT_GT(seen.size(), 195u);
    char untouched[4] = "xyz";
    GenerateRandomKey(untouched, 0);
    GenerateRandomKey(untouched, 22);
    EXPECT_STREQ(untouched, "xyz");
}

TEST(ReplyParser, InterpretsEachModeAsTheModemGrammarSays) {
    const struct {
        const char* reply;
        int mode;
        int result;
        const char* bufferAfter;  // nullptr: only the result is checked ("cut in place")
    } cases[] = {
        {"?connection=ok", ReplyLanTest, 0, nullptr},
        {"?connection=down", ReplyLanTest, 1, nullptr},
        {"?reason=-1", ReplyReason, -1, nullptr},
        {"?connection=6", ReplyWanTest, 0, nullptr},
        {"?connection=0", ReplyWanTest, 6, nullptr},
        {"?connection=2", ReplyWanTest, 2, nullptr},
        {"?reason=0&a=home&b=6&wlAuthMode=WEP64", ReplyWirelessGet, 2, "home&6&WEP64&"},
        {"?a=home&reason=0&wlAuthMode=open", ReplyWirelessGet, 0, "open&"},
        {"no question mark", ReplyWirelessGet, 0, "no question mark"},
        // Text before the first "?" is ignored even when it looks like a pair.
        {"connection=down?reason=0", ReplyLanTest, 0, ""},
        // Pairs before "reason" are neither collected nor classified.
        {"?wlAuthMode=WPA&reason=0&s=x", ReplyWirelessGet, 0, "x&"},
        {"?reason=0&wlAuthMode=wep64", ReplyWirelessGet, 10, "wep64&"},
        {"?reason=0&wlAuthMode=WPA", ReplyWirelessGet, 3, "WPA&"},
        {"?reason=0&wlAuthMode=WEP128", ReplyWirelessGet, 1, "WEP128&"},
        {"?reason=3&reason=4", ReplyReason, 3, nullptr},  // only the first examined pair counts
        {"?connection= 7x", ReplyWanTest, 7, nullptr},
        {"?a=&reason=5", ReplyReason, 0, ""},  // an empty value takes the next pair's text
        // Runs of separators are skipped; only the first "?" counts.
        {"?==reason=2", ReplyReason, 2, nullptr},
        // Runs of "&" belong to the next key: "&&reason" is not "reason".
        {"?x=1&&&reason=4", ReplyReason, 0, nullptr},
        {"?x=1&reason=4", ReplyReason, 4, nullptr},
        {"x?y?reason=9", ReplyReason, 0, ""},
        // A key without a value at the end ends the interpretation.
        {"?reason=0&x", ReplyWirelessGet, 0, ""},
        {"?reason=", ReplyReason, 0, ""},
        {"?a=1", 7, 10, nullptr},  // a mode outside 0..3 yields 10 as soon as a pair is read
        // Numbers saturate instead of overflowing.
        {"?reason=99999999999999999999", ReplyReason, 2147483647, nullptr},
        {"?reason=-99999999999999999999", ReplyReason, -2147483647 - 1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.reply << " mode " << c.mode);
        char buffer[DeviceClient::kReplyBufferSize] = {};
        std::strncpy(buffer, c.reply, DeviceClient::kMaxReplyBytes);
        EXPECT_EQ(DeviceClient().ParseReply(c.mode, buffer), c.result);
        if (c.bufferAfter) {
            EXPECT_STREQ(buffer, c.bufferAfter);
        }
    }
}

// The end step zeroes the whole reply, copies no more values than the reply held, and reads a
// null value list as an empty one (the sanitizer build fails if it reaches memcpy).
TEST(ReplyParser, EndStepStaysInsideTheReplyAndTheValueList) {
    char buffer[64];
    std::memset(buffer, 'Z', sizeof buffer);
    std::strcpy(buffer, "pre?reason=0&s=home");
    char valueList[1024] = {};
    EXPECT_EQ(ParseReplyText(ReplyWirelessGet, buffer, valueList, sizeof valueList), 0);
    EXPECT_STREQ(buffer, "home&");
    EXPECT_EQ(std::string(buffer + 5, 14), std::string(14, '\0'));
    EXPECT_EQ(buffer[20], 'Z') << "bytes past the reply's terminator stay untouched";

    for (int mode : {ReplyWirelessGet, ReplyReason, ReplyLanTest, ReplyWanTest}) {
        char reply[] = "wl.wzd?reason=0&wlAuthMode=WEP64&wlSsid=home";
        EXPECT_EQ(ParseReplyText(mode, reply, nullptr, 0), mode == ReplyWirelessGet ? 2 : 0);
    }

    // 260 bytes of short pairs after "reason": the value list is as long as it can get.
    std::string full = "?reason=0";
    while (full.size() + 4 <= DeviceClient::kMaxReplyBytes) full += "&k=v";
    full.resize(DeviceClient::kMaxReplyBytes, '=');
    char whole[DeviceClient::kReplyBufferSize];
    std::memcpy(whole, full.c_str(), full.size() + 1);
    char tiny[8] = {};
    EXPECT_EQ(ParseReplyText(ReplyWirelessGet, whole, tiny, sizeof tiny), 0);
    EXPECT_STREQ(whole, "v&v&v&v");
    EXPECT_STREQ(tiny, "v&v&v&v");
}

// No state is shared: not the values one client collected, not the position between threads.
TEST(ReplyParser, ClientsAndThreadsShareNothing) {
    char first[] = "?reason=0&a=one", second[] = "?reason=0&a=two";
    DeviceClient().ParseReply(ReplyWirelessGet, first);
    DeviceClient().ParseReply(ReplyWirelessGet, second);
    EXPECT_STREQ(second, "two&");
    std::vector<int> failures(4, 0);
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([t, &failures] {
                for (int i = 0; i < 2000; ++i) {
                    std::string text = "?a=" + std::to_string(i) + "&reason=" + std::to_string(t);
                    char list[64] = {};
                    failures[t] += ParseReplyText(ReplyReason, text.data(), list, 64) != t;
                }
            });
        }
    }
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
