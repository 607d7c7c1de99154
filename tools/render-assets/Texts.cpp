#include "Texts.h"

QString Tr(Text text, Language language) {
    const std::string_view chosen = PageTextIn(text, language);
    return QString::fromUtf8(chosen.data(), static_cast<qsizetype>(chosen.size()));
}
