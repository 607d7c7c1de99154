#include "PdfComposer.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRadialGradient>
#include <QTextBlock>
#include <cctype>

#include "DocObjects.h"
#include "DocStyle.h"
#include "Figures.h"
#include "Texts.h"
#include "Theme.h"
#include "Typesetter.h"

using docstyle::Face;
using docstyle::Font;
using docstyle::kBodyHeight;
using docstyle::kBodyTop;
using docstyle::kBodyWidth;
using docstyle::kMarginLeft;
using docstyle::kPageWidth;
using docstyle::Mm;
using docstyle::Pt;

namespace {

constexpr double kRightEdge = kPageWidth - docstyle::kMarginRight;

// One line of the table of contents.
struct ContentsEntry {
    const Heading* heading;
    int page;  // as printed in the footers, from 1
};

double ContentsRowHeight(int level) {
    return level == 2 ? Pt(21) : Pt(15.5);
}
constexpr double kContentsTitleHeight = Pt(44);

// The entries of each page of the table of contents.
std::vector<std::vector<ContentsEntry>> PaginateContents(const std::vector<ContentsEntry>& all) {
    std::vector<std::vector<ContentsEntry>> pages(1);
    double used = kContentsTitleHeight;
    for (const ContentsEntry& entry : all) {
        const double height = ContentsRowHeight(entry.heading->level);
        if (used + height > kBodyHeight) {
            pages.emplace_back();
            used = 0;
        }
        pages.back().push_back(entry);
        used += height;
    }
    return pages;
}

void DrawLeftText(QPainter& painter, const QFont& font, const QColor& colour, double x,
                  double baseline, const QString& text) {
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QPointF(x, baseline), text);
}

void DrawRightText(QPainter& painter, const QFont& font, const QColor& colour, double right,
                   double baseline, const QString& text) {
    const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
    DrawLeftText(painter, font, colour, right - width, baseline, text);
}

void HeaderGradient(QPainter& painter, const QRectF& rect) {
    QLinearGradient fill(rect.topLeft(), rect.topRight());
    fill.setColorAt(0, theme::kHeaderLeft);
    fill.setColorAt(1, theme::kHeaderRight);
    painter.fillRect(rect, fill);
}

void DrawTitlePage(QPainter& painter, const DocumentInfo& document, const QString& title) {
    const QRectF band(0, 0, kPageWidth, Mm(98));
    HeaderGradient(painter, band);
    // The rings of the pages' header, large.
    painter.save();
    painter.setClipRect(band);
    painter.setBrush(Qt::NoBrush);
    for (int ring = 0; ring < 4; ++ring) {
        const double radius = Mm(34) + ring * Mm(16);
        painter.setPen(QPen(QColor(255, 255, 255, 20 - ring * 3), Mm(2.2)));
        painter.drawEllipse(QPointF(kPageWidth - Mm(30), Mm(72)), radius, radius);
    }
    painter.restore();
    painter.fillRect(QRectF(0, band.bottom(), kPageWidth, Mm(1.4)), theme::kHeaderRule);

    figures::LogoMark(painter, QRectF(kMarginLeft, Mm(30), Mm(21), Mm(21)));
    const double textLeft = kMarginLeft + Mm(27);
    DrawLeftText(painter, Font(Face::Semibold, 30), theme::kHeaderText, textLeft, Mm(43),
                 QStringLiteral("Orvane SetupPilot"));
    DrawLeftText(painter, Font(Face::Regular, 14), theme::kHeaderSubtle, textLeft, Mm(51.5),
                 Tr(Text::ModelLine, document.language));

    DrawLeftText(painter, Font(Face::Bold, 38), theme::kTitle, kMarginLeft, Mm(136), title);
    painter.fillRect(QRectF(kMarginLeft, Mm(143), Mm(24), Mm(1.4)), theme::kAccent);
    DrawLeftText(painter, Font(Face::Regular, 14), theme::kTextMuted, kMarginLeft, Mm(155),
                 QStringLiteral("Setting up your modem-router and your Internet connection"));

    const QRectF modem(kPageWidth / 2 - Mm(52), Mm(182), Mm(104), Mm(52));
    QRadialGradient shadow(QPointF(0, 0), Mm(52));
    shadow.setColorAt(0, QColor(0xCF, 0xD9, 0xE3));
    shadow.setColorAt(1, Qt::white);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.translate(modem.center().x(), modem.bottom() + Mm(1));
    painter.scale(1, 0.09);
    painter.drawEllipse(QPointF(0, 0), Mm(52), Mm(52));
    painter.restore();
    DrawLitModem(painter, modem);

    painter.fillRect(QRectF(kMarginLeft, Mm(268), kBodyWidth, 0.75), theme::kCardBorder);
    DrawLeftText(painter, Font(Face::Semibold, 9.5), theme::kTitle, kMarginLeft, Mm(276),
                 QStringLiteral("www.orvane.com"));
    DrawRightText(painter, Font(Face::Regular, 9.5), theme::kTextMuted, kRightEdge, Mm(276),
                  QStringLiteral("Edition 1.0"));
}

