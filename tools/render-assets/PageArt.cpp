#include "PageArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "ButtonArt.h"
#include "Figures.h"
#include "Texts.h"
#include "Theme.h"
#include "resources/PageTemplates.h"

namespace {

constexpr int kWidth = kPageWidthPx;
constexpr int kHeight = kPageHeightPx;
constexpr qreal kMargin = 24;
constexpr qreal kContentWidth = kWidth - 2 * kMargin;
constexpr qreal kHeaderHeight = 72;
constexpr qreal kFooterTop = 522;
constexpr qreal kContentTop = 120;
// The row of Exit, Back and Next: from the left edge, this far above the bottom edge.
constexpr int kButtonRowLeft = 16;
constexpr int kButtonRowRise = 27;
// Drop-down lists are shown closed; their template height includes the dropped list.
constexpr int kClosedListHeight = 26;

constexpr qreal kStageLeft = 300;
constexpr qreal kStageSlot = 72;

struct BackgroundPage {
    const char* file;
    int templateId;
};

constexpr BackgroundPage kBackgrounds[] = {
    {"home.bmp", kTemplateHome},
    {"install01.bmp", kTemplateGuide1},
    {"install02.bmp", kTemplateGuide2},
    {"install03.bmp", kTemplateGuide3},
    {"install04.bmp", kTemplateModemFound},
    {"install05.bmp", kTemplateDetect},
    {"install06.bmp", kTemplateIsp},
    {"install07.bmp", kTemplatePpp},
    {"install07_pppoa.bmp", kTemplatePpp},
    {"install07_mer.bmp", kTemplateWanIp},
    {"install08.bmp", kTemplateWireless},
    {"install09.bmp", kTemplateApply},
    {"install10.bmp", kTemplateInternetTest},
    {"install11.bmp", kTemplateFinish},
};

QSize ButtonSize(const char* file) {
    const ButtonStrip* button = FindButton(QLatin1String(file));
    return button ? button->size : QSize();
}

TextStyle Style(theme::Face face, int size, int minSize, const QColor& colour) {
    TextStyle style;
    style.face = face;
    style.size = size;
    style.minSize = minSize;
    style.colour = colour;
    return style;
}

const TextStyle kBody = Style(theme::Face::Regular, 14, 11, theme::kText);
const TextStyle kLead = Style(theme::Face::Regular, 15, 12, theme::kText);
const TextStyle kSmall = Style(theme::Face::Regular, 13, 11, theme::kText);
const TextStyle kHint = Style(theme::Face::Regular, 13, 11, theme::kTextHint);
const TextStyle kNote = Style(theme::Face::Regular, 12, 10, theme::kTextHint);
const TextStyle kStrong = Style(theme::Face::Semibold, 13, 11, theme::kText);
const TextStyle kSection = Style(theme::Face::Semibold, 13, 11, theme::kAccentDark);

QRectF StageCircle(int stage) {
    const qreal centre = kStageLeft + kStageSlot * (stage + 0.5);
    return QRectF(centre - 10, 14, 20, 20);
}

class Builder {
public:
    Builder(PageLayout& layout, const PageTemplate* page) : layout_(layout), page_(page) {}

    QString T(Text text) const { return Tr(text, layout_.language); }

    void Add(PlacedText text) { layout_.texts.push_back(std::move(text)); }

    void Fit(Text text, const QRectF& area, TextStyle style, Qt::Alignment align,
             int maxLines = 0) {
        style.align = align;
        style.maxLines = maxLines;
        Add(FitText(T(text), area, style));
    }

    void Flow(const QRectF& area, const std::vector<FlowItem>& items) {
        for (PlacedText& text : FlowText(items, area)) Add(std::move(text));
    }

    FlowItem Item(Text text, const TextStyle& style, qreal gap = 0, Marker marker = Marker::None,
                  int number = 0) const {
        return FlowItem{T(text), style, gap, marker, number};
    }

    void Header(int stage) {
        layout_.stage = stage;
        TextStyle brand = Style(theme::Face::Semibold, 22, 18, theme::kHeaderText);
        Add(FitText(QStringLiteral("Orvane SetupPilot"), QRectF(70, 10, 222, 32),
                    Aligned(brand, Qt::AlignLeft | Qt::AlignVCenter, 1)));
        TextStyle model = Style(theme::Face::Regular, 12, 10, theme::kHeaderSubtle);
        Add(FitText(T(Text::ModelLine), QRectF(70, 42, 222, 18),
                    Aligned(model, Qt::AlignLeft | Qt::AlignVCenter, 1)));
        if (stage == kNoStage) return;
        static constexpr Text kStages[kStageCount] = {Text::StageConnect, Text::StageInternet,
                                                      Text::StageWireless, Text::StageFinish};
        for (int i = 0; i < kStageCount; ++i) {
            const QColor colour = i == stage  ? theme::kHeaderText
                                  : i < stage ? theme::kHeaderSubtle
                                              : QColor(0x8F, 0xB1, 0xCC);
            TextStyle label =
                Style(i == stage ? theme::Face::Semibold : theme::Face::Regular, 11, 9, colour);
            label.lineFactor = 1.2;
            const qreal centre = StageCircle(i).center().x();
            Add(FitText(T(kStages[i]), QRectF(centre - 35, 38, 70, 28),
                        Aligned(label, Qt::AlignHCenter | Qt::AlignTop, 2)));
        }
    }

