#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <optional>
#include <string>
#include <vector>

#include "Assets.h"
#include "ButtonArt.h"
#include "PageArt.h"
#include "Texts.h"
#include "Theme.h"
#include "resources/ArtPng.h"
#include "resources/PageTemplates.h"

namespace {

// The files the program loads: each page template's pictures, the button strips its pages name
// and the home page's language buttons.
QStringList FilesThePagesLoad() {
    QStringList files;
    for (const PageTemplate& page : AllPageTemplates()) {
        for (const char* file : {page.background, page.alternateBackground})
            if (file != nullptr) files << QLatin1String(file);
    }
    for (const char* button : {"exit", "back", "next", "close", "quick", "manual", "QIG", "acrobat",
                               "techsupport", "final"}) {
        files << QStringLiteral("btn_%1.bmp").arg(QLatin1String(button));
    }
    for (Language language : kAllLanguages) {
        const QString name = QLatin1String(FolderName(language));
        files << QStringLiteral("language_%1.bmp").arg(name)
              << QStringLiteral("language_%1_selected.bmp").arg(name);
    }
    files.sort();
    files.removeDuplicates();
    return files;
}

// The picture the program's decoder reads from the file, or a null image when it refuses it.
QImage ReadWithArtDecoder(const QByteArray& file) {
    const std::optional<ArtPixels> art =
        DecodeArtPng(std::string_view(file.constData(), static_cast<std::size_t>(file.size())));
    if (!art) return {};
    return QImage(reinterpret_cast<const uchar*>(art->pixels.data()), art->width, art->height,
                  QImage::Format_RGB32)
        .copy();
}

// Both halves come back exactly; a damaged file or any other PNG is refused (the program then
// reads it with Qt's reader), never half read.
TEST(ArtPng, HalvesDecodeExactlyAndDamageIsRefused) {
    for (const QSize size : {QSize(300, 301), QSize(20, 7)}) {
        QImage noise(size, QImage::Format_RGB888);
        std::string rgb;
        for (int y = 0; y < size.height(); ++y) {
            // Rows repeat every five, as flat art does: the second half would reach back across
            // the middle if the halves were not independent.
            for (int x = 0; x < size.width(); ++x)
                noise.setPixel(x, y, qRgb(x * 7, y % 5, x ^ y % 5));
            rgb.append(reinterpret_cast<const char*>(noise.constScanLine(y)), size.width() * 3);
        }
        const std::string encoded = EncodeArtPng(size.width(), size.height(), rgb);
        const QByteArray png(encoded.data(), static_cast<qsizetype>(encoded.size()));
        const QImage expected = noise.convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32), expected);
        EXPECT_EQ(ReadWithArtDecoder(png), expected);
        for (qsizetype cut : {qsizetype{8}, png.size() / 2, png.size() - 13})
            EXPECT_TRUE(ReadWithArtDecoder(png.left(cut)).isNull()) << cut;
        // One bit flipped in the pixels, and one in the header's checksum.
        for (qsizetype at : {png.size() - 30, qsizetype{30}}) {
            QByteArray flipped = png;
            flipped[at] = static_cast<char>(flipped[at] ^ 1);
            EXPECT_TRUE(ReadWithArtDecoder(flipped).isNull()) << at;
        }
        QByteArray plain;
        QBuffer buffer(&plain);
        noise.save(&buffer, "PNG");
        EXPECT_TRUE(ReadWithArtDecoder(plain).isNull());
    }
}

TEST(RenderAssets, WritesEveryFileThePagesLoadAtBothDensitiesInEveryLanguage) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    EXPECT_EQ(RenderAll(out.path()), QStringList{});
    for (Language language : kAllLanguages) {
        const QString dir = out.path() + QLatin1Char('/') + QLatin1String(FolderName(language));
        for (const QString& name : FilesThePagesLoad()) {
            const QString path = dir + QLatin1Char('/') + name;
            SCOPED_TRACE(path.toStdString());
            const QImage image(path, "BMP");
            const ButtonStrip* button = FindButton(name);
            EXPECT_EQ(image.size(), button ? QSize(button->size.width(), button->size.height() * 4)
                                           : QSize(kPageWidthPx, kPageHeightPx));
            const QString twice = dir + QLatin1Char('/') + DoubleDensityFile(name);
            EXPECT_EQ(QImage(twice, "PNG").size(), image.size() * 2);
        }
    }
}