void DrawRunningHead(QPainter& painter, const DocumentInfo& document) {
    HeaderGradient(painter, QRectF(0, 0, kPageWidth, Mm(3)));
    const double logo = Mm(7.5);
    const double top = Mm(10);
    figures::LogoMark(painter, QRectF(kMarginLeft, top, logo, logo));
    const double baseline = top + logo / 2 + Pt(3.5);
    DrawLeftText(painter, Font(Face::Semibold, 10), theme::kTitle, kMarginLeft + logo + Mm(2.5),
                 baseline, QStringLiteral("Orvane SetupPilot"));
    DrawRightText(painter, Font(Face::Regular, 9), theme::kTextMuted, kRightEdge, baseline,
                  DocumentKind(document));
    painter.fillRect(QRectF(kMarginLeft, Mm(21.5), kBodyWidth, 0.75), theme::kCardBorder);
}

void DrawFooter(QPainter& painter, const DocumentInfo& document, int page, int count) {
    const double rule = Mm(282);
    painter.fillRect(QRectF(kMarginLeft, rule, kBodyWidth, 0.75), theme::kCardBorder);
    const double baseline = rule + Mm(6);
    DrawLeftText(painter, Font(Face::Regular, 8), theme::kTextMuted, kMarginLeft, baseline,
                 Tr(Text::ModelLine, document.language));
    DrawRightText(painter, Font(Face::Semibold, 8), theme::kTitle, kRightEdge, baseline,
                  PageNumberText(document.language, page, count));
}

void DrawContentsPage(QPainter& painter, const std::vector<ContentsEntry>& entries, bool first) {
    double y = kBodyTop;
    if (first) {
        DrawLeftText(painter, Font(Face::Semibold, 18), theme::kAccentDark, kMarginLeft, y + Pt(20),
                     QStringLiteral("Contents"));
        y += kContentsTitleHeight;
    }
    QPen dots(theme::kTextHint, 1.1);
    dots.setCapStyle(Qt::RoundCap);
    dots.setDashPattern({0.01, 3.4});
    for (const ContentsEntry& entry : entries) {
        const bool chapter = entry.heading->level == 2;
        const double height = ContentsRowHeight(entry.heading->level);
        const double baseline = y + height - Pt(chapter ? 5.5 : 4.5);
        const QFont font = chapter ? Font(Face::Semibold, 10.5) : Font(Face::Regular, 9.5);
        const QColor colour = chapter ? theme::kTitle : theme::kText;
        const double numberX = kMarginLeft + (chapter ? 0 : Mm(9));
        const double textX = kMarginLeft + (chapter ? Mm(9) : Mm(19));
        DrawLeftText(painter, font, colour, numberX, baseline, entry.heading->number);
        DrawLeftText(painter, font, colour, textX, baseline, entry.heading->text);
        const QString page = QString::number(entry.page);
        DrawRightText(painter, font, colour, kRightEdge, baseline, page);

        const QFontMetricsF metrics(font, painter.device());
        const double from = textX + metrics.horizontalAdvance(entry.heading->text) + Mm(2);
        const double to = kRightEdge - metrics.horizontalAdvance(page) - Mm(2);
        if (to > from) {
            painter.setPen(dots);
            painter.drawLine(QPointF(from, baseline - 1), QPointF(to, baseline - 1));
        }
        y += height;
    }
}

