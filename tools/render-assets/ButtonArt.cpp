#include "ButtonArt.h"

#include <QLinearGradient>
#include <QPainter>

#include "Theme.h"

namespace {

constexpr QSize kNavSize(104, 24);
constexpr QSize kMenuSize(164, 40);
constexpr QSize kStartSize(140, 44);
constexpr QSize kFinalSize(190, 40);
constexpr QSize kLanguageSize(80, 24);

std::vector<ButtonStrip> MakeStrips() {
    using figures::Icon;
    std::vector<ButtonStrip> buttons{
        {"btn_exit.bmp", kNavSize, ButtonLook::Secondary, Text::ButtonExit},
        {"btn_back.bmp", kNavSize, ButtonLook::Secondary, Text::ButtonBack},
        {"btn_next.bmp", kNavSize, ButtonLook::Primary, Text::ButtonNext},
        {"btn_close.bmp", kNavSize, ButtonLook::Secondary, Text::ButtonClose},
        {"btn_quick.bmp", kStartSize, ButtonLook::Call, Text::ButtonStart},
        {"btn_manual.bmp", kMenuSize, ButtonLook::Menu, Text::ButtonManual, Language::English,
         Icon::Book},
        {"btn_QIG.bmp", kMenuSize, ButtonLook::Menu, Text::ButtonGuide, Language::English,
         Icon::Guide},
        {"btn_acrobat.bmp", kMenuSize, ButtonLook::Menu, Text::ButtonAcrobat, Language::English,
         Icon::Download},
        {"btn_techsupport.bmp", kMenuSize, ButtonLook::Menu, Text::ButtonSupport, Language::English,
         Icon::Support},
        {"btn_final.bmp", kFinalSize, ButtonLook::Call, Text::ButtonFinish},
    };
    static const char* const kLanguageFiles[][2] = {
        {"language_English.bmp", "language_English_selected.bmp"},
        {"language_French.bmp", "language_French_selected.bmp"},
        {"language_German.bmp", "language_German_selected.bmp"},
        {"language_Italian.bmp", "language_Italian_selected.bmp"},
        {"language_Spanish.bmp", "language_Spanish_selected.bmp"},
    };
    for (std::size_t i = 0; i < kAllLanguages.size(); ++i) {
        buttons.push_back({kLanguageFiles[i][0], kLanguageSize, ButtonLook::LanguageChoice,
                           Text::ButtonNext, kAllLanguages[i]});
        buttons.push_back({kLanguageFiles[i][1], kLanguageSize, ButtonLook::LanguageSelected,
                           Text::ButtonNext, kAllLanguages[i]});
    }
    return buttons;
}

struct Colours {
    QColor fill;
    QColor fillBottom;  // gradient end; same as fill for flat faces
    QColor border;      // transparent for none
    QColor text;
};

Colours ColoursOf(ButtonLook look, Quarter quarter) {
    const QColor none(0, 0, 0, 0);
    const QColor greyFill(0xE6, 0xEA, 0xEE);
    const QColor greyText(0xA0, 0xAB, 0xB6);
    switch (look) {
        case ButtonLook::Primary:
        case ButtonLook::LanguageSelected:
            switch (quarter) {
                case Quarter::Normal:
                    return {theme::kAccent, theme::kAccent, none, Qt::white};
                case Quarter::Pressed:
                    return {theme::kAccentDark, theme::kAccentDark, none, Qt::white};
                case Quarter::Hovered:
                    return {QColor(0x2A, 0x8C, 0xCC), QColor(0x2A, 0x8C, 0xCC), none, Qt::white};
                case Quarter::Unused:
                    return {greyFill, greyFill, none, greyText};
            }
            break;
        case ButtonLook::Secondary:
        case ButtonLook::LanguageChoice:
            switch (quarter) {
                case Quarter::Normal:
                    return {Qt::white, Qt::white, QColor(0xB4, 0xC3, 0xD2), theme::kText};
                case Quarter::Pressed:
                    return {QColor(0xD9, 0xE8, 0xF4), QColor(0xD9, 0xE8, 0xF4), theme::kAccentDark,
                            theme::kAccentDark};
                case Quarter::Hovered:
                    return {QColor(0xF1, 0xF8, 0xFD), QColor(0xF1, 0xF8, 0xFD), theme::kAccent,
                            theme::kAccentDark};
                case Quarter::Unused:
                    return {QColor(0xF2, 0xF4, 0xF6), QColor(0xF2, 0xF4, 0xF6),
                            QColor(0xD2, 0xD9, 0xE0), greyText};
            }
            break;
        case ButtonLook::Call:
            switch (quarter) {
                case Quarter::Normal:
                    return {QColor(0x3A, 0xB2, 0x7A), theme::kSuccess, none, Qt::white};
                case Quarter::Pressed:
                    return {theme::kSuccessDark, theme::kSuccessDark, none, Qt::white};
                case Quarter::Hovered:
                    return {QColor(0x48, 0xC0, 0x88), QColor(0x35, 0xA8, 0x72), none, Qt::white};
                case Quarter::Unused:
                    return {greyFill, greyFill, none, greyText};
            }
            break;
        case ButtonLook::Menu:
            switch (quarter) {
                case Quarter::Normal:
                    return {Qt::white, Qt::white, none, theme::kText};
                case Quarter::Pressed:
                    return {QColor(0xD3, 0xE6, 0xF3), QColor(0xD3, 0xE6, 0xF3), none,
                            theme::kAccentDark};
                case Quarter::Hovered:
                    return {theme::kAccentLight, theme::kAccentLight, none, theme::kAccentDark};
                case Quarter::Unused:
                    return {Qt::white, Qt::white, none, greyText};
            }
            break;
    }
    return {Qt::white, Qt::white, none, theme::kText};
}

QColor Backdrop(ButtonLook look) {
    switch (look) {
        case ButtonLook::Primary:
        case ButtonLook::Secondary:
            return theme::kFooter;
        case ButtonLook::Menu:
            return Qt::white;
        case ButtonLook::Call:
        case ButtonLook::LanguageChoice:
        case ButtonLook::LanguageSelected:
            return theme::kBody;
    }
    return theme::kBody;
}

// The painted face inside one look; the strip shows the page behind it around the face.
QRectF FaceRect(ButtonLook look, QSize size) {
    const qreal w = size.width();
    const qreal h = size.height();
    switch (look) {
        case ButtonLook::Primary:
        case ButtonLook::Secondary:
            return QRectF(4.5, 1.5, w - 9, h - 3);
        case ButtonLook::Call:
            return QRectF(1, 1, w - 2, h - 2);
        case ButtonLook::Menu:
            return QRectF(0, 0, w, h);
        case ButtonLook::LanguageChoice:
        case ButtonLook::LanguageSelected:
            return QRectF(2.5, 1.5, w - 5, h - 3);
    }
    return QRectF(0, 0, w, h);
}

qreal Radius(ButtonLook look, const QRectF& face) {
    switch (look) {
        case ButtonLook::Primary:
        case ButtonLook::Secondary:
            return 5;
        case ButtonLook::Call:
            return 8;
        case ButtonLook::Menu:
            return 0;
        case ButtonLook::LanguageChoice:
        case ButtonLook::LanguageSelected:
            return face.height() / 2;
    }
    return 0;
}

constexpr qreal kMenuIconSize = 22;
constexpr qreal kMenuIconLeft = 12;

QString LabelText(const ButtonStrip& button, Language language) {
    if (button.look == ButtonLook::LanguageChoice || button.look == ButtonLook::LanguageSelected) {
        return QString::fromUtf8(Endonym(button.named));
    }
    const QString label = Tr(button.label, language);
    if (button.label == Text::ButtonBack) return QStringLiteral("‹  ") + label;
    if (button.label == Text::ButtonNext || button.look == ButtonLook::Call) {
        return label + QStringLiteral("  ›");
    }
    return label;
}

}  // namespace

