// page-shots RES_FOLDER [OUTPUT_FOLDER]
// Saves every page of the wizard in every language, and every message box of the progress pages,
// as OUTPUT_FOLDER/<Language>/<name>.png (OUTPUT_FOLDER defaults to <build>/screenshots). The
// backgrounds come from RES_FOLDER (the folder holding English/, French/, ...), linked as res/
// into a scratch folder that becomes the current directory, as beside the program.
// Then it starts itself once more at device pixel ratio 2 (QT_SCALE_FACTOR=2) and saves every
// page in English, drawn from the double-density art, as OUTPUT_FOLDER/2x/<name>.png.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include "PageShots.h"
#include "core/messages/DesktopLanguage.h"
#include "core/messages/LocalizedMessages.h"
#include "core/session/SessionFields.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = QApplication::arguments();
    // Internal: the run at ratio 2, in the first language only, straight into OUTPUT_FOLDER.
    const bool twiceRun = args.removeAll(QStringLiteral("--twice")) > 0;
    if (args.size() < 2 || args.size() > 3) {
        err << "usage: page-shots RES_FOLDER [OUTPUT_FOLDER]\n";
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

    int missing = 0;
    for (std::size_t i = 0; i < (twiceRun ? 1 : kShotLanguages.size()); ++i) {
        SetLanguage(Session(), static_cast<int>(i));
        LoadLocalizedMessages(Session());
        const QString folder =
            twiceRun ? output : QDir(output).filePath(QString::fromLatin1(kShotLanguages[i]));
        const int lost = ShootWalk(folder) + ShootFormPages(folder) + ShootProgressPages(folder);
        if (lost != 0) err << lost << " pictures missing in " << kShotLanguages[i] << "\n";
        missing += lost;
    }
    if (!twiceRun) {
        QProcess twice;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
        twice.setProcessEnvironment(env);
        twice.setProcessChannelMode(QProcess::ForwardedChannels);
        twice.start(QApplication::applicationFilePath(),
                    {QStringLiteral("--twice"), res, QDir(output).filePath(QStringLiteral("2x"))});
        if (!twice.waitForFinished(-1) || twice.exitCode() != 0) {
            err << "the pages at ratio 2 were not all saved\n";
            ++missing;
        }
    }
    if (!twiceRun) QTextStream(stdout) << "screenshots in " << output << "\n";
    return missing == 0 ? 0 : 1;
}
