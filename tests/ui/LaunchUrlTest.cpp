#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "FakeShellService.h"
#include "ui/controls/LaunchUrl.h"
#include "ui/services/ShellService.h"

namespace {

// Only a desktop result of 32 or less falls back to the registered HTML command, cut at its
// placeholder with the address appended.
TEST(LaunchUrlTest, FallsBackToTheRegisteredCommandCutAtItsPlaceholder) {
    const struct {
        int urlResult;
        std::optional<std::string> registered;
        std::optional<std::string> started;  // the command line run, if any
        int result;
    } cases[] = {
        {33, "browser %u", std::nullopt, 33},
        {32, "browser %u", "browser  https://example.test/", kStartOk},
        {kShellNoAssociation, std::nullopt, std::nullopt, kShellNoAssociation},
        // A bare placeholder cuts there, losing what follows; a quoted one is found first.
        {kShellNoAssociation, "browser --new %U --private", "browser --new  https://example.test/",
         kStartOk},
        {2, "browser %f \"%u\" -x", "browser %f  https://example.test/", kStartOk},
        {kShellFileNotFound, "browser --flag", "browser --flag https://example.test/", kStartOk},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.registered.value_or("nothing registered"));
        FakeShellService shell;
        shell.results["https://example.test/"] = c.urlResult;
        shell.htmlCommand = c.registered;
        EXPECT_EQ(LaunchUrl(shell, "https://example.test/"), c.result);
        std::optional<std::string> started;
        bool lookedUp = false;
        for (const auto& call : shell.Calls()) {
            if (call.what == "start") started = call.target;
            lookedUp = lookedUp || call.what == "html";
        }
        EXPECT_EQ(started, c.started);
        EXPECT_EQ(lookedUp, c.urlResult <= 32);
    }
}

}  // namespace
