#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QHashFunctions>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <memory>
#include <vector>

#include "DocStyle.h"
#include "DocumentSet.h"
#include "PdfComposer.h"
#include "Texts.h"
#include "Typesetter.h"
#include "core/account/IspPresetCatalogue.h"
#include "core/messages/LocalizedMessages.h"
#include "resources/StringTable.h"

namespace {

// The documents are typeset once, from the real sources, into a temporary folder; the tests
// read what was written.
class RenderedDocuments : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<QTemporaryDir>();
        reports_ = RenderAll(QStringLiteral(DOCS_SOURCE_DIR), folder_->path());
    }
    static void TearDownTestSuite() {
        reports_.clear();
        folder_.reset();
    }

    // The report of the document, found by its file name.
    static const RenderReport& Report(const DocumentInfo& document,
                                      const std::vector<RenderReport>& reports = reports_) {
        for (const RenderReport& report : reports) {
            if (report.output.endsWith(QLatin1Char('/') + QLatin1String(document.output))) {
                return report;
            }
        }
        static const RenderReport kNone;
        return kNone;
    }
    static const std::vector<DocumentInfo>& All() { return Documents(); }
    static const RenderReport& Manual() { return reports_.front(); }

    static QByteArray Bytes(const RenderReport& report) {
        QFile file(report.output);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Text as a reader sees it: typographic apostrophes and no-break spaces as plain ones.
    static QString Plain(QString text) {
        return text.replace(QChar(0x2019), QLatin1Char('\''))
            .replace(QChar(0xA0), QLatin1Char(' '));
    }

    static std::unique_ptr<QTemporaryDir> folder_;
    static std::vector<RenderReport> reports_;
};

std::unique_ptr<QTemporaryDir> RenderedDocuments::folder_;
std::vector<RenderReport> RenderedDocuments::reports_;

// Whole PDF files with the pages they report: the manual more than ten, each guide one or two;
// the same bytes whenever they are made, the stamp being the edition's; Open Sans embedded.
TEST_F(RenderedDocuments, EveryDocumentIsAWholeReproduciblePdfInOpenSans) {
    ASSERT_EQ(reports_.size(), All().size());
    EXPECT_GT(Manual().pages, 10);
    QTemporaryDir again;
    const std::vector<RenderReport> second =
        RenderAll(QStringLiteral(DOCS_SOURCE_DIR), again.path());
    ASSERT_EQ(second.size(), reports_.size());
    static const QRegularExpression kFontName(QStringLiteral("/FontName /[A-Z]{6}\\+(\\S+)"));
    for (const DocumentInfo& document : All()) {
        const RenderReport& report = Report(document);
        SCOPED_TRACE(document.output);
        EXPECT_TRUE(report.problems.isEmpty())
            << report.problems.join(QStringLiteral("; ")).toStdString();
        const QByteArray pdf = Bytes(report);
        EXPECT_TRUE(pdf.startsWith("%PDF-"));
        EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
        EXPECT_EQ(static_cast<int>(pdf.count("/Type /Page\n")), report.pages);
        if (!document.manual) {
            EXPECT_LE(report.pages, 2);
        }
        EXPECT_EQ(Bytes(Report(document, second)), pdf);
        EXPECT_TRUE(pdf.contains("/CreationDate (D:20260101000000"));
        int fonts = 0;
        for (auto it = kFontName.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); ++fonts) {
            EXPECT_TRUE(it.next().captured(1).startsWith(QLatin1String("OpenSans")));
        }
        EXPECT_GE(fonts, 2);
    }
}

TEST_F(RenderedDocuments, TheManualQuotesEveryMessageOfTheWizardExactly) {
    const QStringList& quoted = Manual().messages;
    for (int id = 0; id < kMessageCount; ++id) {
        const QString message = QString::fromUtf8(LocalizedMessage(0, static_cast<MessageId>(id)));
        EXPECT_TRUE(quoted.contains(message)) << message.toStdString();
    }
    const QString nameTooLong = QString::fromUtf8(LoadResString(kStrNameTooLong));
    EXPECT_TRUE(quoted.contains(nameTooLong));
    // Nothing else is quoted as a message but the home page's two about the PDF viewer.
    int viewer = 0;
    for (const QString& text : quoted) {
        if (text.startsWith(
                QLatin1String("You must install Adobe Acrobat Reader before you open"))) {
            ++viewer;
            continue;
        }
        bool known = text == nameTooLong;
        for (int id = 0; id < kMessageCount && !known; ++id) {
            known = text == QString::fromUtf8(LocalizedMessage(0, static_cast<MessageId>(id)));
        }
        EXPECT_TRUE(known) << text.toStdString();
    }
    EXPECT_EQ(viewer, 2);
}

TEST_F(RenderedDocuments, TheMessagesAreDrawnAsTextThatAReaderCanFind) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QProcess process;
    process.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), Manual().output,
                              QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(60000));
    // Ligatures (the "fi" of "file") come back as one character each.
    const QString text = QString::fromUtf8(process.readAllStandardOutput())
                             .normalized(QString::NormalizationForm_KC)
                             .simplified();
    for (int id = 0; id < kMessageCount; ++id) {
        const QString message =
            QString::fromUtf8(LocalizedMessage(0, static_cast<MessageId>(id))).simplified();
        EXPECT_TRUE(text.contains(message)) << message.toStdString();
    }
}

