#include "ui/controls/LinkCursor.h"

#include <QBitmap>
#include <QImage>
#include <QPixmap>

#include "resources/LinkCursor.h"

namespace {

QBitmap MonoBitmap(const CursorMask& bits) {
    QImage image(bits.data(), kLinkCursorSize, kLinkCursorSize, kLinkCursorSize / 8,
                 QImage::Format_Mono);
    image.setColorCount(2);
    image.setColor(0, QColor(Qt::white).rgb());
    image.setColor(1, QColor(Qt::black).rgb());
    return QBitmap::fromImage(image.copy());
}

}  // namespace

QCursor LinkCursor(qreal ratio) {
    if (ratio > 1) {
        const auto& rows = LinkCursorRows2x();
        QImage image(kLinkCursorSize2x, kLinkCursorSize2x, QImage::Format_ARGB32);
        for (int y = 0; y < kLinkCursorSize2x; ++y) {
            for (int x = 0; x < kLinkCursorSize2x; ++x) {
                const char pixel = rows[y][x];
                image.setPixel(x, y,
                               pixel == '.'   ? qRgba(0, 0, 0, 0)
                               : pixel == 'o' ? qRgb(255, 255, 255)
                                              : qRgb(0, 0, 0));
            }
        }
        QPixmap hand = QPixmap::fromImage(image);
        hand.setDevicePixelRatio(2);
        // The hot spot is given in the picture's own pixels.
        return QCursor(hand, 2 * kLinkCursorHotX, 2 * kLinkCursorHotY);
    }
    // The embedded masks follow the monochrome cursor convention: AND 1 = transparent,
    // XOR 1 = white. Qt wants mask 1 = opaque and bitmap 1 = black.
    const CursorMask& andMask = LinkCursorAndMask();
    const CursorMask& xorMask = LinkCursorXorMask();
    CursorMask opaque{};
    CursorMask black{};
    for (std::size_t i = 0; i < opaque.size(); ++i) {
        opaque[i] = static_cast<unsigned char>(~andMask[i]);
        black[i] = static_cast<unsigned char>(opaque[i] & ~xorMask[i]);
    }
    return QCursor(MonoBitmap(black), MonoBitmap(opaque), kLinkCursorHotX, kLinkCursorHotY);
}
