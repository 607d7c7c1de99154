#include "core/account/IspPresetCatalogue.h"

#include <cstddef>

namespace {

struct Provider {
    const char* name;
    IspPreset preset;
};

struct Country {
    const char* name;
    const Provider* providers;
    int providerCount;
};

template <std::size_t N>
constexpr Country MakeCountry(const char* name, const Provider (&providers)[N]) {
    return {name, providers, static_cast<int>(N)};
}

constexpr const char* kOther = "Other";

// The providers of each country in list order. A country whose providers all share one preset
// names it once.

// Australia: one preset for every provider.
constexpr IspPreset kAustraliaAll{"8", "35", 0, 0};
constexpr Provider kAustralia[] = {
    {"AAPT", kAustraliaAll},
    {"Dodo Internet", kAustraliaAll},
    {"Internode", kAustraliaAll},
    {"iinet", kAustraliaAll},
    {"iPrimus", kAustraliaAll},
    {"Netspace", kAustraliaAll},
    {"Optus", kAustraliaAll},
    {"OzEmail", kAustraliaAll},
    {"Pacific Internet", kAustraliaAll},
    {"TelPacific", kAustraliaAll},
    {"Telstra BigPond", kAustraliaAll},
    {"TPG", kAustraliaAll},
};

constexpr Provider kBelarus[] = {
    {"BN", {"0", "35", 3, 0}},
    {"MGTS", {"0", "33", 0, 0}},
    {"SOLO", {"0", "33", 3, 0}},
    {"Anitex", {"0", "33", 0, 0}},
    {"Atlant-telecom", {"0", "33", 0, 0}},
};

constexpr Provider kBrasil[] = {
    {"Brasil Telecom Turbo", {"0", "35", 0, 0}},
    {"Brasil Telecom Turbo (RS)", {"1", "32", 0, 0}},
    {"Brasil Telecom Turbo Empresas", {"0", "35", 1, 0}},
    {"Brasil Telecom Turbo Empresas (RS)", {"1", "32", 1, 0}},
    {"CTBC NetSuper", {"0", "35", 0, 0}},
    {"CTBC NetSuper - PPPoA", {"0", "35", 1, 1}},
    {"GVT TurboNet", {"0", "35", 0, 0}},
    {"Telefonica Speedy", {"8", "35", 0, 0}},
    {"Telefonica Speedy Empresas", {"8", "35", 4, 0}},
    {"Telemar Velox", {"0", "33", 0, 0}},
    {"Sercomtel Supervia (PPPoE)", {"8", "35", 0, 0}},
    {"Sercomtel Supervia (MER)", {"8", "35", 2, 0}},
};

constexpr Provider kBahrain[] = {
    {"BATELCO", {"8", "35", 1, 0}},
};

constexpr Provider kCanada[] = {
    {"Look Communications (I.D. Internet Direct)", {"0", "35", 0, 0}},
    {"iPrimus Canada (west)", {"0", "33", 2, 0}},
    {"iPrimus Canada (east)", {"0", "35", 0, 0}},
    {"Telus Quebec", {"8", "35", 0, 0}},
    {"Unitz", {"0", "35", 0, 0}},
    {"3WEB (West) (Cybersurf)", {"0", "33", 2, 0}},
    {"3WEB (East) (Cybersurf)", {"0", "35", 0, 0}},
    {"MTS (Internet Service Division) - Primus", {"0", "35", 0, 0}},
    {"Trytel internet Inc.", {"0", "35", 0, 0}},
    {"Bell Sympatico", {"0", "35", 0, 0}},
    {"Telus West", {"0", "33", 2, 0}},
    {"IGS (Cybersurf)", {"0", "35", 0, 0}},
    {"LightSpeed Communications", {"0", "33", 2, 0}},
    {"TekSavvy Solutions", {"0", "35", 0, 0}},
    {"Nucleus Inc (Partner Telus)", {"0", "33", 2, 0}},
};

constexpr Provider kCyprus[] = {
    {"CYTA", {"8", "35", 1, 0}},
};

constexpr Provider kChile[] = {
    {"Telefonica Chile (Bridge)", {"8", "32", 3, 0}},
    {"Telefonica Chile (PPPoE)", {"8", "34", 0, 0}},
};

constexpr Provider kColombia[] = {
    {"Emcali (PPPoA)", {"2", "35", 1, 0}},
    {"Emcali (PPPoE)", {"2", "35", 0, 0}},
};

constexpr Provider kEgypt[] = {
    {"TeData (PPPoA)", {"0", "35", 1, 0}},       {"TeData (IPoA)", {"0", "35", 4, 0}},
    {"EGYNET (PPPoA)", {"8", "35", 1, 0}},       {"EGYNET (IPoA)", {"8", "35", 4, 0}},
    {"Raya Telecom (PPPoA)", {"8", "80", 1, 0}}, {"Raya Telecom (IPoA)", {"8", "80", 4, 0}},
    {"link dot Net (PPPoA)", {"0", "35", 1, 0}}, {"link dot Net (IPoA)", {"0", "35", 4, 0}},
    {"Nile On Line", {"0", "35", 0, 0}},
};

constexpr Provider kIran[] = {
    {"Pars-Online", {"0", "35", 3, 0}},
};

constexpr Provider kIsrael[] = {
    {"Bezeq", {"8", "48", 0, 0}},
};

constexpr Provider kIndia[] = {
    {"BSNL", {"0", "35", 0, 0}},
    {"MTNL (PPPoE)", {"0", "32", 0, 0}},
    {"MTNL (Bridge)", {"0", "33", 3, 0}},
    {"VSNL (Bridge)", {"8", "35", 3, 0}},
    {"VSNL (PPPoE)", {"8", "35", 0, 0}},
    {"Airtel (PPPoE)", {"1", "32", 0, 0}},
    {"Airtel (Bridge)", {"1", "32", 3, 0}},
};

constexpr Provider kIndonesia[] = {
    {"PT Telkom DIVRE 1 (Sumatra)", {"8", "81", 0, 0}},
    {"PT Telkom DIVRE 2 (Jakarta) Alcatel", {"8", "35", 1, 1}},
    {"PT Telkom DIVRE 2 (Jakarta) Siemens", {"1", "33", 1, 0}},
    {"PT Telkom DIVRE 2 (Jakarta) Huawei", {"0", "35", 0, 0}},
    {"PT Telkom DIVRE 3 (West Java)", {"8", "81", 1, 1}},
    {"PT Telkom DIVRE 4 (Central Java)", {"8", "81", 0, 0}},
    {"PT Telkom DIVRE 5 (East Java) Ericsson", {"0", "35", 0, 0}},
    {"PT Telkom DIVRE 5 (East Java) Huawei", {"0", "35", 0, 0}},
    {"PT Telkom DIVRE 6 (Kalimantan)", {"0", "35", 0, 0}},
    {"PT Telkom DIVRE 7 (East Indonesia)", {"0", "35", 0, 0}},
};

constexpr Provider kJapan[] = {
    {"ACCA", {"0", "35", 1, 1}},
    {"FLET's ADSL (NTT)", {"0", "32", 0, 0}},
    {"eAccess", {"0", "32", 0, 0}},
    {"eAccess (PPPoA)", {"0", "32", 1, 0}},
    {"ODN (J-DSL Personal)", {"0", "32", 1, 0}},
    {"ODN (J-DSL Business)", {"0", "33", 1, 0}},
    {"Yahoo!BB (SoftBankBB)", {"0", "35", 2, 0}},
    {"OCN", {"0", "35", 0, 0}},
    {"RMC", {"0", "35", 2, 0}},
    {"DION (KDDI)", {"0", "35", 1, 1}},
    {"CTnet", {"0", "32", 1, 1}},
    {"HTnet", {"0", "32", 1, 1}},
    {"Nagoya", {"0", "32", 0, 0}},
    {"T-com", {"0", "32", 1, 0}},
    {"KCN", {"0", "32", 1, 0}},
};

constexpr Provider kJordan[] = {
    {"Wanadoo", {"8", "35", 0, 0}},
};

constexpr Provider kKorea[] = {
    {"KT(Korea Telecom) PPPoE", {"0", "32", 0, 0}},
    {"KT(Korea Telecom) PPPoA", {"0", "32", 1, 1}},
    {"Hanaro Telecom (PPPoE)", {"0", "67", 0, 0}},
    {"Hanaro Telecom (PPPoA-LLC)", {"0", "67", 1, 1}},
    {"Hanaro Telecom (PPPoA-VCMUX)", {"0", "67", 1, 0}},
};

constexpr Provider kKazakhstan[] = {
    {"Kazakhtelecom (MegaLine)", {"0", "40", 0, 0}},
};

constexpr Provider kKuwait[] = {
    {"QualityNet", {"8", "35", 1, 1}},
};

constexpr Provider kLithuania[] = {
    {"Lietuvos Telekomas", {"8", "35", 0, 0}},
};

// Moroco: one preset for every provider.
constexpr IspPreset kMorocoAll{"8", "35", 1, 0};
constexpr Provider kMoroco[] = {
    {"MAROC Connect", kMorocoAll},
    {"MAROC Telecom", kMorocoAll},
};

constexpr Provider kMalaysia[] = {
    {"Streamyx (Telecom Malaysia - TMNet) PPPoE", {"0", "35", 0, 0}},
    {"Streamyx (Telecom Malaysia - TMNet) PPPoA", {"0", "35", 1, 1}},
    {"Maxis", {"0", "35", 1, 1}},
};

// New Zealand: one preset for every provider.
constexpr IspPreset kNewZealandAll{"0", "100", 1, 0};
constexpr Provider kNewZealand[] = {
    {"Telecom Xtra", kNewZealandAll},
    {"IHUG", kNewZealandAll},
};

constexpr Provider kOman[] = {
    {"Oman Tel", {"0", "35", 0, 0}},
};

constexpr Provider kPakistan[] = {
    {"PAKNet", {"0", "35", 0, 0}},    {"CyberNet", {"0", "35", 0, 0}},
    {"GerrysNet", {"0", "35", 0, 0}}, {"Dancom", {"8", "35", 0, 0}},
    {"WolNet", {"0", "35", 0, 0}},    {"MultiNet", {"0", "35", 0, 0}},
    {"Micronet", {"0", "35", 0, 0}},
};

constexpr Provider kPalestine[] = {
    {"PalTel/Hadara", {"8", "35", 0, 0}},
};

constexpr Provider kPeru[] = {
    {"Telefonica Peru", {"8", "60", 0, 0}},
};

constexpr Provider kPhilippines[] = {
    {"PLDT (Manila)", {"0", "100", 0, 0}},
    {"PLDT (Provincial)", {"0", "35", 0, 0}},
    {"Globe", {"0", "35", 1, 0}},
};

constexpr Provider kQatar[] = {
    {"QTEL", {"8", "35", 1, 0}},
};

constexpr Provider kRussia[] = {
    {"Stream", {"1", "50", 0, 0}},
    {"Infoline", {"2", "32", 0, 0}},
    {"WebPlus", {"1", "32", 2, 0}},
    {"VoronezhSvyazInform", {"10", "40", 2, 0}},
    {"InformSvyaaz-Chernozemie", {"0", "33", 0, 0}},
    {"Kominkom-Voronezh", {"0", "33", 0, 0}},
    {"Intercon", {"0", "33", 0, 0}},
    {"VolgaTelecom (Nijniy Novgorod)", {"0", "33", 0, 0}},
    {"VostokTelecom", {"0", "35", 3, 0}},
    {"DalSvyaz", {"0", "35", 3, 0}},
    {"Bashinformsvyaz UGTS", {"8", "35", 0, 0}},
    {"UTK:Krasnodar", {"0", "35", 0, 0}},
    {"UTK:Adygeya", {"0", "35", 0, 0}},
    {"UTK:Astrakhan", {"0", "35", 0, 0}},
    {"UTK:Volgograd", {"8", "35", 0, 0}},
    {"UTK:Kabardino-Balkariya", {"0", "67", 0, 0}},
    {"UTK:Karachaevo-Cherkesiya", {"0", "35", 0, 0}},
    {"UTK:Sev.Osetiya, Alayniya", {"0", "35", 0, 0}},
    {"UTK:Stavropol", {"8", "35", 1, 1}},
    {"AAA-internet (Rostov)", {"0", "33", 0, 0}},
    {"AgentstvoDelovoySvyazi", {"8", "35", 2, 0}},
    {"VolgaTelecom (Samara)", {"1", "100", 0, 0}},
    {"NIS (NN inform networks)", {"8", "35", 3, 0}},
    {"Sandy", {"0", "33", 3, 0}},
    {"VeresADSL", {"10", "40", 0, 0}},
    {"UralSvyazInform", {"8", "35", 0, 0}},
    {"Delovaya Set - Irkutsk", {"0", "35", 3, 0}},
    {"Sibirtelecom Irkutskaya oblast", {"0", "100", 0, 0}},
    {"Megapolis-Telecom", {"8", "35", 0, 0}},
};

constexpr Provider kSouthAfrica[] = {
    {"Telkom SA", {"8", "35", 0, 0}},
};

constexpr Provider kSaudiArabia[] = {
    {"Saudi Telecom", {"0", "35", 0, 0}},
};

constexpr Provider kSyria[] = {
    {"Syrian Telecom-1", {"0", "33", 0, 0}},
    {"Syrian Telecom-2", {"0", "35", 1, 1}},
};

constexpr Provider kSingapore[] = {
    {"Singnet Broad Band (PPPoE)", {"0", "100", 0, 0}},
    {"Singnet Broad Band (PPPoA- LLC)", {"0", "100", 1, 1}},
    {"Singnet Broad Band (PPPoA- VCMUX)", {"0", "100", 1, 0}},
    {"Pacific Internet Broad Band (PPPoE)", {"0", "100", 0, 0}},
    {"Pacific Internet Broad Band (PPPoA-LLC)", {"0", "100", 1, 1}},
    {"Pacific Internet Broad Band (PPPoA-VCMUX)", {"0", "100", 1, 0}},
};

constexpr Provider kTurkey[] = {
    {"TTNET (PPPoE)", {"8", "35", 0, 0}},
    {"TTNET (PPPoA)", {"8", "35", 1, 0}},
};

constexpr Provider kThailand[] = {
    {"TRUE (Nokia)", {"0", "100", 1, 0}}, {"TRUE (Huawei)", {"0", "100", 0, 0}},
    {"UCOM", {"0", "100", 0, 0}},         {"Samart", {"0", "35", 0, 0}},
    {"Qnet", {"0", "40", 0, 0}},          {"TT&T (Normal)", {"0", "33", 0, 0}},
    {"TT&T (Hinet)", {"0", "66", 0, 0}},  {"ADC", {"0", "35", 0, 0}},
    {"TOT", {"1", "32", 0, 0}},
};

constexpr Provider kUkraine[] = {
    {"Matrix", {"0", "33", 3, 0}},
    {"Inter-Telecom", {"8", "35", 0, 0}},
};

constexpr Provider kUAE[] = {
    {"ETISALAT", {"0", "50", 1, 1}},
};

constexpr Country kCountries[] = {
    MakeCountry("Australia", kAustralia),
    MakeCountry("Belarus", kBelarus),
    MakeCountry("Brasil", kBrasil),
    MakeCountry("Bahrain", kBahrain),
    MakeCountry("Canada", kCanada),
    MakeCountry("Cyprus", kCyprus),
    MakeCountry("Chile", kChile),
    MakeCountry("Colombia", kColombia),
    MakeCountry("Egypt", kEgypt),
    MakeCountry("Iran", kIran),
    MakeCountry("Israel", kIsrael),
    MakeCountry("India", kIndia),
    MakeCountry("Indonesia", kIndonesia),
    MakeCountry("Japan", kJapan),
    MakeCountry("Jordan", kJordan),
    MakeCountry("Korea", kKorea),
    MakeCountry("Kazakhstan", kKazakhstan),
    MakeCountry("Kuwait", kKuwait),
    MakeCountry("Lithuania", kLithuania),
    MakeCountry("Moroco", kMoroco),
    MakeCountry("Malaysia", kMalaysia),
    MakeCountry("New Zealand", kNewZealand),
    MakeCountry("Oman", kOman),
    MakeCountry("Pakistan", kPakistan),
    MakeCountry("Palestine", kPalestine),
    MakeCountry("Peru", kPeru),
    MakeCountry("Philippines", kPhilippines),
    MakeCountry("Qatar", kQatar),
    MakeCountry("Russia", kRussia),
    MakeCountry("South Africa", kSouthAfrica),
    MakeCountry("Saudi Arabia", kSaudiArabia),
    MakeCountry("Syria", kSyria),
    MakeCountry("Singapore", kSingapore),
    MakeCountry("Turkey", kTurkey),
    MakeCountry("Thailand", kThailand),
    MakeCountry("Ukraine", kUkraine),
    MakeCountry("UAE", kUAE),
};

static_assert(sizeof(kCountries) / sizeof(kCountries[0]) == IspPresetCatalogue::kCountryCount - 1,
              "every country but \"Other\" has a table entry");

constexpr int SumProviders() {
    int total = 0;
    for (const Country& country : kCountries) total += country.providerCount;
    return total;
}

constexpr int kTotalProviders = SumProviders();

// The country table entry at a list position; nullptr for "Other" and out of range.
const Country* RealCountry(int country) {
    if (country < 1 || country >= IspPresetCatalogue::kCountryCount) return nullptr;
    return &kCountries[country - 1];
}

const Provider* FindProvider(int country, int provider) {
    const Country* entry = RealCountry(country);
    if (entry == nullptr || provider < 0 || provider >= entry->providerCount) return nullptr;
    return &entry->providers[provider];
}

constexpr const char* kProtocolTexts[kProtocolEntryCount] = {
    "PPPoE", "PPPoA", "Dynamic/Static IP (Bridge)", "Bridging", "Static IP (IPoA)",
};

constexpr int kPppoaEntry = 1;
constexpr int kIpoaEntry = 4;
constexpr int kIpoaCode = 5;

}  // namespace

