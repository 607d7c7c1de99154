#include "Typesetter.h"

#include <QAbstractTextDocumentLayout>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <algorithm>
#include <cmath>
#include <optional>

#include "DocStyle.h"
#include "PageArt.h"
#include "Texts.h"
#include "Theme.h"

using docstyle::Face;
using docstyle::Font;
using docstyle::Mm;
using docstyle::Pt;

namespace {

// A block that must start on the same page as the block after it: headings, messages and
// sentences that introduce what follows.
constexpr int kKeepWithNext = QTextFormat::UserProperty + 2;

struct HeadingStyle {
    double points;
    Face face;
    QColor colour;
    double above;
    double below;
};

HeadingStyle StyleOfHeading(int level, bool manual) {
    switch (level) {
        case 1:
            return {22, Face::Bold, theme::kTitle, 0, Pt(6)};
        case 2:
            return manual ? HeadingStyle{18, Face::Semibold, theme::kAccentDark, 0, Pt(12)}
                          : HeadingStyle{12.5, Face::Semibold, theme::kAccentDark, Pt(9), Pt(3)};
        case 3:
            return {12.5, Face::Semibold, theme::kAccentDark, Pt(14), Pt(4)};
        default:
            return {10.5, Face::Semibold, theme::kTitle, Pt(10), Pt(3)};
    }
}

// Splits off the first level-1 heading: the document's title.
QString TakeTitle(QString& markdown, bool removeFromText) {
    static const QRegularExpression kTitleLine(QStringLiteral("^# +(.+)$"),
                                               QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = kTitleLine.match(markdown);
    if (!match.hasMatch()) return {};
    if (removeFromText) markdown.remove(match.capturedStart(), match.capturedLength());
    return match.captured(1).trimmed();
}

void SetWholeBlockCharFormat(const QTextBlock& block, const QTextCharFormat& format) {
    QTextCursor cursor(block);
    cursor.setBlockCharFormat(format);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.setCharFormat(format);
}

void MergeWholeBlockCharFormat(const QTextBlock& block, const QTextCharFormat& format) {
    QTextCursor cursor(block);
    cursor.mergeBlockCharFormat(format);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(format);
}

QTextCharFormat CharFormat(const QFont& font, const QColor& colour) {
    QTextCharFormat format;
    format.setFont(font, QTextCharFormat::FontPropertiesAll);
    format.setForeground(colour);
    return format;
}

QTextBlockFormat Spacing(double above, double below, double lineHeightPercent) {
    QTextBlockFormat format;
    format.setTopMargin(above);
    format.setBottomMargin(below);
    format.setLineHeight(lineHeightPercent, QTextBlockFormat::ProportionalHeight);
    return format;
}

// The format of the only character of a block when that character is an image.
std::optional<QTextImageFormat> LoneImage(const QTextBlock& block) {
    if (block.length() != 2) return std::nullopt;
    const QTextBlock::iterator it = block.begin();
    if (it.atEnd()) return std::nullopt;
    const QTextCharFormat format = it.fragment().charFormat();
    if (!format.isImageFormat()) return std::nullopt;
    return format.toImageFormat();
}

class Typesetter {
public:
    Typesetter(const DocumentInfo& document, QPaintDevice* device, DocObjects* objects,
               TypesetDocument& out)
        : document_(document), device_(device), objects_(objects), out_(out), doc_(*out.document) {}

    void Run() {
        JoinQuotedLines();
        std::vector<QTextBlock> blocks;
        for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) blocks.push_back(b);
        // Objects first, last to first, so the positions of the blocks still to come hold.
        for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) MakeObject(*it);
        NumberFigures();
        blocks.clear();
        for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) blocks.push_back(b);
        for (const QTextBlock& block : blocks) StyleBlock(block);
        StyleTables(doc_.rootFrame());
        // The layout comes last: edits made before it exists do not lay the text out again.
        doc_.documentLayout()->setPaintDevice(device_);
        doc_.documentLayout()->registerHandler(DocObjects::kObjectType, objects_);
        doc_.markContentsDirty(0, doc_.characterCount());
        KeepTogether();
    }

