// render-docs SRCDIR OUTDIR
// Typesets the user manual and the quick installation guides from their Markdown sources in
// SRCDIR as A4 PDF documents in OUTDIR, under the names the home page opens.

#include <QGuiApplication>
#include <QHashFunctions>
#include <QTextStream>
#include <cstdio>
#include <vector>

#include "DocStyle.h"
#include "PdfComposer.h"

int main(int argc, char** argv) {
    if (argc != 3 || argv[1][0] == '-' || argv[2][0] == '-') {
        std::fputs("usage: render-docs SRCDIR OUTDIR\n", stderr);
        return 2;
    }
    // The writer keeps the fonts it embeds in a hash: with a fixed seed they go into the file in
    // the same order every time.
    QHashSeed::setDeterministicGlobalSeed();
    const QString sourceDir = QString::fromLocal8Bit(argv[1]);
    const QString outputDir = QString::fromLocal8Bit(argv[2]);

    // No window is ever shown: the offscreen platform is enough for fonts and painting.
    char program[] = "render-docs";
    char platformFlag[] = "-platform";
    char platform[] = "offscreen";
    std::vector<char*> qtArgs{program, platformFlag, platform, nullptr};
    int qtArgc = 3;
    QGuiApplication app(qtArgc, qtArgs.data());

    QTextStream err(stderr);
    const QString missing = docstyle::LoadFonts();
    if (!missing.isEmpty()) {
        err << "render-docs: cannot load fonts: " << missing << Qt::endl;
        return 1;
    }
    bool ok = true;
    for (const RenderReport& report : RenderAll(sourceDir, outputDir)) {
        for (const QString& problem : report.problems) {
            err << "render-docs: " << report.output << ": " << problem << Qt::endl;
            ok = false;
        }
        QTextStream(stdout) << "render-docs: " << report.output << " (" << report.pages
                            << (report.pages == 1 ? " page)" : " pages)") << Qt::endl;
    }
    return ok ? 0 : 1;
}
