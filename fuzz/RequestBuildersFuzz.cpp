// The WAN request and the wireless write request for any record the pages could hand over. For
// any field contents a builder either refuses the record or writes a request whose pairs carry
// exactly the request's own keys, in order: a typed value can never forge or repeat a key. A
// record whose texts hold no "&" and no control byte is never refused.
//
// Input: NUL-separated pieces. Piece 0 holds the numbers "protocol encapMode vpi vci channel
// keyIndex edit flags" (flags: 1 fixed PPP address, 2 address by DHCP, 4 automatic gateway,
// 8 automatic DNS); then the security mode, the network name, four keys (the WPA key is the
// first) and five account texts (user name, password, service name, local address; or address,
// mask, gateway, first and second DNS server). A piece longer than its field fills it without a
// terminator, as a full field can be.

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzCheck.h"
#include "core/protocol/ApplySettings.h"
#include "core/protocol/WirelessRequests.h"
#include "core/session/TextBuffer.h"
#include "core/session/WizardSession.h"

namespace {

// The builders as this target calls them: the request, or nothing when the record is refused.
std::optional<std::string> BuildWan(const WizardSession& s, int edit) {
    return FormatWanRequest(s, edit);
}
std::optional<std::string> BuildWireless(const WizardSession& s) {
    return FormatWirelessWriteRequest(s);
}

// One pair a request must carry: its key and, for a typed text, the text.
struct Pair {
    std::string key;
    std::optional<std::string_view> typed;
};
using Pairs = std::vector<Pair>;

template <std::size_t N>
Pair Typed(const char* key, const char (&field)[N]) {
    return {key, TextOf(field)};
}

// The four key fields of the record's WEP form, or nothing when the security mode is not WEP.
struct WepKeys {
    char* key[4];
    std::size_t width;
};
std::optional<WepKeys> WepKeysOf(WizardSession& s) {
    const std::string_view mode = TextOf(s.wlAuthMode);
    if (mode == "WEP128") {
        Wep128Keys& k = s.keys.wep128;
        return WepKeys{{k.wlKey1, k.wlKey2, k.wlKey3, k.wlKey4}, sizeof k.wlKey1};
    }
    if (mode == "WEP64") {
        Wep64Keys& k = s.keys.wep64;
        return WepKeys{{k.wlKey1, k.wlKey2, k.wlKey3, k.wlKey4}, sizeof k.wlKey1};
    }
    return std::nullopt;
}

// The pairs of the WAN request, or nothing for a protocol it has no form for.
std::optional<Pairs> WanPairs(const WizardSession& s) {
    Pairs p = {{"method", {}},    {"edit", {}},   {"ntwkPrtcl", {}},
               {"encapMode", {}}, {"atmVpi", {}}, {"atmVci", {}}};
    const PppAccount& ppp = s.account.ppp;
    const WanIpAccount& ip = s.account.wanIp;
    switch (s.ntwkPrtcl) {
        case kProtocolPppoe:
        case kProtocolPppoa:
            p.push_back(Typed("pppUserName", ppp.pppUserName));
            p.push_back(Typed("pppPassword", ppp.pppPassword));
            if (s.ntwkPrtcl == kProtocolPppoa) return p;
            p.push_back(Typed("pppServerName", ppp.pppServerName));
            if (ppp.useStaticIpAddress) {
                p.push_back({"useStaticIpAddress", {}});
                p.push_back(Typed("pppLocalIpAddress", ppp.pppLocalIpAddress));
            }
            return p;
        case kProtocolMer:
        case kProtocolIpoa:
            p.push_back({"enblDhcpClnt", {}});
            if (!ip.enblDhcpClnt) {
                p.push_back(Typed("wanIpAddress", ip.wanIpAddress));
                p.push_back(Typed("wanSubnetMask", ip.wanSubnetMask));
            }
            p.push_back({"enblAuto", {}});
            if (!ip.enblAuto) p.push_back(Typed("defaultGateway", ip.defaultGateway));
            p.push_back({"dnsDynamic", {}});
            if (!ip.dnsDynamic) {
                p.push_back(Typed("dnsPrimary", ip.dnsPrimary));
                p.push_back(Typed("dnsSecondary", ip.dnsSecondary));
            }
            return p;
        case kProtocolBridging:
            return p;
        default:
            return std::nullopt;
    }
}

// The pairs of the wireless write request, or nothing for a security mode it has no form for.
std::optional<Pairs> WirelessPairs(WizardSession& s) {
    Pairs p = {{"method", {}}, Typed("wlSsid", s.wlSsid), {"wlChannel", {}}, {"wlAuthMode", {}}};
    const std::string_view mode = TextOf(s.wlAuthMode);
    if (mode == "open") return p;
    if (mode == "WPA") {
        p.push_back(Typed("wlWpaPsk", s.keys.wlWpaPsk));
        return p;
    }
    const std::optional<WepKeys> wep = WepKeysOf(s);
    if (!wep) return std::nullopt;
    p.push_back({"wlKeyBit", {}});
    p.push_back({"wlKeyIndex", {}});
    for (int i = 0; i < 4; ++i) {
        p.push_back({"wlKey" + std::to_string(i + 1),
                     std::string_view(wep->key[i], BoundedLength(wep->key[i], wep->width))});
    }
    return p;
}

bool Clean(std::string_view typed) {
    for (char ch : typed) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '&' || c < 0x20 || c == 0x7f) return false;
    }
    return true;
}

