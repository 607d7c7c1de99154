#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
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
        for (const char* file : {page.background, page.alternateBackground}) {
            if (file != nullptr) files << QLatin1String(file);
        }
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

int BmpBitsPerPixel(const QString& path) {
    QFile file(path);
    const QByteArray header = file.open(QIODevice::ReadOnly) ? file.read(30) : QByteArray();
    return header.startsWith("BM") && header.size() == 30
               ? qFromLittleEndian<quint16>(header.constData() + 28)
               : -1;
}

int Distance(QRgb p, QRgb q) {
    return std::max(
        {qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)), qAbs(qBlue(p) - qBlue(q))});
}

// The double-density file, halved, shows the page-pixel picture; and it holds sharp edges inside
// the 2 x 2 block of a single page pixel, which no enlargement of the page-pixel file (smooth or
// blocky) can make: each block of one is flat, a smooth one changes by at most half a step.
void ExpectDrawnAtTwiceTheDensity(const QImage& one, QImage two) {
    ASSERT_EQ(two.size(), one.size() * 2);
    two = two.convertToFormat(QImage::Format_RGB32);
    const QImage halved = two.scaled(one.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int differing = 0, sharp = 0;
    for (int y = 0; y < one.height(); ++y) {
        for (int x = 0; x < one.width(); ++x) {
            differing += Distance(halved.pixel(x, y), one.pixel(x, y)) > 64;
            const QRgb corner = two.pixel(2 * x, 2 * y);
            sharp += (Distance(corner, two.pixel(2 * x + 1, 2 * y)) > 128) +
                     (Distance(corner, two.pixel(2 * x, 2 * y + 1)) > 128);
        }
    }
    EXPECT_LT(differing, one.width() * one.height() * 3 / 100);
    EXPECT_GT(sharp, 50);
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

// Both halves, threaded or not, come back exactly; a damaged file or any other PNG is refused
// (the program then reads it with Qt's reader), never half read.
TEST(ArtPng, HalvesDecodeExactlyAndDamageIsRefused) {
    for (const QSize size : {QSize(300, 301), QSize(20, 7)}) {
        QImage noise(size, QImage::Format_RGB888);
        for (int y = 0; y < size.height(); ++y) {
            // Rows repeat every five, as flat art does: the second half would reach back across
            // the middle if the halves were not independent.
            for (int x = 0; x < size.width(); ++x)
                noise.setPixel(x, y, qRgb(x * 7, y % 5, x ^ y % 5));
        }
        std::string rgb;
        for (int y = 0; y < size.height(); ++y) {
            rgb.append(reinterpret_cast<const char*>(noise.constScanLine(y)), size.width() * 3);
        }
        const std::string encoded = EncodeArtPng(size.width(), size.height(), rgb);
        const QByteArray png(encoded.data(), static_cast<qsizetype>(encoded.size()));
        const QImage expected = noise.convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32), expected);
        EXPECT_EQ(ReadWithArtDecoder(png), expected);
        for (qsizetype cut : {qsizetype{8}, png.size() / 2, png.size() - 13}) {
            EXPECT_TRUE(ReadWithArtDecoder(png.left(cut)).isNull()) << cut;
        }
        QByteArray flipped = png;
        flipped[flipped.size() - 30] = static_cast<char>(flipped[flipped.size() - 30] ^ 1);
        EXPECT_TRUE(ReadWithArtDecoder(flipped).isNull());
        QByteArray plain;
        QBuffer buffer(&plain);
        noise.save(&buffer, "PNG");
        EXPECT_TRUE(ReadWithArtDecoder(plain).isNull());
    }
}

