#include "Assets.h"

#include <QDir>
#include <QImage>
#include <QSaveFile>
#include <string>

#include "ButtonArt.h"
#include "PageArt.h"
#include "resources/ArtFiles.h"
#include "resources/ArtPng.h"

namespace {

bool Save(const QImage& image, const QString& dir, const QString& file, const char* format) {
    if (!QDir().mkpath(dir)) return false;
    // 24-bit pixels: the program loads these as plain device-independent bitmaps.
    return image.convertToFormat(QImage::Format_RGB888).save(dir + QLatin1Char('/') + file, format);
}

// The double-density files as PNG: 24-bit rows without PNG's per-row filters, deflated at level
// 9 in two halves the program can inflate at once (resources/ArtPng). On this flat,
// large-areaed art that is a fifth smaller than Qt's own PNG writer (which filters every row).
bool SavePng(const QImage& image, const QString& dir, const QString& file) {
    if (!QDir().mkpath(dir)) return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::string pixels;
    for (int y = 0; y < rgb.height(); ++y) {
        pixels.append(reinterpret_cast<const char*>(rgb.constScanLine(y)),
                      static_cast<std::size_t>(rgb.width()) * 3);
    }
    const std::string png = EncodeArtPng(rgb.width(), rgb.height(), pixels);
    if (png.empty()) return false;
    QSaveFile out(dir + QLatin1Char('/') + file);
    const auto size = static_cast<qint64>(png.size());
    return out.open(QIODevice::WriteOnly) && out.write(png.data(), size) == size && out.commit();
}

QString PreviewName(const QString& file) {
    QString name = file;
    name.chop(4);
    return name + QStringLiteral(".png");
}

}  // namespace

QString DoubleDensityFile(const QString& file) {
    return QString::fromStdString(DoubleDensityName(file.toStdString()));
}

QStringList RequiredFiles() {
    QStringList files;
    for (const QString& file : BackgroundFiles()) files << file;
    for (const ButtonStrip& button : ButtonStrips()) files << QLatin1String(button.file);
    return files;
}

QStringList RenderAll(const QString& outDir, const QString& previewDir) {
    QStringList problems;
    for (Language language : kAllLanguages) {
        const QString folder = QLatin1String(FolderName(language));
        const QString dir = outDir + QLatin1Char('/') + folder;
        const QString preview =
            previewDir.isEmpty() ? QString() : previewDir + QLatin1Char('/') + folder;
        auto write = [&](const QImage& image, const QImage& twice, const QString& file) {
            if (!Save(image, dir, file, "BMP"))
                problems << dir + QLatin1Char('/') + file + QStringLiteral(": cannot write");
            const QString twiceName = DoubleDensityFile(file);
            if (!SavePng(twice, dir, twiceName))
                problems << dir + QLatin1Char('/') + twiceName + QStringLiteral(": cannot write");
            if (!preview.isEmpty() && !Save(image, preview, PreviewName(file), "PNG")) {
                problems << preview + QLatin1Char('/') + PreviewName(file) +
                                QStringLiteral(": cannot write");
            }
        };
        for (const QString& file : BackgroundFiles()) {
            const PageLayout layout = LayoutPage(file, language);
            for (const PlacedText& text : layout.texts) {
                if (!text.fits)
                    problems << folder + QLatin1Char('/') + file +
                                    QStringLiteral(": does not fit: ") + text.text;
            }
            write(PaintPage(layout), PaintPage(layout, 2), file);
            if (!preview.isEmpty() && !Save(PaintPreview(layout), preview,
                                            PreviewName(file).replace(QStringLiteral(".png"),
                                                                      QStringLiteral("_shown.png")),
                                            "PNG")) {
                problems << preview + QStringLiteral(": cannot write a preview");
            }
        }
        for (const ButtonStrip& button : ButtonStrips()) {
            const PlacedText label = LayoutButtonLabel(button, language, Quarter::Normal);
            if (!label.fits)
                problems << folder + QLatin1Char('/') + QLatin1String(button.file) +
                                QStringLiteral(": does not fit: ") + label.text;
            write(PaintStrip(button, language), PaintStrip(button, language, 2),
                  QLatin1String(button.file));
        }
    }
    return problems;
}
