#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QTextObjectInterface>
#include <vector>

#include "Language.h"

// What the text flow of a document holds as single objects, each drawn whole and never split
// across pages: pictures of the wizard's pages, the drawn figures (cabling, the modem's lights)
// and the quoted messages of the wizard. The Markdown names them as images ("page:home.bmp",
// "figure:cabling") and block quotes; the typesetter turns them into objects of this handler.
class QPainter;

// The modem seen from the front with its lights on and named.
void DrawLitModem(QPainter& painter, const QRectF& rect);

class DocObjects : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    static constexpr int kObjectType = QTextFormat::UserObject + 1;
    static constexpr int kIndexProperty = QTextFormat::UserProperty + 1;

    enum class Kind { PagePicture, Cabling, FrontPanel, Message };

    struct Item {
        Kind kind = Kind::Message;
        QString caption;  // under pictures and figures; may be empty
        QString text;     // a message, lines separated by "\n"
        QImage image;     // a page picture
    };

    explicit DocObjects(Language language) : language_(language) {}

    // The figure a "figure:" name stands for; false for an unknown name.
    static bool FigureKind(const QString& name, Kind* kind);

    // Keeps the item and returns the character format that places it in the text.
    QTextCharFormat Add(Item item);
    const std::vector<Item>& Items() const { return items_; }
    void SetCaption(int index, const QString& caption);

    QSizeF intrinsicSize(QTextDocument* doc, int posInDocument, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int posInDocument,
                    const QTextFormat& format) override;

private:
    const Item* ItemOf(const QTextFormat& format) const;

    Language language_;
    std::vector<Item> items_;
};
