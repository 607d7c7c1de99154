#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/account/AccountChecks.h"
#include "core/account/IspPresetCatalogue.h"

namespace {

using Catalogue = IspPresetCatalogue;

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
            // Digits only, as the page's digit-only edits hold them, and within the ranges.
            const std::string atm = std::string(preset.vpi) + preset.vci;
            EXPECT_EQ(atm.find_first_not_of("0123456789"), std::string::npos) << atm;
            EXPECT_EQ(CheckIsp({preset.vpi, preset.vci}), FormCheck{}) << atm;
            EXPECT_TRUE(preset.protocolEntry >= 0 && preset.protocolEntry < kProtocolEntryCount);
            EXPECT_TRUE(preset.encapEntry >= 0 && preset.encapEntry < kEncapsulationEntryCount);
        }
    }
}

// The texts and codes of the lists are seen on the ISP page and in whole runs; here the edges.
TEST(ProtocolList, EntriesOutsideTheListsHaveNoTextOrCode) {
    EXPECT_EQ(ProtocolCodeForEntry(4), 5);  // IPoA skips code 4
    for (int code : {-1, 4, 6, 255}) EXPECT_EQ(ProtocolEntryForCode(code), -1) << code;
    EXPECT_EQ(ProtocolCodeForEntry(-1), -1);  // a list without a selection
    for (int entry : {-1, 5}) EXPECT_EQ(ProtocolText(entry), nullptr);
    const int noText[][2] = {{5, 0}, {1, 2}, {0, -1}};
    for (const auto& [entry, encap] : noText) EXPECT_EQ(EncapsulationText(entry, encap), nullptr);
}

}  // namespace
