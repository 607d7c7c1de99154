#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

// The settings record that travels forward by value from the ISP page to the apply page.
// Field widths are fixed: the text fields are byte buffers holding NUL-terminated UTF-8, and
// every copy into them is bounded. The record is copied whole, never field by field.

// WAN protocol codes carried as ntwkPrtcl. There is no code 4.
enum WanProtocol : std::uint32_t {
    kProtocolPppoe = 0,
    kProtocolPppoa = 1,
    kProtocolMer = 2,  // "Dynamic/Static IP (Bridge)"
    kProtocolBridging = 3,
    kProtocolIpoa = 5,  // "Static IP (IPoA)"
};

// Account block, PPP layout (PPPoE and PPPoA).
struct PppAccount {
    char pppUserName[257];
    char pppPassword[33];
    char pppServerName[33];
    std::uint32_t useStaticIpAddress;  // 1 = use pppLocalIpAddress
    char pppLocalIpAddress[16];
};

// Account block, WAN IP layout (MER and IPoA). The flags are 1 when obtained automatically.
struct WanIpAccount {
    char wanIpAddress[16];
    char wanSubnetMask[16];
    char defaultGateway[16];
    char dnsPrimary[16];
    char dnsSecondary[16];
    std::uint32_t enblDhcpClnt;
    std::uint32_t enblAuto;
    std::uint32_t dnsDynamic;
};

// Bridging uses neither layout and leaves the block zero.
union AccountBlock {
    PppAccount ppp;
    WanIpAccount wanIp;
};

struct Wep128Keys {
    char wlKey1[14];
    char wlKey2[14];
    char wlKey3[14];
    char wlKey4[14];
};

struct Wep64Keys {
    char wlKey1[6];
    char wlKey2[6];
    char wlKey3[6];
    char wlKey4[6];
};

// Key block: 64 bytes, one storage for the three security forms.
union KeyBlock {
    char wlWpaPsk[64];
    Wep128Keys wep128;
    Wep64Keys wep64;
};

struct WizardSession {
    std::uint32_t ntwkPrtcl;
    std::uint32_t encapMode;
    std::uint32_t atmVpi;
    std::uint32_t atmVci;
    AccountBlock account;
    char wlAuthMode[256];  // "open", "WEP128", "WEP64" or "WPA"
    char wlSsid[260];
    std::uint32_t wlChannel;   // 0 = "Auto Select"; all bits set when nothing was selected
    std::uint32_t wlKeyIndex;  // 1..4
    KeyBlock keys;
};

static_assert(std::is_trivially_copyable_v<WizardSession>);
static_assert(std::is_standard_layout_v<WizardSession>);
static_assert(sizeof(PppAccount) == 344);
static_assert(offsetof(PppAccount, useStaticIpAddress) == 324);
static_assert(offsetof(PppAccount, pppLocalIpAddress) == 328);
static_assert(sizeof(WanIpAccount) == 92);
static_assert(offsetof(WanIpAccount, enblDhcpClnt) == 80);
static_assert(sizeof(AccountBlock) == 344);
static_assert(sizeof(KeyBlock) == 64);
static_assert(sizeof(Wep128Keys) == 56 && sizeof(Wep64Keys) == 24);
static_assert(offsetof(WizardSession, account) == 16);
static_assert(offsetof(WizardSession, wlAuthMode) == 360);
static_assert(offsetof(WizardSession, wlSsid) == 616);
static_assert(offsetof(WizardSession, wlChannel) == 876);
static_assert(offsetof(WizardSession, wlKeyIndex) == 880);
static_assert(offsetof(WizardSession, keys) == 884);
static_assert(sizeof(WizardSession) == 948);