void DrawBodyPage(QPainter& painter, QTextDocument& doc, int page) {
    const double height = doc.pageSize().height();
    painter.save();
    painter.translate(kMarginLeft, kBodyTop - page * height);
    const QRectF clip(0, page * height, doc.pageSize().width(), height);
    painter.setClipRect(clip);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = clip;
    context.palette.setColor(QPalette::Text, theme::kText);
    doc.documentLayout()->draw(&painter, context);
    painter.restore();
}

// The writer stamps each file with the time it was written. That stamp becomes the documents'
// edition date, of the same length, so the offsets in the file's cross-reference table hold and
// the files do not depend on when they are made.
QByteArray Settled(QByteArray pdf) {
    static const QByteArray kStamp("/CreationDate (D:");
    static const QByteArray kEdition("20260101000000");
    const qsizetype at = pdf.indexOf(kStamp);
    if (at >= 0) {
        const qsizetype digits = at + kStamp.size();
        for (qsizetype i = 0; i < kEdition.size() && digits + i < pdf.size(); ++i) {
            if (std::isdigit(static_cast<unsigned char>(pdf[digits + i]))) {
                pdf[digits + i] = kEdition[i];
            }
        }
    }
    return pdf;
}

}  // namespace

RenderReport RenderDocument(const DocumentInfo& document, const QString& sourceDir,
                            const QString& outputDir) {
    RenderReport report;
    report.output = QDir(outputDir).filePath(QString::fromLatin1(document.output));
    QFile source(QDir(sourceDir).filePath(QString::fromLatin1(document.source)));
    if (!source.open(QIODevice::ReadOnly)) {
        report.problems << QStringLiteral("cannot read %1").arg(source.fileName());
        return report;
    }
    const QString markdown = QString::fromUtf8(source.readAll());

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(docstyle::kDpi);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setCreator(QStringLiteral("Orvane SetupPilot"));

    DocObjects objects(document.language);
    TypesetDocument typeset = TypesetMarkdown(markdown, document, &writer, &objects);
    report.problems << typeset.problems;
    if (typeset.title.isEmpty()) report.problems << QStringLiteral("no title");
    writer.setTitle(QStringLiteral("Orvane SetupPilot: %1").arg(typeset.title));
    QTextDocument& doc = *typeset.document;

    const int bodyPages = doc.pageCount();
    std::vector<std::vector<ContentsEntry>> contents;
    int frontPages = 0;
    if (document.manual) {
        std::vector<ContentsEntry> entries;
        for (const Heading& heading : typeset.headings) entries.push_back({&heading, 0});
        contents = PaginateContents(entries);
        frontPages = 1 + static_cast<int>(contents.size());
        std::size_t at = 0;
        for (auto& page : contents) {
            for (ContentsEntry& entry : page) {
                const QTextBlock block = doc.findBlockByNumber(typeset.headings[at++].blockNumber);
                entry.page = frontPages + PageOfBlock(doc, block) + 1;
            }
        }
    }
    const int pageCount = frontPages + bodyPages;

    QPainter painter(&writer);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int page = 0; page < pageCount; ++page) {
        if (page > 0) writer.newPage();
        if (document.manual && page == 0) {
            DrawTitlePage(painter, document, typeset.title);
            continue;
        }
        DrawRunningHead(painter, document);
        if (page < frontPages) {
            DrawContentsPage(painter, contents[static_cast<std::size_t>(page - 1)], page == 1);
        } else {
            DrawBodyPage(painter, doc, page - frontPages);
        }
        DrawFooter(painter, document, page + 1, pageCount);
    }
    painter.end();

    QFile file(report.output);
    if (!file.open(QIODevice::WriteOnly) || file.write(Settled(buffer.data())) < 0) {
        report.problems << QStringLiteral("cannot write %1").arg(report.output);
    }
    report.pages = pageCount;
    report.plainText = doc.toPlainText();
    report.messages = typeset.messages;
    return report;
}

std::vector<RenderReport> RenderAll(const QString& sourceDir, const QString& outputDir) {
    QDir().mkpath(outputDir);
    std::vector<RenderReport> reports;
    for (const DocumentInfo& document : Documents()) {
        reports.push_back(RenderDocument(document, sourceDir, outputDir));
    }
    return reports;
}
