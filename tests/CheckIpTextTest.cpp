#include <gtest/gtest.h>

#include "core/account/CheckIpText.h"

namespace {

TEST(CheckIpText, AddressesAndMasksAtTheEdges) {
    const struct {
        int isMask;
        int expected;  // 0 valid, 1 invalid
        std::initializer_list<const char*> texts;
    } cases[] = {
        {0, 0, {"192.168.1.1", "223.255.255.254", "1.0.0.1", "010.0.0.1"}},
        {0,
         1,
         {"127.0.0.1", "224.0.0.1", "0.1.2.3", "192.168.1.0", "192.168.1.255", "192.168.1.256",
          "192.168.1", "192.168.1.1.", "192..1.1", "", " 192.168.1.1", "+10.0.0.1", "10.0.0.0001"}},
        {1, 0, {"255.255.255.252", "255.255.255.0", "255.0.0.0", "255.128.0.0", "255.255.254.0"}},
        {1,
         1,
         {"255.255.255.254", "255.255.255.255", "255.255.192.255", "255.127.0.0", "254.0.0.0",
          "255.0.255.0", "255.255.255.253"}},
    };
    for (const auto& c : cases) {
        for (const char* text : c.texts) {
            EXPECT_EQ(CheckIpText(text, c.isMask), c.expected)
                << '"' << text << "\" as " << (c.isMask ? "mask" : "address");
        }
    }
    EXPECT_EQ(CheckIpText(nullptr, 0), 1);
}

}  // namespace
