#include "AppIcon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "Theme.h"

namespace {

constexpr qreal kCentre = kAppIconGrid / 2.0;

QPainterPath RoundedRect(const QRectF& rect, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath Circle(const QPointF& centre, qreal radius) {
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

// An open arc of a circle, from startDegrees counter-clockwise over spanDegrees.
QPainterPath Arc(const QPointF& centre, qreal radius, qreal startDegrees, qreal spanDegrees) {
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath path;
    path.arcMoveTo(box, startDegrees);
    path.arcTo(box, startDegrees, spanDegrees);
    return path;
}

QBrush Linear(const QPointF& from, const QPointF& to, const QColor& first, const QColor& last) {
    QLinearGradient gradient(from, to);
    gradient.setColorAt(0, first);
    gradient.setColorAt(1, last);
    return gradient;
}

QBrush Glow(const QPointF& centre, qreal radius, QColor colour) {
    QRadialGradient gradient(centre, radius);
    colour.setAlpha(170);
    gradient.setColorAt(0, colour);
    colour.setAlpha(0);
    gradient.setColorAt(1, colour);
    return gradient;
}

// Numbers as short as they can be written, always with a dot, so the file reads the same
// everywhere.
QString Number(qreal value) {
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

// The path's outline in SVG's path syntax; a filled shape's outline is closed.
QString PathData(const QPainterPath& path, bool closed) {
    QStringList parts;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
            case QPainterPath::MoveToElement:
                parts << QStringLiteral("M") + Number(e.x) + ' ' + Number(e.y);
                break;
            case QPainterPath::LineToElement:
                parts << QStringLiteral("L") + Number(e.x) + ' ' + Number(e.y);
                break;
            case QPainterPath::CurveToElement: {
                const QPainterPath::Element c2 = path.elementAt(i + 1);
                const QPainterPath::Element end = path.elementAt(i + 2);
                parts << QStringLiteral("C") + Number(e.x) + ' ' + Number(e.y) + ' ' +
                             Number(c2.x) + ' ' + Number(c2.y) + ' ' + Number(end.x) + ' ' +
                             Number(end.y);
                i += 2;
                break;
            }
            case QPainterPath::CurveToDataElement:
                break;
        }
    }
    if (closed) parts << QStringLiteral("Z");
    return parts.join(' ');
}

QString Stops(const QGradient& gradient) {
    QString stops;
    for (const QGradientStop& stop : gradient.stops()) {
        stops += QStringLiteral("      <stop offset=\"%1\" stop-color=\"%2\"")
                     .arg(Number(stop.first), stop.second.name());
        if (stop.second.alpha() != 255)
            stops += QStringLiteral(" stop-opacity=\"%1\"").arg(Number(stop.second.alphaF()));
        stops += QStringLiteral("/>\n");
    }
    return stops;
}

// The gradient's definition for the <defs> of the file, under the given id.
QString GradientDefinition(const QBrush& brush, const QString& id) {
    if (brush.style() == Qt::LinearGradientPattern) {
        const auto* g = static_cast<const QLinearGradient*>(brush.gradient());
        return QStringLiteral(
                   "    <linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" x1=\"%2\" "
                   "y1=\"%3\" x2=\"%4\" y2=\"%5\">\n")
                   .arg(id, Number(g->start().x()), Number(g->start().y()),
                        Number(g->finalStop().x()), Number(g->finalStop().y())) +
               Stops(*g) + QStringLiteral("    </linearGradient>\n");
    }
    const auto* g = static_cast<const QRadialGradient*>(brush.gradient());
    return QStringLiteral(
               "    <radialGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" cx=\"%2\" "
               "cy=\"%3\" r=\"%4\">\n")
               .arg(id, Number(g->center().x()), Number(g->center().y()), Number(g->radius())) +
           Stops(*g) + QStringLiteral("    </radialGradient>\n");
}

QString BitmapFolder(int size) {
    return QStringLiteral("hicolor/%1x%1/apps/").arg(size);
}

}  // namespace

std::vector<IconLayer> AppIconLayers() {
    std::vector<IconLayer> layers;
    const auto fill = [&](const QPainterPath& path, const QBrush& brush) {
        layers.push_back({path, brush, QColor(), 0});
    };
    const auto stroke = [&](const QPainterPath& path, const QColor& colour, qreal width) {
        layers.push_back({path, Qt::NoBrush, colour, width});
    };

    // The tile, the logo's blue, on a darker edge that gives it some thickness.
    const QRectF tile(16, 14, 224, 224);
    fill(RoundedRect(tile.translated(0, 6), 52), theme::kHeaderLeft);
    fill(RoundedRect(tile, 52),
         Linear(tile.topLeft(), tile.bottomRight(), theme::kHeaderRule, theme::kAccentDark));

    // The signal: a source and two waves above the modem.
    const QPointF source(kCentre, 124);
    fill(Circle(source, 12), Qt::white);
    stroke(Arc(source, 32, 45, 90), Qt::white, 14);
    stroke(Arc(source, 58, 45, 90), Qt::white, 14);

    // The modem: antennas behind the body, its shadow on the tile, the body and the lights.
    const QRectF body(40, 152, 176, 60);
    for (qreal x : {64.0, 192.0})
        fill(RoundedRect(QRectF(x - 6, 108, 12, 56), 6), theme::kDeviceBody);
    QPainterPath shadow;
    shadow.addEllipse(QPointF(kCentre, body.bottom() + 3), 84, 6);
    fill(shadow, QColor(0x0E, 0x3B, 0x5E, 90));
    fill(RoundedRect(body, 18),
         Linear(body.topLeft(), body.bottomLeft(), Qt::white, QColor(0xD6, 0xE0, 0xEA)));
    const QRectF panel(body.left() + 18, body.top() + 20, body.width() - 36, 22);
    fill(RoundedRect(panel, 11), theme::kDeviceDark);
    constexpr int kLights = 4;
    for (int i = 0; i < kLights; ++i) {
        const QPointF led(panel.left() + panel.width() / kLights * (i + 0.5), panel.center().y());
        fill(Circle(led, 12), Glow(led, 12, theme::kLedOn));
        fill(Circle(led, 5), theme::kLedOn);
    }
    return layers;
}

QImage AppIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(qreal(size) / kAppIconGrid, qreal(size) / kAppIconGrid);
    for (const IconLayer& layer : AppIconLayers()) {
        if (layer.strokeWidth > 0) {
            QPen pen(layer.stroke, layer.strokeWidth);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            painter.setPen(pen);
        } else {
            painter.setPen(Qt::NoPen);
        }
        painter.setBrush(layer.fill);
        painter.drawPath(layer.path);
    }
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QByteArray AppIconSvg() {
    QString defs;
    QString shapes;
    int gradients = 0;
    for (const IconLayer& layer : AppIconLayers()) {
        const bool filled = layer.fill.style() != Qt::NoBrush;
        QString shape = QStringLiteral("  <path d=\"%1\"").arg(PathData(layer.path, filled));
        if (layer.fill.gradient() != nullptr) {
            const QString id = QStringLiteral("g%1").arg(++gradients);
            defs += GradientDefinition(layer.fill, id);
            shape += QStringLiteral(" fill=\"url(#%1)\"").arg(id);
        } else if (filled) {
            const QColor colour = layer.fill.color();
            shape += QStringLiteral(" fill=\"%1\"").arg(colour.name());
            if (colour.alpha() != 255)
                shape += QStringLiteral(" fill-opacity=\"%1\"").arg(Number(colour.alphaF()));
        } else {
            shape += QStringLiteral(" fill=\"none\"");
        }
        if (filled) shape += QStringLiteral(" fill-rule=\"evenodd\"");
        if (layer.strokeWidth > 0) {
            shape += QStringLiteral(
                         " stroke=\"%1\" stroke-width=\"%2\" stroke-linecap=\"round\" "
                         "stroke-linejoin=\"round\"")
                         .arg(layer.stroke.name(), Number(layer.strokeWidth));
        }
        shapes += shape + QStringLiteral("/>\n");
    }
    const QString grid = QString::number(kAppIconGrid);
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                           "viewBox=\"0 0 %1 %1\">\n"
                           "  <title>SetupPilot</title>\n"
                           "  <defs>\n")
                .arg(grid) +
            defs + QStringLiteral("  </defs>\n") + shapes + QStringLiteral("</svg>\n"))
        .toUtf8();
}

QStringList AppIconFiles(const QString& name) {
    QStringList files{QStringLiteral("hicolor/scalable/apps/") + name + QStringLiteral(".svg")};
    for (int size : kAppIconSizes) files << BitmapFolder(size) + name + QStringLiteral(".png");
    return files;
}

QStringList RenderAppIcons(const QString& outDir, const QString& name) {
    QStringList unwritten;
    const QStringList files = AppIconFiles(name);
    for (const QString& file : files) QDir().mkpath(QFileInfo(outDir + '/' + file).path());

    QFile svg(outDir + '/' + files.front());
    const QByteArray document = AppIconSvg();
    if (!svg.open(QIODevice::WriteOnly) || svg.write(document) != document.size())
        unwritten << svg.fileName();
    for (std::size_t i = 0; i < std::size(kAppIconSizes); ++i) {
        const QString path = outDir + '/' + files.at(static_cast<qsizetype>(i) + 1);
        if (!AppIconImage(kAppIconSizes[i]).save(path, "PNG")) unwritten << path;
    }
    return unwritten;
}
