#include "DocObjects.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>
#include <QTextLayout>

#include "DocStyle.h"
#include "Figures.h"
#include "Texts.h"
#include "Theme.h"

using docstyle::Font;
using docstyle::Mm;
using docstyle::Pt;

namespace {

constexpr double kPictureWidth = Mm(100);
constexpr double kCablingHeight = Mm(36);
constexpr double kPanelWidth = Mm(96);
constexpr double kPanelHeight = Mm(30);
constexpr double kCaptionGap = Mm(2.5);
constexpr double kMessagePad = Mm(3);
constexpr double kMessageBar = Mm(1.2);

QFont CaptionFont() {
    return Font(docstyle::Face::Italic, 8.5);
}
QFont MessageFont() {
    return Font(docstyle::Face::Semibold, 9.5);
}
QFont LabelFont() {
    return Font(docstyle::Face::Regular, 8.5);
}

QPaintDevice* DeviceOf(QTextDocument* doc) {
    return doc->documentLayout()->paintDevice();
}

double CaptionHeight(const QString& caption, QPaintDevice* device) {
    if (caption.isEmpty()) return 0;
    return kCaptionGap + QFontMetricsF(CaptionFont(), device).height();
}

// The message broken into lines of the box's inner width. Returns the height of the text.
double LayOutMessage(QTextLayout& layout, double width) {
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);
    layout.beginLayout();
    double y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height() * 1.12;
    }
    layout.endLayout();
    return y;
}

QString MessageLines(const QString& text) {
    QString lines = text;
    return lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
}

double MessageInnerWidth(double width) {
    return width - 2 * kMessagePad - kMessageBar;
}

void DrawCaption(QPainter& painter, const QRectF& area, const QString& caption) {
    if (caption.isEmpty()) return;
    painter.setFont(CaptionFont());
    painter.setPen(theme::kTextMuted);
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignBottom, caption);
}

void Cable(QPainter& painter, const QPointF& from, const QPointF& to) {
    QPainterPath path(from);
    const double middle = (from.x() + to.x()) / 2;
    path.cubicTo(QPointF(middle, from.y() + Mm(4)), QPointF(middle, to.y() + Mm(4)), to);
    QPen pen(theme::kCable, 3);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

// The wall socket, the modem and the computer in a row, joined by the DSL and LAN cables, each
// named underneath in the document's language.
void DrawCabling(QPainter& painter, const QRectF& r, Language language) {
    const double labelHeight = QFontMetricsF(LabelFont(), painter.device()).height();
    const double art = r.height() - labelHeight - Mm(2);
    const QRectF modem(r.center().x() - Mm(22), r.top(), Mm(44), art);
    const double side = art * 0.55;
    const QRectF socket(r.left() + Mm(14), modem.bottom() - art * 0.31 - side / 2, side, side);
    const QRectF computer(r.right() - Mm(14) - art * 1.2, r.top() + art * 0.1, art * 1.2,
                          art * 0.9);
    const double modemMid = modem.bottom() - art * 0.31;
    Cable(painter, QPointF(socket.center().x(), socket.center().y()),
          QPointF(modem.left() + Mm(3), modemMid));
    Cable(painter, QPointF(modem.right() - Mm(3), modemMid),
          QPointF(computer.left() + Mm(3), computer.top() + computer.height() * 0.36));
    figures::WallSocket(painter, socket);
    figures::Modem(painter, modem, false);
    figures::Computer(painter, computer);
    figures::Tag(painter, QPointF((socket.right() + modem.left()) / 2, modemMid - Mm(6)),
                 QStringLiteral("DSL"));
    figures::Tag(painter, QPointF((modem.right() + computer.left()) / 2, modemMid - Mm(6)),
                 QStringLiteral("LAN"));

    painter.setFont(LabelFont());
    painter.setPen(theme::kTextMuted);
    const double labelTop = r.top() + art + Mm(2);
    const struct {
        const QRectF& over;
        Text text;
    } labels[] = {{socket, Text::FigureWallSocket},
                  {modem, Text::FigureModem},
                  {computer, Text::FigureComputer}};
    for (const auto& label : labels) {
        const QRectF area(label.over.center().x() - Mm(25), labelTop, Mm(50), labelHeight);
        painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop, Tr(label.text, language));
    }
}

