#include "resources/StringTable.h"

#include <array>

namespace {

struct Entry {
    int id;
    const char* text;
};

constexpr std::array kEntries{
    Entry{kStrTitle, "Orvane SetupPilot"},
    Entry{kStrNameTooLong, "Please input chars < 256."},
    Entry{42, "PPPoE"},
    Entry{43, "PPPoA"},
    Entry{44, "Dynamic/Static IP (Bridge)"},
    Entry{45, "Bridging"},
    Entry{46, "Static IP (IPoA)"},
    Entry{47, "LLC/SNAP-BRIDGING"},
    Entry{48, "VC/MUX"},
    Entry{49, "LLC/ENCAPSULATION"},
    Entry{50, "LLC/SNAP-ROUTING"},
    Entry{51, "none"},
    Entry{52, "WEP 128bit"},
    Entry{53, "WEP 64bit"},
    Entry{54, "WPA-PSK"},
    Entry{kStrModel, "HX4260RB"},
    Entry{kStrOtherCountry, "Other"},
    Entry{kStrOtherIsp, "Other"},
    Entry{171, "English"},
    Entry{172, "French"},
    Entry{173, "German"},
    Entry{174, "Italian"},
    Entry{175, "Spanish"},
};

}  // namespace

const char* LoadResString(int id) {
    for (const Entry& entry : kEntries) {
        if (entry.id == id) return entry.text;
    }
    return nullptr;
}
