#include "ui/wizard/ResourcePath.h"

#include <QDir>
#include <QFileInfo>

#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "resources/ArtFiles.h"
#include "resources/PageTemplates.h"

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString ResourcePath(std::string_view file) {
    const QString path = QDir::currentPath() + QLatin1Char('/') +
                         FromUtf8(TextOf(Session().languageFolder)) + QLatin1Char('/') +
                         FromUtf8(file);
    return QDir::toNativeSeparators(path);
}

QString PageBitmap(int templateId, bool alternate) {
    const PageTemplate* page = FindPageTemplate(templateId);
    if (page == nullptr) return {};
    const char* file =
        alternate && page->alternateBackground ? page->alternateBackground : page->background;
    return ResourcePath(file);
}

QString BesideProgram(std::string_view folder) {
    return QDir::toNativeSeparators(QDir::currentPath() + QLatin1Char('/') + FromUtf8(folder));
}

QString ArtFileForRatio(const QString& path, qreal ratio,
                        const std::function<bool(const QString&)>& exists) {
    if (ratio <= 1.0) return path;
    const QFileInfo file(path);
    const QString twice = QDir::toNativeSeparators(file.dir().filePath(
        QString::fromStdString(DoubleDensityName(file.fileName().toStdString()))));
    return exists(twice) ? twice : path;
}

QPixmap LoadArt(const QString& path, qreal ratio) {
    const QString file =
        ArtFileForRatio(path, ratio, [](const QString& name) { return QFileInfo::exists(name); });
    QPixmap art(file);
    if (file == path) return art;
    if (art.isNull()) return QPixmap(path);  // an unreadable double-density file
    art.setDevicePixelRatio(2);
    return art;
}
