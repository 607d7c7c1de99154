#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "FakeShellService.h"
#include "ui/controls/LaunchUrl.h"
#include "ui/services/ShellService.h"

namespace {

constexpr const char* kAddress = "https://example.test/";

TEST(LaunchUrlTest, FallsBackToTheRegisteredCommandCutAtItsPlaceholder) {
    struct Case {
        const char* name;
        int urlResult;
        std::optional<std::string> registered;
        std::optional<std::string> started;  // command line run, if any
        int result;
    };
    const Case cases[] = {
        {"desktop handler works: nothing is looked up", kShellOk, "browser %u", std::nullopt,
         kShellOk},
        // Above 32 is success: 33 is taken as it is, 32 already falls back.
        {"just above the boundary", 33, "browser %u", std::nullopt, 33},
        {"at the boundary", 32, "browser %u", "browser  https://example.test/", kStartOk},
        {"nothing registered: the desktop's failure", kShellNoAssociation, std::nullopt,
         std::nullopt, kShellNoAssociation},
        {"bare placeholder: cut there, arguments after it lost", kShellNoAssociation,
         "browser --new %U --private", "browser --new  https://example.test/", kStartOk},
        {"quoted placeholder is found before a bare one", 2, "browser %f \"%u\" -x",
         "browser %f  https://example.test/", kStartOk},
        {"no placeholder: address appended", kShellFileNotFound, "browser --flag",
         "browser --flag https://example.test/", kStartOk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeShellService shell;
        shell.results[kAddress] = c.urlResult;
        shell.htmlCommand = c.registered;
        EXPECT_EQ(LaunchUrl(shell, kAddress), c.result);
        std::optional<std::string> started;
        bool lookedUp = false;
        for (const auto& call : shell.Calls()) {
            if (call.what == "start") started = call.target;
            if (call.what == "html") lookedUp = true;
        }
        EXPECT_EQ(started, c.started);
        EXPECT_EQ(lookedUp, c.urlResult <= 32);
    }
}

}  // namespace
