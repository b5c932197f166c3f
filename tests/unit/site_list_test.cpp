#include <gtest/gtest.h>

#include "app/SiteList.h"

using Sites = std::vector<std::string>;

TEST(SiteList, LoadPutsEachSiteInFrontOfTheEarlierOnes)
{
    // Files written by earlier versions load as they always did.
    EXPECT_EQ(SitesFromSection({{"YourSite0", "alpha"}, {"YourSite1", "beta"}}), (Sites{"beta", "alpha"}));
}

TEST(SiteList, LoadDropsEmptyValuesAndRepeatedKeys)
{
    const Sites sites = SitesFromSection({{"YourSite0", "a"},
                                          {"YourSite1", ""},
                                          {"yoursite0", "later"},  // a read by key finds the first line
                                          {"Other", "b=c"}});
    EXPECT_EQ(sites, (Sites{"b=c", "a"}));
}

TEST(SiteList, SaveThenLoadKeepsTheOrder)
{
    const Sites sites = {"host1", "Zeta", "alpha", "host1 23"};
    const std::vector<ProfileEntry> section = SectionFromSites(sites);
    ASSERT_EQ(section.size(), sites.size());
    EXPECT_EQ(section[0].key, "YourSite0");
    EXPECT_EQ(section[3].key, "YourSite3");
    EXPECT_EQ(SitesFromSection(section), sites);
    EXPECT_TRUE(SectionFromSites({}).empty());
}

TEST(SiteList, LargeListsRoundTrip)
{
    Sites sites;
    for (int i = 0; i < 100000; ++i)
        sites.push_back("site" + std::to_string(i));
    EXPECT_EQ(SitesFromSection(SectionFromSites(sites)), sites);
}
