// The settings file's integer rule. Any text reads as a second, independent
// reading of the rule built on std::from_chars does, and every 32-bit value
// written in any of the forms the rule allows reads back as itself.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <limits>

#include "FuzzCheck.h"
#include "framework/ProfileText.h"

namespace {

struct Reading {
    bool valid = false;
    int32_t value = 0;
};

// Hexadecimal digits, all of them used, as a 32-bit pattern.
Reading Hex(const std::string& digits)
{
    uint64_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [ptr, error] = std::from_chars(digits.data(), end, value, 16);
    if (digits.empty() || error != std::errc() || ptr != end || value > 0xFFFFFFFFu)
        return {};
    return {true, static_cast<int32_t>(static_cast<uint32_t>(value))};
}

Reading Decimal(const std::string& text)
{
    const size_t start = std::min(text.find_first_not_of(' '), text.size());
    std::string rest = text.substr(start);
    if (StartsWith(rest, "$"))
        return Hex(rest.substr(1));
    bool negative = false;
    if (StartsWith(rest, "+") || StartsWith(rest, "-")) {
        negative = rest[0] == '-';
        rest.erase(0, 1);
    }
    // from_chars takes no sign of its own here: a digit must follow.
    if (rest.empty() || rest[0] < '0' || rest[0] > '9')
        return {};
    uint64_t magnitude = 0;
    const char* end = rest.data() + rest.size();
    const auto [ptr, error] = std::from_chars(rest.data(), end, magnitude);
    if (error != std::errc() || ptr != end)
        return {};
    const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
    if (magnitude > limit)
        return {};
    const int64_t value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    return {true, static_cast<int32_t>(value)};
}

Reading Reference(const std::string& text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return Hex(text.substr(2));
    return Decimal(text);
}

void CheckText(const std::string& text)
{
    const int32_t withZero = ParseProfileInteger(text, 0);
    const int32_t withOne = ParseProfileInteger(text, 1);
    const Reading expected = Reference(text);
    if (!expected.valid) {
        FUZZ_CHECK(withZero == 0 && withOne == 1);
        return;
    }
    FUZZ_CHECK(withZero == expected.value && withOne == expected.value);
}

std::string HexDigits(uint64_t value, bool capitals)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    std::string digits(buffer, result.ptr);
    if (capitals)
        for (char& c : digits)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return digits;
}

// The value in the bytes at the front, written in every form the rule reads,
// and just outside 32 bits, where the default must come back.
void CheckForms(const uint8_t* data, size_t size)
{
    if (size < 6)
        return;
    int32_t value = 0;
    std::memcpy(&value, data, sizeof value);
    const std::string zeros(data[4] % 4, '0');
    const std::string blanks(data[5] % 4, ' ');
    const bool capitals = (data[5] & 0x10) != 0;
    const int32_t def = value == 7 ? 8 : 7;

    const std::string decimal = std::to_string(value);
    const std::string sign = value < 0 ? "-" : (data[5] & 0x20) != 0 ? "+" : "";
    const std::string magnitude = value < 0 ? decimal.substr(1) : decimal;
    const std::string hex = zeros + HexDigits(static_cast<uint32_t>(value), capitals);
    for (const std::string& form :
         {blanks + sign + zeros + magnitude, "0x" + hex, "0X" + hex, blanks + "$" + hex})
        FUZZ_CHECK(ParseProfileInteger(form, def) == value);

    const int64_t bit32 = int64_t{1} << 32;
    const int64_t wide = value < 0 ? int64_t{value} - bit32 : int64_t{value} + bit32;
    const uint64_t wideHex = uint64_t{static_cast<uint32_t>(value)} + uint64_t{bit32};
    for (const std::string& form :
         {std::to_string(wide), "0x" + HexDigits(wideHex, capitals), "$" + HexDigits(wideHex, false)})
        FUZZ_CHECK(ParseProfileInteger(form, def) == def);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckText(InputText(data, size));
    CheckForms(data, size);
    return 0;
}
