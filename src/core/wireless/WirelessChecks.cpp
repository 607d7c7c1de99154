#include "core/wireless/WirelessChecks.h"

namespace {

using F = WirelessForm;

int Bytes(const std::string& text) {
    return static_cast<int>(text.size());
}

FormCheck CheckWepKeys(const WirelessEntries& e) {
    const bool wide = e.mode == F::kModeWep128;
    const int length = wide ? F::kWep128KeyBytes : F::kWep64KeyBytes;
    const bool selected = e.keyPosition >= 0 && e.keyPosition < F::kKeyCount;
    const int current = selected ? e.keyPosition : 0;
    if (Bytes(e.wepKeys[current]) != length) {
        return FormFailure{wide ? FormMessage::Length13 : FormMessage::Length5,
                           selected ? F::kIdFirstKey + current : 0};
    }
    for (int i = -1; i < F::kKeyCount; ++i) {
        const int key = i < 0 ? current : i;
        const std::string& text = e.wepKeys[key];
        if (Bytes(text) == length && !IsCarriableValue(text)) {
            return FormFailure{FormMessage::BadValueType, F::kIdFirstKey + key};
        }
    }
    return {};
}

}  // namespace

FormCheck CheckWirelessName(const WirelessEntries& e) {
    if (e.ssid.empty()) return FormFailure{FormMessage::EmptyValue, F::kIdSsid};
    // Too long, or holding what the request cannot carry ("&", control bytes).
    if (Bytes(e.ssid) > F::kMaxSsidBytes || !IsCarriableValue(e.ssid)) {
        return FormFailure{FormMessage::BadValueType, F::kIdSsid};
    }
    return {};
}

FormCheck CheckWirelessKeys(const WirelessEntries& e) {
    switch (e.mode) {
        case F::kModeWep128:
        case F::kModeWep64:
            return CheckWepKeys(e);
        case F::kModeWpa:
            if (Bytes(e.wpaKey) < F::kMinWpaKeyBytes || Bytes(e.wpaKey) > F::kMaxWpaKeyBytes) {
                return FormFailure{FormMessage::Length8To63, F::kIdWpaKey};
            }
            if (!IsCarriableValue(e.wpaKey)) {
                return FormFailure{FormMessage::BadValueType, F::kIdWpaKey};
            }
            return {};
        default:
            return {};
    }
}

FormCheck CheckWireless(const WirelessEntries& e) {
    if (FormCheck f = CheckWirelessName(e)) return f;
    return CheckWirelessKeys(e);
}
