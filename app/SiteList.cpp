#include "SiteList.h"

#include <unordered_set>

#include "CommaList.h"

std::vector<std::string> SitesFromSection(const std::vector<ProfileEntry>& entries)
{
    // A key met again reads the same value as its first line and is replaced
    // where it stands, so only first occurrences count.
    std::unordered_set<std::string> seen;
    std::vector<std::string> newestFirst;
    for (const ProfileEntry& entry : entries) {
        if (!seen.insert(LowerAscii(entry.key)).second)
            continue;
        if (!entry.value.empty())
            newestFirst.push_back(entry.value);
    }
    return {newestFirst.rbegin(), newestFirst.rend()};
}

std::vector<ProfileEntry> SectionFromSites(const std::vector<std::string>& sites)
{
    std::vector<ProfileEntry> entries;
    entries.reserve(sites.size());
    for (size_t i = 0; i < sites.size(); ++i)
        entries.push_back({kSiteKeyPrefix + std::to_string(i), sites[sites.size() - 1 - i]});
    return entries;
}
