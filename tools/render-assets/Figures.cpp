#include "Figures.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>
#include <cmath>

#include "Theme.h"

namespace figures {

namespace {

QPen Stroke(const QColor& colour, qreal width) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

}  // namespace

void LogoMark(QPainter& painter, const QRectF& rect) {
    painter.save();
    QLinearGradient fill(rect.topLeft(), rect.bottomRight());
    fill.setColorAt(0, QColor(0x3A, 0xB0, 0xE2));
    fill.setColorAt(1, QColor(0x1C, 0x78, 0xB5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(rect, rect.width() * 0.24, rect.width() * 0.24);

    // A source point with two waves: the modem reaching out.
    const QPointF source(rect.left() + rect.width() * 0.3, rect.bottom() - rect.height() * 0.3);
    painter.setBrush(Qt::white);
    painter.drawEllipse(source, rect.width() * 0.08, rect.width() * 0.08);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Stroke(Qt::white, rect.width() * 0.08));
    for (qreal radius : {rect.width() * 0.28, rect.width() * 0.48}) {
        const QRectF arc(source.x() - radius, source.y() - radius, 2 * radius, 2 * radius);
        painter.drawArc(arc, 0, 90 * 16);
    }
    painter.restore();
}

void Modem(QPainter& painter, const QRectF& rect, bool lightsOn, bool labels) {
    painter.save();
    const qreal bodyHeight = rect.height() * (labels ? 0.7 : 0.62);
    const QRectF body(rect.left(), rect.bottom() - bodyHeight, rect.width(), bodyHeight);

    // Antennas behind the body.
    const qreal antennaWidth = std::max<qreal>(4, rect.width() * 0.035);
    painter.setPen(Qt::NoPen);
    painter.setBrush(theme::kDeviceDark);
    for (qreal at : {0.14, 0.86}) {
        const QRectF antenna(body.left() + body.width() * at - antennaWidth / 2, rect.top(),
                             antennaWidth, body.top() - rect.top() + 6);
        painter.drawRoundedRect(antenna, antennaWidth / 2, antennaWidth / 2);
    }

    // Body with a soft top light.
    QLinearGradient shade(body.topLeft(), body.bottomLeft());
    shade.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    shade.setColorAt(1, QColor(0xDD, 0xE5, 0xEC));
    painter.setBrush(shade);
    painter.setPen(QPen(theme::kDeviceEdge, 1.2));
    const qreal radius = std::min<qreal>(12, body.height() * 0.2);
    painter.drawRoundedRect(body.adjusted(0.6, 0.6, -0.6, -0.6), radius, radius);

    // The front panel with the lights.
    const qreal panelHeight = body.height() * (labels ? 0.5 : 0.36);
    const QRectF panel(body.left() + body.width() * 0.06, body.bottom() - panelHeight - 8,
                       body.width() * 0.88, panelHeight);
    painter.setPen(Qt::NoPen);
    painter.setBrush(theme::kDeviceDark);
    painter.drawRoundedRect(panel, panelHeight * 0.25, panelHeight * 0.25);

    static const std::array<const char*, 5> kLights{"POWER", "DSL", "INTERNET", "LAN", "WLAN"};
    const qreal step = panel.width() / kLights.size();
    const qreal ledRadius = std::max<qreal>(2.5, std::min(panelHeight * 0.14, step * 0.12));
    const qreal ledY = labels ? panel.top() + panelHeight * 0.34 : panel.center().y();
    QFont font = theme::Font(theme::Face::Semibold, std::max(8, qRound(panelHeight * 0.2)));
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    for (std::size_t i = 0; i < kLights.size(); ++i) {
        const QPointF centre(panel.left() + step * (i + 0.5), ledY);
        if (lightsOn) {
            QRadialGradient glow(centre, ledRadius * 2.6);
            glow.setColorAt(0, QColor(0x3C, 0xC8, 0x7A, 150));
            glow.setColorAt(1, QColor(0x3C, 0xC8, 0x7A, 0));
            painter.setBrush(glow);
            painter.drawEllipse(centre, ledRadius * 2.6, ledRadius * 2.6);
        }
        painter.setBrush(lightsOn ? theme::kLedOn : QColor(0x6B, 0x7A, 0x89));
        painter.drawEllipse(centre, ledRadius, ledRadius);
        if (labels) {
            const QString word = QString::fromLatin1(kLights[i]);
            const qreal width = metrics.horizontalAdvance(word);
            painter.setPen(QColor(0xD7, 0xE2, 0xEC));
            painter.drawText(QPointF(centre.x() - width / 2, panel.bottom() - panelHeight * 0.2),
                             word);
            painter.setPen(Qt::NoPen);
        }
    }
    painter.restore();
}

void WallSocket(QPainter& painter, const QRectF& rect) {
    painter.save();
    const qreal side = std::min(rect.width(), rect.height());
    const QRectF plate(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
    painter.setPen(QPen(theme::kDeviceEdge, 1.2));
    QLinearGradient shade(plate.topLeft(), plate.bottomLeft());
    shade.setColorAt(0, Qt::white);
    shade.setColorAt(1, QColor(0xE4, 0xEA, 0xF0));
    painter.setBrush(shade);
    painter.drawRoundedRect(plate.adjusted(0.6, 0.6, -0.6, -0.6), side * 0.14, side * 0.14);
    const QRectF jack(plate.center().x() - side * 0.2, plate.center().y() - side * 0.14, side * 0.4,
                      side * 0.3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(theme::kDeviceDark);
    painter.drawRoundedRect(jack, 3, 3);
    painter.setBrush(QColor(0xC9, 0xA2, 0x4B));
    for (int i = 0; i < 4; ++i) {
        const qreal x = jack.left() + jack.width() * (0.26 + 0.16 * i);
        painter.drawRect(QRectF(x - 1, jack.top() + 2, 2, jack.height() * 0.35));
    }
    painter.restore();
}

void Computer(QPainter& painter, const QRectF& rect) {
    painter.save();
    const qreal screenHeight = rect.height() * 0.72;
    const QRectF monitor(rect.left(), rect.top(), rect.width(), screenHeight);
    painter.setPen(Qt::NoPen);
    painter.setBrush(theme::kDeviceDark);
    painter.drawRoundedRect(monitor, 7, 7);
    const QRectF screen = monitor.adjusted(6, 6, -6, -6);
    QLinearGradient glass(screen.topLeft(), screen.bottomRight());
    glass.setColorAt(0, QColor(0x9F, 0xD4, 0xF0));
    glass.setColorAt(1, QColor(0x3A, 0x8F, 0xC7));
    painter.setBrush(glass);
    painter.drawRoundedRect(screen, 3, 3);

    QPainterPath stand;
    const qreal neckTop = monitor.bottom();
    const qreal baseY = rect.bottom() - 5;
    stand.moveTo(rect.center().x() - rect.width() * 0.08, neckTop);
    stand.lineTo(rect.center().x() + rect.width() * 0.08, neckTop);
    stand.lineTo(rect.center().x() + rect.width() * 0.12, baseY);
    stand.lineTo(rect.center().x() - rect.width() * 0.12, baseY);
    stand.closeSubpath();
    painter.setBrush(theme::kDeviceEdge);
    painter.drawPath(stand);
    painter.setBrush(theme::kDeviceDark);
    painter.drawRoundedRect(
        QRectF(rect.center().x() - rect.width() * 0.26, baseY, rect.width() * 0.52, 5), 2.5, 2.5);
    painter.restore();
}

void Tag(QPainter& painter, const QPointF& centre, const QString& word) {
    painter.save();
    const QFont font = theme::Font(theme::Face::Bold, 11);
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(word) + 16;
    const QRectF pill(centre.x() - width / 2, centre.y() - 10, width, 20);
    painter.setPen(Qt::NoPen);
    painter.setBrush(theme::kAccent);
    painter.drawRoundedRect(pill, 10, 10);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(pill, Qt::AlignCenter, word);
    painter.restore();
}

void CheckBadge(QPainter& painter, const QPointF& centre, qreal radius) {
    painter.save();
    QLinearGradient fill(centre.x(), centre.y() - radius, centre.x(), centre.y() + radius);
    fill.setColorAt(0, QColor(0x3F, 0xB8, 0x7F));
    fill.setColorAt(1, theme::kSuccessDark);
    painter.setPen(QPen(Qt::white, std::max<qreal>(2, radius * 0.12)));
    painter.setBrush(fill);
    painter.drawEllipse(centre, radius, radius);
    QPainterPath tick;
    tick.moveTo(centre.x() - radius * 0.42, centre.y() + radius * 0.02);
    tick.lineTo(centre.x() - radius * 0.1, centre.y() + radius * 0.34);
    tick.lineTo(centre.x() + radius * 0.46, centre.y() - radius * 0.3);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Stroke(Qt::white, radius * 0.18));
    painter.drawPath(tick);
    painter.restore();
}

void Magnifier(QPainter& painter, const QRectF& rect) {
    painter.save();
    const qreal radius = rect.width() * 0.32;
    const QPointF lens(rect.left() + radius + 4, rect.top() + radius + 4);
    const QPointF handleEnd(rect.right() - 4, rect.bottom() - 4);
    const QPointF handleStart(lens.x() + radius * 0.72, lens.y() + radius * 0.72);
    painter.setPen(Stroke(theme::kDeviceDark, rect.width() * 0.13));
    painter.drawLine(handleStart, handleEnd);
    painter.setPen(QPen(theme::kAccent, rect.width() * 0.08));
    painter.setBrush(QColor(0xE3, 0xF1, 0xFA, 190));
    painter.drawEllipse(lens, radius, radius);
    painter.restore();
}

void SyncBadge(QPainter& painter, const QPointF& centre, qreal radius) {
    painter.save();
    painter.setPen(QPen(Qt::white, std::max<qreal>(2, radius * 0.12)));
    painter.setBrush(theme::kAccent);
    painter.drawEllipse(centre, radius, radius);
    const qreal inner = radius * 0.52;
    const QRectF ring(centre.x() - inner, centre.y() - inner, 2 * inner, 2 * inner);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Stroke(Qt::white, radius * 0.14));
    painter.drawArc(ring, 30 * 16, 130 * 16);
    painter.drawArc(ring, 210 * 16, 130 * 16);
    // Arrow heads at the ends of both arcs, pointing along the turn.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    for (int half = 0; half < 2; ++half) {
        const qreal angle = (160 + 180 * half) * M_PI / 180;
        const QPointF tip(centre.x() + inner * std::cos(angle),
                          centre.y() - inner * std::sin(angle));
        const qreal size = radius * 0.3;
        const QPointF along(-std::sin(angle), -std::cos(angle));
        const QPointF out(std::cos(angle), -std::sin(angle));
        QPainterPath head;
        head.moveTo(tip + along * size * 0.9);
        head.lineTo(tip + out * size * 0.7);
        head.lineTo(tip - out * size * 0.7);
        head.closeSubpath();
        painter.drawPath(head);
    }
    painter.restore();
}

void Globe(QPainter& painter, const QRectF& rect) {
    painter.save();
    const qreal radius = std::min(rect.width(), rect.height()) / 2 - 2;
    const QPointF centre = rect.center();
    QRadialGradient sea(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.5);
    sea.setColorAt(0, QColor(0xBF, 0xE4, 0xF7));
    sea.setColorAt(1, QColor(0x5B, 0xA8, 0xD8));
    painter.setPen(QPen(theme::kAccentDark, 2));
    painter.setBrush(sea);
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xFF, 0xFF, 0xFF, 200), 1.6));
    for (qreal k : {0.35, 0.72}) {
        painter.drawEllipse(centre, radius * k, radius);
    }
    painter.drawLine(QPointF(centre.x(), centre.y() - radius),
                     QPointF(centre.x(), centre.y() + radius));
    for (qreal k : {-0.5, 0.0, 0.5}) {
        const qreal y = centre.y() + radius * k;
        const qreal half = radius * std::sqrt(1 - k * k);
        painter.drawLine(QPointF(centre.x() - half, y), QPointF(centre.x() + half, y));
    }
    painter.restore();
}

