#include "core/messages/DesktopLanguage.h"

#include <array>

#include "core/session/TextBuffer.h"

namespace {

struct LanguageName {
    std::string_view code;  // ISO 639-1, as locale names begin
    const char* folder;
};

constexpr std::array<LanguageName, 5> kLanguages{{
    {"en", "res/English"},
    {"fr", "res/French"},
    {"de", "res/German"},
    {"it", "res/Italian"},
    {"es", "res/Spanish"},
}};

bool IsSet(const char* value) {
    return value != nullptr && value[0] != '\0';
}

}  // namespace

int LanguageOfLocale(std::string_view locale) {
    // language[_territory][.codeset][@modifier]
    const std::string_view code = locale.substr(0, locale.find_first_of("_.@"));
    for (std::size_t i = 0; i < kLanguages.size(); ++i) {
        if (kLanguages[i].code == code) return static_cast<int>(i);
    }
    return -1;
}

int DesktopLanguage(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* locale : {lcAll, lcMessages, lang}) {
        if (!IsSet(locale)) continue;
        const int index = LanguageOfLocale(locale);
        return index >= 0 ? index : 0;
    }
    return 0;
}

const char* LanguageFolder(int index) {
    return index >= 0 && index < static_cast<int>(kLanguages.size())
               ? kLanguages[static_cast<std::size_t>(index)].folder
               : kLanguages[0].folder;
}

void SetLanguage(SessionFields& session, int index) {
    session.languageIndex = index;
    CopyText(session.languageFolder, LanguageFolder(index));
}