const std::vector<ButtonStrip>& ButtonStrips() {
    static const std::vector<ButtonStrip> buttons = MakeStrips();
    return buttons;
}

const ButtonStrip* FindButton(const QString& file) {
    for (const ButtonStrip& button : ButtonStrips()) {
        if (file == QLatin1String(button.file)) return &button;
    }
    return nullptr;
}

PlacedText LayoutButtonLabel(const ButtonStrip& button, Language language, Quarter quarter) {
    const QRectF face = FaceRect(button.look, button.size);
    TextStyle style;
    style.colour = ColoursOf(button.look, quarter).text;
    style.align = Qt::AlignCenter;
    style.maxLines = 1;
    style.lineFactor = 1.3;
    QRectF room = face.adjusted(6, 0, -6, 0);
    switch (button.look) {
        case ButtonLook::Primary:
        case ButtonLook::Secondary:
            style.face = theme::Face::Semibold;
            style.size = 12;
            style.minSize = 10;
            break;
        case ButtonLook::Call:
            style.face = theme::Face::Semibold;
            style.size = 16;
            style.minSize = 12;
            break;
        case ButtonLook::Menu:
            style.face = theme::Face::Semibold;
            style.size = 12;
            style.minSize = 10;
            style.maxLines = 2;
            style.lineFactor = 1.25;
            style.align = Qt::AlignLeft | Qt::AlignVCenter;
            room = QRectF(kMenuIconLeft + kMenuIconSize + 10, 2,
                          face.width() - kMenuIconLeft - kMenuIconSize - 18, face.height() - 4);
            break;
        case ButtonLook::LanguageChoice:
        case ButtonLook::LanguageSelected:
            style.face = button.look == ButtonLook::LanguageSelected ? theme::Face::Semibold
                                                                     : theme::Face::Regular;
            style.size = 11;
            style.minSize = 9;
            room = face.adjusted(4, 0, -4, 0);
            break;
    }
    if (quarter == Quarter::Pressed) room.translate(0, 1);
    return FitText(LabelText(button, language), room, style);
}

