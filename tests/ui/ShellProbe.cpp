// One request through the desktop's shell service, its result printed. The desktop's
// associations are read once per process, so a test tries the real service in a desktop of its
// own by running this:   shell_probe document FOLDER FILE | program FOLDER FILE | url ADDRESS
#include <cstdio>
#include <string_view>

#include "ui/controls/LaunchUrl.h"
#include "ui/services/ShellService.h"

int main(int argc, char** argv) {
    const std::string_view what = argc > 1 ? argv[1] : "";
    DesktopShellService shell;
    const int result = what == "document" && argc == 4  ? shell.OpenDocument(argv[2], argv[3])
                       : what == "program" && argc == 4 ? shell.StartProgram(argv[2], argv[3])
                       : what == "url" && argc == 3     ? LaunchUrl(shell, argv[2])
                                                        : -1;
    if (result < 0) return 2;  // not a request it knows
    std::printf("%d\n", result);
    return 0;
}
