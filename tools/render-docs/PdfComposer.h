#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "DocumentSet.h"

// Writes the documents as A4 PDF files: a manual with a title page and a table of contents, a
// guide with its title on its first page; every page after the title page with the brand's
// running head and a footer with the page number. The files do not depend on when or where
// they are made.
struct RenderReport {
    QString output;        // path of the PDF written
    int pages = 0;         // pages written
    QString plainText;     // the document's text, for checking what it says
    QStringList messages;  // the wizard's messages it quotes
    QStringList problems;  // empty when the document was written as it should be
};

RenderReport RenderDocument(const DocumentInfo& document, const QString& sourceDir,
                            const QString& outputDir);

// Every document of Documents(), in order.
std::vector<RenderReport> RenderAll(const QString& sourceDir, const QString& outputDir);
