#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "DocStyle.h"
#include "DocumentSet.h"
#include "PdfComposer.h"
#include "Texts.h"
#include "core/messages/LocalizedMessages.h"
#include "resources/StringTable.h"

namespace {

// Text as a reader sees it: typographic apostrophes and no-break spaces as plain ones.
QString Plain(QString text) {
    return text.replace(QChar(0x2019), QLatin1Char('\'')).replace(QChar(0xA0), QLatin1Char(' '));
}

// The documents are typeset once from the real sources into a folder of their own.
class RenderedDocuments : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<QTemporaryDir>();
        reports_ = RenderAll(QStringLiteral(DOCS_SOURCE_DIR), folder_->path());
    }
    static const RenderReport& Manual() { return reports_.front(); }
    static inline std::unique_ptr<QTemporaryDir> folder_;
    static inline std::vector<RenderReport> reports_;
};

// Whole PDFs with the pages they report; each guide one or two pages, titled, and
// naming the buttons as the wizard shows them and in its own language.
TEST_F(RenderedDocuments, EveryDocumentIsAWholePdf) {
    const std::vector<DocumentInfo>& all = Documents();
    ASSERT_EQ(reports_.size(), all.size());
    EXPECT_GT(Manual().pages, 10);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const DocumentInfo& document = all[i];
        const RenderReport& report = reports_[i];
        SCOPED_TRACE(document.output);
        ASSERT_TRUE(report.output.endsWith(QLatin1Char('/') + QLatin1String(document.output)));
        EXPECT_TRUE(report.problems.isEmpty()) << report.problems.join("; ").toStdString();
        QFile file(report.output);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        EXPECT_TRUE(pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF"));
        EXPECT_EQ(static_cast<int>(pdf.count("/Type /Page\n")), report.pages);
        if (document.manual) continue;
        EXPECT_LE(report.pages, 2);
        const QString guide = Plain(report.plainText);
        EXPECT_TRUE(guide.startsWith(Plain(DocumentKind(document)) + QLatin1Char('\n')));
        for (Text button : {Text::ButtonStart, Text::ButtonNext, Text::ButtonFinish}) {
            EXPECT_TRUE(guide.contains(Tr(button, Language::English)));
            EXPECT_TRUE(guide.contains(Plain(Tr(button, document.language))));
        }
    }
}

// The manual quotes every message of the wizard exactly, and nothing else but the home page's two
// about the PDF viewer; each is drawn as text that a reader can find.
TEST_F(RenderedDocuments, TheManualQuotesEveryMessageOfTheWizardExactly) {
    QStringList messages{QString::fromUtf8(LoadResString(kStrNameTooLong))};
    for (int id = 0; id < kMessageCount; ++id)
        messages << QString::fromUtf8(LocalizedMessage(0, static_cast<MessageId>(id)));
    QStringList quoted = Manual().messages;
    for (const QString& message : messages)
        EXPECT_TRUE(quoted.contains(message)) << message.toStdString();
    const auto viewer = quoted.removeIf([](const QString& text) {
        return text.startsWith(
            QLatin1String("You must install Adobe Acrobat Reader before you open"));
    });
    EXPECT_EQ(viewer, 2);
    for (const QString& text : quoted) EXPECT_TRUE(messages.contains(text)) << text.toStdString();

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
    for (const QString& message : messages.mid(1))
        EXPECT_TRUE(text.contains(message.simplified())) << message.toStdString();
}

}  // namespace

int main(int argc, char** argv) {
    QHashSeed::setDeterministicGlobalSeed();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!docstyle::LoadFonts().isEmpty()) return 1;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
