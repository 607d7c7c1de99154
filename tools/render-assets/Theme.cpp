#include "Theme.h"

#include <QFontDatabase>
#include <QStringList>

namespace theme {

namespace {

constexpr const char* kFontDir = "/usr/share/fonts/truetype/open-sans/";

struct LoadedFace {
    const char* file;
    QString family;
};

LoadedFace gFaces[] = {
    {"OpenSans-Regular.ttf", {}},
    {"OpenSans-Semibold.ttf", {}},
    {"OpenSans-Bold.ttf", {}},
};

}  // namespace

QString LoadFonts() {
    QStringList missing;
    for (LoadedFace& face : gFaces) {
        const QString path = QString::fromLatin1(kFontDir) + QString::fromLatin1(face.file);
        const int id = QFontDatabase::addApplicationFont(path);
        const QStringList families =
            id < 0 ? QStringList{} : QFontDatabase::applicationFontFamilies(id);
        if (families.isEmpty()) {
            missing << path;
            continue;
        }
        face.family = families.front();
    }
    return missing.join(QStringLiteral(", "));
}

QFont Font(Face face, int pixelSize) {
    const LoadedFace& loaded = gFaces[static_cast<int>(face)];
    QFont font(loaded.family);
    font.setPixelSize(pixelSize);
    switch (face) {
        case Face::Regular:
            font.setWeight(QFont::Normal);
            break;
        case Face::Semibold:
            font.setWeight(QFont::DemiBold);
            break;
        case Face::Bold:
            font.setWeight(QFont::Bold);
            break;
    }
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setKerning(true);
    return font;
}

}  // namespace theme
