#include "resources/PageTemplates.h"

#include <array>

namespace {

using K = ControlKind;

constexpr unsigned kInput = kStyleBorder | kStyleTabStop;
constexpr unsigned kTextEdit = kInput | kStyleAutoHScroll;
constexpr unsigned kNumberEdit = kTextEdit | kStyleDigitsOnly;
constexpr unsigned kBar = kStyleBorder | kStyleSmooth;
constexpr unsigned kBox = kStyleBoxOnly | kStyleAutoCheck | kStyleTabStop;
constexpr unsigned kFirstBox = kBox | kStyleGroup;

constexpr ControlTemplate Shown(int id, K kind, int x, int y, int w, int h, const char* text,
                                unsigned style = kStyleNone) {
    return {id, kind, x, y, w, h, false, false, text, style};
}

constexpr ControlTemplate Hidden(int id, K kind, int x, int y, int w, int h, const char* text,
                                 unsigned style = kStyleNone) {
    return {id, kind, x, y, w, h, true, false, text, style};
}

constexpr ControlTemplate ShownPx(int id, K kind, int x, int y, int w, int h, const char* text,
                                  unsigned style = kStyleNone) {
    return {id, kind, x, y, w, h, false, true, text, style};
}

constexpr ControlTemplate kOk = Hidden(kIdOk, K::Button, 25, 28, 50, 14, "ok");
constexpr ControlTemplate kCancel = Hidden(kIdCancel, K::Button, 83, 28, 50, 14, "cancel");
constexpr ControlTemplate kExit = Shown(kIdExit, K::OwnerDrawButton, 11, 328, 69, 15, "Exit");
constexpr ControlTemplate kBack = Shown(kIdBack, K::OwnerDrawButton, 80, 328, 69, 15, "Back");
constexpr ControlTemplate kNext = Shown(kIdNext, K::OwnerDrawButton, 149, 328, 69, 15, "Next");

constexpr std::array kHome{
    Hidden(1088, K::Static, 66, 276, 80, 10, "Choose Language"),
    Hidden(1089, K::ComboList, 150, 274, 90, 70, "", kInput),
    Shown(1016, K::OwnerDrawButton, 12, 328, 69, 15, "Close"),
    Shown(1002, K::OwnerDrawButton, 293, 238, 93, 27, "start"),
    Shown(1006, K::OwnerDrawButton, 280, 148, 109, 25, "Technical Support"),
    Shown(1003, K::OwnerDrawButton, 280, 74, 109, 25, "View Manual"),
    Shown(1005, K::OwnerDrawButton, 280, 123, 109, 25, "Install Acrobat reader"),
    Shown(1004, K::OwnerDrawButton, 280, 98, 109, 25, "View QIG"),
    Hidden(1090, K::OwnerDrawButton, 66, 290, 53, 15, "English"),
    Hidden(1091, K::OwnerDrawButton, 119, 290, 53, 15, "French"),
    Hidden(1092, K::OwnerDrawButton, 172, 290, 53, 15, "German"),
    Hidden(1093, K::OwnerDrawButton, 225, 290, 53, 15, "Italian"),
    Hidden(1094, K::OwnerDrawButton, 278, 290, 53, 15, "Spanish"),
    kOk,
    kCancel,
};

constexpr std::array kGuide{kExit, kBack, kNext, kOk, kCancel};

constexpr std::array kModemFound{
    kExit, Hidden(kIdBack, K::OwnerDrawButton, 80, 328, 69, 15, "Back"), kNext, kOk, kCancel,
};

constexpr std::array kFinish{
    Shown(kIdExit, K::OwnerDrawButton, 137, 265, 127, 25, "Exit"),
    kOk,
    kCancel,
};

constexpr std::array kProgressAt173{
    Shown(kIdProgress, K::ProgressBar, 35, 173, 232, 14, "", kBar),
    kOk,
    kCancel,
};

constexpr std::array kProgressAt155{
    Shown(kIdProgress, K::ProgressBar, 35, 155, 232, 14, "", kBar),
    kOk,
    kCancel,
};

constexpr std::array kIsp{
    Hidden(1079, K::Static, 34, 130, 100, 10, "Country"),
    Shown(1023, K::ComboList, 150, 128, 150, 150, "", kInput),
    Hidden(1080, K::Static, 34, 150, 100, 10, "ISP"),
    Shown(1024, K::ComboList, 150, 148, 150, 150, "", kInput),
    Hidden(1081, K::Static, 34, 192, 100, 10, "Protocol"),
    Shown(1019, K::ComboList, 150, 190, 150, 80, "", kInput),
    Hidden(1082, K::Static, 34, 212, 100, 10, "Encapsulation"),
    Shown(1020, K::ComboList, 150, 210, 150, 60, "", kInput),
    Hidden(1083, K::Static, 34, 232, 100, 10, "VPI: [0-255]"),
    Shown(1021, K::Edit, 150, 230, 40, 14, "", kNumberEdit),
    Hidden(1084, K::Static, 34, 252, 100, 10, "VCI:[32-65535]"),
    Shown(1022, K::Edit, 150, 250, 50, 14, "", kNumberEdit),
    kExit,
    kBack,
    kNext,
    kOk,
    kCancel,
};

constexpr std::array kWanIp{
    Shown(1029, K::Radio, 24, 110, 10, 9, "Obtain an IP address automatically", kFirstBox),
    Shown(1030, K::Radio, 24, 122, 10, 9, "Use the following IP address:", kBox),
    Shown(1031, K::Radio, 24, 183, 10, 9, "Obtain default gateway automatically", kFirstBox),
    Shown(1032, K::Radio, 24, 195, 10, 9, "Use the following default gateway:", kBox),
    Shown(1033, K::Radio, 24, 229, 10, 9, "Obtain DNS server addresses automatically", kFirstBox),
    Shown(1034, K::Radio, 24, 241, 10, 9, "Use the following DNS server addresses:", kBox),
    Hidden(1054, K::Static, 44, 144, 100, 10, "WAN IP Address"),
    Hidden(1055, K::Static, 44, 165, 100, 10, "WAN Subnet Mask"),
    Hidden(1056, K::Static, 44, 212, 100, 10, "Use IP Address"),
    Hidden(1057, K::Static, 44, 258, 100, 10, "Primary DNS server"),
    Hidden(1058, K::Static, 44, 280, 100, 10, "Secondary DNS server "),
    ShownPx(1040, K::IpAddress, 300, 230, 135, 25, "", kStyleTabStop),
    ShownPx(1041, K::IpAddress, 300, 265, 135, 25, "", kStyleTabStop),
    ShownPx(1036, K::IpAddress, 300, 340, 135, 25, "", kStyleTabStop),
    ShownPx(1028, K::IpAddress, 300, 415, 135, 25, "", kStyleTabStop),
    ShownPx(1035, K::IpAddress, 300, 450, 135, 25, "", kStyleTabStop),
    kExit,
    kBack,
    kNext,
    kOk,
    kCancel,
};

constexpr std::array kPpp{
    Hidden(1085, K::Static, 47, 124, 93, 12, "PPP Username"),
    Shown(1026, K::Edit, 163, 123, 89, 14, "", kTextEdit),
    Hidden(1086, K::Static, 48, 143, 94, 14, "PPP Password"),
    Shown(1027, K::Edit, 163, 143, 89, 14, "", kTextEdit | kStylePassword),
    Shown(1059, K::CheckBox, 48, 166, 8, 8, "PPPoE Service Name", kBox),
    Shown(1044, K::Edit, 163, 165, 89, 14, "", kTextEdit),
    Shown(1060, K::CheckBox, 48, 189, 8, 8, "Use Static IP", kBox),
    Shown(1076, K::IpAddress, 163, 190, 89, 13, "", kStyleTabStop),
    kExit,
    kBack,
    kNext,
    kOk,
    kCancel,
};

constexpr std::array kWireless{
    Hidden(1061, K::Static, 34, 124, 18, 8, "SSID"),
    Shown(1050, K::Edit, 173, 122, 90, 14, "", kTextEdit),
    Hidden(1062, K::Static, 34, 169, 27, 8, "Channel"),
    Shown(1048, K::ComboList, 173, 169, 90, 52, "", kInput),
    Hidden(1068, K::Static, 34, 215, 75, 8, "Network Authentication"),
    Shown(1060, K::ComboList, 173, 215, 90, 70, "", kInput),
    Shown(1069, K::Static, 34, 232, 96, 10, "Current Network Key"),
    Shown(1049, K::ComboList, 173, 233, 90, 52, "", kInput),
    Shown(1063, K::Static, 34, 233, 91, 9, "WPA Pre-Shared Key"),
    Shown(1055, K::Edit, 174, 233, 90, 14, "", kTextEdit),
    Shown(1074, K::Button, 268, 231, 50, 14, "Create Key", kStyleTabStop),
    Shown(1064, K::Static, 35, 251, 96, 10, "Network Key 1"),
    Shown(1065, K::Static, 35, 251, 96, 10, "Network Key 2"),
    Shown(1066, K::Static, 35, 251, 96, 10, "Network Key 3"),
    Shown(1067, K::Static, 35, 251, 96, 10, "Network Key 4"),
    Shown(1051, K::Edit, 173, 250, 90, 14, "", kTextEdit),
    Shown(1052, K::Edit, 173, 250, 90, 14, "", kTextEdit),
    Shown(1053, K::Edit, 173, 250, 90, 14, "", kTextEdit),
    Shown(1054, K::Edit, 173, 250, 90, 14, "", kTextEdit),
    Shown(1070, K::Button, 268, 250, 50, 14, "Create Key", kStyleTabStop),
    Shown(1071, K::Button, 268, 250, 50, 14, "Create Key", kStyleTabStop),
    Shown(1072, K::Button, 268, 250, 50, 14, "Create Key", kStyleTabStop),
    Shown(1073, K::Button, 268, 250, 50, 14, "Create Key", kStyleTabStop),
    kExit,
    kBack,
    kNext,
    kOk,
    kCancel,
};

constexpr int kPageWidthDu = 400;
constexpr int kPageHeightDu = 345;

constexpr std::array kTemplates{
    PageTemplate{kTemplateGuide1, "CGuidePage1", "install01.bmp", kPageWidthDu, kPageHeightDu,
                 kGuide},
    PageTemplate{kTemplateHome, "CHomePage", "home.bmp", kPageWidthDu, kPageHeightDu, kHome},
    PageTemplate{kTemplateGuide3, "CGuidePage3", "install03.bmp", kPageWidthDu, kPageHeightDu,
                 kGuide},
    PageTemplate{kTemplateModemFound, "CModemFoundPage", "install04.bmp", kPageWidthDu,
                 kPageHeightDu, kModemFound},
    PageTemplate{kTemplateIsp, "CIspPage", "install06.bmp", kPageWidthDu, kPageHeightDu, kIsp},
    PageTemplate{kTemplatePpp, "CPppPage", "install07.bmp", 274, 241, kPpp, "install07_pppoa.bmp"},
    PageTemplate{kTemplateWanIp, "CWanIpPage", "install07_mer.bmp", kPageWidthDu, kPageHeightDu,
                 kWanIp},
    PageTemplate{kTemplateWireless, "CWirelessPage", "install08.bmp", 366, 315, kWireless},
    PageTemplate{kTemplateDetect, "CDetectPage", "install05.bmp", kPageWidthDu, kPageHeightDu,
                 kProgressAt173},
    PageTemplate{kTemplateInternetTest, "CInternetTestPage", "install10.bmp", kPageWidthDu,
                 kPageHeightDu, kProgressAt155},
    PageTemplate{kTemplateApply, "CApplyPage", "install09.bmp", kPageWidthDu, kPageHeightDu,
                 kProgressAt173},
    PageTemplate{kTemplateFinish, "CFinishPage", "install11.bmp", kPageWidthDu, kPageHeightDu,
                 kFinish},
    PageTemplate{kTemplateGuide2, "CGuidePage2", "install02.bmp", kPageWidthDu, kPageHeightDu,
                 kGuide},
};

// Integer division of a non-negative numerator, rounding halves up; mirrored for negatives.
int RoundedQuotient(int numerator, int denominator) {
    if (numerator < 0) return -RoundedQuotient(-numerator, denominator);
    return (2 * numerator + denominator) / (2 * denominator);
}

}  // namespace

const PageTemplate* FindPageTemplate(int templateId) {
    for (const PageTemplate& page : kTemplates) {
        if (page.id == templateId) return &page;
    }
    return nullptr;
}

std::span<const PageTemplate> AllPageTemplates() {
    return kTemplates;
}

const ControlTemplate* FindControl(const PageTemplate& page, int controlId) {
    for (const ControlTemplate& control : page.controls) {
        if (control.id == controlId) return &control;
    }
    return nullptr;
}

int DuToPxX(int du) {
    return RoundedQuotient(du * 3, 2);
}

int DuToPxY(int du) {
    return RoundedQuotient(du * 13, 8);
}

PixelRect ControlRectPx(const ControlTemplate& control) {
    if (control.inPixels) return {control.x, control.y, control.width, control.height};
    return {DuToPxX(control.x), DuToPxY(control.y), DuToPxX(control.width),
            DuToPxY(control.height)};
}
