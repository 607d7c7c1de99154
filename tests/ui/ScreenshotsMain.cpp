// Walks home -> guide 1 -> guide 2 -> guide 3 -> modem found in every language, builds the final
// page directly, and saves each page as OUTPUT/<Language>/<page>.png. The backgrounds come from
// RES_FOLDER (the folder holding English/, French/, ...), linked as res/ into a scratch folder
// that becomes the current directory, as beside the program.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <array>

#include "FakeShellService.h"
#include "RecordingMessageBoxService.h"
#include "UiDriver.h"
#include "app/WizardFlow.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "ui/services/MessageBoxService.h"
#include "ui/services/ShellService.h"
#include "ui/wizard/FinishPage.h"
#include "ui/wizard/HomePage.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"

namespace {

constexpr std::array<const char*, 5> kLanguages{"English", "French", "German", "Italian",
                                                "Spanish"};

bool Shoot(const QString& output, int languageIndex) {
    const QString folder = QDir(output).filePath(QString::fromLatin1(kLanguages[languageIndex]));
    Session().languageIndex = languageIndex;
    CopyText(Session().languageFolder,
             std::string("res/") + kLanguages[static_cast<std::size_t>(languageIndex)]);

    UiDriver walk;
    walk.Screenshot(folder, QStringLiteral("home"))
        .Click(CHomePage::kIdStart)
        .Screenshot(folder, QStringLiteral("guide1"))
        .Click(kIdNext)
        .Screenshot(folder, QStringLiteral("guide2"))
        .Click(kIdNext)
        .Screenshot(folder, QStringLiteral("guide3"))
        .Click(kIdNext)
        .Screenshot(folder, QStringLiteral("modem_found"))
        .Click(kIdExit);
    walk.Start();
    CHomePage home(ResourcePath("home.bmp"), nullptr);
    home.DoModal();

    UiDriver last;
    last.Screenshot(folder, QStringLiteral("finish")).Then([](CWizardPage& top) { top.OnClose(); });
    last.Start();
    CFinishPage finish(ResourcePath("install11.bmp"), nullptr);
    finish.DoModal();
    return walk.AllActionsRan() && !walk.TimedOut() && last.AllActionsRan() && !last.TimedOut();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        err << "usage: ui_screenshots RES_FOLDER [OUTPUT_FOLDER]\n";
        return 2;
    }
    const QString res = QFileInfo(args.at(1)).absoluteFilePath();
    const QString output = QFileInfo(args.size() > 2 ? args.at(2) : QStringLiteral(SCREENSHOTS_DIR))
                               .absoluteFilePath();
    if (!QFileInfo(res).isDir()) {
        err << "no such folder: " << res << "\n";
        return 2;
    }

    QTemporaryDir scratch;
    if (!QFile::link(res, QDir(scratch.path()).filePath(QStringLiteral("res"))) ||
        !QDir::setCurrent(scratch.path())) {
        err << "cannot prepare a folder to run in\n";
        return 1;
    }

    RecordingMessageBoxService boxes;
    FakeShellService shell;
    shell.defaultResult = kShellOk;
    WizardContext wizard{&boxes, &shell, {}};
    InstallWizardFlow(wizard);
    // The detection has its own screenshots: here the modem is found at once.
    wizard[WizardStep::Guide3Next] = wizard[WizardStep::ModemDetected];
    ScopedWizardContext context(std::move(wizard));

    int failures = 0;
    for (int i = 0; i < static_cast<int>(kLanguages.size()); ++i) {
        if (!Shoot(output, i)) {
            err << "walk incomplete in " << kLanguages[static_cast<std::size_t>(i)] << "\n";
            ++failures;
        }
    }
    QTextStream(stdout) << "screenshots in " << output << "\n";
    return failures == 0 ? 0 : 1;
}
