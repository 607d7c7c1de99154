#include "ui/controls/LaunchUrl.h"

#include <array>

#include "ui/services/ShellService.h"

namespace {

constexpr std::array<std::string_view, 5> kFieldCodes{"%u", "%U", "%f", "%F", "%1"};

// The earliest position at which one of the field codes occurs; with quoted, only codes with a
// double quote on each side count, and the position is that of the opening quote.
std::string_view::size_type FindFieldCode(std::string_view command, bool quoted) {
    std::string_view::size_type best = std::string_view::npos;
    for (std::string_view code : kFieldCodes) {
        for (auto at = command.find(code); at != std::string_view::npos;
             at = command.find(code, at + 1)) {
            const auto after = at + code.size();
            const bool isQuoted =
                at > 0 && command[at - 1] == '"' && after < command.size() && command[after] == '"';
            if (!quoted || isQuoted) {
                const auto start = quoted ? at - 1 : at;
                if (start < best) best = start;
                break;
            }
        }
    }
    return best;
}

}  // namespace

std::string CutAtPlaceholder(std::string_view command) {
    auto at = FindFieldCode(command, true);
    if (at == std::string_view::npos) at = FindFieldCode(command, false);
    return std::string(command.substr(0, at));
}

int LaunchUrl(ShellService& shell, std::string_view address) {
    const int shellResult = shell.OpenUrl(address);
    if (shellResult > 32) return shellResult;

    const auto registered = shell.HtmlOpenCommand();
    if (!registered) return shellResult;

    std::string command = CutAtPlaceholder(*registered);
    command += ' ';
    command += address;
    return shell.StartDetached(command);
}
