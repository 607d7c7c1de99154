#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string_view>

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

TEST(LocalizedMessages, TextsAreByteExactInEveryLanguageAndEnglishForAnyOther) {
    const struct {
        int language;
        MessageId id;
        const char* text;
    } cases[] = {
        {0, kMsgNumber32To65535, "Please enter a number between 32 and 65535!"},
        {1, kMsgPppPasswordMismatch,
         "Le Mot de Passe PPP n'est pas le même ! Merci de le confirmer une nouvelle fois."},
        // The apostrophe is U+2019, the only one of its kind among the texts.
        {3, kMsgModemNotDetected,
         "Modem non rilevato! Prego controllare come segue:\n1. L\xE2\x80\x99"
         "alimentatore è connesso al modem e alla presa di corrente a muro.\n2. Il cavo Ethernet "
         "del vostro modem è connesso in modo corretto al vostro computer.\n3. La scheda di rete "
         "è correttamente installata nel vostro computer."},
        {4, kMsgBadValueType, "Tipo de valor incorrecto."},
        {5, kMsgUnknownError, "Unknown error!"},
        {-1, kMsgWriteFailed, "Fail to write data to file!"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(LocalizedMessage(c.language, c.id), c.text) << c.language << " " << c.id;
    }
    EXPECT_EQ(LocalizedMessage(0, kMessageCount), nullptr);
}

TEST(LocalizedMessages, EveryLoadPutsExactlyItsLanguagesTextsInTheRightFields) {
    auto session = std::make_unique<SessionFields>();
    for (int id = 0; id < kMessageCount; ++id) EXPECT_TRUE(FieldOf(*session, id).empty());
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

}  // namespace
