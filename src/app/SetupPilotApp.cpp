#include "app/SetupPilotApp.h"

#include <QColor>
#include <QFileInfo>
#include <QPalette>

#include "ui/wizard/HomePage.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardPage.h"

namespace {

// The dialog text colour of the whole application; the background is the pages' dialog colour.
const QColor kDialogText(0, 0, 0);

}  // namespace

SetupPilotApp::SetupPilotApp(int& argc, char** argv) : m_app(argc, argv) {
    if (argc > 0 && argv[0] != nullptr) {
        QApplication::setApplicationName(NameFromProgramPath(QString::fromLocal8Bit(argv[0])));
    }
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, kDialogBackground);
    palette.setColor(QPalette::WindowText, kDialogText);
    QApplication::setPalette(palette);
}

QString SetupPilotApp::NameFromProgramPath(const QString& programPath) {
    const QFileInfo info(programPath);
    const QString suffix = info.suffix();
    // Only a program suffix is dropped: a name with a dot in it stays whole on Linux.
    if (suffix.compare(QStringLiteral("exe"), Qt::CaseInsensitive) == 0) {
        return info.completeBaseName();
    }
    return info.fileName();
}

void SetupPilotApp::InitInstance() {
    CHomePage home(PageBitmap(kTemplateHome), nullptr);
    home.DoModal();
}
