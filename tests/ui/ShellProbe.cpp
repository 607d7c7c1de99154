// One request through the desktop's shell service, its result printed. The desktop's
// associations are read once per process, so a test tries the real service in an environment of
// its own by running this:
//   shell_probe document FOLDER FILE | program FOLDER FILE | url ADDRESS
#include <cstdio>
#include <string_view>

#include "ui/controls/LaunchUrl.h"
#include "ui/services/ShellService.h"

int main(int argc, char** argv) {
    const std::string_view what = argc > 1 ? argv[1] : "";
    DesktopShellService shell;
    int result = 0;
    if (what == "document" && argc == 4) {
        result = shell.OpenDocument(argv[2], argv[3]);
    } else if (what == "program" && argc == 4) {
        result = shell.StartProgram(argv[2], argv[3]);
    } else if (what == "url" && argc == 3) {
        result = LaunchUrl(shell, argv[2]);
    } else {
        std::fputs("usage: shell_probe document FOLDER FILE | program FOLDER FILE | url ADDRESS\n",
                   stderr);
        return 2;
    }
    std::printf("%d\n", result);
    return 0;
}
