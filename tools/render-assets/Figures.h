#pragma once

#include <QPainter>
#include <QPointF>
#include <QRectF>

// The drawings on the pages and buttons, in flat vector shapes. Each one stays inside the
// rectangle it is given.
namespace figures {

void LogoMark(QPainter& painter, const QRectF& rect);

// The modem seen from the front: body, antennas and its row of lights. With labels, the names
// printed under the lights are drawn too.
void Modem(QPainter& painter, const QRectF& rect, bool lightsOn, bool labels = false);
void WallSocket(QPainter& painter, const QRectF& rect);
void Computer(QPainter& painter, const QRectF& rect);

// A small rounded tag with a technical word in it ("DSL", "LAN", "DHCP"), centred on a point.
void Tag(QPainter& painter, const QPointF& centre, const QString& word);

void CheckBadge(QPainter& painter, const QPointF& centre, qreal radius);
void Magnifier(QPainter& painter, const QRectF& rect);
void SyncBadge(QPainter& painter, const QPointF& centre, qreal radius);
void Globe(QPainter& painter, const QRectF& rect);

// Icons of the home page's document and support buttons, drawn in one colour.
enum class Icon { Book, Guide, Download, Support };
void MenuIcon(QPainter& painter, const QRectF& rect, Icon icon, const QColor& colour);

}  // namespace figures