void DrawMessage(QPainter& painter, const QRectF& r, const QString& text) {
    QPainterPath box;
    box.addRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), Mm(1.2), Mm(1.2));
    painter.setPen(QPen(theme::kCardBorder, 1));
    painter.setBrush(theme::kFooter);
    painter.drawPath(box);
    painter.save();
    painter.setClipPath(box, Qt::IntersectClip);
    painter.fillRect(QRectF(r.left(), r.top(), kMessageBar, r.height()), theme::kAccent);
    painter.restore();

    QTextLayout layout(MessageLines(text), MessageFont(), painter.device());
    LayOutMessage(layout, MessageInnerWidth(r.width()));
    painter.setPen(theme::kText);
    layout.draw(&painter, QPointF(r.left() + kMessageBar + kMessagePad, r.top() + kMessagePad));
}

}  // namespace

void DrawLitModem(QPainter& painter, const QRectF& rect) {
    // The glow of the lights is a gradient into transparency, which PDF pages do not keep as
    // vectors: the modem goes in as a picture at print resolution.
    constexpr double kScale = 300.0 / docstyle::kDpi;
    QImage image((rect.size() * kScale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter art(&image);
    art.setRenderHint(QPainter::Antialiasing);
    art.scale(kScale, kScale);
    figures::Modem(art, QRectF(QPointF(0, 0), rect.size()), true, true);
    art.end();
    painter.drawImage(rect, image);
}

bool DocObjects::FigureKind(const QString& name, Kind* kind) {
    if (name == QStringLiteral("cabling")) {
        *kind = Kind::Cabling;
    } else if (name == QStringLiteral("front-panel")) {
        *kind = Kind::FrontPanel;
    } else {
        return false;
    }
    return true;
}

QTextCharFormat DocObjects::Add(Item item) {
    items_.push_back(std::move(item));
    QTextCharFormat format;
    format.setObjectType(kObjectType);
    format.setProperty(kIndexProperty, static_cast<int>(items_.size() - 1));
    return format;
}

void DocObjects::SetCaption(int index, const QString& caption) {
    if (index >= 0 && index < static_cast<int>(items_.size())) {
        items_[static_cast<std::size_t>(index)].caption = caption;
    }
}

const DocObjects::Item* DocObjects::ItemOf(const QTextFormat& format) const {
    const int index = format.intProperty(kIndexProperty);
    return index >= 0 && index < static_cast<int>(items_.size())
               ? &items_[static_cast<std::size_t>(index)]
               : nullptr;
}

QSizeF DocObjects::intrinsicSize(QTextDocument* doc, int, const QTextFormat& format) {
    const Item* item = ItemOf(format);
    if (item == nullptr) return {};
    QPaintDevice* device = DeviceOf(doc);
    const double caption = CaptionHeight(item->caption, device);
    switch (item->kind) {
        case Kind::PagePicture: {
            const QSizeF image = item->image.size();
            const double height =
                image.isEmpty() ? 0 : kPictureWidth * image.height() / image.width();
            return {doc->textWidth(), height + 2 + caption};
        }
        case Kind::Cabling:
            return {doc->textWidth(), kCablingHeight + caption};
        case Kind::FrontPanel:
            return {doc->textWidth(), kPanelHeight + caption};
        case Kind::Message: {
            const double width = doc->textWidth();
            QTextLayout layout(MessageLines(item->text), MessageFont(), device);
            return {width, LayOutMessage(layout, MessageInnerWidth(width)) + 2 * kMessagePad};
        }
    }
    return {};
}

void DocObjects::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int,
                            const QTextFormat& format) {
    const Item* item = ItemOf(format);
    if (item == nullptr) return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const double caption = CaptionHeight(item->caption, DeviceOf(doc));
    const QRectF art(rect.left(), rect.top(), rect.width(), rect.height() - caption);
    const auto centred = [&art](double width) {
        return QRectF(art.center().x() - width / 2, art.top(), width, art.height());
    };
    switch (item->kind) {
        case Kind::PagePicture: {
            const QRectF picture = centred(kPictureWidth + 2);
            const QRectF frame = picture.adjusted(0.5, 0.5, -0.5, -0.5);
            painter->fillRect(frame.translated(Mm(0.8), Mm(0.8)), QColor(0xDD, 0xE4, 0xEB));
            painter->drawImage(picture.adjusted(1, 1, -1, -1), item->image);
            painter->setPen(QPen(theme::kDeviceEdge, 1));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(frame);
            break;
        }
        case Kind::Cabling:
            DrawCabling(*painter, art, language_);
            break;
        case Kind::FrontPanel:
            DrawLitModem(*painter, centred(kPanelWidth));
            break;
        case Kind::Message:
            DrawMessage(*painter, rect, item->text);
            break;
    }
    DrawCaption(*painter, rect, item->caption);
    painter->restore();
}
