#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "AppIcon.h"
#include "Assets.h"
#include "ButtonArt.h"
#include "PageArt.h"
#include "Texts.h"
#include "Theme.h"
#include "resources/ArtPng.h"
#include "resources/LinkCursor.h"
#include "resources/PageTemplates.h"
#include "resources/StringTable.h"

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
    const TextStyle style{.size = 14, .minSize = 10, .maxLines = 1};
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

// The desktop's icon theme layout: the scalable file a renderer can read, and a bitmap at every
// size with a transparent margin around an opaque icon.
TEST(AppIcon, WritesTheThemeFolderLayoutWithATransparentMarginAtEverySize) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(RenderAppIcons(dir.path(), QStringLiteral("org.example.Icon")).isEmpty());
    const QStringList files = AppIconFiles(QStringLiteral("org.example.Icon"));
    ASSERT_EQ(files.size(), 1 + static_cast<qsizetype>(std::size(kAppIconSizes)));
    QFile svg(dir.filePath(QStringLiteral("hicolor/scalable/apps/org.example.Icon.svg")));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray scalable = svg.readAll();
    EXPECT_EQ(scalable, AppIconSvg());
    EXPECT_EQ(QSvgRenderer(scalable).viewBoxF(), QRectF(0, 0, kAppIconGrid, kAppIconGrid));

    for (int size : kAppIconSizes) {
        const QString file = QStringLiteral("hicolor/%1x%1/apps/org.example.Icon.png").arg(size);
        EXPECT_TRUE(files.contains(file)) << file.toStdString();
        const QImage image(dir.filePath(file));
        ASSERT_EQ(image.size(), QSize(size, size)) << file.toStdString();
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "corner of " << size;
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << "centre of " << size;
    }
}

TEST(PageTemplates, ConvertDialogUnitsWithRoundingNotTruncation) {
    // dialog units, pixels across, pixels down
    const std::tuple<int, int, int> cases[] = {
        {0, 0, 0}, {1, 2, 2}, {35, 53, 57}, {173, 260, 281}, {-1, -2, -2}};
    for (auto [du, x, y] : cases)
        EXPECT_EQ(std::pair(DuToPxX(du), DuToPxY(du)), std::pair(x, y)) << du;
}

// Controls may share a place only where the page shows one of them at a time.
bool Alternatives(int a, int b) {
    static const std::set<int> groups[] = {{1069, 1063},
                                           {1049, 1055},
                                           {1064, 1065, 1066, 1067},
                                           {1051, 1052, 1053, 1054},
                                           {1070, 1071, 1072, 1073}};
    return std::any_of(std::begin(groups), std::end(groups), [&](const std::set<int>& group) {
        return group.count(a) && group.count(b);
    });
}

// Each page is found by its id, names each control once, and shows its controls on the page
// above the button row, apart from each other.
TEST(PageTemplates, EveryPageIsFoundAndShowsItsControlsOnThePageAndApart) {
    EXPECT_EQ(FindPageTemplate(332), nullptr);
    for (const PageTemplate& page : AllPageTemplates()) {
        EXPECT_EQ(FindPageTemplate(page.id), &page);
        std::set<int> seen;
        std::vector<std::pair<int, QRect>> shown;
        for (const ControlTemplate& control : page.controls) {
            EXPECT_TRUE(seen.insert(control.id).second) << page.id << " repeats " << control.id;
            if (control.hidden || control.kind == ControlKind::OwnerDrawButton) continue;
            const PixelRect r = ControlRectPx(control);
            // A drop-down list takes only its closed field.
            const QRect rect(r.x, r.y, r.width,
                             control.kind == ControlKind::ComboList ? 26 : r.height);
            EXPECT_TRUE(QRect(0, 0, kPageWidthPx, kPageHeightPx - 30).contains(rect))
                << page.id << ": " << control.id;
            for (const auto& [id, other] : shown) {
                EXPECT_TRUE(Alternatives(id, control.id) || !rect.intersects(other))
                    << page.id << ": " << control.id << " overlaps " << id;
            }
            shown.emplace_back(control.id, rect);
        }
    }
}

TEST(StringTable, HasEveryEntryTheProgramLoadsAndNothingElse) {
    for (int id : {1, 35, 56, 65, 66}) EXPECT_NE(LoadResString(id), nullptr) << id;
    for (int id = 42; id <= 54; ++id) EXPECT_NE(LoadResString(id), nullptr) << id;
    for (int id = 171; id <= 175; ++id) EXPECT_NE(LoadResString(id), nullptr) << id;
    for (int id : {0, 2, 41, 55, 57, 170, 176}) EXPECT_EQ(LoadResString(id), nullptr) << id;
}

// The hot spot is the fingertip. At twice the pixels every pixel keeps its colour in at least two
// of its four quarters (nothing moves or vanishes), and the outline's steps are rounded, which
// plain doubling would not do.
TEST(LinkCursor, HotSpotIsTheFingertipAndTheDoubledHandRoundsItsSteps) {
    const auto& rows = LinkCursorRows();
    const auto& twice = LinkCursorRows2x();
    int topmostOpaqueRow = kLinkCursorSize, rounded = 0;
    for (int y = 0; y < kLinkCursorSize; ++y) {
        for (int x = 0; x < kLinkCursorSize; ++x) {
            const char pixel = rows[y][x];
            if (pixel != '.') topmostOpaqueRow = std::min(topmostOpaqueRow, y);
            const std::string quarters{twice[2 * y][2 * x], twice[2 * y][2 * x + 1],
                                       twice[2 * y + 1][2 * x], twice[2 * y + 1][2 * x + 1]};
            EXPECT_GE(std::count(quarters.begin(), quarters.end(), pixel), 2) << x << "," << y;
            rounded += quarters != std::string(4, pixel);
        }
    }
    EXPECT_EQ(rows[kLinkCursorHotY][kLinkCursorHotX], 'X');
    EXPECT_EQ(topmostOpaqueRow, kLinkCursorHotY);
    EXPECT_GT(rounded, 10);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!theme::LoadFonts().isEmpty()) return 1;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
