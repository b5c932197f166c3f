// The comma lists and the ignore test on any text. The first line of the
// input is a window title, the rest the ignore list; the whole input is also
// split at its first byte, so separators other than the comma are tried.
#include <algorithm>

#include "FuzzCheck.h"
#include "app/CommaList.h"

namespace {

// GetField walks the list from the front for every field, so on a long list
// only the first and last fields are compared with the one-pass split.
constexpr int kFieldsCompared = 16;

void CheckFields(const std::string& s, char c)
{
    const std::vector<std::string> fields = SplitFields(s, c);
    const int count = FieldCount(s, c);
    FUZZ_CHECK(static_cast<int>(fields.size()) == count);
    for (int i = 1; i <= count; ++i) {
        if (i > kFieldsCompared && i <= count - kFieldsCompared)
            i = count - kFieldsCompared + 1;
        FUZZ_CHECK(GetField(s, i, c) == fields[static_cast<size_t>(i - 1)]);
    }
    FUZZ_CHECK(GetField(s, 0, c).empty());
    FUZZ_CHECK(GetField(s, count + 1, c).empty());

    std::string joined = fields.front();
    for (size_t i = 1; i < fields.size(); ++i)
        joined += c + fields[i];
    for (const std::string& field : fields)
        FUZZ_CHECK(field.find(c) == std::string::npos);
    FUZZ_CHECK(joined == s);
    FUZZ_CHECK(RemoveChar(s, c).size() == s.size() - static_cast<size_t>(count - 1));
}

void CheckParts(const std::string& s)
{
    const int size = static_cast<int>(s.size());
    for (const int n : {0, 1, size / 2, size - 1, size}) {
        if (n < 0 || n > size)
            continue;
        FUZZ_CHECK(LeftPart(s, n) + RightPart(s, size - n) == s);
    }
    FUZZ_CHECK(LeftPart(s, size + 1) == s && RightPart(s, size + 1) == s);
    FUZZ_CHECK(LeftPart(s, -1).empty() && RightPart(s, -1).empty());
}

void CheckTrimAndCase(const std::string& s)
{
    // Trimming takes off the blanks at both ends and nothing else.
    const std::string trimmed = TrimBlanks(s);
    const size_t lead = static_cast<size_t>(std::find_if_not(s.begin(), s.end(), IsBlankCode) - s.begin());
    const bool allBlank = lead == s.size();
    FUZZ_CHECK(IsBlank(s) == allBlank && trimmed.empty() == allBlank);
    FUZZ_CHECK(allBlank || (!IsBlankCode(trimmed.front()) && !IsBlankCode(trimmed.back())));
    FUZZ_CHECK(s.compare(lead, trimmed.size(), trimmed) == 0);
    const std::string tail = s.substr(std::min(s.size(), lead + trimmed.size()));
    FUZZ_CHECK(std::all_of(tail.begin(), tail.end(), IsBlankCode));
    for (const char c : s)
        FUZZ_CHECK(IsBlankChar(c) == IsBlankCode(c));

    const std::string lowered = LowerAscii(s);
    FUZZ_CHECK(lowered.size() == s.size() && LowerAscii(lowered) == lowered);
    for (size_t i = 0; i < s.size(); ++i) {
        const bool capital = s[i] >= 'A' && s[i] <= 'Z';
        FUZZ_CHECK(lowered[i] == (capital ? static_cast<char>(s[i] + 32) : s[i]));
    }
}

void CheckIgnored(const std::string& title, const std::string& list)
{
    const bool ignored = IsIgnored(title, list);
    const std::vector<std::string> fields = SplitFields(list, ',');

    // Every entry is found in a title that holds it, wherever it stands.
    std::string padded;
    for (size_t i = 0; i < fields.size(); ++i) {
        const std::string entry = TrimBlanks(fields[i]);
        if (i < kFieldsCompared && !entry.empty())
            FUZZ_CHECK(IsIgnored(title + entry + "x", list));
        padded += (i == 0 ? " " : ", \t") + fields[i] + "\x01";
    }
    std::string blanksOnly = list;
    for (char& ch : blanksOnly)
        if (ch != ',' && !IsBlankCode(ch))
            ch = ' ';
    // Blanks around the entries change nothing; a longer title or list only
    // ignores more; a list of blanks and commas ignores nothing.
    FUZZ_CHECK(IsIgnored(title, padded) == ignored);
    if (ignored) {
        FUZZ_CHECK(IsIgnored("<" + title + ">", list));
        FUZZ_CHECK(IsIgnored(title, "zz," + list + ",yy"));
    }
    FUZZ_CHECK(!IsIgnored(title, blanksOnly));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text = InputText(data, size);
    CheckFields(text, ',');
    if (!text.empty())
        CheckFields(text.substr(1), text[0]);
    CheckParts(text);
    CheckTrimAndCase(text);

    const size_t newline = text.find('\n');
    if (newline != std::string::npos)
        CheckIgnored(text.substr(0, newline), text.substr(newline + 1));
    else
        CheckIgnored(text, text);
    return 0;
}
