#pragma once

// Settings records as the pages hand them on, for the tests of the request texts, the exchanges
// and the apply. Each builder fills what its form sends, with texts that must travel as typed.
#include <cstdint>
#include <memory>

#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "core/session/WizardSession.h"

// A PPPoE or PPPoA account on 8/35 with encapsulation 1 and a fixed address that only goes when
// useStaticIpAddress is set.
inline WizardSession PppRecord(std::uint32_t protocol) {
    WizardSession s{};
    s.ntwkPrtcl = protocol;
    s.encapMode = 1;
    s.atmVpi = 8;
    s.atmVci = 35;
    CopyText(s.account.ppp.pppUserName, "user@isp");
    CopyText(s.account.ppp.pppPassword, "secret");
    CopyText(s.account.ppp.pppServerName, "svc");
    CopyText(s.account.ppp.pppLocalIpAddress, "10.1.2.3");
    return s;
}

// A MER or IPoA account on 0/35: each automatic choice on or off, with fixed addresses beside it.
inline WizardSession WanIpRecord(std::uint32_t protocol, bool dhcp, bool autoGateway,
                                 bool autoDns) {
    WizardSession s{};
    s.ntwkPrtcl = protocol;
    s.atmVci = 35;
    WanIpAccount& ip = s.account.wanIp;
    ip.enblDhcpClnt = dhcp;
    ip.enblAuto = autoGateway;
    ip.dnsDynamic = autoDns;
    CopyText(ip.wanIpAddress, "10.0.0.2");
    CopyText(ip.wanSubnetMask, "255.255.255.0");
    CopyText(ip.defaultGateway, "10.0.0.1");
    CopyText(ip.dnsPrimary, "10.0.0.53");
    CopyText(ip.dnsSecondary, "0.0.0.0");
    return s;
}

// The wireless part of a record: network "home" on channel 6, key number 3, in this mode.
inline WizardSession WirelessRecord(const char* mode, WizardSession s = {}) {
    CopyText(s.wlAuthMode, mode);
    CopyText(s.wlSsid, "home");
    s.wlChannel = 6;
    s.wlKeyIndex = 3;
    return s;
}

// A bridged connection on this ATM pair with an open network "home".
inline WizardSession BridgingRecord(std::uint32_t vpi, std::uint32_t vci) {
    WizardSession s{};
    s.ntwkPrtcl = kProtocolBridging;
    s.atmVpi = vpi;
    s.atmVci = vci;
    return WirelessRecord("open", s);
}

// The program's session as at its start: nothing remembered, no outcome, no messages loaded.
inline void FreshSession() {
    std::destroy_at(&Session());
    std::construct_at(&Session());
}
