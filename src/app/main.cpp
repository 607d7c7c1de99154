#include <QGuiApplication>
#include <QIcon>
#include <cstdlib>

#include "app/SetupPilotApp.h"
#include "app/WizardFlow.h"
#include "core/messages/DesktopLanguage.h"
#include "core/session/SessionFields.h"
#include "ui/services/MessageBoxService.h"
#include "ui/services/ShellService.h"
#include "ui/wizard/WizardContext.h"

int main(int argc, char** argv) {
    // On a Wayland desktop the wizard goes through the desktop's X11 server, as it is tested,
    // unless the user chose a platform: Qt would otherwise try a Wayland plugin first and
    // complain on the terminal when it is not installed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    SetupPilotApp app(argc, argv);
    // The desktop matches the windows to the menu entry, and so to its icon, by this name; the
    // icon is found in the icon theme once the package is installed.
    QGuiApplication::setDesktopFileName(QStringLiteral(SETUPPILOT_APP_ID));
    QGuiApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(SETUPPILOT_APP_ID)));
    // Started from the desktop, the wizard speaks the desktop's language when it has it; the
    // home page's language choice still changes it.
    SetLanguage(Session(), DesktopLanguage(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                                           std::getenv("LANG")));

    QtMessageBoxService messageBoxes;
    DesktopShellService shell;
    WizardContext context;
    context.messageBox = &messageBoxes;
    context.shell = &shell;
    InstallWizardFlow(context);
    ScopedWizardContext installed(std::move(context));
    app.InitInstance();
    return 0;
}
