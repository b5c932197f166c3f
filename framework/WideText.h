// Text in full Unicode, for names the user's code page may lack.
//
// Its own traits keep the standard library's prebuilt wide string out of
// the program: that one comes whole, every member of it, and would cost the
// shipped program some 15 KB; these instantiate only what is used. Its
// length is counted here, so the program imports no wcslen either.
#pragma once

#include <string>

struct WideTraits : std::char_traits<wchar_t> {
    static size_t length(const wchar_t* text)
    {
        size_t size = 0;
        while (text[size])
            ++size;
        return size;
    }
};

using WideString = std::basic_string<wchar_t, WideTraits>;
