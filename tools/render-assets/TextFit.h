#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

#include "Theme.h"

// Fitting text into the room a page leaves for it: wrap at spaces, and when the text still does
// not fit, shrink it one pixel at a time down to a floor. Nothing is ever clipped: a text that
// cannot fit at its floor size is reported (fits = false) and its bounds show where it spills.

struct TextStyle {
    theme::Face face = theme::Face::Regular;
    int size = 13;
    int minSize = 11;
    QColor colour = theme::kText;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
    qreal lineFactor = 1.4;  // line pitch as a multiple of the pixel size
    int maxLines = 0;        // 0: as many as the height allows
};

enum class Marker { None, Number, Bullet };

struct PlacedLine {
    QString text;
    QPointF baseline;
};

struct PlacedText {
    QString text;
    QRectF area;    // the room it was given
    QRectF bounds;  // what it covers once drawn: its line boxes and its marker
    QFont font;
    QColor colour;
    std::vector<PlacedLine> lines;
    bool fits = false;
    Marker marker = Marker::None;
    int number = 0;
    QRectF markerRect;
};

// Width of the column a marker takes before the text.
qreal MarkerIndent(Marker marker);

PlacedText FitText(const QString& text, const QRectF& area, const TextStyle& style,
                   Marker marker = Marker::None, int number = 0);

struct FlowItem {
    QString text;
    TextStyle style;
    qreal gapBefore = 0;
    Marker marker = Marker::None;
    int number = 0;
};

// Stacks the items from the top of area down, each below the previous one. When they do not all
// fit, every item shrinks by one pixel (each down to its own floor) and the stack is laid again.
std::vector<PlacedText> FlowText(const std::vector<FlowItem>& items, const QRectF& area);
