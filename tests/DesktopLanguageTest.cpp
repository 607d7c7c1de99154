#include <gtest/gtest.h>

#include <string>

#include "core/messages/DesktopLanguage.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"

namespace {

TEST(DesktopLanguage, LocaleNamesOfTheFiveLanguagesWhateverTheirTerritoryAndCodeset) {
    // The five with a territory, codeset or modifier or none; then the C locale, other languages
    // and codes that only begin like one of the five.
    const std::pair<const char*, int> cases[] = {
        {"en", 0},           {"fr_CA", 1}, {"de_DE@euro", 2},    {"it_IT.utf8", 3},
        {"es_MX.UTF-8", 4},  {"C", -1},    {"C.UTF-8", -1},      {"POSIX", -1},
        {"nl_NL.UTF-8", -1}, {"", -1},     {"frr_DE.UTF-8", -1}, {"f", -1}};
    for (const auto& [locale, language] : cases)
        EXPECT_EQ(LanguageOfLocale(locale), language) << locale;
}

TEST(DesktopLanguage, FirstSetOfLcAllLcMessagesLangDecidesAndEnglishIsTheFallback) {
    const struct {
        const char *lcAll, *lcMessages, *lang;
        int language;
    } cases[] = {
        {"de_DE.UTF-8", "fr_FR.UTF-8", "it_IT.UTF-8", 2},
        {nullptr, "fr_FR.UTF-8", "it_IT.UTF-8", 1},
        {"", "fr_FR.UTF-8", "it_IT.UTF-8", 1},  // set but empty counts as unset
        // The deciding locale is none of the five: English, not the next variable's language.
        {"C", "fr_FR.UTF-8", "it_IT.UTF-8", 0},
        {nullptr, "nl_NL.UTF-8", "fr_FR.UTF-8", 0},
        {nullptr, "", "es_ES.UTF-8", 4},
        {nullptr, nullptr, nullptr, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DesktopLanguage(c.lcAll, c.lcMessages, c.lang), c.language) << &c - cases;
    }
}

TEST(DesktopLanguage, SetLanguageStoresTheIndexAndItsFolderWithEnglishForAnyOther) {
    const std::pair<int, const char*> cases[] = {
        {1, "res/French"}, {4, "res/Spanish"}, {5, "res/English"}, {-1, "res/English"}};
    for (const auto& [index, folder] : cases) {
        SessionFields session;
        CopyText(session.languageFolder, "res/German");
        SetLanguage(session, index);
        EXPECT_EQ(session.languageIndex, index);
        EXPECT_EQ(TextOf(session.languageFolder), folder) << index;
    }
}

}  // namespace
