// The telnet site list through the settings file. Each input line is a site:
// saved, stored through the quoting and read back by the section listing, the
// list loads as it was, less its empty sites. The same lines taken as a
// section someone wrote by hand load into a list that then keeps itself.
#include <set>

#include "FuzzCheck.h"
#include "app/CommaList.h"
#include "app/SiteList.h"

namespace {

// The section's lines as a save leaves them in the file.
std::vector<std::string> Stored(const std::vector<ProfileEntry>& entries)
{
    std::vector<std::string> lines;
    for (const ProfileEntry& entry : entries)
        lines.push_back(entry.key + "=" + QuoteForProfile(entry.value));
    return lines;
}

std::vector<std::string> SaveThenLoad(const std::vector<std::string>& sites)
{
    const std::vector<ProfileEntry> section = SectionFromSites(sites);
    FUZZ_CHECK(section.size() == sites.size());
    std::set<std::string> keys;
    for (const ProfileEntry& entry : section)
        keys.insert(LowerAscii(entry.key));
    FUZZ_CHECK(keys.size() == section.size());
    return SitesFromSection(ParseSectionLines(Stored(section)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> lines = SplitFields(InputText(data, size), '\n');

    std::vector<std::string> nonEmpty;
    for (const std::string& site : lines)
        if (!site.empty())
            nonEmpty.push_back(site);
    FUZZ_CHECK(SaveThenLoad(lines) == nonEmpty);

    // Lines that repeat a saved key in another case are found after the first
    // one, and a read by key never reaches them.
    std::vector<std::string> stored = Stored(SectionFromSites(lines));
    for (size_t i = 0; i < lines.size(); ++i)
        stored.push_back(LowerAscii(kSiteKeyPrefix) + std::to_string(i) + "=later");
    FUZZ_CHECK(SitesFromSection(ParseSectionLines(stored)) == nonEmpty);

    const std::vector<std::string> loaded = SitesFromSection(ParseSectionLines(lines));
    FUZZ_CHECK(loaded.size() <= lines.size());
    for (const std::string& site : loaded)
        FUZZ_CHECK(!site.empty());
    FUZZ_CHECK(SaveThenLoad(loaded) == loaded);
    return 0;
}
