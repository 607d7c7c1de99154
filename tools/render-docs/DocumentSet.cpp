#include "DocumentSet.h"

#include "Texts.h"

const std::vector<DocumentInfo>& Documents() {
    static const std::vector<DocumentInfo> kDocuments{
        {"manual/Manual.md", "Manual.pdf", Language::English, true},
        {"qig/QIG.md", "QIG.pdf", Language::English, false},
        {"qig/Qig_french.md", "Qig_french.pdf", Language::French, false},
        {"qig/Qig_german.md", "Qig_german.pdf", Language::German, false},
        {"qig/Qig_italian.md", "Qig_italian.pdf", Language::Italian, false},
        {"qig/Qig_spanish.md", "Qig_spanish.pdf", Language::Spanish, false},
    };
    return kDocuments;
}

QString DocumentKind(const DocumentInfo& document) {
    return Tr(document.manual ? Text::ButtonManual : Text::ButtonGuide, document.language);
}

QString PageNumberText(Language language, int page, int count) {
    const char* pattern = "Page %1 of %2";
    switch (language) {
        case Language::English:
            break;
        case Language::French:
            pattern = "Page %1 sur %2";
            break;
        case Language::German:
            pattern = "Seite %1 von %2";
            break;
        case Language::Italian:
            pattern = "Pagina %1 di %2";
            break;
        case Language::Spanish:
            pattern = "Página %1 de %2";
            break;
    }
    return QString::fromUtf8(pattern).arg(page).arg(count);
}
