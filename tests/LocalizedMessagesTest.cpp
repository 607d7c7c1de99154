#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string_view>

#include "core/messages/DesktopLanguage.h"
#include "core/messages/LocalizedMessages.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"

namespace {

// The session field each message is meant to land in, named here independently of the loader.
std::string_view FieldOf(const SessionFields& s, int id) {
    const std::string_view fields[kMessageCount] = {
        TextOf(s.msgModemNotDetected), TextOf(s.msgUnknownError), TextOf(s.msgPppPasswordMismatch),
        TextOf(s.msgDhcpFailed),       TextOf(s.msgDslFailed),    TextOf(s.msgInternetFailed),
        TextOf(s.msgEmptyValue),       TextOf(s.msgNumber0To255), TextOf(s.msgNumber32To65535),
        TextOf(s.msgWriteFailed),      TextOf(s.msgBadValueType), TextOf(s.msgLength13),
        TextOf(s.msgLength5),          TextOf(s.msgLength8To63),
    };
    return fields[id];
}

std::string_view Text(int language, int id) {
    return LocalizedMessage(language, static_cast<MessageId>(id));
}

// The English texts are checked against the manual; the apostrophe here is U+2019, the only one
// of its kind among the texts.
TEST(LocalizedMessages, TextsAreByteExactAndEnglishForAnyOtherLanguage) {
    EXPECT_STREQ(LocalizedMessage(3, kMsgModemNotDetected),
                 "Modem non rilevato! Prego controllare come segue:\n1. L\xE2\x80\x99"
                 "alimentatore è connesso al modem e alla presa di corrente a muro.\n2. Il cavo "
                 "Ethernet del vostro modem è connesso in modo corretto al vostro computer.\n3. La "
                 "scheda di rete è correttamente installata nel vostro computer.");
    EXPECT_EQ(Text(-1, kMsgWriteFailed), Text(0, kMsgWriteFailed));
    EXPECT_EQ(LocalizedMessage(0, kMessageCount), nullptr);
}

TEST(LocalizedMessages, EveryLoadPutsExactlyItsLanguagesTextsInTheRightFields) {
    auto session = std::make_unique<SessionFields>();
    // Every change of language, also from a longer text to a shorter one; 9 reads as English.
    for (int from = 0; from < kLanguageCount; ++from) {
        for (int to : {0, 1, 2, 3, 4, 9}) {
            session->languageIndex = from;
            LoadLocalizedMessages(*session);
            session->languageIndex = to;
            LoadLocalizedMessages(*session);
            for (int id = 0; id < kMessageCount; ++id) {
                SCOPED_TRACE(testing::Message() << from << "->" << to << " message " << id);
                const std::string_view text = FieldOf(*session, id);
                EXPECT_EQ(text, Text(to == 9 ? 0 : to, id));
                // Only the modem message is in lines, and no escape is left unconverted.
                EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
                          id == kMsgModemNotDetected ? 3 : 0);
                EXPECT_EQ(text.find('\\'), std::string_view::npos);
            }
        }
    }
}

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
    for (const auto& c : cases)
        EXPECT_EQ(DesktopLanguage(c.lcAll, c.lcMessages, c.lang), c.language) << &c - cases;
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
