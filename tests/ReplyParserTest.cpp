#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "core/protocol/DeviceClient.h"
#include "core/protocol/ReplyMode.h"
#include "core/protocol/ReplyParser.h"

namespace {

std::string Parse(const char* reply, int mode, int* result) {
    char buffer[DeviceClient::kReplyBufferSize] = {};
    std::strncpy(buffer, reply, DeviceClient::kMaxReplyBytes);
    DeviceClient client;
    *result = client.ParseReply(mode, buffer);
    return buffer;
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
        // Only the first examined pair counts.
        {"?reason=3&reason=4", ReplyReason, 3, nullptr},
        {"?connection= 7x", ReplyWanTest, 7, nullptr},
        // An empty value makes the next pair's text the value.
        {"?a=&reason=5", ReplyReason, 0, ""},
        // Runs of separators are skipped; only the first "?" counts.
        {"?==reason=2", ReplyReason, 2, nullptr},
        // Runs of "&" belong to the next key: "&&reason" is not "reason".
        {"?x=1&&&reason=4", ReplyReason, 0, nullptr},
        {"?x=1&reason=4", ReplyReason, 4, nullptr},
        {"x?y?reason=9", ReplyReason, 0, ""},
        // A key without a value at the end ends the interpretation.
        {"?reason=0&x", ReplyWirelessGet, 0, ""},
        {"?reason=", ReplyReason, 0, ""},
        // A mode outside 0..3 yields 10 as soon as a pair is read.
        {"?a=1", 7, 10, nullptr},
        // Numbers saturate instead of overflowing.
        {"?reason=99999999999999999999", ReplyReason, 2147483647, nullptr},
        {"?reason=-99999999999999999999", ReplyReason, -2147483647 - 1, nullptr},
    };
    for (const auto& c : cases) {
        int result = -12345;
        const std::string after = Parse(c.reply, c.mode, &result);
        EXPECT_EQ(result, c.result) << c.reply << " mode " << c.mode;
        if (c.bufferAfter) {
            EXPECT_EQ(after, c.bufferAfter) << c.reply << " mode " << c.mode;
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
