#include "CommaList.h"

#include <algorithm>

std::string LeftPart(const std::string& s, int n)
{
    if (n <= 0)
        return {};
    return s.substr(0, std::min<size_t>(static_cast<size_t>(n), s.size()));
}

std::string RightPart(const std::string& s, int n)
{
    if (n <= 0)
        return {};
    const size_t count = std::min<size_t>(static_cast<size_t>(n), s.size());
    return s.substr(s.size() - count);
}

std::string RemoveChar(const std::string& s, char c)
{
    std::string out;
    out.reserve(s.size());
    for (const char ch : s)
        if (ch != c)
            out += ch;
    return out;
}

int FieldCount(const std::string& s, char c)
{
    return static_cast<int>(s.size() - RemoveChar(s, c).size()) + 1;
}

std::string GetField(const std::string& s, int i, char c)
{
    if (i < 1 || i > FieldCount(s, c))
        return {};
    std::string rest = s + c;
    std::string field;
    for (int k = 0; k < i; ++k) {
        const int pos = static_cast<int>(rest.find(c)) + 1;
        field = LeftPart(rest, pos - 1);
        rest = RightPart(rest, static_cast<int>(rest.size()) - pos);
    }
    return field;
}

std::vector<std::string> SplitFields(const std::string& s, char c)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t comma; (comma = s.find(c, start)) != std::string::npos; start = comma + 1)
        fields.push_back(s.substr(start, comma - start));
    fields.push_back(s.substr(start));
    return fields;
}

bool IsBlankChar(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

std::string TrimBlanks(const std::string& s)
{
    size_t first = 0;
    size_t last = s.size();
    while (first < last && IsBlankChar(s[first]))
        ++first;
    while (last > first && IsBlankChar(s[last - 1]))
        --last;
    return s.substr(first, last - first);
}

bool IsBlank(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), IsBlankChar);
}

std::string LowerAscii(std::string s)
{
    for (char& ch : s)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return s;
}

bool IsIgnored(const std::string& title, const std::string& list)
{
    for (const std::string& field : SplitFields(list, ',')) {
        const std::string entry = TrimBlanks(field);
        if (!entry.empty() && title.find(entry) != std::string::npos)
            return true;
    }
    return false;
}