    void Title(Text text, qreal left = kMargin, qreal width = kContentWidth,
               Qt::Alignment align = Qt::AlignLeft) {
        TextStyle style = Style(theme::Face::Semibold, 20, 15, theme::kTitle);
        Add(FitText(T(text), QRectF(left, 80, width, 32),
                    Aligned(style, align | Qt::AlignVCenter, 1)));
    }

    // A caption beside a control, ending short of it, centred on the control's row.
    void LabelBeside(Text text, int controlId, qreal left, int maxLines = 1) {
        const QRect control = Control(controlId);
        const qreal centre = control.top() + control.height() / 2.0;
        const qreal height = maxLines == 1 ? 22 : 36;
        TextStyle style = Style(theme::Face::Regular, 13, 10, theme::kText);
        style.lineFactor = maxLines == 1 ? 1.4 : 1.25;
        Add(FitText(T(text), QRectF(left, centre - height / 2, control.left() - 12 - left, height),
                    Aligned(style, Qt::AlignLeft | Qt::AlignVCenter, maxLines)));
    }

    // The caption of a radio button or check box drawn without its own, right of the box.
    void CaptionAfter(Text text, int boxId, qreal right, int maxLines = 1) {
        const QRect box = Control(boxId);
        const qreal centre = box.top() + box.height() / 2.0;
        const qreal height = maxLines == 1 ? 19 : 36;
        TextStyle style = Style(theme::Face::Regular, 13, 10, theme::kText);
        style.lineFactor = maxLines == 1 ? 1.35 : 1.25;
        const qreal left = box.right() + 8;
        Add(FitText(T(text), QRectF(left, centre - height / 2, right - left, height),
                    Aligned(style, Qt::AlignLeft | Qt::AlignVCenter, maxLines)));
    }

    PageLayout& layout() { return layout_; }
    void Card(const QRectF& rect) { layout_.cards.push_back(rect); }
    void Draw(FigureKind kind, const QRectF& rect) { layout_.figures.push_back({kind, rect}); }

    QRect Control(int id) const {
        for (const ControlBox& box : layout_.controls) {
            if (box.id == id) return box.rect;
        }
        const ControlTemplate* control = page_ ? FindControl(*page_, id) : nullptr;
        if (!control) return {};
        const PixelRect r = ControlRectPx(*control);
        return QRect(r.x, r.y, r.width, r.height);
    }

private:
    static TextStyle Aligned(TextStyle style, Qt::Alignment align, int maxLines) {
        style.align = align;
        style.maxLines = maxLines;
        return style;
    }

