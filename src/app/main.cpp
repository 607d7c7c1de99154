#include "app/SetupPilotApp.h"
#include "app/WizardPages.h"
#include "platform/MessageBoxService.h"
#include "platform/ShellService.h"
#include "wizard/WizardContext.h"

int main(int argc, char** argv) {
    SetupPilotApp app(argc, argv);
    QtMessageBoxService messageBoxes;
    DesktopShellService shell;
    WizardContext context;
    context.messageBox = &messageBoxes;
    context.shell = &shell;
    InstallWizardPages(context);
    ScopedWizardContext installed(std::move(context));
    app.InitInstance();
    return 0;
}
