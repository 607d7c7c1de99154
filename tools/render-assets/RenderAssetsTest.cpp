#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <vector>

#include "Assets.h"
#include "ButtonArt.h"
#include "PageArt.h"
#include "Texts.h"
#include "Theme.h"
#include "resources/PageTemplates.h"

namespace {

QString Where(const PageLayout& layout) {
    return QLatin1String(FolderName(layout.language)) + QLatin1Char('/') + layout.file;
}

std::string Describe(const QRectF& r) {
    return QStringLiteral("(%1,%2 %3x%4)")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .toStdString();
}

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
        files
            << QStringLiteral("language_%1.bmp").arg(QLatin1String(FolderName(language)))
            << QStringLiteral("language_%1_selected.bmp").arg(QLatin1String(FolderName(language)));
    }
    files.sort();
    files.removeDuplicates();
    return files;
}

int BmpBitsPerPixel(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray header = file.read(30);
    if (header.size() < 30 || !header.startsWith("BM")) return -1;
    return qFromLittleEndian<quint16>(header.constData() + 28);
}

TEST(RenderAssets, WritesEveryFileThePagesLoadInEveryLanguage) {
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
            if (TemplateForBackground(name) != 0) {
                EXPECT_EQ(image.size(), QSize(kPageWidthPx, kPageHeightPx));
            } else {
                const ButtonStrip* button = FindButton(name);
                ASSERT_NE(button, nullptr);
                EXPECT_EQ(image.height() % 4, 0);
                EXPECT_EQ(image.size(), QSize(button->size.width(), button->size.height() * 4));
            }
        }
    }
}

TEST(RenderAssets, DrawsTheSamePixelsEveryTime) {
    const PageLayout layout = LayoutPage(QStringLiteral("install08.bmp"), Language::German);
    EXPECT_EQ(PaintPage(layout), PaintPage(LayoutPage(layout.file, layout.language)));
    const ButtonStrip* next = FindButton(QStringLiteral("btn_next.bmp"));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(PaintStrip(*next, Language::Spanish), PaintStrip(*next, Language::Spanish));
}

// Every text of every page, in every language: fitted without shrinking past its floor, inside
// the page, clear of every control the program shows on it, of the other texts and of the
// drawings.
TEST(PageLayout, KeepsEveryTextClearOfControlsEdgesAndOtherTexts) {
    const QRectF page(0, 0, kPageWidthPx, kPageHeightPx);
    const QRectF inside = page.adjusted(4, 4, -4, -4);
    for (Language language : kAllLanguages) {
        for (const QString& file : BackgroundFiles()) {
            const PageLayout layout = LayoutPage(file, language);
            const std::string where = Where(layout).toStdString();
            ASSERT_FALSE(layout.texts.empty()) << where;
            ASSERT_FALSE(layout.controls.empty()) << where;
            for (std::size_t i = 0; i < layout.texts.size(); ++i) {
                const PlacedText& text = layout.texts[i];
                const std::string what = where + ": " + text.text.toStdString();
                EXPECT_TRUE(text.fits) << what;
                EXPECT_TRUE(inside.contains(text.bounds)) << what << Describe(text.bounds);
                for (const ControlBox& control : layout.controls) {
                    EXPECT_FALSE(
                        text.bounds.intersects(QRectF(control.rect).adjusted(-2, -2, 2, 2)))
                        << what << " meets control " << control.id << Describe(text.bounds);
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
        }
    }
}

TEST(PageLayout, PlacesTheButtonRowAndEveryControlInsideThePage) {
    const QRect page(0, 0, kPageWidthPx, kPageHeightPx);
    for (const QString& file : BackgroundFiles()) {
        const PageLayout layout = LayoutPage(file, Language::English);
        for (const ControlBox& control : layout.controls) {
            EXPECT_TRUE(page.contains(control.rect))
                << file.toStdString() << ": control " << control.id;
            if (control.id == kIdBack || control.id == kIdNext ||
                (control.id == kIdExit && file != QLatin1String("install11.bmp"))) {
                EXPECT_EQ(control.rect.top(), kPageHeightPx - 27) << file.toStdString();
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
                const std::string what = std::string(button.file) + " " + FolderName(language) +
                                         ": " + label.text.toStdString();
                EXPECT_TRUE(label.fits) << what;
                EXPECT_TRUE(look.adjusted(2, 0, -2, 0).contains(label.bounds))
                    << what << Describe(label.bounds);
            }
        }
    }
}

// The fitting itself: a text too long for its room at full size shrinks or wraps, and one that
// cannot fit at its floor is reported rather than clipped.
TEST(TextFit, ShrinksWrapsOrReportsButNeverHidesOverflow) {
    TextStyle oneLine;
    oneLine.size = 14;
    oneLine.minSize = 10;
    oneLine.maxLines = 1;
    const QString words = QStringLiteral("Netzwerkauthentifizierung");

    const PlacedText roomy = FitText(words, QRectF(0, 0, 400, 30), oneLine);
    EXPECT_TRUE(roomy.fits);
    EXPECT_EQ(roomy.font.pixelSize(), 14);

    const qreal fullWidth = roomy.bounds.width();
    const PlacedText tight = FitText(words, QRectF(0, 0, fullWidth * 0.85, 30), oneLine);
    EXPECT_TRUE(tight.fits);
    EXPECT_LT(tight.font.pixelSize(), 14);
    EXPECT_LE(tight.bounds.width(), fullWidth * 0.85);

    const PlacedText hopeless = FitText(words, QRectF(0, 0, fullWidth * 0.4, 30), oneLine);
    EXPECT_FALSE(hopeless.fits);
    EXPECT_GT(hopeless.bounds.width(), fullWidth * 0.4);
    EXPECT_EQ(hopeless.font.pixelSize(), 10) << "the floor itself was not tried";

    TextStyle wrapping = oneLine;
    wrapping.maxLines = 0;
    const PlacedText wrapped =
        FitText(QStringLiteral("one two three four five six"), QRectF(0, 0, 90, 200), wrapping);
    EXPECT_TRUE(wrapped.fits);
    EXPECT_GT(wrapped.lines.size(), 1u);
    EXPECT_EQ(wrapped.font.pixelSize(), 14);
}

// A strip's corners show the page behind the button, so they must be the page's own colour
// where the program places it; and its three drawn looks must differ from each other.
TEST(ButtonArt, StripsBlendIntoThePageAndShowThreeDistinctLooks) {
    for (Language language : {Language::English, Language::German}) {
        for (const QString& file : BackgroundFiles()) {
            const PageLayout layout = LayoutPage(file, language);
            const QImage page = PaintPage(layout);
            for (const ControlBox& control : layout.controls) {
                if (!control.strip) continue;
                const ButtonStrip* button = FindButton(QLatin1String(control.strip));
                ASSERT_NE(button, nullptr);
                const QImage strip = PaintStrip(*button, language);
                const int w = button->size.width();
                const int h = button->size.height();
                for (const QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1)}) {
                    EXPECT_EQ(strip.pixel(corner), page.pixel(control.rect.topLeft() + corner))
                        << file.toStdString() << " " << control.strip;
                }
                const QImage normal = strip.copy(0, 0, w, h);
                const QImage pressed = strip.copy(0, h, w, h);
                const QImage hovered = strip.copy(0, 2 * h, w, h);
                EXPECT_NE(normal, pressed) << control.strip;
                EXPECT_NE(normal, hovered) << control.strip;
                EXPECT_NE(pressed, hovered) << control.strip;
            }
        }
    }
}

