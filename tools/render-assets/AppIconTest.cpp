#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>

#include "AppIcon.h"

namespace {

int ChannelDifference(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
}

// The desktop draws the scalable file with its own SVG renderer; another renderer than the one
// that paints the bitmaps must see the same icon in it.
TEST(AppIcon, ScalableFileShowsTheSameIconAsTheBitmaps) {
    QSvgRenderer svg(AppIconSvg());
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBoxF(), QRectF(0, 0, kAppIconGrid, kAppIconGrid));

    QImage drawn(kAppIconGrid, kAppIconGrid, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    drawn = drawn.convertToFormat(QImage::Format_ARGB32);
    const QImage painted = AppIconImage(kAppIconGrid);

    // Edges may be smoothed a little differently; anything more is a shape or colour lost.
    int differing = 0;
    for (int y = 0; y < kAppIconGrid; ++y) {
        for (int x = 0; x < kAppIconGrid; ++x) {
            if (ChannelDifference(drawn.pixel(x, y), painted.pixel(x, y)) > 24) ++differing;
        }
    }
    EXPECT_LT(differing, kAppIconGrid * kAppIconGrid / 200);
}

TEST(AppIcon, WritesTheThemeFolderLayoutWithATransparentMarginAtEverySize) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(RenderAppIcons(dir.path(), QStringLiteral("org.example.Icon")).isEmpty());
    const QStringList files = AppIconFiles(QStringLiteral("org.example.Icon"));
    ASSERT_EQ(files.size(), 1 + static_cast<qsizetype>(std::size(kAppIconSizes)));

    QFile svg(dir.filePath(QStringLiteral("hicolor/scalable/apps/org.example.Icon.svg")));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_EQ(svg.readAll(), AppIconSvg());

    for (int size : kAppIconSizes) {
        const QString file = QStringLiteral("hicolor/%1x%1/apps/org.example.Icon.png").arg(size);
        EXPECT_TRUE(files.contains(file)) << file.toStdString();
        const QImage image(dir.filePath(file));
        ASSERT_EQ(image.size(), QSize(size, size)) << file.toStdString();
        EXPECT_TRUE(image.hasAlphaChannel());
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "corner of " << size;
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << "centre of " << size;
    }
}

}  // namespace