    PageLayout& layout_;
    const PageTemplate* page_;
};

// The controls as the program shows them: the template's visible controls, and the owner-drawn
// buttons where the page moves them once their strips are loaded.
std::vector<ControlBox> PlaceControls(const PageTemplate& page) {
    std::vector<ControlBox> boxes;
    for (const ControlTemplate& control : page.controls) {
        if (control.hidden || control.kind == ControlKind::OwnerDrawButton) continue;
        const PixelRect r = ControlRectPx(control);
        const int height = control.kind == ControlKind::ComboList ? kClosedListHeight : r.height;
        boxes.push_back({control.id, QRect(r.x, r.y, r.width, height), control.kind});
    }
    auto place = [&](int id, const char* strip, int x, int y) {
        const ControlTemplate* control = FindControl(page, id);
        if (!control || control->hidden) return;
        boxes.push_back({id, QRect(QPoint(x, y), ButtonSize(strip)), control->kind, strip});
    };
    const int rowY = kHeight - kButtonRowRise;
    const int navWidth = ButtonSize("btn_exit.bmp").width();
    switch (page.id) {
        case kTemplateHome: {
            const int menuHeight = ButtonSize("btn_manual.bmp").height();
            place(1016, "btn_close.bmp", 18, rowY);
            place(1002, "btn_quick.bmp", kWidth - 160, kHeight - 174);
            place(1003, "btn_manual.bmp", kWidth - 180, 120);
            place(1004, "btn_QIG.bmp", kWidth - 180, 120 + menuHeight);
            place(1005, "btn_acrobat.bmp", kWidth - 180, 120 + 2 * menuHeight);
            place(1006, "btn_techsupport.bmp", kWidth - 180, 120 + 3 * menuHeight);
            break;
        }
        case kTemplateFinish:
            place(kIdExit, "btn_final.bmp", 205, kHeight - 130);
            break;
        case kTemplateModemFound:
            place(kIdExit, "btn_exit.bmp", kButtonRowLeft, rowY);
            place(kIdNext, "btn_next.bmp", kButtonRowLeft + navWidth, rowY);
            break;
        default:
            place(kIdExit, "btn_exit.bmp", kButtonRowLeft, rowY);
            place(kIdBack, "btn_back.bmp", kButtonRowLeft + navWidth, rowY);
            place(kIdNext, "btn_next.bmp", kButtonRowLeft + 2 * navWidth, rowY);
            break;
    }
    return boxes;
}

void LayoutHome(Builder& b) {
    b.Header(kNoStage);
    TextStyle welcome = Style(theme::Face::Semibold, 26, 18, theme::kTitle);
    welcome.align = Qt::AlignLeft | Qt::AlignVCenter;
    welcome.maxLines = 1;
    b.Add(FitText(b.T(Text::HomeTitle), QRectF(kMargin, 84, 372, 38), welcome));
    b.Flow(QRectF(kMargin, 132, 372, 226),
           {b.Item(Text::HomeIntro, kLead), b.Item(Text::HomeChecklist, kStrong, 16),
            b.Item(Text::HomeBulletModem, kSmall, 8, Marker::Bullet),
            b.Item(Text::HomeBulletAccount, kSmall, 6, Marker::Bullet),
            b.Item(Text::HomeBulletTime, kSmall, 6, Marker::Bullet)});
    b.Draw(FigureKind::HomeModem, QRectF(84, 372, 230, 84));

    const QRect menuTop = b.Control(1003);
    const QRect menuBottom = b.Control(1006);
    TextStyle heading = kSection;
    heading.align = Qt::AlignLeft | Qt::AlignBottom;
    heading.maxLines = 2;
    heading.lineFactor = 1.25;
    b.Add(FitText(b.T(Text::HomeDocuments),
                  QRectF(menuTop.left(), 78, menuTop.width(), menuTop.top() - 88), heading));
    // The column sits inside the card with room for its rounded corners.
    b.Card(QRectF(menuTop.left() - 6, menuTop.top() - 6, menuTop.width() + 12,
                  menuBottom.bottom() - menuTop.top() + 13));

    const QRect start = b.Control(1002);
    TextStyle hint = kSmall;
    hint.colour = theme::kTextMuted;
    hint.align = Qt::AlignHCenter | Qt::AlignBottom;
    b.Add(FitText(b.T(Text::HomeStartHint),
                  QRectF(start.center().x() - 86, 300, 170, start.top() - 310), hint));
    b.layout().footer = true;
}

void LayoutCables(Builder& b) {
    b.Header(0);
    b.Title(Text::CablesTitle);
    b.Flow(QRectF(kMargin, kContentTop, kContentWidth, 166),
           {b.Item(Text::CablesIntro, kBody), b.Item(Text::CablesDsl, kBody, 12, Marker::Number, 1),
            b.Item(Text::CablesLan, kBody, 10, Marker::Number, 2)});
    b.Card(QRectF(36, 298, 528, 150));
    b.Draw(FigureKind::Cabling, QRectF(64, 310, 472, 90));
    TextStyle caption = kNote;
    caption.colour = theme::kTextMuted;
    const qreal captionTop = 404;
    b.Fit(Text::FigureWallSocket, QRectF(44, captionTop, 124, 32), caption,
          Qt::AlignHCenter | Qt::AlignTop, 2);
    b.Fit(Text::FigureModem, QRectF(238, captionTop, 124, 32), caption,
          Qt::AlignHCenter | Qt::AlignTop, 2);
    b.Fit(Text::FigureComputer, QRectF(432, captionTop, 124, 32), caption,
          Qt::AlignHCenter | Qt::AlignTop, 2);
    b.Fit(Text::CablesNext, QRectF(kMargin, 462, kContentWidth, 32), kHint,
          Qt::AlignLeft | Qt::AlignVCenter, 1);
    b.layout().footer = true;
}

void LayoutPower(Builder& b) {
    b.Header(0);
    b.Title(Text::PowerTitle);
    b.Flow(QRectF(kMargin, kContentTop, kContentWidth, 166),
           {b.Item(Text::PowerAdapter, kBody, 4, Marker::Number, 1),
            b.Item(Text::PowerSwitch, kBody, 10, Marker::Number, 2),
            b.Item(Text::PowerWait, kBody, 10, Marker::Number, 3)});
    b.Card(QRectF(36, 298, 528, 150));
    b.Draw(FigureKind::FrontPanel, QRectF(150, 308, 300, 98));
    TextStyle caption = kNote;
    caption.colour = theme::kTextMuted;
    b.Fit(Text::PowerLights, QRectF(48, 412, 504, 24), caption, Qt::AlignCenter, 1);
    b.Fit(Text::PowerNext, QRectF(kMargin, 462, kContentWidth, 32), kHint,
          Qt::AlignLeft | Qt::AlignVCenter, 1);
    b.layout().footer = true;
}

void LayoutComputer(Builder& b) {
    b.Header(0);
    b.Title(Text::PcTitle);
    TextStyle next = kStrong;
    next.colour = theme::kAccentDark;
    b.Flow(QRectF(kMargin, kContentTop, kContentWidth, 262),
           {b.Item(Text::PcIntro, kBody), b.Item(Text::PcDhcp, kBody, 12, Marker::Number, 1),
            b.Item(Text::PcDns, kBody, 10, Marker::Number, 2), b.Item(Text::PcNote, kHint, 12),
            b.Item(Text::PcNext, next, 12)});
    b.Draw(FigureKind::PcLink, QRectF(130, 394, 340, 108));
    b.layout().footer = true;
}

void LayoutFound(Builder& b) {
    b.Header(0);
    b.Title(Text::FoundTitle);
    b.Flow(QRectF(kMargin, kContentTop, kContentWidth, 140),
           {b.Item(Text::FoundBody, kLead), b.Item(Text::FoundNext, kBody, 12)});
    b.Card(QRectF(150, 276, 300, 206));
    b.Draw(FigureKind::ModemFound, QRectF(190, 300, 220, 160));
    b.layout().footer = true;
}

// The three progress pages: text above the bar, a hint below it, a picture at the right.
void LayoutProgress(Builder& b, int stage, Text title, Text body, Text hint, FigureKind figure) {
    b.Header(stage);
    b.Title(title);
    const QRect bar = b.Control(kIdProgress);
    b.Card(QRectF(36, 132, 528, 272));
    b.Flow(QRectF(bar.left(), 150, bar.width(), bar.top() - 16 - 150), {b.Item(body, kLead)});
    b.Fit(hint, QRectF(bar.left(), bar.bottom() + 14, bar.width(), 396 - bar.bottom() - 18), kHint,
          Qt::AlignLeft | Qt::AlignTop);
    b.Draw(figure, QRectF(424, 190, 124, 150));
}

void LayoutIsp(Builder& b) {
    b.Header(1);
    b.Title(Text::IspTitle);
    b.Flow(QRectF(kMargin, kContentTop, kContentWidth, 46), {b.Item(Text::IspIntro, kSmall)});
    b.Card(QRectF(36, 170, 528, 272));
    const qreal left = 52;
    b.Fit(Text::IspProviderSection, QRectF(left, 177, 496, 22), kSection,
          Qt::AlignLeft | Qt::AlignVCenter, 1);
    b.LabelBeside(Text::IspCountry, 1023, left);
    b.LabelBeside(Text::IspProvider, 1024, left);
    b.Fit(Text::IspConnectionSection, QRectF(left, 280, 496, 22), kSection,
          Qt::AlignLeft | Qt::AlignVCenter, 1);
    b.LabelBeside(Text::IspProtocol, 1019, left);
    b.LabelBeside(Text::IspEncapsulation, 1020, left);
    b.LabelBeside(Text::IspVpi, 1021, left);
    b.LabelBeside(Text::IspVci, 1022, left);
    b.Flow(QRectF(kMargin, 454, kContentWidth, 60), {b.Item(Text::IspHint, kHint)});
    b.layout().footer = true;
}

void LayoutPpp(Builder& b, bool pppoe) {
    b.Header(1);
    b.Title(pppoe ? Text::PppoeTitle : Text::PppoaTitle);
    b.Flow(QRectF(kMargin, kContentTop, kContentWidth, 62), {b.Item(Text::PppIntro, kBody)});
    const QRect user = b.Control(1026);
    const qreal labelLeft = b.Control(1059).left() - 1;
    const qreal labelRight = user.left() - 10;
    b.Card(QRectF(56, 188, user.right() + 14 - 56, 156));
    b.LabelBeside(Text::PppUserName, 1026, labelLeft);
    b.LabelBeside(Text::PppPassword, 1027, labelLeft);
    if (pppoe) b.CaptionAfter(Text::PppServiceName, 1059, labelRight, 2);
    b.CaptionAfter(Text::PppStaticIp, 1060, labelRight, 2);

    const QRectF side(user.right() + 26, 188, kWidth - kMargin - (user.right() + 26), 156);
    b.Card(side);
    TextStyle where = kStrong;
    where.colour = theme::kAccentDark;
    where.lineFactor = 1.3;
    TextStyle note = kNote;
    note.colour = theme::kTextMuted;
    b.Flow(side.adjusted(14, 12, -12, -10),
           {b.Item(Text::PppWhereTitle, where), b.Item(Text::PppWhereBody, note, 6),
            b.Item(Text::PppCaseNote, note, 8)});
    b.Flow(QRectF(56, 358, kWidth - kMargin - 56, 150),
           {b.Item(pppoe ? Text::PppoeHint : Text::PppoaHint, kHint)});
    b.layout().footer = true;
}

void LayoutWanIp(Builder& b) {
    b.Header(1);
    b.Title(Text::WanTitle);
    b.Flow(QRectF(kMargin, kContentTop, kContentWidth, 46), {b.Item(Text::WanIntro, kSmall)});
    b.Card(QRectF(24, 170, 552, 314));
    const qreal right = kWidth - 40;
    b.CaptionAfter(Text::WanIpAuto, 1029, right);
    b.CaptionAfter(Text::WanIpFixed, 1030, right);
    b.CaptionAfter(Text::WanGatewayAuto, 1031, right);
    b.CaptionAfter(Text::WanGatewayFixed, 1032, right);
    b.CaptionAfter(Text::WanDnsAuto, 1033, right);
    b.CaptionAfter(Text::WanDnsFixed, 1034, right);
    const qreal indent = b.Control(1030).right() + 8;
    b.LabelBeside(Text::WanIpAddress, 1040, indent);
    b.LabelBeside(Text::WanSubnetMask, 1041, indent);
    b.LabelBeside(Text::WanGateway, 1036, indent);
    b.LabelBeside(Text::WanDnsPrimary, 1028, indent);
    b.LabelBeside(Text::WanDnsSecondary, 1035, indent);
    b.layout().footer = true;
}

void LayoutWireless(Builder& b) {
    b.Header(2);
    b.Title(Text::WirelessTitle);
    b.Flow(QRectF(kMargin, kContentTop, kContentWidth, 64), {b.Item(Text::WirelessIntro, kSmall)});
    b.Card(QRectF(36, 190, 528, 252));
    const qreal left = b.Control(1069).left();
    b.LabelBeside(Text::WirelessSsid, 1050, left);
    b.LabelBeside(Text::WirelessChannel, 1048, left);
    b.LabelBeside(Text::WirelessAuthentication, 1060, left);
    const QRect ssid = b.Control(1050);
    const QRect channel = b.Control(1048);
    const QRect auth = b.Control(1060);
    b.Flow(QRectF(left, ssid.bottom() + 7, 548 - left, channel.top() - ssid.bottom() - 14),
           {b.Item(Text::WirelessSsidHint, kNote)});
    b.Flow(QRectF(left, channel.bottom() + 7, 548 - left, auth.top() - channel.bottom() - 14),
           {b.Item(Text::WirelessChannelHint, kNote)});
    b.Flow(QRectF(kMargin, 452, kContentWidth, 62), {b.Item(Text::WirelessNote, kHint)});
    b.layout().footer = true;
}

void LayoutFinish(Builder& b) {
    b.Header(kStageCount);
    b.Draw(FigureKind::Success, QRectF(262, 90, 76, 76));
    TextStyle title = Style(theme::Face::Semibold, 24, 18, theme::kTitle);
    b.Fit(Text::FinishTitle, QRectF(60, 176, 480, 38), title, Qt::AlignCenter, 1);
    TextStyle lead = kLead;
    lead.align = Qt::AlignHCenter;
    TextStyle body = kBody;
    body.align = Qt::AlignHCenter;
    body.colour = theme::kTextMuted;
    TextStyle hint = kHint;
    hint.align = Qt::AlignHCenter;
    const QRect button = b.Control(kIdExit);
    b.Flow(QRectF(70, 226, 460, button.top() - 18 - 226),
           {b.Item(Text::FinishBody, lead), b.Item(Text::FinishWireless, body, 12),
            b.Item(Text::FinishNext, hint, 22)});
}

}  // namespace