TEST(TextFit, PlacesTextWhereItsAlignmentSaysInsideItsRoom) {
    struct Case {
        Qt::Alignment align;
        bool left, right, top, bottom;  // which edges of the room the text must touch
    };
    const Case cases[] = {
        {Qt::AlignLeft | Qt::AlignTop, true, false, true, false},
        {Qt::AlignRight | Qt::AlignBottom, false, true, false, true},
        {Qt::AlignCenter, false, false, false, false},
    };
    const QRectF room(100, 50, 300, 120);
    for (const Case& c : cases) {
        TextStyle style;
        style.align = c.align;
        const PlacedText text = FitText(QStringLiteral("Kanal"), room, style);
        SCOPED_TRACE(static_cast<int>(c.align));
        EXPECT_TRUE(text.fits);
        EXPECT_TRUE(room.contains(text.bounds));
        EXPECT_EQ(qAbs(text.bounds.left() - room.left()) < 1, c.left);
        EXPECT_EQ(qAbs(text.bounds.right() - room.right()) < 1, c.right);
        EXPECT_EQ(qAbs(text.bounds.top() - room.top()) < 1, c.top);
        EXPECT_EQ(qAbs(text.bounds.bottom() - room.bottom()) < 1, c.bottom);
        if (c.align == Qt::AlignCenter) {
            EXPECT_NEAR(text.bounds.center().x(), room.center().x(), 1);
            EXPECT_NEAR(text.bounds.center().y(), room.center().y(), 1);
        }
    }

    TextStyle style;
    const PlacedText numbered =
        FitText(QStringLiteral("first\nsecond"), room, style, Marker::Number, 3);
    ASSERT_EQ(numbered.lines.size(), 2u);
    EXPECT_LT(numbered.markerRect.right(), numbered.lines[0].baseline.x());
    EXPECT_EQ(numbered.lines[0].baseline.x(), numbered.lines[1].baseline.x());
    EXPECT_TRUE(numbered.bounds.contains(numbered.markerRect));

    style.maxLines = 1;
    EXPECT_FALSE(FitText(QStringLiteral("first\nsecond"), room, style).fits);
}

TEST(TextFit, FlowStacksItemsInOrderAndShrinksThemTogether) {
    TextStyle style;
    style.size = 16;
    style.minSize = 10;
    const QString sentence =
        QStringLiteral("A sentence long enough to wrap over a few lines here.");
    const std::vector<FlowItem> items{
        {sentence, style}, {sentence, style, 12}, {sentence, style, 12}};

    const std::vector<PlacedText> roomy = FlowText(items, QRectF(0, 0, 200, 1000));
    ASSERT_EQ(roomy.size(), 3u);
    for (std::size_t i = 1; i < roomy.size(); ++i) {
        EXPECT_NEAR(roomy[i].bounds.top(), roomy[i - 1].bounds.bottom() + 12, 1);
        EXPECT_EQ(roomy[i].font.pixelSize(), 16);
    }

    const qreal needed = roomy.back().bounds.bottom();
    const std::vector<PlacedText> tight = FlowText(items, QRectF(0, 0, 200, needed * 0.8));
    for (const PlacedText& text : tight) {
        EXPECT_TRUE(text.fits);
        EXPECT_EQ(text.font.pixelSize(), tight.front().font.pixelSize());
        EXPECT_LT(text.font.pixelSize(), 16);
    }
    EXPECT_LE(tight.back().bounds.bottom(), needed * 0.8);

    const std::vector<PlacedText> hopeless = FlowText(items, QRectF(0, 0, 200, 40));
    EXPECT_FALSE(hopeless.back().fits);
    EXPECT_EQ(hopeless.back().font.pixelSize(), 10);
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
