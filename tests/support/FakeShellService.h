#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/services/ShellService.h"

// Records every request and answers from its tables; nothing is started.
class FakeShellService final : public ShellService {
public:
    struct Call {
        std::string what;  // "open", "program", "url", "html", "start"
        std::string folder;
        std::string target;  // file, address or command line
    };

    int OpenDocument(std::string_view folder, std::string_view file) override;
    int StartProgram(std::string_view folder, std::string_view file) override;
    int OpenUrl(std::string_view address) override;
    std::optional<std::string> HtmlOpenCommand() override;
    int StartDetached(std::string_view commandLine) override;

    // Result for a file name or address; anything not listed gets defaultResult.
    std::map<std::string, int, std::less<>> results;
    int defaultResult = kShellFileNotFound;
    std::optional<std::string> htmlCommand;
    int startResult = kStartOk;
    // Runs at each request, as it is made.
    std::function<void(const Call&)> onCall;

    const std::vector<Call>& Calls() const { return calls_; }

private:
    int ResultFor(std::string_view target) const;
    void Record(Call call);
    std::vector<Call> calls_;
};