const std::vector<QString>& BackgroundFiles() {
    static const std::vector<QString> files = [] {
        std::vector<QString> names;
        for (const BackgroundPage& page : kBackgrounds) names.push_back(QLatin1String(page.file));
        return names;
    }();
    return files;
}

int TemplateForBackground(const QString& file) {
    for (const BackgroundPage& page : kBackgrounds) {
        if (file == QLatin1String(page.file)) return page.templateId;
    }
    return 0;
}

PageLayout LayoutPage(const QString& file, Language language) {
    PageLayout layout;
    layout.file = file;
    layout.language = language;
    layout.size = QSize(kWidth, kHeight);
    const PageTemplate* page = FindPageTemplate(TemplateForBackground(file));
    if (page) layout.controls = PlaceControls(*page);
    Builder b(layout, page);

    if (file == QLatin1String("home.bmp")) LayoutHome(b);
    if (file == QLatin1String("install01.bmp")) LayoutCables(b);
    if (file == QLatin1String("install02.bmp")) LayoutPower(b);
    if (file == QLatin1String("install03.bmp")) LayoutComputer(b);
    if (file == QLatin1String("install04.bmp")) LayoutFound(b);
    if (file == QLatin1String("install05.bmp")) {
        LayoutProgress(b, 0, Text::DetectTitle, Text::DetectBody, Text::DetectHint,
                       FigureKind::Searching);
    }
    if (file == QLatin1String("install06.bmp")) LayoutIsp(b);
    if (file == QLatin1String("install07.bmp")) LayoutPpp(b, true);
    if (file == QLatin1String("install07_pppoa.bmp")) LayoutPpp(b, false);
    if (file == QLatin1String("install07_mer.bmp")) LayoutWanIp(b);
    if (file == QLatin1String("install08.bmp")) LayoutWireless(b);
    if (file == QLatin1String("install09.bmp")) {
        LayoutProgress(b, 3, Text::ApplyTitle, Text::ApplyBody, Text::ApplyHint,
                       FigureKind::Sending);
    }
    if (file == QLatin1String("install10.bmp")) {
        LayoutProgress(b, 3, Text::TestTitle, Text::TestBody, Text::TestHint, FigureKind::Globe);
    }
    if (file == QLatin1String("install11.bmp")) LayoutFinish(b);
    return layout;
}

