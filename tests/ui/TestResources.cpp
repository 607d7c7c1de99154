#include "TestResources.h"

#include <QDir>
#include <QImage>
#include <QPainter>

#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"

namespace {

constexpr const char* kBackgrounds[] = {
    "home.bmp",      "install01.bmp", "install02.bmp", "install03.bmp",
    "install04.bmp", "install05.bmp", "install11.bmp",
};

constexpr const char* kStrips[] = {
    "btn_exit.bmp",        "btn_back.bmp",         "btn_next.bmp",         "btn_close.bmp",
    "btn_quick.bmp",       "btn_manual.bmp",       "btn_QIG.bmp",          "btn_acrobat.bmp",
    "btn_final.bmp",       "btn_techsupport.bmp",  "language_English.bmp", "language_French.bmp",
    "language_German.bmp", "language_Italian.bmp", "language_Spanish.bmp",
};

}  // namespace

bool WriteSolidBitmap(const QString& path, QSize size, const QColor& colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(path, "BMP");
}

bool WriteStrip(const QString& path, int width, int lookHeight, int extraRows,
                const std::array<QColor, 4>& colours) {
    QImage image(width, 4 * lookHeight + extraRows, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int look = 0; look < 4; ++look) {
        const int rows = look == 3 ? lookHeight + extraRows : lookHeight;
        painter.fillRect(0, look * lookHeight, width, rows,
                         colours[static_cast<std::size_t>(look)]);
    }
    painter.end();
    return image.save(path, "BMP");
}

ScratchFolder::ScratchFolder() : previousDir_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
}

ScratchFolder::~ScratchFolder() {
    QDir::setCurrent(previousDir_);
    Session().languageIndex = 0;
    CopyText(Session().languageFolder, "res/English");
}

void ScratchFolder::AddLanguage(const QString& language, QSize pageSize, const QColor& background) {
    const QDir folder(dir_.path() + QStringLiteral("/res/") + language);
    QDir().mkpath(folder.path());
    for (const char* file : kBackgrounds) {
        WriteSolidBitmap(folder.filePath(QString::fromLatin1(file)), pageSize, background);
    }
    for (const char* file : kStrips) {
        WriteStrip(folder.filePath(QString::fromLatin1(file)), kStripWidth, kLookHeight);
    }
    for (const char* name : {"English", "French", "German", "Italian", "Spanish"}) {
        WriteStrip(folder.filePath(QStringLiteral("language_%1_selected.bmp").arg(name)),
                   kStripWidth, kLookHeight, 0, {background, background, background, background});
    }
}
