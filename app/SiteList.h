// How the telnet site list maps to the YourSites section of the settings file.
#pragma once

#include <string>
#include <vector>

#include "../framework/ProfileText.h"

// The list a load produces from the section's entries in file order: each
// key's value (the first line of that key wins, as a read by key finds it),
// empty values dropped, and every new site put in front of the ones before it.
std::vector<std::string> SitesFromSection(const std::vector<ProfileEntry>& entries);

// The entries a save writes: YourSite0, YourSite1, ... holding the list from
// its last item to its first, so that the next load gives back the same list.
std::vector<ProfileEntry> SectionFromSites(const std::vector<std::string>& sites);

constexpr const char* kSiteKeyPrefix = "YourSite";