namespace {

void PaintHeader(QPainter& painter, const PageLayout& layout) {
    const QRectF band(0, 0, kWidth, kHeaderHeight);
    QLinearGradient fill(band.topLeft(), band.topRight());
    fill.setColorAt(0, theme::kHeaderLeft);
    fill.setColorAt(1, theme::kHeaderRight);
    painter.fillRect(band, fill);

    // Faint rings behind the right half give the band some depth.
    painter.save();
    painter.setClipRect(band);
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        painter.setPen(QPen(QColor(255, 255, 255, 14 - 2 * i), 10));
        const qreal radius = 60 + 44 * i;
        painter.drawEllipse(QPointF(kWidth - 40, 96), radius, radius);
    }
    painter.restore();
    painter.fillRect(QRectF(0, kHeaderHeight, kWidth, 2), theme::kHeaderRule);

    figures::LogoMark(painter, QRectF(22, 16, 38, 38));

    if (layout.stage == kNoStage) return;
    painter.save();
    for (int i = 0; i + 1 < kStageCount; ++i) {
        const QRectF from = StageCircle(i);
        const QRectF to = StageCircle(i + 1);
        painter.setPen(
            QPen(i < layout.stage ? QColor(0x6F, 0xC3, 0xEA) : QColor(0x55, 0x80, 0xA6), 2));
        painter.drawLine(QPointF(from.right() + 5, from.center().y()),
                         QPointF(to.left() - 5, to.center().y()));
    }
    const QFont digits = theme::Font(theme::Face::Bold, 11);
    painter.setFont(digits);
    for (int i = 0; i < kStageCount; ++i) {
        const QRectF circle = StageCircle(i);
        if (i < layout.stage) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0x3A, 0xB0, 0xE2));
            painter.drawEllipse(circle);
            QPainterPath tick;
            tick.moveTo(circle.left() + 5.5, circle.center().y() + 0.5);
            tick.lineTo(circle.left() + 8.5, circle.center().y() + 3.5);
            tick.lineTo(circle.right() - 5, circle.top() + 6.5);
            QPen pen(Qt::white, 2.2);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(tick);
        } else if (i == layout.stage) {
            painter.setPen(QPen(QColor(0x3A, 0xB0, 0xE2), 2));
            painter.setBrush(Qt::white);
            painter.drawEllipse(circle.adjusted(-1, -1, 1, 1));
            painter.setPen(theme::kHeaderLeft);
            painter.drawText(circle, Qt::AlignCenter, QString::number(i + 1));
        } else {
            painter.setPen(QPen(QColor(0x8F, 0xB1, 0xCC), 1.5));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(circle.adjusted(0.75, 0.75, -0.75, -0.75));
            painter.setPen(QColor(0x8F, 0xB1, 0xCC));
            painter.drawText(circle, Qt::AlignCenter, QString::number(i + 1));
        }
    }
    painter.restore();
}