TEST_F(RenderedDocuments, TheManualNamesThePagesAndButtonsAsTheScreensShowThem) {
    const QString manual = Plain(Manual().plainText);
    for (Text text :
         {Text::HomeTitle,   Text::CablesTitle,     Text::PowerTitle,    Text::PcTitle,
          Text::DetectTitle, Text::FoundTitle,      Text::IspTitle,      Text::PppoeTitle,
          Text::PppoaTitle,  Text::WanTitle,        Text::WirelessTitle, Text::ApplyTitle,
          Text::TestTitle,   Text::FinishTitle,     Text::ButtonExit,    Text::ButtonBack,
          Text::ButtonNext,  Text::ButtonClose,     Text::ButtonStart,   Text::ButtonManual,
          Text::ButtonGuide, Text::ButtonAcrobat,   Text::ButtonSupport, Text::ButtonFinish,
          Text::WanIpAuto,   Text::WanGatewayFixed, Text::WirelessSsid,  Text::IspVpi,
          Text::IspVci}) {
        const QString words = Plain(Tr(text, Language::English));
        EXPECT_TRUE(manual.contains(words)) << words.toStdString();
    }
}

TEST_F(RenderedDocuments, EachGuideIsTitledAndNamesTheButtonsInItsLanguage) {
    for (const DocumentInfo& document : All()) {
        if (document.manual) continue;
        SCOPED_TRACE(document.output);
        const QString guide = Plain(Report(document).plainText);
        EXPECT_TRUE(guide.startsWith(Plain(DocumentKind(document)) + QLatin1Char('\n')));
        for (Text button : {Text::ButtonStart, Text::ButtonNext, Text::ButtonFinish}) {
            // As the wizard shows it, and in the guide's language.
            EXPECT_TRUE(guide.contains(Tr(button, Language::English)));
            EXPECT_TRUE(guide.contains(Plain(Tr(button, document.language))))
                << Tr(button, document.language).toStdString();
        }
    }
}

TEST_F(RenderedDocuments, TheManualListsEveryProviderWithItsSettings) {
    const QString manual = Manual().plainText;
    for (int country = 1; country < IspPresetCatalogue::CountryCount(); ++country) {
        for (int provider = 0; provider < IspPresetCatalogue::ProviderCount(country); ++provider) {
            IspPreset preset{};
            ASSERT_TRUE(IspPresetCatalogue::Preset(country, provider, &preset));
            // One table row: a cell per line.
            const QString row =
                QStringList{
                    QString::fromUtf8(IspPresetCatalogue::ProviderName(country, provider)),
                    QString::fromLatin1(preset.vpi), QString::fromLatin1(preset.vci),
                    QString::fromLatin1(ProtocolText(preset.protocolEntry)),
                    QString::fromLatin1(EncapsulationText(preset.protocolEntry, preset.encapEntry))}
                    .join(QLatin1Char('\n'));
            EXPECT_TRUE(manual.contains(row)) << row.toStdString();
        }
    }
}

TEST(Typesetting, NoPageEndsWithAHeadingOrAMessage) {
    const DocumentInfo& document = Documents().front();
    ASSERT_TRUE(document.manual);
    QFile source(QStringLiteral(DOCS_SOURCE_DIR "/") + QLatin1String(document.source));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(docstyle::kDpi);
    DocObjects objects(document.language);
    const TypesetDocument typeset =
        TypesetMarkdown(QString::fromUtf8(source.readAll()), document, &writer, &objects);
    const QTextDocument& doc = *typeset.document;
    ASSERT_GT(doc.pageCount(), 10);
    const auto isMessage = [&objects](const QTextBlock& block) {
        const QTextBlock::iterator it = block.begin();
        if (it.atEnd()) return false;
        const QTextCharFormat format = it.fragment().charFormat();
        if (format.objectType() != DocObjects::kObjectType) return false;
        const int index = format.intProperty(DocObjects::kIndexProperty);
        return objects.Items()[static_cast<std::size_t>(index)].kind == DocObjects::Kind::Message;
    };
    int checked = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextBlock next = block.next();
        if (!next.isValid() ||
            (next.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)) {
            continue;  // a chapter begins a page anyway
        }
        if (block.blockFormat().headingLevel() == 0 && !isMessage(block)) continue;
        ++checked;
        EXPECT_EQ(PageOfBlock(doc, next), PageOfBlock(doc, block)) << block.text().toStdString();
    }
    EXPECT_GT(checked, 50);
}

}  // namespace

int main(int argc, char** argv) {
    QHashSeed::setDeterministicGlobalSeed();
    char program[] = "render_docs_tests";
    char platformFlag[] = "-platform";
    char platform[] = "offscreen";
    std::vector<char*> qtArgs{program, platformFlag, platform, nullptr};
    int qtArgc = 3;
    QGuiApplication app(qtArgc, qtArgs.data());
    if (!docstyle::LoadFonts().isEmpty()) return 1;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
