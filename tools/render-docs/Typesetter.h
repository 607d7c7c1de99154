#pragma once

#include <QPaintDevice>
#include <QString>
#include <QStringList>
#include <QTextDocument>
#include <memory>
#include <vector>

#include "DocObjects.h"
#include "DocumentSet.h"

// Markdown to a paginated text document in the documents' type. Level 1 is the document's
// title; a manual takes it out of the text for its title page and numbers its chapters (level 2)
// and sections (level 3). Images named "page:FILE" become pictures of the wizard's page FILE as
// the program shows it, "figure:NAME" a drawn figure; their alternative text is the caption.
// Each block quote is one message of the wizard, quoted exactly; its lines are the lines of the
// message, so two messages need text between them.
struct Heading {
    int level = 0;
    QString number;  // "3", "3.2"; empty where headings are not numbered
    QString text;
    int blockNumber = 0;
};

struct TypesetDocument {
    QString title;
    std::unique_ptr<QTextDocument> document;
    std::vector<Heading> headings;  // levels 2 and 3, in order
    QStringList messages;           // the quoted messages, line breaks as "\n"
    QStringList problems;           // references the typesetter could not resolve
};

// Lays the document out in pages of the body's size on the device. The objects handler draws
// the pictures, figures and messages and must outlive the document.
TypesetDocument TypesetMarkdown(const QString& markdown, const DocumentInfo& document,
                                QPaintDevice* device, DocObjects* objects);

// The page (from 0) on which the block begins.
int PageOfBlock(const QTextDocument& document, const QTextBlock& block);