// The keys of "prefix?key=value&key=value...": every piece between two "&" counts, empty or
// not, and a key ends at the piece's first "=".
std::optional<std::vector<std::string>> KeysOf(const std::string& request,
                                               std::string_view prefix) {
    if (!request.starts_with(prefix) || request.size() == prefix.size() ||
        request[prefix.size()] != '?') {
        return std::nullopt;
    }
    std::vector<std::string> keys;
    std::size_t start = prefix.size() + 1;
    for (;;) {
        const std::size_t end = request.find('&', start);
        const std::string piece =
            request.substr(start, end == std::string::npos ? end : end - start);
        keys.push_back(piece.substr(0, piece.find('=')));
        if (end == std::string::npos) return keys;
        start = end + 1;
    }
}

void CheckRequest(const std::optional<std::string>& request, const std::optional<Pairs>& pairs,
                  std::string_view prefix) {
    if (!pairs) {
        FUZZ_CHECK(!request);
        return;
    }
    bool clean = true;
    for (const Pair& p : *pairs) clean = clean && (!p.typed || Clean(*p.typed));
    if (!request) {
        FUZZ_CHECK(!clean);
        return;
    }
    std::optional<std::vector<std::string>> keys = KeysOf(*request, prefix);
    FUZZ_CHECK(keys.has_value());
    FUZZ_CHECK(keys->size() == pairs->size());
    for (std::size_t i = 0; i < keys->size(); ++i) FUZZ_CHECK((*keys)[i] == (*pairs)[i].key);
}

void Fill(char* field, std::size_t width, const std::string& piece) {
    std::memcpy(field, piece.data(), piece.size() < width ? piece.size() : width);
}

template <std::size_t N>
void Fill(char (&field)[N], const std::string& piece) {
    Fill(field, N, piece);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> piece = PiecesAtNul(data, size);
    piece.resize(12);

    unsigned long long number[8] = {};
    const char* p = piece[0].c_str();
    for (unsigned long long& n : number) {
        char* end = nullptr;
        n = std::strtoull(p, &end, 10);
        p = end;
    }
    WizardSession s;
    std::memset(&s, 0, sizeof s);
    s.ntwkPrtcl = static_cast<std::uint32_t>(number[0]);
    s.encapMode = static_cast<std::uint32_t>(number[1]);
    s.atmVpi = static_cast<std::uint32_t>(number[2]);
    s.atmVci = static_cast<std::uint32_t>(number[3]);
    s.wlChannel = static_cast<std::uint32_t>(number[4]);
    s.wlKeyIndex = static_cast<std::uint32_t>(number[5]);
    const int edit = static_cast<int>(number[6]);
    const unsigned long long flags = number[7];

    Fill(s.wlAuthMode, piece[1]);
    Fill(s.wlSsid, piece[2]);
    if (std::optional<WepKeys> wep = WepKeysOf(s)) {
        for (std::size_t i = 0; i < 4; ++i) Fill(wep->key[i], wep->width, piece[3 + i]);
    } else {
        Fill(s.keys.wlWpaPsk, piece[3]);
    }

    if (s.ntwkPrtcl == kProtocolMer || s.ntwkPrtcl == kProtocolIpoa) {
        WanIpAccount& ip = s.account.wanIp;
        Fill(ip.wanIpAddress, piece[7]);
        Fill(ip.wanSubnetMask, piece[8]);
        Fill(ip.defaultGateway, piece[9]);
        Fill(ip.dnsPrimary, piece[10]);
        Fill(ip.dnsSecondary, piece[11]);
        ip.enblDhcpClnt = (flags & 2) != 0;
        ip.enblAuto = (flags & 4) != 0;
        ip.dnsDynamic = (flags & 8) != 0;
    } else {
        PppAccount& ppp = s.account.ppp;
        Fill(ppp.pppUserName, piece[7]);
        Fill(ppp.pppPassword, piece[8]);
        Fill(ppp.pppServerName, piece[9]);
        Fill(ppp.pppLocalIpAddress, piece[10]);
        ppp.useStaticIpAddress = (flags & 1) != 0;
    }

    CheckRequest(BuildWan(s, edit), WanPairs(s), "wancfg.wzd");
    CheckRequest(BuildWireless(s), WirelessPairs(s), "wl.wzd");
    return 0;
}
