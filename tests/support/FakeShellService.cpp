#include "FakeShellService.h"

#include <utility>

int FakeShellService::ResultFor(std::string_view target) const {
    const auto it = results.find(target);
    return it == results.end() ? defaultResult : it->second;
}

void FakeShellService::Record(Call call) {
    calls_.push_back(std::move(call));
    if (onCall) onCall(calls_.back());
}

int FakeShellService::OpenDocument(std::string_view folder, std::string_view file) {
    Record({"open", std::string(folder), std::string(file)});
    return ResultFor(file);
}

int FakeShellService::StartProgram(std::string_view folder, std::string_view file) {
    Record({"program", std::string(folder), std::string(file)});
    return ResultFor(file);
}

int FakeShellService::OpenUrl(std::string_view address) {
    Record({"url", {}, std::string(address)});
    return ResultFor(address);
}

std::optional<std::string> FakeShellService::HtmlOpenCommand() {
    Record({"html", {}, {}});
    return htmlCommand;
}

int FakeShellService::StartDetached(std::string_view commandLine) {
    Record({"start", {}, std::string(commandLine)});
    return startResult;
}
