// render-assets OUTDIR [--preview DIR]
// Draws the page backgrounds and button strips of every language into OUTDIR/<Language>/.
// render-assets --icons NAME OUTDIR
// Draws the program's icon NAME in the icon theme's layout under OUTDIR (hicolor/...).

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <vector>

#include "AppIcon.h"
#include "Assets.h"
#include "Theme.h"

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    QString previewDir;
    const qsizetype previewAt = args.indexOf(QStringLiteral("--preview"));
    if (previewAt >= 0 && previewAt + 1 < args.size()) {
        previewDir = args.at(previewAt + 1);
        args.remove(previewAt, 2);
    }
    QString iconName;
    if (args.size() == 3 && args.front() == QStringLiteral("--icons")) {
        iconName = args.at(1);
        args.remove(0, 2);
    }
    if (args.size() != 1 || args.front().startsWith(QLatin1Char('-'))) {
        std::fputs(
            "usage: render-assets OUTDIR [--preview DIR]\n"
            "       render-assets --icons NAME OUTDIR\n",
            stderr);
        return 2;
    }

    // No window is ever shown: the offscreen platform is enough for fonts and painting.
    char program[] = "render-assets";
    char platformFlag[] = "-platform";
    char platform[] = "offscreen";
    std::vector<char*> qtArgs{program, platformFlag, platform, nullptr};
    int qtArgc = 3;
    QGuiApplication app(qtArgc, qtArgs.data());

    QTextStream err(stderr);
    if (!iconName.isEmpty()) {
        // The icon has no text, so it needs no fonts.
        const QStringList unwritten = RenderAppIcons(args.front(), iconName);
        for (const QString& file : unwritten)
            err << "render-assets: cannot write " << file << Qt::endl;
        return unwritten.isEmpty() ? 0 : 1;
    }
    const QString missing = theme::LoadFonts();
    if (!missing.isEmpty()) {
        err << "render-assets: cannot load fonts: " << missing << Qt::endl;
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    const QStringList problems = RenderAll(args.front(), previewDir);
    for (const QString& problem : problems) err << "render-assets: " << problem << Qt::endl;
    QTextStream(stdout) << "render-assets: " << RequiredFiles().size() << " files x 5 languages in "
                        << timer.elapsed() << " ms" << Qt::endl;
    return problems.isEmpty() ? 0 : 1;
}
