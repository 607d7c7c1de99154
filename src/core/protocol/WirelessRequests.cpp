#include "core/protocol/WirelessRequests.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/protocol/Exchanges.h"
#include "core/session/TextBuffer.h"

namespace {

bool AppendWepKeys(std::string& out, const char* k1, const char* k2, const char* k3, const char* k4,
                   std::size_t width) {
    const char* keys[] = {k1, k2, k3, k4};
    bool carried = true;
    for (int i = 0; i < 4; ++i) {
        carried &= AppendPair(out, "wlKey" + std::to_string(i + 1),
                              std::string_view(keys[i], BoundedLength(keys[i], width)));
    }
    return carried;
}

}  // namespace

std::optional<std::string> FormatWirelessWriteRequest(const WizardSession& s, RequestRefusal* why) {
    if (why != nullptr) *why = RequestRefusal::None;
    const std::string_view mode = TextOf(s.wlAuthMode);
    std::string out = "wl.wzd?method=set";
    bool carried = AppendPair(out, "wlSsid", TextOf(s.wlSsid));
    // The channel goes as a signed number: "no selection" (all bits set) is sent as -1.
    out += "&wlChannel=" + std::to_string(static_cast<std::int32_t>(s.wlChannel));
    const std::string keyIndex = std::to_string(static_cast<std::int32_t>(s.wlKeyIndex));
    if (mode == "open") {
        out += "&wlAuthMode=open";
    } else if (mode == "WEP128") {
        out += "&wlAuthMode=shared&wlKeyBit=0&wlKeyIndex=" + keyIndex;
        const Wep128Keys& k = s.keys.wep128;
        carried &= AppendWepKeys(out, k.wlKey1, k.wlKey2, k.wlKey3, k.wlKey4, sizeof k.wlKey1);
    } else if (mode == "WEP64") {
        out += "&wlAuthMode=shared&wlKeyBit=1&wlKeyIndex=" + keyIndex;
        const Wep64Keys& k = s.keys.wep64;
        carried &= AppendWepKeys(out, k.wlKey1, k.wlKey2, k.wlKey3, k.wlKey4, sizeof k.wlKey1);
    } else if (mode == "WPA") {
        out += "&wlAuthMode=psk2mix";
        carried &= AppendPair(out, "wlWpaPsk", TextOf(s.keys.wlWpaPsk));
    } else {
        if (why != nullptr) *why = RequestRefusal::UnknownForm;
        return std::nullopt;
    }
    if (!carried) {
        if (why != nullptr) *why = RequestRefusal::UncarriableValue;
        return std::nullopt;
    }
    return out;
}

void StoreWirelessValues(const char* valueList, SessionFields& f) {
    char* const targets[] = {f.wlSsidSaved, f.wlChannelSaved, f.wlAuthModeSaved, f.wlKey1Saved,
                             f.wlKey2Saved, f.wlKey3Saved,    f.wlKey4Saved,     f.wlKeyIndexSaved};
    std::string_view rest(valueList);
    int stored = 0;
    while (stored < 8) {
        std::size_t start = rest.find_first_not_of('&');
        if (start == std::string_view::npos) break;
        rest.remove_prefix(start);
        std::size_t end = rest.find('&');
        std::string_view piece = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
        const bool isKey = stored >= 3 && stored <= 6;
        // Kept as the modem sent it; four characters on a key field stand for an unset key.
        CopyText(targets[stored], kRememberedSize,
                 isKey && piece.size() == 4 ? piece.substr(0, 0) : piece);
        ++stored;
    }
}

unsigned ReadWirelessSettings(char* buffer, int bufferSize, SessionFields& fields, bool* exchanged,
                              const ExchangeLimits& limits) {
    char address[sizeof fields.modemIpAddress + 1] = {};
    CopyText(address, TextOf(fields.modemIpAddress));
    bool ok = false;
    int r = ExchangeWirelessRead(address, buffer, bufferSize, limits, &ok);
    if (exchanged) *exchanged = ok;
    if (!ok) return 1;
    StoreWirelessValues(buffer, fields);
    return static_cast<unsigned>(r);
}
