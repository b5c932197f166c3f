#include "ProfileText.h"

#include <cctype>
#include <limits>

namespace {

bool IsHexDigit(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

// Hexadecimal digits to the end of text; the result is the 32-bit pattern,
// so "FFFFFFFF" is -1 as the integer rule reads it.
bool ParseHex(const std::string& text, size_t start, int32_t& out)
{
    if (start >= text.size())
        return false;
    uint64_t value = 0;
    for (size_t i = start; i < text.size(); ++i) {
        if (!IsHexDigit(text[i]))
            return false;
        value = value * 16 + static_cast<uint64_t>(HexValue(text[i]));
        if (value > 0xFFFFFFFFull)
            return false;
    }
    out = static_cast<int32_t>(static_cast<uint32_t>(value));
    return true;
}

bool ParseDecimal(const std::string& text, int32_t& out)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i < text.size() && text[i] == '$')
        return ParseHex(text, i + 1, out);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size())
        return false;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
        if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1)
            return false;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min())
        return false;
    out = static_cast<int32_t>(value);
    return true;
}

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

}  // namespace

int32_t ParseProfileInteger(const std::string& text, int32_t defaultValue)
{
    int32_t value = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseHex(text, 2, value) ? value : defaultValue;
    return ParseDecimal(text, value) ? value : defaultValue;
}

bool IsProfileBlank(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u == ' ' || (u >= 9 && u <= 13) || u == 26;
}

std::string ProfileValueAsRead(const std::string& raw)
{
    size_t first = 0;
    size_t last = raw.size();
    while (first < last && IsProfileBlank(raw[first]))
        ++first;
    while (last > first && IsProfileBlank(raw[last - 1]))
        --last;
    if (last - first >= 2 && IsQuote(raw[first]) && raw[last - 1] == raw[first]) {
        ++first;
        --last;
    }
    return raw.substr(first, last - first);
}

std::string QuoteForProfile(const std::string& value)
{
    if (ProfileValueAsRead(value) == value)
        return value;
    return '"' + value + '"';
}

std::vector<std::string> SplitZeroList(const char* buffer, size_t length)
{
    std::vector<std::string> items;
    size_t i = 0;
    while (i < length && buffer[i] != '\0') {
        size_t end = i;
        while (end < length && buffer[end] != '\0')
            ++end;
        items.emplace_back(buffer + i, end - i);
        i = end + 1;
    }
    return items;
}

std::vector<ProfileEntry> ParseSectionLines(const std::vector<std::string>& lines)
{
    std::vector<ProfileEntry> entries;
    entries.reserve(lines.size());
    for (const std::string& line : lines) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        size_t keyEnd = eq;
        while (keyEnd > 0 && IsProfileBlank(line[keyEnd - 1]))
            --keyEnd;
        entries.push_back({line.substr(0, keyEnd), ProfileValueAsRead(line.substr(eq + 1))});
    }
    return entries;
}
