// Runs with QT_SCALE_FACTOR above 1 (2 and 1.5): pages and buttons draw from the double-density
// art while their geometry stays in logical pixels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QThread>
#include <set>

#include "TestResources.h"
#include "ui/controls/HoverButton.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardPage.h"

namespace {

TEST(HiDpi, PicksTheDoubleDensityFileAboveRatioOneWhenItExists) {
    const QString one = QStringLiteral("/b/res/English/home.bmp");
    const QString two = QStringLiteral("/b/res/English/home@2x.png");
    const struct {
        qreal ratio;
        bool twoExists;
        QString expected;
    } cases[] = {{1, true, one}, {1.25, true, two}, {1.5, true, two}, {2, true, two},
                 {3, true, two}, {2, false, one},   {1.5, false, one}};
    for (const auto& c : cases) {
        const auto exists = [&](const QString& file) { return c.twoExists && file == two; };
        EXPECT_EQ(ArtFileForRatio(one, c.ratio, exists), c.expected) << c.ratio << c.twoExists;
    }
}

// A double-density picture whose odd device rows are dark: detail the page-pixel file cannot
// hold, so it shows whether the 2x file was drawn at full density.
QImage Striped(QSize size, const QColor& even, const QColor& odd) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) image.setPixel(x, y, (y % 2 ? odd : even).rgb());
    }
    return image;
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
    EXPECT_EQ(QSize(width, height), QSize(600, 560));
    EXPECT_EQ(page.size(), QSize(600, 560));
    const QImage shot = page.grab().toImage();
    EXPECT_EQ(shot.size(), QSize(600, 560) * ratio);
    const QRgb middle = shot.pixel(shot.width() / 2, shot.height() / 2);
    EXPECT_NE(middle, QColor(1, 2, 3).rgb()) << "the page-pixel file was drawn";
    if (ratio == 2) {  // every device row is the art's own row
        EXPECT_EQ(shot.pixel(300, 301), QColor(0, 0, 100).rgb());
        EXPECT_EQ(shot.pixel(300, 300), QColor(200, 200, 200).rgb());
    }

    // The strip's looks are each 2 x kLookHeight device rows; the button keeps logical size.
    const QString strip = ResourcePath("btn_next.bmp");
    QImage twice(kStripWidth * 2, kLookHeight * 8, QImage::Format_RGB32);
    QPainter painter(&twice);
    for (int look = 0; look < 4; ++look) {
        painter.fillRect(0, look * kLookHeight * 2, kStripWidth * 2, kLookHeight * 2,
                         QColor(look * 60, 255 - look * 60, 128));
    }
    painter.end();
    ASSERT_TRUE(twice.save(strip.chopped(4) + QStringLiteral("@2x.png")));
    CHoverButton button;
    button.LoadBitmaps(strip);
    EXPECT_EQ(button.size(), QSize(kStripWidth, kLookHeight));
    EXPECT_EQ(button.LookHeight(), kLookHeight);
    for (const int look : {0, 1}) {
        button.setDown(look == 1);
        const QImage drawn = button.grab().toImage();
        std::set<QRgb> seen;
        for (int y = 1; y < drawn.height() - 1; ++y) seen.insert(drawn.pixel(drawn.width() / 2, y));
        EXPECT_EQ(seen, std::set<QRgb>{QColor(look * 60, 255 - look * 60, 128).rgb()}) << look;
    }
}

// A picture prepared ahead is decoded off the UI thread and handed over when the page asks.
TEST(HiDpi, PreparedArtIsDecodedAheadAndHandedOver) {
    ScratchFolder folder;
    folder.AddLanguage(QStringLiteral("English"), QSize(600, 560), QColor(1, 2, 3));
    const QString page = ResourcePath("install05.bmp");
    const QString twice = page.chopped(4) + QStringLiteral("@2x.png");
    ASSERT_TRUE(Striped(QSize(1200, 1120), Qt::white, Qt::black).save(twice));
    PrepareArt({page}, 2);
    QThread::msleep(500);
    ASSERT_TRUE(QFile::remove(twice));  // now only the prepared picture can show it
    const QPixmap art = LoadArt(page, 2);
    EXPECT_EQ(art.size(), QSize(1200, 1120));
    EXPECT_EQ(art.devicePixelRatio(), 2);
    EXPECT_EQ(LoadArt(page, 2).size(), QSize(600, 560)) << "handed over once, then let go";
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
