// What every fuzz target shares: a check that stops the run on a broken
// property, so that libFuzzer keeps the input, and the input read as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

inline std::string InputText(const uint8_t* data, size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The blanks as the program documents them, written out again here so that
// a change to the program's own blank tests cannot go unseen: codes 0 to 32
// for the command line and the comma lists; for the profile service, what
// Windows or Wine strip around a value.
inline bool IsBlankCode(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

inline bool IsProfileBlankCode(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u == ' ' || (u >= 9 && u <= 13) || u == 26;
}

inline bool StartsWith(const std::string& s, const std::string& prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

inline bool EndsWith(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}
