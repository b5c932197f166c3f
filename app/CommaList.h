// Text helpers behind the ignore list: comma fields, trimming and the
// ASCII-only lower-casing that both the sweep and the command line use.
// Positions are 1-based, as the ignore-list rules are written.
#pragma once

#include <string>
#include <vector>

std::string LeftPart(const std::string& s, int n);
std::string RightPart(const std::string& s, int n);
std::string RemoveChar(const std::string& s, char c);
int FieldCount(const std::string& s, char c);
std::string GetField(const std::string& s, int i, char c);
// Every field of s in one pass: element k is GetField(s, k + 1, c), and there
// are FieldCount(s, c) of them. GetField starts again from the front for each
// field, which a long list cannot afford.
std::vector<std::string> SplitFields(const std::string& s, char c);

// Characters of codes 0 to 32 count as blanks: blanks and control characters.
bool IsBlankChar(char c);
std::string TrimBlanks(const std::string& s);
bool IsBlank(const std::string& s);

// Maps only 'A'..'Z' to 'a'..'z'; every other byte, accented letters
// included, stays as it is.
std::string LowerAscii(std::string s);

// True if some non-empty, trimmed entry of the comma-separated list occurs
// in title. Both arguments are expected lower-cased already.
bool IsIgnored(const std::string& title, const std::string& list);
