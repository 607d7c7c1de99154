#pragma once

#include <array>
#include <string_view>

// The texts the pages show, in the five languages: drawn into the page bitmaps and button strips
// by the artwork tool at build time, and read by screen readers at run time as the pages' and
// controls' accessible names and descriptions. One table, so the two cannot drift apart.

// The five languages, in the order of the home page's language list.
enum class PageLanguage { English, French, German, Italian, Spanish };

inline constexpr std::array kAllPageLanguages{PageLanguage::English, PageLanguage::French,
                                              PageLanguage::German, PageLanguage::Italian,
                                              PageLanguage::Spanish};

// The language's folder name under res/ ("French"), as the session's language folder ends.
constexpr const char* LanguageFolderName(PageLanguage language) {
    switch (language) {
        case PageLanguage::English:
            return "English";
        case PageLanguage::French:
            return "French";
        case PageLanguage::German:
            return "German";
        case PageLanguage::Italian:
            return "Italian";
        case PageLanguage::Spanish:
            return "Spanish";
    }
    return "English";
}

// The language whose folder a path names by its last part ("res/German" or "German"); English
// for any other folder, as the pages fall back to it.
PageLanguage LanguageOfFolder(std::string_view folder);

enum class PageText {
    ModelLine,
    StageConnect,
    StageInternet,
    StageWireless,
    StageFinish,

    ButtonExit,
    ButtonBack,
    ButtonNext,
    ButtonClose,
    ButtonStart,
    ButtonManual,
    ButtonGuide,
    ButtonAcrobat,
    ButtonSupport,
    ButtonFinish,

    HomeTitle,
    HomeIntro,
    HomeChecklist,
    HomeBulletModem,
    HomeBulletAccount,
    HomeBulletTime,
    HomeDocuments,
    HomeStartHint,

    CablesTitle,
    CablesIntro,
    CablesDsl,
    CablesLan,
    CablesNext,
    FigureWallSocket,
    FigureModem,
    FigureComputer,

    PowerTitle,
    PowerAdapter,
    PowerSwitch,
    PowerWait,
    PowerLights,
    PowerNext,

    PcTitle,
    PcIntro,
    PcDhcp,
    PcDns,
    PcNote,
    PcNext,

    DetectTitle,
    DetectBody,
    DetectHint,

    FoundTitle,
    FoundBody,
    FoundNext,

    IspTitle,
    IspIntro,
    IspProviderSection,
    IspConnectionSection,
    IspCountry,
    IspProvider,
    IspProtocol,
    IspEncapsulation,
    IspVpi,
    IspVci,
    IspHint,

    PppoeTitle,
    PppoaTitle,
    PppIntro,
    PppUserName,
    PppPassword,
    PppServiceName,
    PppStaticIp,
    PppoeHint,
    PppoaHint,
    PppWhereTitle,
    PppWhereBody,
    PppCaseNote,

    WanTitle,
    WanIntro,
    WanIpAuto,
    WanIpFixed,
    WanGatewayAuto,
    WanGatewayFixed,
    WanDnsAuto,
    WanDnsFixed,
    WanIpAddress,
    WanSubnetMask,
    WanGateway,
    WanDnsPrimary,
    WanDnsSecondary,

    WirelessTitle,
    WirelessIntro,
    WirelessSsid,
    WirelessChannel,
    WirelessAuthentication,
    WirelessSsidHint,
    WirelessChannelHint,
    WirelessNote,

    ApplyTitle,
    ApplyBody,
    ApplyHint,

    TestTitle,
    TestBody,
    TestHint,

    FinishTitle,
    FinishBody,
    FinishWireless,
    FinishNext,

    // Read by screen readers only: names of controls the artwork does not label.
    LanguageList,
    WirelessCurrentKey,
    WirelessPresharedKey,
    WirelessKey1,
    WirelessKey2,
    WirelessKey3,
    WirelessKey4,
    WirelessCreateKey,

    // Each language's name in itself, the same in every column.
    EndonymEnglish,
    EndonymFrench,
    EndonymGerman,
    EndonymItalian,
    EndonymSpanish,

    Count
};

// The text in the language, UTF-8, with typographic apostrophes; never empty.
std::string_view PageTextIn(PageText text, PageLanguage language);

// The language's name in itself ("Français"), as its language button shows it.
std::string_view LanguageEndonym(PageLanguage language);
