// Runs at QT_SCALE_FACTOR 2 and 1.5.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QThread>
#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <tuple>

#include "TestResources.h"
#include "resources/ArtPng.h"
#include "ui/controls/HoverButton.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardPage.h"

namespace {

TEST(HiDpi, PicksTheDoubleDensityFileAboveRatioOneWhenItExists) {
    const QString one = "/b/res/English/home.bmp", two = "/b/res/English/home@2x.png";
    const std::tuple<qreal, bool, QString> cases[] = {
        {1, true, one}, {1.25, true, two}, {3, true, two}, {2, false, one}};
    for (const auto& [ratio, twoExists, expected] : cases) {
        const auto exists = [&](const QString& file) { return twoExists && file == two; };
        EXPECT_EQ(ArtFileForRatio(one, ratio, exists), expected) << ratio << twoExists;
    }
}

// A double-density picture whose odd device rows are dark: detail the page-pixel file cannot
// hold, so it shows whether the 2x file was drawn at full density.
QImage Striped(QSize size, const QColor& even, const QColor& odd) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        std::fill_n(reinterpret_cast<QRgb*>(image.scanLine(y)), size.width(),
                    (y % 2 ? odd : even).rgb());
    }
    return image;
}

// Saves a picture as the art tool writes it, so the program reads it with its own decoder rather
// than Qt's.
bool SaveAsArt(const QImage& image, const QString& path) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::string pixels;
    for (int y = 0; y < rgb.height(); ++y)
        pixels.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);
    const std::string png = EncodeArtPng(rgb.width(), rgb.height(), pixels);
    QFile out(path);
    return out.open(QIODevice::WriteOnly) &&
           out.write(png.data(), std::ssize(png)) == std::ssize(png);
}

struct Page : CWizardPage {
    using CWizardPage::CWizardPage;
    using CWizardPage::OnInitDialog;
};

TEST(HiDpi, PageAndButtonDrawTheDoubleDensityArtAtTheirLogicalSize) {
    const qreal ratio = qApp->devicePixelRatio();
    ASSERT_GT(ratio, 1) << "run with QT_SCALE_FACTOR above 1";
    ScratchFolder folder;
    folder.AddLanguage(QStringLiteral("English"), QSize(600, 560), QColor(1, 2, 3));
    const QString home = ResourcePath("home.bmp");
    ASSERT_TRUE(Striped(QSize(1200, 1120), QColor(200, 200, 200), QColor(0, 0, 100))
                    .save(home.chopped(4) + QStringLiteral("@2x.png")));

    Page page(AllPageTemplates().front().id, home, nullptr);
    page.OnInitDialog();
    int width = 0, height = 0;
    page.GetBitmapSize(width, height);
    EXPECT_TRUE(QSize(width, height) == QSize(600, 560) && page.size() == QSize(600, 560));
    const QImage shot = page.grab().toImage();
    EXPECT_EQ(shot.size(), QSize(600, 560) * ratio);
    EXPECT_NE(shot.pixel(shot.width() / 2, shot.height() / 2), QColor(1, 2, 3).rgb())
        << "the page-pixel file was drawn";
    // At ratio 2 every device row is the art's own row, not one of an enlargement.
    EXPECT_TRUE(ratio != 2 ||
                (shot.pixel(300, 301) == 0xff000064 && shot.pixel(300, 300) == 0xffc8c8c8));

    // The strip's looks are each 2 x kLookHeight device rows; the button keeps logical size.
    const QString strip = ResourcePath("btn_next.bmp");
    const std::array<QColor, 4> looks{Qt::cyan, Qt::magenta, Qt::darkGreen, Qt::darkRed};
    ASSERT_TRUE(WriteStrip(strip, kStripWidth * 2, kLookHeight * 2, 0, looks));
    ASSERT_TRUE(SaveAsArt(QImage(strip), strip.chopped(4) + QStringLiteral("@2x.png")));
    ASSERT_TRUE(WriteStrip(strip, kStripWidth, kLookHeight));
    CHoverButton button;
    button.LoadBitmaps(strip);
    EXPECT_EQ(button.size(), QSize(kStripWidth, kLookHeight));
    button.setDown(true);
    const QImage drawn = button.grab().toImage();
    std::set<QRgb> seen;
    for (int y = 1; y < drawn.height() - 1; ++y) seen.insert(drawn.pixel(drawn.width() / 2, y));
    EXPECT_EQ(seen, std::set<QRgb>{looks[1].rgb()});

    // A picture prepared ahead is decoded off the UI thread and handed over when asked for.
    const QString ahead = ResourcePath("install05.bmp");
    const QString twice = ahead.chopped(4) + QStringLiteral("@2x.png");
    ASSERT_TRUE(Striped(QSize(1200, 1120), Qt::white, Qt::black).save(twice));
    PrepareArt({ahead}, 2);
    QThread::msleep(500);
    ASSERT_TRUE(QFile::remove(twice));  // now only the prepared picture can show it
    const QPixmap art = LoadArt(ahead, 2);
    EXPECT_TRUE(art.size() == QSize(1200, 1120) && art.devicePixelRatio() == 2);
    EXPECT_EQ(LoadArt(ahead, 2).size(), QSize(600, 560)) << "handed over once, then let go";
}

}  // namespace
