#pragma once

#include <string>

#include "core/protocol/RequestValue.h"

// The checks of the three account pages as plain functions over what was entered. Each returns
// the first entry that cannot be accepted, in the order the page checks them, or nothing. The
// pages store a section once its checks have passed, so a section before a refused one stays
// stored: each page's checks come in those sections as well as whole.

// Control ids of the ISP page's template.
struct IspForm {
    static constexpr int kIdProtocol = 1019;
    static constexpr int kIdEncapsulation = 1020;
    static constexpr int kIdVpi = 1021;
    static constexpr int kIdVci = 1022;
    static constexpr int kIdCountry = 1023;
    static constexpr int kIdIsp = 1024;

    static constexpr long kMaxVpi = 255;
    static constexpr long kMinVci = 32;
    static constexpr long kMaxVci = 65535;
};

// The two edits hold digits only. Empty checks VCI first, ranges check VPI first.
struct IspEntries {
    std::string vpi, vci;
};
FormCheck CheckIsp(const IspEntries& entries);

// Control ids of the WAN IP page's template.
struct WanIpForm {
    static constexpr int kIdIpAuto = 1029;
    static constexpr int kIdIpFixed = 1030;
    static constexpr int kIdGatewayAuto = 1031;
    static constexpr int kIdGatewayFixed = 1032;
    static constexpr int kIdDnsAuto = 1033;
    static constexpr int kIdDnsFixed = 1034;
    static constexpr int kIdIpAddress = 1040;
    static constexpr int kIdSubnetMask = 1041;
    static constexpr int kIdGateway = 1036;
    static constexpr int kIdDnsPrimary = 1028;
    static constexpr int kIdDnsSecondary = 1035;
};

// Each section either automatic or typed; a blank address control reads "".
struct WanIpEntries {
    bool automaticAddress = true;  // only where the mode offers it (MER)
    std::string address, mask;
    bool automaticGateway = true;
    std::string gateway;
    bool automaticDns = true;
    std::string dnsPrimary, dnsSecondary;  // the secondary server is optional
};
FormCheck CheckWanAddressSection(const WanIpEntries& entries);
FormCheck CheckWanGatewaySection(const WanIpEntries& entries);
FormCheck CheckWanDnsSection(const WanIpEntries& entries);
FormCheck CheckWanIp(const WanIpEntries& entries);  // the three sections in order

// Control ids and byte limits of the PPP page's template. The limits are UTF-8 bytes of what
// the modem gets: a longer text is refused, never shortened.
struct PppForm {
    static constexpr int kIdUserName = 1026;
    static constexpr int kIdPassword = 1027;
    static constexpr int kIdServiceName = 1044;
    static constexpr int kIdServiceNameBox = 1059;
    static constexpr int kIdStaticIpBox = 1060;
    static constexpr int kIdStaticIp = 1076;

    static constexpr int kMaxUserNameBytes = 256;
    static constexpr int kMaxPasswordBytes = 32;
    static constexpr int kMaxServiceNameBytes = 32;
};

struct PppEntries {
    std::string userName, password;
    bool useServiceName = false;
    std::string serviceName;
    bool useStaticIp = false;
    std::string staticIp;  // a blank address control reads "0.0.0.0" here
};
// User name and password: stored in the record as soon as they pass.
FormCheck CheckPppAccount(const PppEntries& entries);
// The service name and the fixed address, each only when its box is ticked.
FormCheck CheckPppServiceName(const PppEntries& entries);
FormCheck CheckPppStaticIp(const PppEntries& entries);
FormCheck CheckPpp(const PppEntries& entries);
