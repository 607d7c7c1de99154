#include "resources/PageAccessibility.h"

#include <array>

#include "resources/PageTemplates.h"

namespace {

using T = PageText;

// The bottom row most pages share.
constexpr ControlName kExitName{kIdExit, T::ButtonExit};
constexpr ControlName kBackName{kIdBack, T::ButtonBack};
constexpr ControlName kNextName{kIdNext, T::ButtonNext};
constexpr std::array kGuideControls{kExitName, kBackName, kNextName};
constexpr std::array kProgressControls{ControlName{kIdProgress, T::DetectTitle}};
constexpr std::array kApplyControls{ControlName{kIdProgress, T::ApplyTitle}};
constexpr std::array kTestControls{ControlName{kIdProgress, T::TestTitle}};

constexpr std::array kHomeBody{T::HomeIntro,         T::HomeChecklist,  T::HomeBulletModem,
                               T::HomeBulletAccount, T::HomeBulletTime, T::HomeStartHint};
constexpr std::array kHomeControls{
    ControlName{1016, T::ButtonClose},    ControlName{1002, T::ButtonStart},
    ControlName{1003, T::ButtonManual},   ControlName{1004, T::ButtonGuide},
    ControlName{1005, T::ButtonAcrobat},  ControlName{1006, T::ButtonSupport},
    ControlName{1089, T::LanguageList},   ControlName{1090, T::EndonymEnglish},
    ControlName{1091, T::EndonymFrench},  ControlName{1092, T::EndonymGerman},
    ControlName{1093, T::EndonymItalian}, ControlName{1094, T::EndonymSpanish},
};

constexpr std::array kCablesBody{T::CablesIntro, T::CablesDsl, T::CablesLan, T::CablesNext};
constexpr std::array kPowerBody{T::PowerAdapter, T::PowerSwitch, T::PowerWait, T::PowerLights,
                                T::PowerNext};
constexpr std::array kComputerBody{T::PcIntro, T::PcDhcp, T::PcDns, T::PcNote, T::PcNext};
constexpr std::array kFoundBody{T::FoundBody, T::FoundNext};
constexpr std::array kDetectBody{T::DetectBody, T::DetectHint};
constexpr std::array kApplyBody{T::ApplyBody, T::ApplyHint};
constexpr std::array kTestBody{T::TestBody, T::TestHint};

constexpr std::array kIspBody{T::IspIntro, T::IspHint};
constexpr std::array kIspControls{
    kExitName,
    kBackName,
    kNextName,
    ControlName{1023, T::IspCountry},
    ControlName{1024, T::IspProvider},
    ControlName{1019, T::IspProtocol},
    ControlName{1020, T::IspEncapsulation},
    ControlName{1021, T::IspVpi},
    ControlName{1022, T::IspVci},
};

constexpr std::array kPppoeBody{T::PppIntro, T::PppWhereTitle, T::PppWhereBody, T::PppCaseNote,
                                T::PppoeHint};
constexpr std::array kPppoaBody{T::PppIntro, T::PppWhereTitle, T::PppWhereBody, T::PppCaseNote,
                                T::PppoaHint};
// The service name's box and field share the caption drawn after the box; so do the static
// address's.
constexpr std::array kPppControls{
    kExitName,
    kBackName,
    kNextName,
    ControlName{1026, T::PppUserName},
    ControlName{1027, T::PppPassword},
    ControlName{1059, T::PppServiceName},
    ControlName{1044, T::PppServiceName},
    ControlName{1060, T::PppStaticIp},
    ControlName{1076, T::PppStaticIp},
};

constexpr std::array kWanBody{T::WanIntro};
constexpr std::array kWanControls{
    kExitName,
    kBackName,
    kNextName,
    ControlName{1029, T::WanIpAuto},
    ControlName{1030, T::WanIpFixed},
    ControlName{1031, T::WanGatewayAuto},
    ControlName{1032, T::WanGatewayFixed},
    ControlName{1033, T::WanDnsAuto},
    ControlName{1034, T::WanDnsFixed},
    ControlName{1040, T::WanIpAddress},
    ControlName{1041, T::WanSubnetMask},
    ControlName{1036, T::WanGateway},
    ControlName{1028, T::WanDnsPrimary},
    ControlName{1035, T::WanDnsSecondary},
};

constexpr std::array kWirelessBody{T::WirelessIntro, T::WirelessSsidHint, T::WirelessChannelHint,
                                   T::WirelessNote};
constexpr std::array kWirelessControls{
    kExitName,
    kBackName,
    kNextName,
    ControlName{1050, T::WirelessSsid},
    ControlName{1048, T::WirelessChannel},
    ControlName{1060, T::WirelessAuthentication},
    ControlName{1049, T::WirelessCurrentKey},
    ControlName{1055, T::WirelessPresharedKey},
    ControlName{1074, T::WirelessCreateKey},
    ControlName{1051, T::WirelessKey1},
    ControlName{1052, T::WirelessKey2},
    ControlName{1053, T::WirelessKey3},
    ControlName{1054, T::WirelessKey4},
    ControlName{1070, T::WirelessCreateKey},
    ControlName{1071, T::WirelessCreateKey},
    ControlName{1072, T::WirelessCreateKey},
    ControlName{1073, T::WirelessCreateKey},
};

constexpr std::array kFinishBody{T::FinishBody, T::FinishWireless, T::FinishNext};
constexpr std::array kFinishControls{ControlName{kIdExit, T::ButtonFinish}};

constexpr std::array kPages{
    PageAccessibility{kTemplateHome, false, T::HomeTitle, kHomeBody, kHomeControls},
    PageAccessibility{kTemplateGuide1, false, T::CablesTitle, kCablesBody, kGuideControls},
    PageAccessibility{kTemplateGuide2, false, T::PowerTitle, kPowerBody, kGuideControls},
    PageAccessibility{kTemplateGuide3, false, T::PcTitle, kComputerBody, kGuideControls},
    PageAccessibility{kTemplateDetect, false, T::DetectTitle, kDetectBody, kProgressControls},
    PageAccessibility{kTemplateModemFound, false, T::FoundTitle, kFoundBody, kGuideControls},
    PageAccessibility{kTemplateIsp, false, T::IspTitle, kIspBody, kIspControls},
    PageAccessibility{kTemplatePpp, false, T::PppoeTitle, kPppoeBody, kPppControls},
    PageAccessibility{kTemplatePpp, true, T::PppoaTitle, kPppoaBody, kPppControls},
    PageAccessibility{kTemplateWanIp, false, T::WanTitle, kWanBody, kWanControls},
    PageAccessibility{kTemplateWireless, false, T::WirelessTitle, kWirelessBody, kWirelessControls},
    PageAccessibility{kTemplateApply, false, T::ApplyTitle, kApplyBody, kApplyControls},
    PageAccessibility{kTemplateInternetTest, false, T::TestTitle, kTestBody, kTestControls},
    PageAccessibility{kTemplateFinish, false, T::FinishTitle, kFinishBody, kFinishControls},
};

}  // namespace

const PageAccessibility* FindPageAccessibility(int templateId, bool alternate) {
    const PageAccessibility* first = nullptr;
    for (const PageAccessibility& page : kPages) {
        if (page.templateId != templateId) continue;
        if (page.alternate == alternate) return &page;
        if (!page.alternate) first = &page;
    }
    return first;
}

std::span<const PageAccessibility> AllPageAccessibility() {
    return kPages;
}

const PageText* FindControlName(const PageAccessibility& page, int controlId) {
    for (const ControlName& control : page.controls) {
        if (control.id == controlId) return &control.text;
    }
    return nullptr;
}

std::string PageDescription(const PageAccessibility& page, PageLanguage language) {
    std::string description;
    for (PageText text : page.body) {
        if (!description.empty()) description += '\n';
        description += PageTextIn(text, language);
    }
    return description;
}
