#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/account/AccountChecks.h"
#include "core/account/IspPresetCatalogue.h"

namespace {

using Catalogue = IspPresetCatalogue;

// The published size of the lists and a country's last entries; a provider index that is
// shifted shows as a duplicate below, one that runs off a country's end in the next test.
TEST(IspPresetCatalogue, ListsCountriesAndPresetsAsPublished) {
    EXPECT_EQ(Catalogue::TotalProviderCount(), 176);
    EXPECT_EQ(Catalogue::ProviderCount(29), 29);
    EXPECT_STREQ(Catalogue::CountryName(37), "UAE");
    EXPECT_STREQ(Catalogue::ProviderName(37, 0), "ETISALAT");
}

TEST(IspPresetCatalogue, OtherAndOutOfRangeHaveNoPreset) {
    EXPECT_STREQ(Catalogue::CountryName(0), "Other");
    EXPECT_STREQ(Catalogue::ProviderName(0, 0), "Other");
    EXPECT_EQ(Catalogue::ProviderCount(0), 1);
    EXPECT_EQ(Catalogue::ProviderName(0, 1), nullptr);
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
            EXPECT_TRUE(*name != '\0' && names.insert(name).second) << "in country " << country;
            IspPreset p{};
            ASSERT_TRUE(Catalogue::Preset(country, provider, &p));
            // Digits only, as the page's digit-only edits hold them, and within the ranges.
            const std::string atm = std::string(p.vpi) + p.vci;
            EXPECT_EQ(atm.find_first_not_of("0123456789"), std::string::npos) << atm;
            EXPECT_EQ(CheckIsp({p.vpi, p.vci}), FormCheck{}) << atm;
            EXPECT_TRUE(p.protocolEntry >= 0 && p.protocolEntry < kProtocolEntryCount);
            EXPECT_TRUE(p.encapEntry >= 0 && p.encapEntry < kEncapsulationEntryCount);
        }
    }
}

// The texts and codes of the lists are seen on the ISP page and in whole runs; here the edges.
TEST(ProtocolList, EntriesOutsideTheListsHaveNoTextOrCode) {
    EXPECT_EQ(ProtocolCodeForEntry(4), 5);  // IPoA skips code 4
    for (int code : {-1, 4, 6}) EXPECT_EQ(ProtocolEntryForCode(code), -1) << code;
    EXPECT_EQ(ProtocolCodeForEntry(-1), -1);  // a list without a selection
    for (int entry : {-1, 5}) EXPECT_EQ(ProtocolText(entry), nullptr);
    const int noText[][2] = {{5, 0}, {1, 2}, {0, -1}};
    for (const auto& [entry, encap] : noText) EXPECT_EQ(EncapsulationText(entry, encap), nullptr);
}

}  // namespace
