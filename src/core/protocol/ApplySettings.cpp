#include "core/protocol/ApplySettings.h"

#include "core/protocol/Exchanges.h"
#include "core/protocol/WirelessRequests.h"
#include "core/session/TextBuffer.h"

namespace {

// The address pieces of MER and IPoA: each section either says "obtained automatically" or
// carries the fixed addresses. False when an address text cannot be carried.
bool AppendIpTail(std::string& out, const WanIpAccount& ip) {
    bool carried = true;
    if (ip.enblDhcpClnt) {
        out += "&enblDhcpClnt=1";
    } else {
        out += "&enblDhcpClnt=0";
        carried &= AppendPair(out, "wanIpAddress", TextOf(ip.wanIpAddress));
        carried &= AppendPair(out, "wanSubnetMask", TextOf(ip.wanSubnetMask));
    }
    if (ip.enblAuto) {
        out += "&enblAuto=1";
    } else {
        out += "&enblAuto=0";
        carried &= AppendPair(out, "defaultGateway", TextOf(ip.defaultGateway));
    }
    if (ip.dnsDynamic) {
        out += "&dnsDynamic=1";
    } else {
        out += "&dnsDynamic=0";
        carried &= AppendPair(out, "dnsPrimary", TextOf(ip.dnsPrimary));
        carried &= AppendPair(out, "dnsSecondary", TextOf(ip.dnsSecondary));
    }
    return carried;
}

std::optional<std::string> Refuse(RequestRefusal reason, RequestRefusal* why) {
    if (why != nullptr) *why = reason;
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FormatWanRequest(const WizardSession& s, int edit, RequestRefusal* why) {
    if (why != nullptr) *why = RequestRefusal::None;
    std::string out = "wancfg.wzd?method=set&edit=" + std::to_string(edit) +
                      "&ntwkPrtcl=" + std::to_string(s.ntwkPrtcl) +
                      "&encapMode=" + std::to_string(s.encapMode) +
                      "&atmVpi=" + std::to_string(s.atmVpi) + "&atmVci=" + std::to_string(s.atmVci);
    const PppAccount& ppp = s.account.ppp;
    bool carried = true;
    switch (s.ntwkPrtcl) {
        case kProtocolPppoe:
            carried &= AppendPair(out, "pppUserName", TextOf(ppp.pppUserName));
            carried &= AppendPair(out, "pppPassword", TextOf(ppp.pppPassword));
            carried &= AppendPair(out, "pppServerName", TextOf(ppp.pppServerName));
            if (ppp.useStaticIpAddress) {
                out += "&useStaticIpAddress=" +
                       std::to_string(static_cast<int>(ppp.useStaticIpAddress));
                carried &= AppendPair(out, "pppLocalIpAddress", TextOf(ppp.pppLocalIpAddress));
            }
            break;
        case kProtocolPppoa:
            // PPPoA never carries the service name or a fixed local address.
            carried &= AppendPair(out, "pppUserName", TextOf(ppp.pppUserName));
            carried &= AppendPair(out, "pppPassword", TextOf(ppp.pppPassword));
            break;
        case kProtocolMer:
        case kProtocolIpoa:
            carried = AppendIpTail(out, s.account.wanIp);
            break;
        case kProtocolBridging:
            break;
        default:
            return Refuse(RequestRefusal::UnknownForm, why);
    }
    if (!carried) return Refuse(RequestRefusal::UncarriableValue, why);
    return out;
}

int BuildAndSendSettings(const WizardSession& session, SessionFields& fields,
                         const ExchangeLimits& limits) {
    char address[sizeof fields.modemIpAddress + 1] = {};
    CopyText(address, TextOf(fields.modemIpAddress));

    RequestRefusal wanRefusal = RequestRefusal::None;
    RequestRefusal wirelessRefusal = RequestRefusal::None;
    std::optional<std::string> wan =
        FormatWanRequest(session, fields.wanConnectionCreated.load(), &wanRefusal);
    const std::optional<std::string> wireless =
        FormatWirelessWriteRequest(session, &wirelessRefusal);
    if (wanRefusal == RequestRefusal::UncarriableValue ||
        wirelessRefusal == RequestRefusal::UncarriableValue) {
        return kApplyUncarriableValue;
    }
    if (!wan) return kApplyUnsupportedProtocol;
    int r = SendDeviceRequest(address, *wan, limits);
    if (r != 0) return r;
    fields.wanConnectionCreated.store(1);

    if (!wireless) return kApplyWirelessFailed;
    return SendDeviceRequest(address, *wireless, limits) == 0 ? 0 : kApplyWirelessFailed;
}
