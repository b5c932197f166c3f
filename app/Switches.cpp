#include "Switches.h"

#include "CommaList.h"

unsigned ExitFlags(bool reboot, bool force)
{
    return (reboot ? kEwxReboot : kEwxShutdown) | (force ? kEwxForce : 0u);
}

bool HasForceIfHung(unsigned long version)
{
    const bool windows9x = (version & 0x80000000UL) != 0;
    const unsigned long major = version & 0xFFUL;
    return !windows9x && major >= 5;
}

unsigned DirectShutdownFlags(bool reboot, bool promptOnClose, bool forceIfHung)
{
    const unsigned end = reboot ? kEwxReboot : kEwxShutdown;
    if (promptOnClose)
        return end;
    return end | (forceIfHung ? kEwxForceIfHung : kEwxForce);
}

bool MayEndUnasked(unsigned exitFlags)
{
    return (exitFlags & (kEwxForce | kEwxForceIfHung)) != 0;
}

SwitchRequest ParseSwitches(const std::string& argument)
{
    const std::string lowered = LowerAscii(argument);
    const auto has = [&lowered](char c) { return lowered.find(c) != std::string::npos; };
    SwitchRequest request;
    request.minimize = has('m');
    request.close = has('x');
    request.shutdown = has('k');
    if (request.shutdown)
        request.exitFlags = ExitFlags(has('b'), has('a'));
    return request;
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine)
{
    std::vector<std::string> words;
    size_t i = 0;
    const size_t n = commandLine.size();
    for (;;) {
        while (i < n && IsBlankChar(commandLine[i]))
            ++i;
        if (i >= n)
            break;
        std::string word;
        while (i < n && !IsBlankChar(commandLine[i])) {
            if (commandLine[i] == '"') {
                ++i;
                while (i < n && commandLine[i] != '"')
                    word += commandLine[i++];
                if (i < n)
                    ++i;  // the closing quote
            } else {
                word += commandLine[i++];
            }
        }
        words.push_back(word);
    }
    return words;
}
