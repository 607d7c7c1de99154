#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include "AppIcon.h"

namespace {

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

}  // namespace
