// The command line as the program reads it: any text splits into words that
// lose no character and gain none, words written back in quotes split the
// same way again, and each word's switch letters act alike in either case
// and whatever else the word holds.
#include "FuzzCheck.h"
#include "app/CommaList.h"
#include "app/Switches.h"

namespace {

// What is left of a text once blanks and quotes are dropped: the characters
// that every split must hand on, in their order.
std::string Significant(const std::string& text)
{
    std::string out;
    for (const char c : text)
        if (!IsBlankCode(c) && c != '"')
            out += c;
    return out;
}

bool SameRequest(const SwitchRequest& a, const SwitchRequest& b)
{
    return a.minimize == b.minimize && a.close == b.close && a.shutdown == b.shutdown &&
           a.exitFlags == b.exitFlags;
}

std::string UpperAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

void CheckSwitches(const std::string& argument)
{
    const SwitchRequest request = ParseSwitches(argument);
    FUZZ_CHECK(SameRequest(request, ParseSwitches(UpperAscii(argument))));
    FUZZ_CHECK(SameRequest(request, ParseSwitches(LowerAscii(argument))));

    std::string letters;
    for (const char c : LowerAscii(argument))
        if (std::string("mxkab").find(c) != std::string::npos)
            letters += c;
    FUZZ_CHECK(SameRequest(request, ParseSwitches(letters)));

    if (!request.shutdown) {
        FUZZ_CHECK(request.exitFlags == 0);
        return;
    }
    const unsigned flags = request.exitFlags;
    FUZZ_CHECK(flags == 1 || flags == 2 || flags == 5 || flags == 6);
    FUZZ_CHECK(MayEndUnasked(flags) == (letters.find('a') != std::string::npos));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string commandLine = InputText(data, size);
    const std::vector<std::string> words = SplitCommandLine(commandLine);

    std::string joined;
    std::string quoted;
    for (const std::string& word : words) {
        FUZZ_CHECK(word.find('"') == std::string::npos);
        joined += word;
        quoted += " \"" + word + "\"";
        CheckSwitches(word);
    }
    FUZZ_CHECK(Significant(joined) == Significant(commandLine));
    FUZZ_CHECK(SplitCommandLine(quoted) == words);
    return 0;
}