void PaintCard(QPainter& painter, const QRectF& rect) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x10, 0x3A, 0x5C, 14));
    painter.drawRoundedRect(rect.translated(0, 2).adjusted(-1, 0, 1, 1), 9, 9);
    painter.setPen(QPen(theme::kCardBorder, 1));
    painter.setBrush(theme::kCard);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    painter.restore();
}

void Shadow(QPainter& painter, const QRectF& under) {
    painter.save();
    QRadialGradient shade(under.center(), under.width() / 2);
    shade.setColorAt(0, QColor(0x10, 0x3A, 0x5C, 45));
    shade.setColorAt(1, QColor(0x10, 0x3A, 0x5C, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.save();
    painter.translate(under.center());
    painter.scale(1, under.height() / under.width());
    painter.drawEllipse(QPointF(0, 0), under.width() / 2, under.width() / 2);
    painter.restore();
    painter.restore();
}

void Cable(QPainter& painter, const QPointF& from, const QPointF& to) {
    QPainterPath path(from);
    const qreal midX = (from.x() + to.x()) / 2;
    path.cubicTo(QPointF(midX, from.y()), QPointF(midX, to.y()), to);
    QPen pen(theme::kCable, 3.5);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

void DoubleArrow(QPainter& painter, const QPointF& from, const QPointF& to) {
    painter.save();
    QPen pen(theme::kAccent, 2.5);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.drawLine(from, to);
    for (const auto& [tip, dir] : {std::pair{from, 1.0}, std::pair{to, -1.0}}) {
        painter.drawLine(tip, tip + QPointF(8 * dir, -6));
        painter.drawLine(tip, tip + QPointF(8 * dir, 6));
    }
    painter.restore();
}

void PaintFigure(QPainter& painter, const Figure& figure) {
    const QRectF r = figure.rect;
    switch (figure.kind) {
        case FigureKind::HomeModem:
            Shadow(painter, QRectF(r.left() + 10, r.bottom() - 8, r.width() - 20, 14));
            figures::Modem(painter, r.adjusted(0, 0, 0, -6), true);
            break;
        case FigureKind::Cabling: {
            const QRectF socket(r.left() + 14, r.top() + 16, 56, 56);
            const QRectF modem(r.center().x() - 70, r.top(), 140, 84);
            const QRectF computer(r.right() - 92, r.top() + 4, 100, 80);
            const qreal modemMid = modem.bottom() - 84 * 0.62 / 2;
            Cable(painter, QPointF(socket.center().x() + 6, socket.center().y()),
                  QPointF(modem.left() + 10, modemMid));
            Cable(painter, QPointF(modem.right() - 10, modemMid),
                  QPointF(computer.left() + 10, computer.top() + 29));
            figures::WallSocket(painter, socket);
            figures::Modem(painter, modem, false);
            figures::Computer(painter, computer);
            figures::Tag(painter, QPointF((socket.right() + modem.left()) / 2, modemMid - 18),
                         QStringLiteral("DSL"));
            figures::Tag(painter, QPointF((modem.right() + computer.left()) / 2, modemMid - 18),
                         QStringLiteral("LAN"));
            break;
        }
        case FigureKind::FrontPanel:
            figures::Modem(painter, r, true, true);
            break;
        case FigureKind::PcLink: {
            const QRectF computer(r.left(), r.top() + 8, 96, 84);
            const QRectF modem(r.right() - 124, r.top() + 10, 124, 80);
            Shadow(painter, QRectF(modem.left() + 8, modem.bottom() - 4, modem.width() - 16, 10));
            figures::Computer(painter, computer);
            figures::Modem(painter, modem, true);
            const qreal y = r.top() + 62;
            DoubleArrow(painter, QPointF(computer.right() + 14, y), QPointF(modem.left() - 14, y));
            figures::Tag(painter, QPointF((computer.right() + modem.left()) / 2, y - 20),
                         QStringLiteral("DHCP"));
            break;
        }
        case FigureKind::ModemFound: {
            const QRectF modem(r.left() + 10, r.top() + 34, r.width() - 40, r.height() - 50);
            Shadow(painter, QRectF(modem.left() + 12, modem.bottom() - 6, modem.width() - 24, 16));
            figures::Modem(painter, modem, true);
            figures::CheckBadge(painter, QPointF(modem.right() - 6, modem.top() + 46), 26);
            break;
        }
        case FigureKind::Searching: {
            const QRectF modem(r.left(), r.top() + 50, r.width() - 14, 80);
            Shadow(painter, QRectF(modem.left() + 8, modem.bottom() - 4, modem.width() - 16, 10));
            figures::Modem(painter, modem, true);
            figures::Magnifier(painter, QRectF(r.right() - 72, r.top() + 6, 72, 72));
            break;
        }
        case FigureKind::Sending: {
            const QRectF modem(r.left(), r.top() + 50, r.width() - 14, 80);
            Shadow(painter, QRectF(modem.left() + 8, modem.bottom() - 4, modem.width() - 16, 10));
            figures::Modem(painter, modem, true);
            figures::SyncBadge(painter, QPointF(r.right() - 26, r.top() + 66), 24);
            break;
        }
        case FigureKind::Globe: {
            figures::Globe(painter, QRectF(r.left() + 12, r.top() + 6, 100, 100));
            const QRectF modem(r.left() + 22, r.bottom() - 44, 80, 40);
            figures::Modem(painter, modem, true);
            break;
        }
        case FigureKind::Success:
            figures::CheckBadge(painter, r.center(), r.width() / 2 - 2);
            break;
    }
}

void PaintText(QPainter& painter, const PlacedText& text) {
    if (text.marker == Marker::Number) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(theme::kAccent);
        painter.drawEllipse(text.markerRect);
        painter.setPen(Qt::white);
        painter.setFont(theme::Font(theme::Face::Bold, 12));
        painter.drawText(text.markerRect, Qt::AlignCenter, QString::number(text.number));
    } else if (text.marker == Marker::Bullet) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(theme::kAccent);
        painter.drawEllipse(text.markerRect);
    }
    painter.setFont(text.font);
    painter.setPen(text.colour);
    for (const PlacedLine& line : text.lines) painter.drawText(line.baseline, line.text);
}

}  // namespace