TEST(RenderAssets, WritesEveryFileThePagesLoadAtBothDensitiesInEveryLanguage) {
    const QStringList expected = FilesThePagesLoad();
    QStringList required = RequiredFiles();
    required.sort();
    EXPECT_EQ(required, expected);

    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    EXPECT_EQ(RenderAll(out.path()), QStringList{});
    for (Language language : kAllLanguages) {
        const QString dir = out.path() + QLatin1Char('/') + QLatin1String(FolderName(language));
        for (const QString& name : expected) {
            const QString path = dir + QLatin1Char('/') + name;
            SCOPED_TRACE(path.toStdString());
            const QImage image(path, "BMP");
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(BmpBitsPerPixel(path), 24);
            const ButtonStrip* button = FindButton(name);
            EXPECT_EQ(image.size(), button ? QSize(button->size.width(), button->size.height() * 4)
                                           : QSize(kPageWidthPx, kPageHeightPx));
            const QString twicePath = dir + QLatin1Char('/') + DoubleDensityFile(name);
            const QImage twice(twicePath, "PNG");
            ExpectDrawnAtTwiceTheDensity(image, twice);
            // The program's two-halves reader sees what a standard reader sees.
            EXPECT_EQ(ReadWithArtDecoder(ReadBytes(twicePath)),
                      twice.convertToFormat(QImage::Format_RGB32));
        }
    }
    EXPECT_EQ(DoubleDensityFile(QStringLiteral("btn_next.bmp")), QStringLiteral("btn_next@2x.png"));
}