void MenuIcon(QPainter& painter, const QRectF& rect, Icon icon, const QColor& colour) {
    painter.save();
    painter.setPen(Stroke(colour, 1.8));
    painter.setBrush(Qt::NoBrush);
    const QRectF r = rect.adjusted(2, 2, -2, -2);
    switch (icon) {
        case Icon::Book: {
            const QPointF spineTop(r.center().x(), r.top() + 2);
            const QPointF spineBottom(r.center().x(), r.bottom());
            QPainterPath left;
            left.moveTo(spineTop);
            left.quadTo(r.left() + r.width() * 0.25, r.top() - 1, r.left(), r.top() + 2);
            left.lineTo(r.left(), r.bottom() - 2);
            left.quadTo(r.left() + r.width() * 0.25, r.bottom() - 5, spineBottom.x(),
                        spineBottom.y());
            QPainterPath right;
            right.moveTo(spineTop);
            right.quadTo(r.right() - r.width() * 0.25, r.top() - 1, r.right(), r.top() + 2);
            right.lineTo(r.right(), r.bottom() - 2);
            right.quadTo(r.right() - r.width() * 0.25, r.bottom() - 5, spineBottom.x(),
                         spineBottom.y());
            painter.drawPath(left);
            painter.drawPath(right);
            painter.drawLine(spineTop, spineBottom);
            break;
        }
        case Icon::Guide: {
            const QRectF sheet(r.left() + r.width() * 0.14, r.top(), r.width() * 0.72, r.height());
            QPainterPath page;
            page.moveTo(sheet.topLeft());
            page.lineTo(sheet.right() - 5, sheet.top());
            page.lineTo(sheet.right(), sheet.top() + 5);
            page.lineTo(sheet.bottomRight());
            page.lineTo(sheet.bottomLeft());
            page.closeSubpath();
            painter.drawPath(page);
            for (int i = 0; i < 3; ++i) {
                const qreal y = sheet.top() + sheet.height() * (0.38 + 0.2 * i);
                painter.drawLine(QPointF(sheet.left() + 4, y),
                                 QPointF(sheet.right() - (i == 2 ? 8 : 4), y));
            }
            break;
        }
        case Icon::Download: {
            const qreal cx = r.center().x();
            painter.drawLine(QPointF(cx, r.top()), QPointF(cx, r.bottom() - 6));
            painter.drawLine(QPointF(cx - 5, r.bottom() - 11), QPointF(cx, r.bottom() - 6));
            painter.drawLine(QPointF(cx + 5, r.bottom() - 11), QPointF(cx, r.bottom() - 6));
            QPainterPath tray;
            tray.moveTo(r.left(), r.bottom() - 6);
            tray.lineTo(r.left(), r.bottom());
            tray.lineTo(r.right(), r.bottom());
            tray.lineTo(r.right(), r.bottom() - 6);
            painter.drawPath(tray);
            break;
        }
        case Icon::Support: {
            const qreal radius = r.width() * 0.4;
            const QPointF centre(r.center().x(), r.center().y() + 1);
            const QRectF band(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
            painter.drawArc(band, 10 * 16, 160 * 16);
            painter.setBrush(colour);
            painter.drawRoundedRect(QRectF(band.left() - 1, centre.y() - 2, 5, 9), 2, 2);
            painter.drawRoundedRect(QRectF(band.right() - 4, centre.y() - 2, 5, 9), 2, 2);
            painter.setBrush(Qt::NoBrush);
            QPainterPath mic;
            mic.moveTo(band.right() - 1.5, centre.y() + 7);
            mic.quadTo(band.right() - 2, r.bottom(), centre.x() + 2, r.bottom());
            painter.drawPath(mic);
            break;
        }
    }
    painter.restore();
}

}  // namespace figures