QImage PaintPage(const PageLayout& layout, int scale) {
    QImage image(layout.size * scale, QImage::Format_RGB32);
    image.fill(theme::kBody);
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    PaintHeader(painter, layout);
    if (layout.footer) {
        painter.fillRect(QRectF(0, kFooterTop, kWidth, kHeight - kFooterTop), theme::kFooter);
        painter.fillRect(QRectF(0, kFooterTop, kWidth, 1), theme::kFooterRule);
    }
    for (const QRectF& card : layout.cards) PaintCard(painter, card);
    for (const Figure& figure : layout.figures) PaintFigure(painter, figure);
    for (const PlacedText& text : layout.texts) PaintText(painter, text);
    return image;
}

QImage PaintPreview(const PageLayout& layout) {
    QImage image = PaintPage(layout);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor frame(0x8A, 0x9B, 0xAD);
    for (const ControlBox& control : layout.controls) {
        const QRectF r = QRectF(control.rect).adjusted(0.5, 0.5, -0.5, -0.5);
        if (control.strip) {
            const ButtonStrip* button = FindButton(QLatin1String(control.strip));
            const QImage strip = PaintStrip(*button, layout.language);
            painter.drawImage(control.rect.topLeft(), strip,
                              QRect(0, 0, button->size.width(), button->size.height()));
            continue;
        }
        painter.setPen(QPen(frame, 1));
        switch (control.kind) {
            case ControlKind::Radio:
                painter.setBrush(Qt::white);
                painter.drawEllipse(QRectF(r.left(), r.center().y() - 6.5, 13, 13));
                break;
            case ControlKind::CheckBox:
                painter.setBrush(Qt::white);
                painter.drawRect(QRectF(r.left(), r.center().y() - 6.5, 13, 13));
                break;
            case ControlKind::ProgressBar:
                painter.setBrush(Qt::white);
                painter.drawRect(r);
                painter.fillRect(r.adjusted(2, 2, -r.width() * 0.6, -2), theme::kAccent);
                break;
            case ControlKind::Static:
            case ControlKind::Button:
                painter.setBrush(control.kind == ControlKind::Button ? QColor(0xEE, 0xF1, 0xF4)
                                                                     : QColor(0, 0, 0, 0));
                painter.setPen(QPen(
                    frame, 1, control.kind == ControlKind::Static ? Qt::DotLine : Qt::SolidLine));
                painter.drawRect(r);
                break;
            default:
                painter.setBrush(Qt::white);
                painter.drawRect(r);
                if (control.kind == ControlKind::ComboList) {
                    painter.fillRect(QRectF(r.right() - 18, r.top() + 1, 17, r.height() - 1),
                                     QColor(0xEE, 0xF1, 0xF4));
                }
                break;
        }
    }
    return image;
}
