#pragma once

#include <array>
#include <string>

#include "core/protocol/RequestValue.h"

// Control ids, list positions and byte limits of the wireless page's template.
struct WirelessForm {
    static constexpr int kIdChannelList = 1048;
    static constexpr int kIdKeyList = 1049;
    static constexpr int kIdSsid = 1050;
    static constexpr int kIdFirstKey = 1051;  // 1051..1054: WEP keys 1 to 4
    static constexpr int kIdWpaKey = 1055;
    static constexpr int kIdAuthList = 1060;
    static constexpr int kIdWpaKeyLabel = 1063;
    static constexpr int kIdFirstKeyLabel = 1064;  // 1064..1067: "Network Key 1" to "Network Key 4"
    static constexpr int kIdCurrentKeyLabel = 1069;
    static constexpr int kIdFirstCreateKey = 1070;  // 1070..1073: Create Key for keys 1 to 4
    static constexpr int kIdCreateWpaKey = 1074;
    static constexpr int kKeyCount = 4;

    // Positions of the authentication list.
    enum AuthMode : int { kModeOpen = 0, kModeWep128 = 1, kModeWep64 = 2, kModeWpa = 3 };

    // Byte limits of the UTF-8 texts that reach the modem.
    static constexpr int kMaxSsidBytes = 32;
    static constexpr int kWep128KeyBytes = 13;
    static constexpr int kWep64KeyBytes = 5;
    static constexpr int kMinWpaKeyBytes = 8;
    static constexpr int kMaxWpaKeyBytes = 63;
};

struct WirelessEntries {
    int mode = WirelessForm::kModeOpen;  // position of the authentication list
    std::string ssid;
    int keyPosition = 0;  // position of the key list; -1 when nothing is selected
    std::array<std::string, WirelessForm::kKeyCount> wepKeys;
    std::string wpaKey;
};

// The network name: stored as soon as it passes, before the keys are checked.
FormCheck CheckWirelessName(const WirelessEntries& entries);
// The keys of the mode. WEP: the current key (key 1 when none is selected) must have the mode's
// length; the other keys of another length are emptied, not sent, and every key that would be
// sent must be carriable, the current one first. Without a selection the length failure focuses
// nothing. WPA: 8 to 63 bytes, carriable.
FormCheck CheckWirelessKeys(const WirelessEntries& entries);
FormCheck CheckWireless(const WirelessEntries& entries);
