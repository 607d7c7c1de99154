#include <gtest/gtest.h>

#include <charconv>
#include <set>
#include <string>
#include <string_view>

#include "core/account/IspPresetCatalogue.h"

namespace {

using Catalogue = IspPresetCatalogue;

// Decimal digits only, as the page's digit-only edits hold them; -1 otherwise.
long DecimalValue(std::string_view text) {
    long value = -1;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return -1;
    return value;
}

// The published size of the lists and a preset of each kind of form; a provider index that is
// shifted shows as a duplicate below, one that runs off a country's end in the next test.
TEST(IspPresetCatalogue, ListsCountriesAndPresetsAsPublished) {
    EXPECT_EQ(Catalogue::CountryCount(), 38);
    EXPECT_EQ(Catalogue::TotalProviderCount(), 176);
    EXPECT_STREQ(Catalogue::CountryName(37), "UAE");
    EXPECT_EQ(Catalogue::ProviderCount(29), 29);
    const struct {
        int country, provider;
        const char *name, *vpi, *vci;
        int protocol, encap;
    } cases[] = {
        {1, 0, "AAPT", "8", "35", 0, 0},
        {3, 8, "Telefonica Speedy Empresas", "8", "35", 4, 0},
        {37, 0, "ETISALAT", "0", "50", 1, 1},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(Catalogue::ProviderName(c.country, c.provider), c.name);
        IspPreset preset{};
        ASSERT_TRUE(Catalogue::Preset(c.country, c.provider, &preset));
        EXPECT_EQ(std::string(preset.vpi) + "/" + preset.vci, std::string(c.vpi) + "/" + c.vci);
        EXPECT_EQ(preset.protocolEntry, c.protocol);
        EXPECT_EQ(preset.encapEntry, c.encap);
    }
}

TEST(IspPresetCatalogue, OtherAndOutOfRangeHaveNoPreset) {
    EXPECT_STREQ(Catalogue::CountryName(0), "Other");
    EXPECT_STREQ(Catalogue::ProviderName(0, 0), "Other");
    EXPECT_EQ(Catalogue::ProviderCount(0), 1);
    IspPreset untouched{"x", "y", 7, 7};
    const int noPreset[][2] = {{0, 0}, {1, 12}, {29, 29}, {37, 1}, {-1, 0}, {38, 0}, {5, -1}};
    for (const auto& [country, provider] : noPreset) {
        EXPECT_FALSE(Catalogue::Preset(country, provider, &untouched))
            << country << "/" << provider;
        if (country != 0) {
            EXPECT_EQ(Catalogue::ProviderName(country, provider), nullptr);
        }
    }
    EXPECT_EQ(untouched.protocolEntry, 7);
    EXPECT_EQ(Catalogue::ProviderName(0, 1), nullptr);
    for (int country : {-1, 38}) {
        EXPECT_EQ(Catalogue::CountryName(country), nullptr);
        EXPECT_EQ(Catalogue::ProviderCount(country), 0);
    }
}

TEST(IspPresetCatalogue, EveryPresetIsAcceptedByThePageChecks) {
    for (int country = 1; country < Catalogue::kCountryCount; ++country) {
        std::set<std::string> names;
        for (int provider = 0; provider < Catalogue::ProviderCount(country); ++provider) {
            const char* name = Catalogue::ProviderName(country, provider);
            ASSERT_NE(name, nullptr);
            SCOPED_TRACE(name);
            EXPECT_NE(*name, '\0');
            EXPECT_TRUE(names.insert(name).second) << "duplicate in country " << country;
            IspPreset preset{};
            ASSERT_TRUE(Catalogue::Preset(country, provider, &preset));
            const long vpi = DecimalValue(preset.vpi);
            const long vci = DecimalValue(preset.vci);
            EXPECT_TRUE(vpi >= 0 && vpi <= 255) << preset.vpi;
            EXPECT_TRUE(vci >= 32 && vci <= 65535) << preset.vci;
            EXPECT_TRUE(preset.protocolEntry >= 0 && preset.protocolEntry < kProtocolEntryCount);
            EXPECT_TRUE(preset.encapEntry >= 0 && preset.encapEntry < kEncapsulationEntryCount);
        }
    }
}

TEST(ProtocolList, EntriesTextsCodesAndEncapsulations) {
    const struct {
        int entry;
        const char* text;
        int code;
        const char *encap0, *encap1;
    } cases[] = {
        {0, "PPPoE", 0, "LLC/SNAP-BRIDGING", "VC/MUX"},
        {1, "PPPoA", 1, "VC/MUX", "LLC/ENCAPSULATION"},
        {2, "Dynamic/Static IP (Bridge)", 2, "LLC/SNAP-BRIDGING", "VC/MUX"},
        {3, "Bridging", 3, "LLC/SNAP-BRIDGING", "VC/MUX"},
        {4, "Static IP (IPoA)", 5, "LLC/SNAP-ROUTING", "VC/MUX"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(ProtocolText(c.entry), c.text);
        EXPECT_EQ(ProtocolCodeForEntry(c.entry), c.code) << c.text;
        EXPECT_EQ(ProtocolEntryForCode(c.code), c.entry) << c.text;
        EXPECT_STREQ(EncapsulationText(c.entry, 0), c.encap0);
        EXPECT_STREQ(EncapsulationText(c.entry, 1), c.encap1);
    }
    for (int code : {-1, 4, 6, 255}) EXPECT_EQ(ProtocolEntryForCode(code), -1) << code;
    EXPECT_EQ(ProtocolCodeForEntry(-1), -1);  // a list without a selection
    for (int entry : {-1, 5}) EXPECT_EQ(ProtocolText(entry), nullptr);
    const int noText[][2] = {{5, 0}, {1, 2}, {0, -1}};
    for (const auto& [entry, encap] : noText) EXPECT_EQ(EncapsulationText(entry, encap), nullptr);
}

}  // namespace