// Every text of every page, in every language: fitted, inside the page, clear of every control
// the program shows on it and of the other texts; the bottom row of buttons where the program
// puts it.
TEST(PageLayout, KeepsEveryTextClearOfControlsEdgesAndOtherTexts) {
    const QRectF inside = QRectF(0, 0, kPageWidthPx, kPageHeightPx).adjusted(4, 4, -4, -4);
    for (Language language : kAllLanguages) {
        for (const QString& file : BackgroundFiles()) {
            const PageLayout layout = LayoutPage(file, language);
            const std::string where = std::string(FolderName(language)) + "/" + file.toStdString();
            ASSERT_FALSE(layout.texts.empty() || layout.controls.empty()) << where;
            for (std::size_t i = 0; i < layout.texts.size(); ++i) {
                const PlacedText& text = layout.texts[i];
                const std::string what = where + ": " + text.text.toStdString();
                EXPECT_TRUE(text.fits && inside.contains(text.bounds)) << what;
                for (const ControlBox& control : layout.controls) {
                    EXPECT_FALSE(
                        text.bounds.intersects(QRectF(control.rect).adjusted(-2, -2, 2, 2)))
                        << what << " meets control " << control.id;
                }
                for (std::size_t j = i + 1; j < layout.texts.size(); ++j) {
                    EXPECT_FALSE(text.bounds.intersects(layout.texts[j].bounds))
                        << what << " meets " << layout.texts[j].text.toStdString();
                }
            }
            for (const ControlBox& control : layout.controls) {
                if (control.id == kIdBack || control.id == kIdNext ||
                    (control.id == kIdExit && file != QLatin1String("install11.bmp"))) {
                    EXPECT_EQ(control.rect.top(), kPageHeightPx - 27) << where;
                }
            }
        }
    }
}

TEST(ButtonArt, EveryLabelFitsItsFaceInEveryLanguageAndLook) {
    for (const ButtonStrip& button : ButtonStrips()) {
        const QRectF face = QRectF(QPointF(0, 0), QSizeF(button.size)).adjusted(2, 0, -2, 0);
        for (Language language : kAllLanguages) {
            for (Quarter quarter : {Quarter::Normal, Quarter::Pressed, Quarter::Hovered}) {
                const PlacedText label = LayoutButtonLabel(button, language, quarter);
                EXPECT_TRUE(label.fits && face.contains(label.bounds))
                    << button.file << " " << FolderName(language) << ": "
                    << label.text.toStdString();
            }
        }
    }
}

// The checks above trust "fits": a text too long for its room shrinks, and one that cannot fit
// even at its floor size is reported, not clipped.
TEST(TextFit, ShrinksToTheFloorThenReportsOverflow) {
    TextStyle style;
    style.size = 14;
    style.minSize = 10;
    style.maxLines = 1;
    const QString word = QStringLiteral("Netzwerkauthentifizierung");
    const qreal full = FitText(word, QRectF(0, 0, 400, 30), style).bounds.width();
    const PlacedText tight = FitText(word, QRectF(0, 0, full * 0.85, 30), style);
    EXPECT_TRUE(tight.fits && tight.font.pixelSize() < 14 && tight.bounds.width() <= full * 0.85);
    const PlacedText hopeless = FitText(word, QRectF(0, 0, full * 0.4, 30), style);
    EXPECT_FALSE(hopeless.fits);
    EXPECT_EQ(hopeless.font.pixelSize(), 10) << "the floor itself was not tried";
}

TEST(Texts, EveryTextIsTranslatedWithoutStrayBlanks) {
    for (int i = 0; i < static_cast<int>(Text::Count); ++i) {
        for (Language language : kAllLanguages) {
            const QString text = Tr(static_cast<Text>(i), language);
            EXPECT_TRUE(!text.isEmpty() && text == text.trimmed()) << i << FolderName(language);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    char program[] = "render_assets_tests", platformFlag[] = "-platform", platform[] = "offscreen";
    char* qtArgs[] = {program, platformFlag, platform, nullptr};
    int qtArgc = 3;
    QGuiApplication app(qtArgc, qtArgs);
    if (!theme::LoadFonts().isEmpty()) return 1;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
