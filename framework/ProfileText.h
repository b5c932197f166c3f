// The text rules of profile (INI) files that the settings-file object needs
// and that do not depend on the platform: the integer rule, what the profile
// service does to a value on the way back, and the quoting that makes a
// written value come back as it stands.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// "0x1F" / "0X1F" hexadecimal, "$1F" hexadecimal, else optional blanks, an
// optional sign and decimal digits. The whole text must be used and the value
// must fit in 32 bits; otherwise (an empty text included) the default.
int32_t ParseProfileInteger(const std::string& text, int32_t defaultValue);

// True for the characters the profile service strips around a value. This is
// the union of what Windows (space, tab, vertical tab) and Wine (codes 9 to
// 13, 26 and 32) strip, so a value is quoted whenever either would change it.
bool IsProfileBlank(char c);

// What a read by key returns for a value stored as raw: blanks around it
// dropped, then one pair of equal outer quotes (" or ') removed.
std::string ProfileValueAsRead(const std::string& raw);

// The text to store so that a read gives back exactly value: the value as it
// stands when it survives unchanged, else the value inside one pair of
// double quotes.
std::string QuoteForProfile(const std::string& value);

// Splits a buffer of zero-terminated strings, ended by an empty one or by
// the given length, as the profile service fills it.
std::vector<std::string> SplitZeroList(const char* buffer, size_t length);

// One "key=value" line of a section as the service lists it. Lines without
// "=" are dropped; the value is returned as a read by key would return it.
struct ProfileEntry {
    std::string key;
    std::string value;
};
std::vector<ProfileEntry> ParseSectionLines(const std::vector<std::string>& lines);
