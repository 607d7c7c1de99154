#pragma once

#include <span>

// The dialog templates of the wizard pages as data: every control a page builds, with its id,
// kind, rectangle, visibility, template text and style. The page base creates its child widgets
// from these tables and finds them by id.
//
// Rectangles are in dialog units (converted with DuToPxX / DuToPxY) unless inPixels is set.
// A page does not take the size of its template: it takes the size of its background bitmap,
// and every background is drawn kPageWidthPx x kPageHeightPx.

inline constexpr int kPageWidthPx = 600;
inline constexpr int kPageHeightPx = 560;

enum class ControlKind {
    Button,
    OwnerDrawButton,
    Static,
    Edit,
    ComboList,  // drop-down list; the template height includes the dropped list
    Radio,
    CheckBox,
    ProgressBar,
    IpAddress,
    ListBox,
};

// Style flags of a control.
enum ControlStyle : unsigned {
    kStyleNone = 0,
    kStyleBorder = 1u << 0,
    kStyleDigitsOnly = 1u << 1,
    kStylePassword = 1u << 2,
    kStyleAutoHScroll = 1u << 3,
    kStyleSmooth = 1u << 4,  // progress bar filled without segments
    kStyleGroup = 1u << 5,   // first control of a radio group
    kStyleTabStop = 1u << 6,
    kStyleBoxOnly = 1u << 7,    // radio or check box drawn without its caption: the background
                                // bitmap carries the caption beside the box
    kStyleAutoCheck = 1u << 8,  // toggles itself (check box) or its group (radio) on a click
};

struct ControlTemplate {
    int id;
    ControlKind kind;
    int x, y, width, height;  // dialog units, or pixels when inPixels
    bool hidden;
    bool inPixels;
    const char* text;
    unsigned style;
};

struct PageTemplate {
    int id;
    const char* pageClass;
    const char* background;  // the picture the page is shown with
    int widthDu, heightDu;
    std::span<const ControlTemplate> controls;
    // The page's second look, where one page class serves two cases (the PPP page for PPPoA).
    const char* alternateBackground = nullptr;
};

// Template ids.
inline constexpr int kTemplateGuide1 = 330;
inline constexpr int kTemplateHome = 331;
inline constexpr int kTemplateGuide3 = 333;
inline constexpr int kTemplateModemFound = 334;
inline constexpr int kTemplateIsp = 335;
inline constexpr int kTemplatePpp = 336;
inline constexpr int kTemplateWanIp = 337;
inline constexpr int kTemplateWireless = 340;
inline constexpr int kTemplateDetect = 341;
inline constexpr int kTemplateInternetTest = 342;
inline constexpr int kTemplateApply = 343;
inline constexpr int kTemplateFinish = 344;
inline constexpr int kTemplateGuide2 = 353;

// Control ids every page template shares.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdBack = 1013;
inline constexpr int kIdNext = 1014;
inline constexpr int kIdExit = 1015;
inline constexpr int kIdProgress = 1052;  // on the three progress pages

// The template with this id, or nullptr.
const PageTemplate* FindPageTemplate(int templateId);
std::span<const PageTemplate> AllPageTemplates();
// The control with this id in the template, or nullptr.
const ControlTemplate* FindControl(const PageTemplate& page, int controlId);

// Dialog units to pixels with the base units of the templates' 8-point sans font (6 x 13 px
// per 4 x 8 units): x * 1.5 and y * 1.625, rounded half away from zero.
int DuToPxX(int du);
int DuToPxY(int du);

struct PixelRect {
    int x, y, width, height;
};

// The control's template rectangle in pixels.
PixelRect ControlRectPx(const ControlTemplate& control);