private:
    static bool IsQuote(const QTextBlock& block) {
        return block.blockFormat().intProperty(QTextFormat::BlockQuoteLevel) > 0;
    }

    // The reader makes each line of a quote a block of its own; the lines of one quote are one
    // message.
    void JoinQuotedLines() {
        for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
            if (!IsQuote(block)) continue;
            while (block.next().isValid() && IsQuote(block.next())) {
                QTextCursor cursor(block);
                cursor.movePosition(QTextCursor::EndOfBlock);
                cursor.deleteChar();
                cursor.insertText(QString(QChar::LineSeparator));
            }
        }
    }

    void MakeObject(const QTextBlock& block) {
        if (IsQuote(block)) {
            QString text = block.text();
            text.replace(QChar::LineSeparator, QLatin1Char('\n'));
            out_.messages.prepend(text);
            DocObjects::Item item;
            item.kind = DocObjects::Kind::Message;
            item.text = text;
            ReplaceBlock(block, std::move(item), Pt(2), Pt(6));
            return;
        }
        const std::optional<QTextImageFormat> image = LoneImage(block);
        if (!image) return;
        const QString name = image->name();
        const QString alt = image->stringProperty(QTextFormat::ImageAltText);
        DocObjects::Item item;
        item.caption = alt;
        if (name.startsWith(QStringLiteral("page:"))) {
            const QString file = name.mid(5);
            const std::vector<QString>& files = BackgroundFiles();
            if (std::find(files.begin(), files.end(), file) == files.end()) {
                out_.problems << QStringLiteral("no page %1").arg(file);
                return;
            }
            item.kind = DocObjects::Kind::PagePicture;
            item.image = PaintPreview(LayoutPage(file, Language::English));
        } else if (!name.startsWith(QStringLiteral("figure:")) ||
                   !DocObjects::FigureKind(name.mid(7), &item.kind)) {
            out_.problems << QStringLiteral("no figure %1").arg(name);
            return;
        }
        ReplaceBlock(block, std::move(item), Pt(8), Pt(12));
    }

    // Objects take the whole width of the text and centre what they draw themselves.
    void ReplaceBlock(const QTextBlock& block, DocObjects::Item item, double above, double below) {
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        const bool message = item.kind == DocObjects::Kind::Message;
        if (!message && !document_.manual) item.caption.clear();
        cursor.insertText(QString(QChar::ObjectReplacementCharacter),
                          objects_->Add(std::move(item)));
        QTextBlockFormat format;
        format.setAlignment(Qt::AlignLeft);
        format.setTopMargin(above);
        format.setBottomMargin(below);
        format.setLeftMargin(0);
        format.setRightMargin(0);
        format.setIndent(0);
        format.setProperty(QTextFormat::BlockQuoteLevel, 0);
        format.setLineHeight(100, QTextBlockFormat::SingleHeight);
        if (message) format.setProperty(kKeepWithNext, true);
        cursor.setBlockFormat(format);
    }

    // Figures are numbered in reading order; the objects were made last to first.
    void NumberFigures() {
        if (!document_.manual) return;
        int number = 0;
        for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
            const QTextBlock::iterator it = b.begin();
            if (it.atEnd()) continue;
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.objectType() != DocObjects::kObjectType) continue;
            const int index = format.intProperty(DocObjects::kIndexProperty);
            const auto& item = objects_->Items()[static_cast<std::size_t>(index)];
            if (item.kind == DocObjects::Kind::Message || item.caption.isEmpty()) continue;
            ++number;
            objects_->SetCaption(index,
                                 QStringLiteral("Figure %1: %2").arg(number).arg(item.caption));
        }
    }

    void StyleBlock(const QTextBlock& block) {
        const int level = block.blockFormat().headingLevel();
        if (level > 0) {
            StyleHeading(block, level);
            return;
        }
        QTextCursor cursor(block);
        if (cursor.currentTable() != nullptr) {
            cursor.mergeBlockFormat(Spacing(0, 0, 112));
            return;
        }
        if (const QTextList* list = block.textList()) {
            const bool last = list->itemNumber(block) == list->count() - 1;
            cursor.mergeBlockFormat(Spacing(0, last ? Pt(7) : Pt(3), 118));
            return;
        }
        const QTextBlock::iterator it = block.begin();
        const bool object =
            !it.atEnd() && it.fragment().charFormat().objectType() == DocObjects::kObjectType;
        if (object) return;
        QTextBlockFormat format = Spacing(0, Pt(6), 118);
        // A sentence that ends in a colon introduces what follows.
        if (block.text().trimmed().endsWith(QLatin1Char(':'))) {
            format.setProperty(kKeepWithNext, true);
        }
        cursor.mergeBlockFormat(format);
    }

    void StyleHeading(const QTextBlock& block, int level) {
        const HeadingStyle style = StyleOfHeading(level, document_.manual);
        QTextBlockFormat format = Spacing(style.above, style.below, 108);
        format.setProperty(kKeepWithNext, true);
        if (document_.manual && level == 2 && block.position() > 0) {
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        }
        QTextCursor cursor(block);
        cursor.mergeBlockFormat(format);
        SetWholeBlockCharFormat(block, CharFormat(Font(style.face, style.points), style.colour));

        if (level == 1 && !document_.manual) {
            // A guide names the product under its title.
            cursor.movePosition(QTextCursor::EndOfBlock);
            QTextBlockFormat subtitle = Spacing(0, Pt(12), 108);
            subtitle.setHeadingLevel(0);
            cursor.insertBlock(subtitle, CharFormat(Font(Face::Regular, 13), theme::kTextMuted));
            cursor.insertText(Tr(Text::ModelLine, document_.language));
            QTextBlockFormat title;
            title.setBottomMargin(Pt(2));
            QTextCursor(block).mergeBlockFormat(title);
        }
        if (level < 2 || level > 3) return;
        Heading heading{level, {}, block.text(), block.blockNumber()};
        if (document_.manual) {
            if (level == 2) {
                ++chapter_;
                section_ = 0;
                heading.number = QString::number(chapter_);
            } else {
                heading.number = QStringLiteral("%1.%2").arg(chapter_).arg(++section_);
            }
            cursor.movePosition(QTextCursor::StartOfBlock);
            cursor.insertText(heading.number + QChar(0x2003));
        }
        out_.headings.push_back(heading);
    }

    void StyleTables(QTextFrame* frame) {
        for (QTextFrame* child : frame->childFrames()) {
            if (auto* table = qobject_cast<QTextTable*>(child)) StyleTable(table);
            StyleTables(child);
        }
    }

    void StyleTable(QTextTable* table) {
        QTextTableFormat format = table->format();
        format.setBorder(0.75);
        format.setBorderBrush(theme::kCardBorder);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(true);
        format.setCellSpacing(0);
        format.setCellPadding(0);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setHeaderRowCount(1);
        format.setTopMargin(Pt(2));
        format.setBottomMargin(Pt(10));
        table->setFormat(format);

        const QTextCharFormat body = CharFormat(Font(Face::Regular, 9), theme::kText);
        const QTextCharFormat header = CharFormat(Font(Face::Semibold, 9), theme::kTitle);
        // Long tables are set tighter. A row whose first cell is empty continues the group of
        // the row above; groups are shaded in turn.
        const double padding = table->rows() > 30 ? Pt(2.2) : Pt(3.5);
        bool shaded = true;
        for (int row = 0; row < table->rows(); ++row) {
            if (row > 0 && !CellText(table, row, 0).isEmpty()) shaded = !shaded;
            for (int column = 0; column < table->columns(); ++column) {
                QTextTableCell cell = table->cellAt(row, column);
                QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
                cellFormat.setTopPadding(padding);
                cellFormat.setBottomPadding(padding);
                cellFormat.setLeftPadding(Pt(5));
                cellFormat.setRightPadding(Pt(5));
                if (row == 0) {
                    cellFormat.setBackground(theme::kAccentLight);
                } else if (shaded) {
                    cellFormat.setBackground(QColor(0xF6, 0xF9, 0xFC));
                }
                cell.setFormat(cellFormat);
                for (auto it = cell.begin(); !it.atEnd(); ++it) {
                    const QTextBlock block = it.currentBlock();
                    if (block.isValid()) MergeWholeBlockCharFormat(block, row == 0 ? header : body);
                }
            }
        }
    }

    static QString CellText(QTextTable* table, int row, int column) {
        const QTextTableCell cell = table->cellAt(row, column);
        QTextCursor cursor = cell.firstCursorPosition();
        cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        return cursor.selectedText().trimmed();
    }

    // Moves what must not end a page to the next one, together with what leads into it, until
    // no page ends with a heading, a message or a sentence that introduces what follows, and no
    // short table is cut in two.
    void KeepTogether() {
        for (int round = 0; round < 200; ++round) {
            doc_.pageCount();  // lays the whole text out again: positions are read from it
            const std::optional<QTextBlock> start = FirstCut();
            if (!start) return;
            QTextBlock first = *start;
            const int page = PageOfBlock(doc_, first);
            for (QTextBlock prev = first.previous();
                 prev.isValid() && prev.blockFormat().boolProperty(kKeepWithNext) &&
                 PageOfBlock(doc_, prev) == page;
                 prev = prev.previous()) {
                first = prev;
            }
            if (QTextTable* table = QTextCursor(first).currentTable()) {
                QTextTableFormat format = table->format();
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                table->setFormat(format);
            } else {
                QTextBlockFormat format;
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                QTextCursor(first).mergeBlockFormat(format);
            }
        }
    }

    static bool BreaksBefore(const QTextBlock& block) {
        if (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) {
            return true;
        }
        const QTextTable* table = QTextCursor(block).currentTable();
        return table != nullptr && table->cellAt(0, 0).firstCursorPosition().block() == block &&
               (table->format().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    }

    // The first block that should begin a page but does not: the one that must go with its
    // successor, or the first cell of a short table cut in two.
    std::optional<QTextBlock> FirstCut() {
        constexpr int kShortTable = 12;
        for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
            if (BreaksBefore(b)) continue;
            if (QTextTable* table = QTextCursor(b).currentTable()) {
                if (table->cellAt(0, 0).firstCursorPosition().block() != b ||
                    table->rows() > kShortTable) {
                    continue;
                }
                const QTextBlock last =
                    table->cellAt(table->rows() - 1, 0).firstCursorPosition().block();
                if (PageOfBlock(doc_, last) > PageOfBlock(doc_, b)) return b;
                continue;
            }
            if (!b.blockFormat().boolProperty(kKeepWithNext)) continue;
            const QTextBlock next = b.next();
            if (!next.isValid() || BreaksBefore(next)) continue;
            if (PageOfBlock(doc_, next) > PageOfBlock(doc_, b)) return b;
        }
        return std::nullopt;
    }

    const DocumentInfo& document_;
    QPaintDevice* device_;
    DocObjects* objects_;
    TypesetDocument& out_;
    QTextDocument& doc_;
    int chapter_ = 0;
    int section_ = 0;
};

}  // namespace

