#pragma once

#include <QBrush>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>
#include <QStringList>
#include <vector>

// The program's icon in the desktop's menu, task bar and software centre: the modem under its
// signal waves on the logo's blue tile. One drawing gives both the bitmaps and the scalable file,
// so they cannot drift apart.

// The sizes of the bitmap icons, in pixels.
inline constexpr int kAppIconSizes[] = {48, 128, 256};

// The icon is drawn on a square of this many units, the scalable file's view box.
inline constexpr int kAppIconGrid = 256;

// One shape of the drawing, painted in order: a path filled with a colour or a gradient, and
// stroked with round ends when strokeWidth is above 0.
struct IconLayer {
    QPainterPath path;
    QBrush fill;
    QColor stroke;
    qreal strokeWidth = 0;
};

std::vector<IconLayer> AppIconLayers();

// The icon as a bitmap of size x size pixels, transparent around the tile.
QImage AppIconImage(int size);

// The icon as an SVG document with the view box 0 0 256 256.
QByteArray AppIconSvg();

// The icon files under an icon theme's folder, relative to it, for an icon name:
// "hicolor/scalable/apps/NAME.svg", then "hicolor/48x48/apps/NAME.png" and the other sizes.
QStringList AppIconFiles(const QString& name);

// Writes AppIconFiles(name) under outDir. Returns the files that could not be written.
QStringList RenderAppIcons(const QString& outDir, const QString& name);
