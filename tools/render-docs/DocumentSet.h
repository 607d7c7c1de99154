#pragma once

#include <QString>
#include <vector>

#include "Language.h"

// The documents delivered beside the program: one user manual (English) and the quick
// installation guide in five languages. The home page opens them by these file names.
struct DocumentInfo {
    const char* source;  // Markdown text, relative to the documents' source folder
    const char* output;  // PDF file name in the Docs folder
    Language language;
    bool manual;  // a title page, a table of contents, numbered chapters and figures
};

const std::vector<DocumentInfo>& Documents();

// The document's name as the home page's button calls it, in the document's language.
QString DocumentKind(const DocumentInfo& document);

// "Page 3 of 12" in the language.
QString PageNumberText(Language language, int page, int count);