int PageOfBlock(const QTextDocument& document, const QTextBlock& block) {
    // The bounding rectangle begins where the block's layout is placed; a first line that did
    // not fit on that page has been moved down by the layout to the next one.
    const QTextLayout* layout = block.layout();
    double top = document.documentLayout()->blockBoundingRect(block).top();
    if (layout != nullptr && layout->lineCount() > 0) top += layout->lineAt(0).y();
    return static_cast<int>(std::floor((top + 0.5) / document.pageSize().height()));
}

TypesetDocument TypesetMarkdown(const QString& markdown, const DocumentInfo& document,
                                QPaintDevice* device, DocObjects* objects) {
    TypesetDocument out;
    QString text = markdown;
    out.title = TakeTitle(text, document.manual);
    out.document = std::make_unique<QTextDocument>();
    QTextDocument& doc = *out.document;
    doc.setDocumentMargin(0);
    doc.setUseDesignMetrics(true);
    doc.setDefaultFont(Font(Face::Regular, 10));
    doc.setIndentWidth(Mm(6));
    doc.setPageSize(QSizeF(docstyle::kBodyWidth, docstyle::kBodyHeight));
    doc.setMarkdown(text, QTextDocument::MarkdownDialectGitHub);
    Typesetter(document, device, objects, out).Run();
    return out;
}
