#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>

#include "core/messages/LocalizedMessages.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"

namespace {

// The session field each message is meant to land in, named here independently of the loader.
struct Field {
    std::string_view text;
    std::size_t capacity;
};

template <std::size_t N>
Field F(const char (&buffer)[N]) {
    return {TextOf(buffer), N};
}

Field FieldOf(const SessionFields& s, int id) {
    const Field fields[kMessageCount] = {
        F(s.msgModemNotDetected), F(s.msgUnknownError), F(s.msgPppPasswordMismatch),
        F(s.msgDhcpFailed),       F(s.msgDslFailed),    F(s.msgInternetFailed),
        F(s.msgEmptyValue),       F(s.msgNumber0To255), F(s.msgNumber32To65535),
        F(s.msgWriteFailed),      F(s.msgBadValueType), F(s.msgLength13),
        F(s.msgLength5),          F(s.msgLength8To63),
    };
    return fields[id];
}

std::string_view Text(int language, int id) {
    return LocalizedMessage(language, static_cast<MessageId>(id));
}

TEST(LocalizedMessages, TextsAreByteExactInEveryLanguage) {
    const struct {
        int language;
        MessageId id;
        const char* text;
    } cases[] = {
        {0, kMsgNumber32To65535, "Please enter a number between 32 and 65535!"},
        {0, kMsgWriteFailed, "Fail to write data to file!"},
        {1, kMsgPppPasswordMismatch,
         "Le Mot de Passe PPP n'est pas le même ! Merci de le confirmer une nouvelle fois."},
        {1, kMsgWriteFailed, "Impossible d'écrire les données dans le fichier!"},
        {2, kMsgLength8To63,
         "Bitte geben Sie eine Zeichenkette. Die Länge ist zwischen 8 und 63 ein!"},
        {2, kMsgNumber0To255, "Bitte geben Sie eine Nummer zwischen 0 und 255 ein!"},
        // The apostrophe is U+2019, the only one of its kind among the texts.
        {3, kMsgModemNotDetected,
         "Modem non rilevato! Prego controllare come segue:\n1. L\xE2\x80\x99"
         "alimentatore è connesso al modem e alla presa di corrente a muro.\n2. Il cavo Ethernet "
         "del vostro modem è connesso in modo corretto al vostro computer.\n3. La scheda di rete "
         "è correttamente installata nel vostro computer."},
        {3, kMsgLength8To63, "Prego inserire una stringa la cui lunghezza \xC3\xA8  fra 8 e 63!"},
        {4, kMsgBadValueType, "Tipo de valor incorrecto."},
        {4, kMsgDhcpFailed,
         "¡Error en la conexión DHCP! Intente de nuevo los diagnósticos o contacte con su "
         "proveedor de servicios internet."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "language " << c.language << " message " << c.id);
        EXPECT_STREQ(LocalizedMessage(c.language, c.id), c.text);
    }
}

TEST(LocalizedMessages, UnknownLanguageIsEnglish) {
    for (int language : {-1, 5, 100}) {
        EXPECT_EQ(Text(language, kMsgUnknownError), "Unknown error!");
        for (int id = 0; id < kMessageCount; ++id) EXPECT_EQ(Text(language, id), Text(0, id));
    }
    EXPECT_EQ(LocalizedMessage(0, kMessageCount), nullptr);

    auto session = std::make_unique<SessionFields>();
    session->languageIndex = 9;
    LoadLocalizedMessages(*session);
    EXPECT_TRUE(TextOf(session->msgModemNotDetected).starts_with("Modem not detected!"));
}

TEST(LocalizedMessages, FieldsAreEmptyUntilLoadedAndEveryLoadReplacesThem) {
    auto session = std::make_unique<SessionFields>();
    for (int id = 0; id < kMessageCount; ++id) EXPECT_TRUE(FieldOf(*session, id).text.empty());

    // Every change of language, including from a longer text to a shorter one, leaves exactly
    // the new language's texts in the right fields.
    for (int from = 0; from < kLanguageCount; ++from) {
        for (int to = 0; to < kLanguageCount; ++to) {
            session->languageIndex = from;
            LoadLocalizedMessages(*session);
            session->languageIndex = to;
            LoadLocalizedMessages(*session);
            for (int id = 0; id < kMessageCount; ++id) {
                SCOPED_TRACE(testing::Message() << from << "->" << to << " message " << id);
                EXPECT_EQ(FieldOf(*session, id).text, Text(to, id));
            }
        }
    }
}

TEST(LocalizedMessages, EveryTextFitsItsFieldAndOnlyTheModemMessageHasLineBreaks) {
    const SessionFields& layout = Session();
    for (int language = 0; language < kLanguageCount; ++language) {
        for (int id = 0; id < kMessageCount; ++id) {
            const std::string_view text = Text(language, id);
            SCOPED_TRACE(text);
            EXPECT_FALSE(text.empty());
            EXPECT_LT(text.size(), FieldOf(layout, id).capacity);
            EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
                      id == kMsgModemNotDetected ? 3 : 0);
            EXPECT_EQ(text.find('\\'), std::string_view::npos);  // no escape left unconverted
        }
    }
}

}  // namespace
