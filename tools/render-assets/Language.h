#pragma once

#include <array>

// The five languages the pages are drawn in, in the order of the home page's language list.
enum class Language { English, French, German, Italian, Spanish };

inline constexpr std::array kAllLanguages{Language::English, Language::French, Language::German,
                                          Language::Italian, Language::Spanish};

// The folder under res/ that holds the language's bitmaps.
constexpr const char* FolderName(Language language) {
    switch (language) {
        case Language::English:
            return "English";
        case Language::French:
            return "French";
        case Language::German:
            return "German";
        case Language::Italian:
            return "Italian";
        case Language::Spanish:
            return "Spanish";
    }
    return "English";
}

// The language's name in itself, as its language button shows it.
constexpr const char* Endonym(Language language) {
    switch (language) {
        case Language::English:
            return "English";
        case Language::French:
            return "Français";
        case Language::German:
            return "Deutsch";
        case Language::Italian:
            return "Italiano";
        case Language::Spanish:
            return "Español";
    }
    return "English";
}