QImage PaintStrip(const ButtonStrip& button, Language language, int scale) {
    const QSize look = button.size;
    QImage strip(look.width() * scale, look.height() * 4 * scale, QImage::Format_RGB32);
    strip.fill(Backdrop(button.look));
    QPainter painter(&strip);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    for (Quarter quarter : {Quarter::Normal, Quarter::Pressed, Quarter::Hovered, Quarter::Unused}) {
        painter.save();
        painter.translate(0, look.height() * static_cast<int>(quarter));
        const Colours colours = ColoursOf(button.look, quarter);
        const QRectF face = FaceRect(button.look, look);

        QLinearGradient fill(face.topLeft(), face.bottomLeft());
        fill.setColorAt(0, colours.fill);
        fill.setColorAt(1, colours.fillBottom);
        painter.setBrush(fill);
        painter.setPen(colours.border.alpha() ? QPen(colours.border, 1) : QPen(Qt::NoPen));
        const qreal radius = Radius(button.look, face);
        if (radius > 0) {
            painter.drawRoundedRect(face, radius, radius);
        } else {
            painter.drawRect(face);
        }

        if (button.look == ButtonLook::Menu) {
            // Rows of the column are separated by a hairline; the lit rows get an accent edge.
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0xE1, 0xE8, 0xEF));
            painter.drawRect(QRectF(10, look.height() - 1, look.width() - 20, 1));
            if (quarter == Quarter::Hovered || quarter == Quarter::Pressed) {
                painter.setBrush(theme::kAccent);
                painter.drawRect(QRectF(0, 0, 3, look.height()));
            }
            const QColor iconColour = quarter == Quarter::Unused ? colours.text : theme::kAccent;
            const QRectF iconRect(kMenuIconLeft, (look.height() - kMenuIconSize) / 2, kMenuIconSize,
                                  kMenuIconSize);
            figures::MenuIcon(painter, iconRect.translated(0, quarter == Quarter::Pressed ? 1 : 0),
                              button.icon, iconColour);
        }

        const PlacedText label = LayoutButtonLabel(button, language, quarter);
        painter.setFont(label.font);
        painter.setPen(label.colour);
        for (const PlacedLine& line : label.lines) painter.drawText(line.baseline, line.text);
        painter.restore();
    }
    return strip;
}
