#pragma once

#include <QString>

#include "Language.h"

// Every text the page bitmaps and button strips show, in the five languages.
enum class Text {
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

    Count
};

QString Tr(Text text, Language language);
