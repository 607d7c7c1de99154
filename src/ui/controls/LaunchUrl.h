#pragma once

#include <string>
#include <string_view>

class ShellService;

// Opens a web address in the user's browser. First the desktop's own handler for the address;
// when that fails, the command registered for HTML documents, cut at its placeholder, with a
// space and the address appended. Returns the desktop's result when it succeeded or when no
// command is registered, otherwise the result of starting the command.
int LaunchUrl(ShellService& shell, std::string_view address);

// A registered command cut where its placeholder for the document begins: the quoted form
// ("%u" with the double quotes) first, then the bare one; %u, %U, %f and %F and the older %1
// count. Without any placeholder the whole command is kept.
std::string CutAtPlaceholder(std::string_view command);
