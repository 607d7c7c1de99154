#include "TextFit.h"

#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr qreal kNumberDiameter = 20;
constexpr qreal kBulletDiameter = 7;

// Greedy word wrap; nullopt when a single word is wider than the width.
std::optional<QStringList> Wrap(const QString& text, const QFontMetricsF& metrics, qreal width) {
    QStringList lines;
    bool tooWide = false;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (metrics.horizontalAdvance(word) > width) tooWide = true;
            const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
                lines << line;
                line = word;
            } else {
                line = candidate;
            }
        }
        lines << line;
    }
    if (tooWide) return std::nullopt;
    return lines;
}

QStringList WrapAnyway(const QString& text, const QFontMetricsF& metrics, qreal width) {
    if (auto lines = Wrap(text, metrics, width)) return *lines;
    // A word wider than the room gets a line of its own and spills over; the caller reports it.
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            lines << word;
        }
    }
    return lines;
}

PlacedText LayoutAtSize(const QString& text, const QRectF& area, const TextStyle& style, int size,
                        Marker marker, int number) {
    PlacedText placed;
    placed.text = text;
    placed.area = area;
    placed.font = theme::Font(style.face, size);
    placed.colour = style.colour;
    placed.marker = marker;
    placed.number = number;

    const QFontMetricsF metrics(placed.font);
    const qreal indent = MarkerIndent(marker);
    const QRectF room = area.adjusted(indent, 0, 0, 0);
    const std::optional<QStringList> wrapped = Wrap(text, metrics, room.width());
    const QStringList lines = wrapped ? *wrapped : WrapAnyway(text, metrics, room.width());

    const qreal pitch = std::round(size * style.lineFactor);
    const qreal height = pitch * lines.size();
    placed.fits = wrapped.has_value() && height <= area.height() + 0.01 &&
                  (style.maxLines == 0 || lines.size() <= style.maxLines);

    qreal top = area.top();
    if (style.align & Qt::AlignVCenter) top = area.center().y() - height / 2;
    if (style.align & Qt::AlignBottom) top = area.bottom() - height;
    top = std::round(top);

    const qreal glyphHeight = metrics.ascent() + metrics.descent();
    QRectF bounds;
    for (int i = 0; i < lines.size(); ++i) {
        const qreal width = metrics.horizontalAdvance(lines[i]);
        qreal x = room.left();
        if (style.align & Qt::AlignHCenter) x = room.center().x() - width / 2;
        if (style.align & Qt::AlignRight) x = room.right() - width;
        x = std::round(x);
        const qreal lineTop = top + i * pitch;
        const qreal baseline = std::round(lineTop + (pitch - glyphHeight) / 2 + metrics.ascent());
        placed.lines.push_back({lines[i], QPointF(x, baseline)});
        bounds = bounds.united(QRectF(x, lineTop, width, pitch));
    }
    if (marker != Marker::None) {
        const qreal diameter = marker == Marker::Number ? kNumberDiameter : kBulletDiameter;
        const qreal markerTop = top + (pitch - diameter) / 2;
        placed.markerRect = QRectF(area.left(), markerTop, diameter, diameter);
        bounds = bounds.united(placed.markerRect);
    }
    placed.bounds = bounds;
    return placed;
}

}  // namespace

qreal MarkerIndent(Marker marker) {
    switch (marker) {
        case Marker::None:
            return 0;
        case Marker::Number:
            return kNumberDiameter + 10;
        case Marker::Bullet:
            return kBulletDiameter + 11;
    }
    return 0;
}

PlacedText FitText(const QString& text, const QRectF& area, const TextStyle& style, Marker marker,
                   int number) {
    PlacedText placed;
    for (int size = style.size; size >= style.minSize; --size) {
        placed = LayoutAtSize(text, area, style, size, marker, number);
        if (placed.fits) break;
    }
    return placed;
}

std::vector<PlacedText> FlowText(const std::vector<FlowItem>& items, const QRectF& area) {
    std::vector<PlacedText> placed;
    for (int shrink = 0;; ++shrink) {
        placed.clear();
        bool allFit = true;
        bool anyCanShrink = false;
        qreal cursor = area.top();
        for (const FlowItem& item : items) {
            const int size = std::max(item.style.size - shrink, item.style.minSize);
            anyCanShrink = anyCanShrink || size > item.style.minSize;
            cursor += item.gapBefore;
            const QRectF room(area.left(), cursor, area.width(), area.bottom() - cursor);
            TextStyle style = item.style;
            style.align = (style.align & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
            PlacedText text = LayoutAtSize(item.text, room, style, size, item.marker, item.number);
            allFit = allFit && text.fits;
            cursor = text.bounds.bottom();
            placed.push_back(std::move(text));
        }
        if (allFit || !anyCanShrink) return placed;
    }
}
