// The settings file's values on the way out and back: whatever is stored
// through the quoting reads back exactly as typed, by key or in a section
// listing; the profile service's buffers of names split without loss; and a
// section read, written back and read again is what it was.
#include <algorithm>

#include "FuzzCheck.h"
#include "app/CommaList.h"
#include "framework/ProfileText.h"

namespace {

bool SameEntries(const std::vector<ProfileEntry>& a, const std::vector<ProfileEntry>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].key != b[i].key || a[i].value != b[i].value)
            return false;
    return true;
}

void CheckQuoting(const std::string& value)
{
    const std::string stored = QuoteForProfile(value);
    FUZZ_CHECK(ProfileValueAsRead(stored) == value);
    // Blanks a hand edit puts around the stored text change nothing.
    FUZZ_CHECK(ProfileValueAsRead(" \t" + stored + "\x1a ") == value);
    // Only values the service would change are quoted, so files stay readable.
    FUZZ_CHECK(stored == value || stored == '"' + value + '"');
    FUZZ_CHECK(stored == value || ProfileValueAsRead(value) != value);

    const std::vector<ProfileEntry> entries = ParseSectionLines({"Key=" + stored, "Key \t=" + stored});
    FUZZ_CHECK(entries.size() == 2);
    for (const ProfileEntry& entry : entries)
        FUZZ_CHECK(entry.key == "Key" && entry.value == value);

    // A read drops blanks at the ends, then a pair of outer quotes: what is
    // left is a part of the stored text with no blank at an end, unless a
    // pair of quotes kept it.
    const std::string read = ProfileValueAsRead(value);
    const size_t at =
        static_cast<size_t>(std::find_if_not(value.begin(), value.end(), IsProfileBlankCode) - value.begin());
    if (at == value.size()) {
        FUZZ_CHECK(read.empty());
        return;
    }
    const bool pair = at + read.size() + 2 <= value.size() && value.compare(at + 1, read.size(), read) == 0 &&
                      (value[at] == '"' || value[at] == '\'') && value[at + read.size() + 1] == value[at];
    FUZZ_CHECK(pair || (value.compare(at, read.size(), read) == 0 && !IsProfileBlankCode(read.front()) &&
                        !IsProfileBlankCode(read.back())));
}

void CheckZeroList(const std::string& buffer)
{
    const std::vector<std::string> items = SplitZeroList(buffer.data(), buffer.size());
    std::string rebuilt;
    for (const std::string& item : items) {
        FUZZ_CHECK(!item.empty() && item.find('\0') == std::string::npos);
        rebuilt += item + '\0';
    }
    // The items are the buffer up to its first empty string, or to its end.
    FUZZ_CHECK(buffer.compare(0, rebuilt.size(), rebuilt) == 0 ||
               (rebuilt.size() == buffer.size() + 1 && rebuilt.compare(0, buffer.size(), buffer) == 0));
    FUZZ_CHECK(rebuilt.size() >= buffer.size() || buffer[rebuilt.size()] == '\0');
    rebuilt += '\0';
    const std::vector<std::string> again = SplitZeroList(rebuilt.data(), rebuilt.size());
    FUZZ_CHECK(again == items);
}

void CheckSection(const std::vector<std::string>& lines)
{
    const std::vector<ProfileEntry> entries = ParseSectionLines(lines);
    size_t withEquals = 0;
    for (const std::string& line : lines)
        withEquals += line.find('=') != std::string::npos;
    FUZZ_CHECK(entries.size() == withEquals);

    std::vector<std::string> written;
    for (const ProfileEntry& entry : entries) {
        FUZZ_CHECK(entry.key.find('=') == std::string::npos);
        FUZZ_CHECK(entry.key.empty() || !IsProfileBlankCode(entry.key.back()));
        written.push_back(entry.key + "=" + QuoteForProfile(entry.value));
    }
    FUZZ_CHECK(SameEntries(ParseSectionLines(written), entries));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text = InputText(data, size);
    CheckQuoting(text);
    CheckZeroList(text);
    const std::vector<std::string> lines = SplitFields(text, '\n');
    CheckSection(lines);
    for (const std::string& line : lines)
        CheckQuoting(line);
    return 0;
}