// Every text of every page, in every language: fitted without shrinking past its floor, inside
// the page, clear of every control the program shows on it, of the other texts and of the
// drawings; the bottom row of buttons where the program puts it.
TEST(PageLayout, KeepsEveryTextClearOfControlsEdgesAndOtherTexts) {
    const QRectF inside = QRectF(0, 0, kPageWidthPx, kPageHeightPx).adjusted(4, 4, -4, -4);
    for (Language language : kAllLanguages) {
        for (const QString& file : BackgroundFiles()) {
            const PageLayout layout = LayoutPage(file, language);
            const std::string where = std::string(FolderName(language)) + "/" + file.toStdString();
            ASSERT_FALSE(layout.texts.empty()) << where;
            ASSERT_FALSE(layout.controls.empty()) << where;
            for (std::size_t i = 0; i < layout.texts.size(); ++i) {
                const PlacedText& text = layout.texts[i];
                const std::string what = where + ": " + text.text.toStdString();
                EXPECT_TRUE(text.fits) << what;
                EXPECT_TRUE(inside.contains(text.bounds)) << what;
                for (const ControlBox& control : layout.controls) {
                    EXPECT_FALSE(
                        text.bounds.intersects(QRectF(control.rect).adjusted(-2, -2, 2, 2)))
                        << what << " meets control " << control.id;
                }
                for (std::size_t j = i + 1; j < layout.texts.size(); ++j) {
                    EXPECT_FALSE(text.bounds.intersects(layout.texts[j].bounds))
                        << what << " meets " << layout.texts[j].text.toStdString();
                }
                for (const Figure& figure : layout.figures) {
                    EXPECT_FALSE(text.bounds.intersects(figure.rect)) << what << " meets a drawing";
                }
            }
            for (const Figure& figure : layout.figures) {
                EXPECT_TRUE(inside.contains(figure.rect)) << where;
                for (const ControlBox& control : layout.controls) {
                    EXPECT_FALSE(figure.rect.intersects(QRectF(control.rect)))
                        << where << ": a drawing meets control " << control.id;
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
        const QRectF look(QPointF(0, 0), QSizeF(button.size));
        for (Language language : kAllLanguages) {
            for (Quarter quarter : {Quarter::Normal, Quarter::Pressed, Quarter::Hovered}) {
                const PlacedText label = LayoutButtonLabel(button, language, quarter);
                EXPECT_TRUE(label.fits && look.adjusted(2, 0, -2, 0).contains(label.bounds))
                    << button.file << " " << FolderName(language) << ": "
                    << label.text.toStdString();
            }
        }
    }
}

// A strip's corners show the page behind the button, so they must be the page's own colour
// where the program places it, at both densities; and its three drawn looks must differ.
TEST(ButtonArt, StripsBlendIntoThePageAndShowThreeDistinctLooks) {
    for (const int scale : {1, 2}) {
        for (const QString& file : BackgroundFiles()) {
            const PageLayout layout = LayoutPage(file, Language::German);
            const QImage page = PaintPage(layout, scale);
            for (const ControlBox& control : layout.controls) {
                if (!control.strip) continue;
                const ButtonStrip* button = FindButton(QLatin1String(control.strip));
                ASSERT_NE(button, nullptr);
                const QImage strip = PaintStrip(*button, layout.language, scale);
                const int w = button->size.width() * scale, h = button->size.height() * scale;
                for (const QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1)}) {
                    EXPECT_EQ(strip.pixel(corner),
                              page.pixel(control.rect.topLeft() * scale + corner))
                        << file.toStdString() << " " << control.strip << " x" << scale;
                }
                const QImage normal = strip.copy(0, 0, w, h), pressed = strip.copy(0, h, w, h),
                             hovered = strip.copy(0, 2 * h, w, h);
                EXPECT_NE(normal, pressed) << control.strip;
                EXPECT_NE(normal, hovered) << control.strip;
                EXPECT_NE(pressed, hovered) << control.strip;
            }
        }
    }
}

// A text too long for its room at full size shrinks, one that cannot fit at its floor is
// reported rather than clipped, and a flow of texts shrinks together.
TEST(TextFit, ShrinksOrReportsButNeverHidesOverflowAndFlowsShrinkTogether) {
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
    EXPECT_GT(hopeless.bounds.width(), full * 0.4);
    EXPECT_EQ(hopeless.font.pixelSize(), 10) << "the floor itself was not tried";

    style.maxLines = 0;
    const QString sentence = QStringLiteral("A sentence long enough to wrap over a few lines.");
    const std::vector<FlowItem> items{{sentence, style}, {sentence, style, 12}};
    const qreal needed = FlowText(items, QRectF(0, 0, 200, 1000)).back().bounds.bottom();
    const std::vector<PlacedText> squeezed = FlowText(items, QRectF(0, 0, 200, needed * 0.8));
    EXPECT_TRUE(squeezed[0].fits && squeezed[1].fits);
    EXPECT_LT(squeezed[0].font.pixelSize(), 14);
    EXPECT_EQ(squeezed[0].font.pixelSize(), squeezed[1].font.pixelSize());
    EXPECT_NEAR(squeezed[1].bounds.top(), squeezed[0].bounds.bottom() + 12, 1);
    EXPECT_LE(squeezed.back().bounds.bottom(), needed * 0.8);
}

// Typography the translations must keep: no stray blanks, French spaces before two-part
// punctuation that cannot break away, quotation marks in pairs.
TEST(Texts, EveryTranslationIsPresentAndTypographicallyClean) {
    for (int i = 0; i < static_cast<int>(Text::Count); ++i) {
        for (Language language : kAllLanguages) {
            const QString text = Tr(static_cast<Text>(i), language);
            const std::string what =
                std::to_string(i) + " " + FolderName(language) + ": " + text.toStdString();
            EXPECT_FALSE(text.isEmpty()) << what;
            EXPECT_EQ(text, text.trimmed()) << what;
            EXPECT_FALSE(text.contains(QStringLiteral("  "))) << what;
            EXPECT_FALSE(text.contains(QLatin1Char('\''))) << what;
            // German opens with „ and closes with “; the others close “ with ”.
            const QChar opening = language == Language::German ? QChar(0x201E) : QChar(0x201C);
            const QChar closing = language == Language::German ? QChar(0x201C) : QChar(0x201D);
            EXPECT_EQ(text.count(opening), text.count(closing)) << what;
            EXPECT_EQ(text.count(QChar(0x00AB)), text.count(QChar(0x00BB))) << what;
            if (language == Language::French) {
                for (const QString& mark :
                     {QStringLiteral(" :"), QStringLiteral(" ?"), QStringLiteral(" !"),
                      QStringLiteral(" ;"), QStringLiteral("« "), QStringLiteral(" »")}) {
                    EXPECT_FALSE(text.contains(mark)) << what;
                }
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    char program[] = "render_assets_tests";
    char platformFlag[] = "-platform";
    char platform[] = "offscreen";
    std::vector<char*> qtArgs{program, platformFlag, platform, nullptr};
    int qtArgc = 3;
    QGuiApplication app(qtArgc, qtArgs.data());
    const QString missing = theme::LoadFonts();
    if (!missing.isEmpty()) {
        std::fprintf(stderr, "cannot load fonts: %s\n", qPrintable(missing));
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
