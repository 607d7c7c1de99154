// The dhclient renewal of an ordinary user through pkexec and the privileged helper, with a
// pkexec that runs its arguments and helpers that print what the real one may print.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "detection/processes/PrivilegedHelper.h"

namespace {

// One wired DHCP interface; reading it tells of an instance left out, as dhclient's reader may.
class ReadingAdapters final : public NetworkAdapters {
public:
    std::string_view Backend() const override { return "dhclient"; }
    bool List(std::vector<NetworkAdapter>& adapters) override {
        Notice("eth7 left out: not root");
        adapters = {{"eth0", true, ""}};
        return true;
    }
    std::vector<RenewOutcome> RenewAll() override { return {}; }
};

TEST(PrivilegedHelperTest, RenewalsAndNoticesComeBackFromTheHelper) {
    const struct {
        const char* pkexec;  // the fake pkexec's body
        const char* helper;  // the fake helper's body
        std::vector<std::string> renewed;
        std::vector<std::string> notices;
        Authorization authorization;
    } cases[] = {
        {"exec \"$@\"",
         "echo 'notice eth9 left out: it does not run as root'\necho 'renew eth0 1 1'\n"
         "echo 'notice eth9 left out: it does not run as root'\necho 'renew eth1 1 0'\n"
         "echo 'garbage'\necho 'renew eth2 1 1'",
         {"eth0", "eth1"},
         {"eth9 left out: it does not run as root"},
         Authorization::Granted},
        {"exit 126", "", {"eth0"}, {"eth7 left out: not root"}, Authorization::Refused},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pkexec);
        char scratch[] = "/tmp/helper-test-XXXXXX";
        ASSERT_NE(mkdtemp(scratch), nullptr);
        const std::string dir = scratch;
        for (const auto& [name, body] : {std::pair{std::string("pkexec"), c.pkexec},
                                         std::pair{std::string(kPrivilegedHelperName), c.helper}}) {
            std::ofstream(dir + "/" + name) << "#!/bin/sh\n" << body << "\n";
            chmod((dir + "/" + name).c_str(), 0755);
        }
        const std::string path = std::getenv("PATH");
        setenv("PATH", (dir + ":" + path).c_str(), 1);

        HelperRenewAdapters adapters(std::make_unique<ReadingAdapters>(), dir);
        std::vector<std::string> notices;
        adapters.SetNoticeSink([&](const std::string& text) { notices.push_back(text); });
        const std::vector<RenewOutcome> outcomes = adapters.RenewAll();
        setenv("PATH", path.c_str(), 1);
        std::system(("rm -rf " + dir).c_str());

        std::vector<std::string> names;
        for (const RenewOutcome& outcome : outcomes) {
            names.push_back(outcome.name);
            EXPECT_EQ(outcome.authorization, c.authorization);
        }
        EXPECT_EQ(names, c.renewed);
        EXPECT_EQ(notices, c.notices);
    }
}

}  // namespace
