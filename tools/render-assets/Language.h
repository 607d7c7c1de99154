#pragma once

#include "resources/PageTexts.h"

// The artwork is drawn in the program's own five languages.
using Language = PageLanguage;

inline constexpr std::array kAllLanguages = kAllPageLanguages;

// The folder under res/ that holds the language's bitmaps.
constexpr const char* FolderName(Language language) {
    return LanguageFolderName(language);
}

// The language's name in itself, as its language button shows it.
inline const char* Endonym(Language language) {
    return LanguageEndonym(language).data();
}
