#pragma once

// The built-in provider catalogue of the ISP page: 37 countries, each with its ordered list of
// Internet service providers, and for each provider the ATM settings the page fills in when it
// is chosen. Fixed program data held in constant tables; nothing is read from files.
//
// Countries and providers are identified by their position in the page's lists. Country 0 is
// "Other": its provider list is the single entry "Other" and it has no preset.

// The four values a provider fills in: VPI and VCI as the texts put into the edits, the protocol
// list entry (0..4) and the encapsulation list entry (0..1 of the list built for that protocol).
struct IspPreset {
    const char* vpi;
    const char* vci;
    int protocolEntry;
    int encapEntry;
};

class IspPresetCatalogue {
public:
    static constexpr int kCountryCount = 38;  // entry 0 is "Other"

    static int CountryCount();
    // The country list text at this position; nullptr when out of range.
    static const char* CountryName(int country);
    // The number of entries in the provider list of the country ("Other" has the single entry
    // "Other"); 0 when the country is out of range.
    static int ProviderCount(int country);
    // nullptr when the country or provider is out of range.
    static const char* ProviderName(int country, int provider);
    // The preset of a provider; false for country 0 ("Other", which has no preset) or out of range,
    // and *out is then left alone.
    static bool Preset(int country, int provider, IspPreset* out);
    // Providers of all real countries together ("Other" not counted).
    static int TotalProviderCount();
};

// The protocol list of the ISP page, entries 0..4, and the WAN protocol code each one stands for:
// 0 PPPoE, 1 PPPoA, 2 MER, 3 bridging, 5 IPoA. No entry gives code 4.
constexpr int kProtocolEntryCount = 5;
// The encapsulation list always has two entries; their texts depend on the protocol.
constexpr int kEncapsulationEntryCount = 2;

// The list text of a protocol entry; nullptr when out of range.
const char* ProtocolText(int entry);
// 5 for entry 4, otherwise the entry itself (so a list without a selection, -1, gives -1).
int ProtocolCodeForEntry(int entry);
// The protocol entry that gives this code; -1 for a code no entry gives (4, 6, ...).
int ProtocolEntryForCode(int code);
// The text of an encapsulation entry in the list built for a protocol entry; nullptr when either
// index is out of range.
const char* EncapsulationText(int protocolEntry, int encapEntry);
