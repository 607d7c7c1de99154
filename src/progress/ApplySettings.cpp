#include "progress/ApplySettings.h"

#include "device/Exchanges.h"
#include "device/PercentEncode.h"
#include "wireless/WirelessRequests.h"
#include "wizard/TextBuffer.h"

namespace {

void AppendPair(std::string& out, const char* key, std::string_view value) {
    out += '&';
    out += key;
    out += '=';
    AppendEncodedValue(out, value);
}

// The address pieces of MER and IPoA: each section either says "obtained automatically" or
// carries the fixed addresses.
void AppendIpTail(std::string& out, const WanIpAccount& ip) {
    if (ip.enblDhcpClnt) {
        out += "&enblDhcpClnt=1";
    } else {
        out += "&enblDhcpClnt=0";
        AppendPair(out, "wanIpAddress", TextOf(ip.wanIpAddress));
        AppendPair(out, "wanSubnetMask", TextOf(ip.wanSubnetMask));
    }
    if (ip.enblAuto) {
        out += "&enblAuto=1";
    } else {
        out += "&enblAuto=0";
        AppendPair(out, "defaultGateway", TextOf(ip.defaultGateway));
    }
    if (ip.dnsDynamic) {
        out += "&dnsDynamic=1";
    } else {
        out += "&dnsDynamic=0";
        AppendPair(out, "dnsPrimary", TextOf(ip.dnsPrimary));
        AppendPair(out, "dnsSecondary", TextOf(ip.dnsSecondary));
    }
}

}  // namespace

std::optional<std::string> FormatWanRequest(const WizardSession& s, int edit) {
    std::string out = "wancfg.wzd?method=set&edit=" + std::to_string(edit) +
                      "&ntwkPrtcl=" + std::to_string(s.ntwkPrtcl) +
                      "&encapMode=" + std::to_string(s.encapMode) +
                      "&atmVpi=" + std::to_string(s.atmVpi) + "&atmVci=" + std::to_string(s.atmVci);
    const PppAccount& ppp = s.account.ppp;
    switch (s.ntwkPrtcl) {
        case kProtocolPppoe:
            AppendPair(out, "pppUserName", TextOf(ppp.pppUserName));
            AppendPair(out, "pppPassword", TextOf(ppp.pppPassword));
            AppendPair(out, "pppServerName", TextOf(ppp.pppServerName));
            if (ppp.useStaticIpAddress) {
                out += "&useStaticIpAddress=" +
                       std::to_string(static_cast<int>(ppp.useStaticIpAddress));
                AppendPair(out, "pppLocalIpAddress", TextOf(ppp.pppLocalIpAddress));
            }
            return out;
        case kProtocolPppoa:
            // PPPoA never carries the service name or a fixed local address.
            AppendPair(out, "pppUserName", TextOf(ppp.pppUserName));
            AppendPair(out, "pppPassword", TextOf(ppp.pppPassword));
            return out;
        case kProtocolMer:
        case kProtocolIpoa:
            AppendIpTail(out, s.account.wanIp);
            return out;
        case kProtocolBridging:
            return out;
        default:
            return std::nullopt;
    }
}

int BuildAndSendSettings(const WizardSession& session, SessionFields& fields,
                         const ExchangeLimits& limits) {
    char address[sizeof fields.modemIpAddress + 1] = {};
    CopyText(address, TextOf(fields.modemIpAddress));

    std::optional<std::string> wan = FormatWanRequest(session, fields.wanConnectionCreated.load());
    if (!wan) return kApplyUnsupportedProtocol;
    int r = SendDeviceRequest(address, *wan, limits);
    if (r != 0) return r;
    fields.wanConnectionCreated.store(1);

    std::optional<std::string> wireless = FormatWirelessWriteRequest(session);
    if (!wireless) return kApplyWirelessFailed;
    return SendDeviceRequest(address, *wireless, limits) == 0 ? 0 : kApplyWirelessFailed;
}
