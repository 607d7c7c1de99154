#include <gtest/gtest.h>

#include <charconv>
#include <set>
#include <string>
#include <string_view>

#include "core/account/IspPresetCatalogue.h"

namespace {

// Decimal digits only, as the page's digit-only edits hold them; -1 otherwise.
long DecimalValue(std::string_view text) {
    long value = -1;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return -1;
    return value;
}

TEST(IspPresetCatalogue, CountsCountriesAndProvidersAsListed) {
    EXPECT_EQ(IspPresetCatalogue::CountryCount(), 38);
    EXPECT_EQ(IspPresetCatalogue::TotalProviderCount(), 176);

    const struct {
        int country;
        const char* name;
        int providers;
    } cases[] = {
        {0, "Other", 1},        {1, "Australia", 12}, {3, "Brasil", 12},    {5, "Canada", 15},
        {9, "Egypt", 9},        {14, "Japan", 15},    {16, "Korea", 5},     {20, "Moroco", 2},
        {22, "New Zealand", 2}, {29, "Russia", 29},   {33, "Singapore", 6}, {36, "Ukraine", 2},
        {37, "UAE", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(IspPresetCatalogue::CountryName(c.country), c.name);
        EXPECT_EQ(IspPresetCatalogue::ProviderCount(c.country), c.providers);
    }

    int sum = 0;
    for (int country = 1; country < IspPresetCatalogue::kCountryCount; ++country) {
        sum += IspPresetCatalogue::ProviderCount(country);
    }
    EXPECT_EQ(sum, IspPresetCatalogue::TotalProviderCount());
}

TEST(IspPresetCatalogue, PresetsMatchTheProviderTable) {
    const struct {
        int country;
        int provider;
        const char* name;
        const char* vpi;
        const char* vci;
        int protocol;
        int encap;
    } cases[] = {
        {1, 0, "AAPT", "8", "35", 0, 0},
        {3, 5, "CTBC NetSuper - PPPoA", "0", "35", 1, 1},
        {3, 8, "Telefonica Speedy Empresas", "8", "35", 4, 0},
        {5, 1, "iPrimus Canada (west)", "0", "33", 2, 0},
        {13, 2, "PT Telkom DIVRE 2 (Jakarta) Siemens", "1", "33", 1, 0},
        {14, 14, "KCN", "0", "32", 1, 0},
        {20, 1, "MAROC Telecom", "8", "35", 1, 0},
        {22, 1, "IHUG", "0", "100", 1, 0},
        {29, 0, "Stream", "1", "50", 0, 0},
        {29, 3, "VoronezhSvyazInform", "10", "40", 2, 0},
        {29, 17, "UTK:Sev.Osetiya, Alayniya", "0", "35", 0, 0},
        {35, 6, "TT&T (Hinet)", "0", "66", 0, 0},
        {37, 0, "ETISALAT", "0", "50", 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(IspPresetCatalogue::ProviderName(c.country, c.provider), c.name);
        IspPreset preset{};
        ASSERT_TRUE(IspPresetCatalogue::Preset(c.country, c.provider, &preset));
        EXPECT_STREQ(preset.vpi, c.vpi);
        EXPECT_STREQ(preset.vci, c.vci);
        EXPECT_EQ(preset.protocolEntry, c.protocol);
        EXPECT_EQ(preset.encapEntry, c.encap);
    }
}

TEST(IspPresetCatalogue, OtherAndOutOfRangeHaveNoPreset) {
    EXPECT_STREQ(IspPresetCatalogue::ProviderName(0, 0), "Other");
    IspPreset untouched{"x", "y", 7, 7};
    const int noPreset[][2] = {{0, 0}, {1, 12}, {29, 29}, {37, 1}, {-1, 0}, {38, 0}, {5, -1}};
    for (const auto& pair : noPreset) {
        SCOPED_TRACE(testing::Message() << pair[0] << "/" << pair[1]);
        EXPECT_FALSE(IspPresetCatalogue::Preset(pair[0], pair[1], &untouched));
        if (pair[0] != 0) {
            EXPECT_EQ(IspPresetCatalogue::ProviderName(pair[0], pair[1]), nullptr);
        }
    }
    EXPECT_EQ(untouched.protocolEntry, 7);
    EXPECT_EQ(IspPresetCatalogue::ProviderName(0, 1), nullptr);
    EXPECT_EQ(IspPresetCatalogue::CountryName(-1), nullptr);
    EXPECT_EQ(IspPresetCatalogue::CountryName(38), nullptr);
    EXPECT_EQ(IspPresetCatalogue::ProviderCount(-1), 0);
    EXPECT_EQ(IspPresetCatalogue::ProviderCount(38), 0);
}

TEST(IspPresetCatalogue, EveryPresetIsAcceptedByThePageChecks) {
    for (int country = 1; country < IspPresetCatalogue::kCountryCount; ++country) {
        std::set<std::string> names;
        for (int provider = 0; provider < IspPresetCatalogue::ProviderCount(country); ++provider) {
            const char* name = IspPresetCatalogue::ProviderName(country, provider);
            ASSERT_NE(name, nullptr);
            SCOPED_TRACE(name);
            EXPECT_NE(*name, '\0');
            EXPECT_TRUE(names.insert(name).second) << "duplicate in country " << country;
            IspPreset preset{};
            ASSERT_TRUE(IspPresetCatalogue::Preset(country, provider, &preset));
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
        const char* encap0;
        const char* encap1;
    } cases[] = {
        {0, "PPPoE", 0, "LLC/SNAP-BRIDGING", "VC/MUX"},
        {1, "PPPoA", 1, "VC/MUX", "LLC/ENCAPSULATION"},
        {2, "Dynamic/Static IP (Bridge)", 2, "LLC/SNAP-BRIDGING", "VC/MUX"},
        {3, "Bridging", 3, "LLC/SNAP-BRIDGING", "VC/MUX"},
        {4, "Static IP (IPoA)", 5, "LLC/SNAP-ROUTING", "VC/MUX"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_STREQ(ProtocolText(c.entry), c.text);
        EXPECT_EQ(ProtocolCodeForEntry(c.entry), c.code);
        EXPECT_EQ(ProtocolEntryForCode(c.code), c.entry);
        EXPECT_STREQ(EncapsulationText(c.entry, 0), c.encap0);
        EXPECT_STREQ(EncapsulationText(c.entry, 1), c.encap1);
    }
    for (int code : {-1, 4, 6, 255}) EXPECT_EQ(ProtocolEntryForCode(code), -1) << code;
    EXPECT_EQ(ProtocolCodeForEntry(-1), -1);  // a list without a selection
    EXPECT_EQ(ProtocolText(-1), nullptr);
    EXPECT_EQ(ProtocolText(5), nullptr);
    EXPECT_EQ(EncapsulationText(5, 0), nullptr);
    EXPECT_EQ(EncapsulationText(1, 2), nullptr);
    EXPECT_EQ(EncapsulationText(0, -1), nullptr);
}

}  // namespace
