#include "DocStyle.h"

#include <QFontDatabase>
#include <QStringList>

#include "Theme.h"

namespace docstyle {

namespace {

constexpr const char* kFontDir = "/usr/share/fonts/truetype/open-sans/";

QString gFamily;

}  // namespace

QString LoadFonts() {
    // The artwork's faces (regular, semibold, bold) for the figures, and the italic ones the
    // documents add for captions.
    QStringList missing;
    const QString artwork = theme::LoadFonts();
    if (!artwork.isEmpty()) missing << artwork;
    const QString path = QString::fromLatin1(kFontDir) + QStringLiteral("OpenSans-Italic.ttf");
    const int id = QFontDatabase::addApplicationFont(path);
    const QStringList families =
        id < 0 ? QStringList{} : QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        missing << path;
    } else {
        gFamily = families.front();
    }
    return missing.join(QStringLiteral(", "));
}

QFont Font(Face face, double points) {
    QFont font(gFamily);
    font.setPointSizeF(points);
    font.setWeight(face == Face::Bold       ? QFont::Bold
                   : face == Face::Semibold ? QFont::DemiBold
                                            : QFont::Normal);
    font.setItalic(face == Face::Italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

}  // namespace docstyle
