#pragma once

#include <atomic>

// Process-wide state shared by every page and worker for the whole run: language, what
// detection found, the outcomes of apply and test, the remembered entries of each page and the
// message texts of the current language. Nothing here is ever reset by the wizard itself.
//
// Workers write the atomic flags and the texts they own (dhcpServerList, modemIpAddress) before
// they end; the UI thread reads those texts only after it has seen the worker's exit code, whose
// atomic store orders them.

constexpr int kMaxDhcpServers = 260;
constexpr int kRememberedSize = 260;

struct SessionFields {
    int languageIndex = 0;  // 0 English, 1 French, 2 German, 3 Italian, 4 Spanish
    char languageFolder[32] = "res/English";

    char dhcpServerList[kMaxDhcpServers][16] = {};
    int dhcpServerCount = 0;
    std::atomic<int> modemFound{0};
    char modemIpAddress[16] = {};
    std::atomic<int> internetConnected{0};
    int wanTestTimeout = 100;
    std::atomic<int> applyFinished{0};
    std::atomic<int> wanConnectionCreated{0};

    // Remembered entries: what the user left on each page, put back when the page is built again.
    char ntwkPrtclSaved[kRememberedSize] = {};
    char encapModeSaved[kRememberedSize] = {};
    char atmVpiSaved[kRememberedSize] = {};
    char atmVciSaved[kRememberedSize] = {};

    char enblDhcpClntSaved[kRememberedSize] = {};
    char enblAutoSaved[kRememberedSize] = {};
    char dnsDynamicSaved[kRememberedSize] = {};
    char wanIpAddressSaved[kRememberedSize] = {};
    char wanSubnetMaskSaved[kRememberedSize] = {};
    char defaultGatewaySaved[kRememberedSize] = {};
    char dnsPrimarySaved[kRememberedSize] = {};
    char dnsSecondarySaved[kRememberedSize] = {};

    char pppUserNameSaved[kRememberedSize] = {};
    char pppPasswordSaved[kRememberedSize] = {};
    char pppServerNameSaved[kRememberedSize] = {};
    // The two boxes of the PPP page ("1" ticked) and its fixed address: a page built again, after
    // a failed Internet test for example, puts them back so the next request carries them again.
    char useServiceNameSaved[kRememberedSize] = {};
    char useStaticIpAddressSaved[kRememberedSize] = {};
    char pppLocalIpAddressSaved[kRememberedSize] = {};

    char wlSsidSaved[kRememberedSize] = {};
    char wlChannelSaved[kRememberedSize] = {};
    char wlAuthModeSaved[kRememberedSize] = {};
    char wlKey1Saved[kRememberedSize] = {};
    char wlKey2Saved[kRememberedSize] = {};
    char wlKey3Saved[kRememberedSize] = {};
    char wlKey4Saved[kRememberedSize] = {};
    char wlKeyIndexSaved[kRememberedSize] = {};

    // Message texts of the language current at the last Start (empty before the first one).
    char msgModemNotDetected[512] = {};
    char msgUnknownError[128] = {};
    char msgEmptyValue[128] = {};
    char msgNumber0To255[128] = {};
    char msgNumber32To65535[128] = {};
    char msgWriteFailed[128] = {};
    char msgBadValueType[128] = {};
    char msgPppPasswordMismatch[256] = {};
    char msgDhcpFailed[256] = {};
    char msgDslFailed[256] = {};
    char msgInternetFailed[256] = {};
    char msgLength13[256] = {};
    char msgLength5[256] = {};
    char msgLength8To63[256] = {};
};

// The one instance of the running program.
SessionFields& Session();
