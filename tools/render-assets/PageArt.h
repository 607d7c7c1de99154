#pragma once

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <vector>

#include "Language.h"
#include "TextFit.h"
#include "resources/PageTemplates.h"

// The page backgrounds. Laying a page out (where each text and drawing goes, given the page's
// controls) is kept apart from painting it, so the layout can be checked without pixels.

struct ControlBox {
    int id;
    QRect rect;  // where the program shows the control, in page pixels
    ControlKind kind;
    const char* strip = nullptr;  // the strip an owner-drawn button is drawn from
};

enum class FigureKind {
    HomeModem,
    Cabling,
    FrontPanel,
    PcLink,
    ModemFound,
    Searching,
    Sending,
    Globe,
    Success
};

struct Figure {
    FigureKind kind;
    QRectF rect;
};

inline constexpr int kNoStage = -1;
inline constexpr int kStageCount = 4;

struct PageLayout {
    QString file;
    Language language = Language::English;
    QSize size;
    int stage = kNoStage;  // the wizard stage the header marks as current; kStageCount: all done
    bool footer = false;   // the band the bottom button row sits on
    std::vector<ControlBox> controls;
    std::vector<QRectF> cards;
    std::vector<PlacedText> texts;
    std::vector<Figure> figures;
};

// Every background file a page is constructed with.
const std::vector<QString>& BackgroundFiles();

// The template id of the page that shows this background, or 0.
int TemplateForBackground(const QString& file);

PageLayout LayoutPage(const QString& file, Language language);
// scale 2 draws the same page with twice the pixels in each direction: every line, figure and
// text is drawn at that density, not enlarged from the page's own pixels.
QImage PaintPage(const PageLayout& layout, int scale = 1);

// The page as the program will show it, for looking at: the background with the normal look of
// every button strip in place and plain stand-ins for the other controls.
QImage PaintPreview(const PageLayout& layout);
