#include "app/SetupPilotApp.h"
#include "app/WizardFlow.h"
#include "platform/MessageBoxService.h"
#include "platform/ShellService.h"
#include "wizard/WizardContext.h"

int main(int argc, char** argv) {
    SetupPilotApp app(argc, argv);
    QtMessageBoxService messageBoxes;
    QtShellService shell;
    WizardContext context;
    context.messageBox = &messageBoxes;
    context.shell = &shell;
    InstallWizardFlow(context);
    ScopedWizardContext installed(std::move(context));
    app.InitInstance();
    return 0;
}