int IspPresetCatalogue::CountryCount() {
    return kCountryCount;
}

const char* IspPresetCatalogue::CountryName(int country) {
    if (country == 0) return kOther;
    const Country* entry = RealCountry(country);
    return entry ? entry->name : nullptr;
}

int IspPresetCatalogue::ProviderCount(int country) {
    if (country == 0) return 1;
    const Country* entry = RealCountry(country);
    return entry ? entry->providerCount : 0;
}

const char* IspPresetCatalogue::ProviderName(int country, int provider) {
    if (country == 0) return provider == 0 ? kOther : nullptr;
    const Provider* entry = FindProvider(country, provider);
    return entry ? entry->name : nullptr;
}

bool IspPresetCatalogue::Preset(int country, int provider, IspPreset* out) {
    const Provider* entry = FindProvider(country, provider);
    if (entry == nullptr || out == nullptr) return false;
    *out = entry->preset;
    return true;
}

int IspPresetCatalogue::TotalProviderCount() {
    return kTotalProviders;
}

const char* ProtocolText(int entry) {
    if (entry < 0 || entry >= kProtocolEntryCount) return nullptr;
    return kProtocolTexts[entry];
}

int ProtocolCodeForEntry(int entry) {
    return entry == kIpoaEntry ? kIpoaCode : entry;
}

int ProtocolEntryForCode(int code) {
    if (code == kIpoaCode) return kIpoaEntry;
    if (code >= 0 && code < kIpoaEntry) return code;
    return -1;
}

const char* EncapsulationText(int protocolEntry, int encapEntry) {
    if (protocolEntry < 0 || protocolEntry >= kProtocolEntryCount) return nullptr;
    if (encapEntry < 0 || encapEntry >= kEncapsulationEntryCount) return nullptr;
    // PPPoA offers VC multiplexing first, IPoA routed LLC/SNAP; every other protocol bridged
    // LLC/SNAP. VC/MUX is always one of the two.
    static constexpr const char* kPppoa[] = {"VC/MUX", "LLC/ENCAPSULATION"};
    static constexpr const char* kIpoa[] = {"LLC/SNAP-ROUTING", "VC/MUX"};
    static constexpr const char* kBridged[] = {"LLC/SNAP-BRIDGING", "VC/MUX"};
    if (protocolEntry == kPppoaEntry) return kPppoa[encapEntry];
    if (protocolEntry == kIpoaEntry) return kIpoa[encapEntry];
    return kBridged[encapEntry];
}
