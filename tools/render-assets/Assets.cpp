#include "Assets.h"

#include <zlib.h>
#include <QDir>
#include <QImage>
#include <QSaveFile>
#include <QtEndian>

#include "ButtonArt.h"
#include "PageArt.h"
#include "resources/ArtFiles.h"

namespace {

bool Save(const QImage& image, const QString& dir, const QString& file, const char* format) {
    if (!QDir().mkpath(dir)) return false;
    // 24-bit pixels: the program loads these as plain device-independent bitmaps.
    return image.convertToFormat(QImage::Format_RGB888).save(dir + QLatin1Char('/') + file, format);
}

void PutChunk(QByteArray& png, const char* type, const QByteArray& data) {
    QByteArray typed = QByteArray(type, 4) + data;
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(typed.constData()),
                           static_cast<uInt>(typed.size()));
    png += QByteArray(4, '\0');
    qToBigEndian(static_cast<quint32>(data.size()), png.data() + png.size() - 4);
    png += typed + QByteArray(4, '\0');
    qToBigEndian(static_cast<quint32>(crc), png.data() + png.size() - 4);
}

// The double-density files as PNG: 24-bit rows without PNG's per-row filters, deflated at level
// 9. On this flat, large-areaed art that is a fifth smaller than Qt's own PNG writer (which
// filters every row) and decodes in under half the time, which the program's start-up feels.
bool SavePng(const QImage& image, const QString& dir, const QString& file) {
    if (!QDir().mkpath(dir)) return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    QByteArray rows;
    for (int y = 0; y < rgb.height(); ++y) {
        rows += '\0';  // filter type: none
        rows += QByteArray(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);
    }
    QByteArray deflated(static_cast<qsizetype>(compressBound(static_cast<uLong>(rows.size()))),
                        '\0');
    uLongf length = static_cast<uLongf>(deflated.size());
    if (compress2(reinterpret_cast<Bytef*>(deflated.data()), &length,
                  reinterpret_cast<const Bytef*>(rows.constData()), static_cast<uLong>(rows.size()),
                  9) != Z_OK) {
        return false;
    }
    deflated.truncate(static_cast<qsizetype>(length));
    QByteArray header(13, '\0');
    qToBigEndian(static_cast<quint32>(rgb.width()), header.data());
    qToBigEndian(static_cast<quint32>(rgb.height()), header.data() + 4);
    header[8] = 8;  // bits per channel
    header[9] = 2;  // truecolour, no alpha
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", deflated);
    PutChunk(png, "IEND", {});
    QSaveFile out(dir + QLatin1Char('/') + file);
    return out.open(QIODevice::WriteOnly) && out.write(png) == png.size() && out.commit();
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
