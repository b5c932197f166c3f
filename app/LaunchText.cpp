#include "LaunchText.h"

#include <algorithm>

#include "CommaList.h"

namespace {

std::string WithProgram(const std::string& program, const char* fallback, const std::string& argument)
{
    if (IsBlank(program))
        return fallback + argument;
    return program + " " + argument;
}

}  // namespace

std::string MSDOSCommandLine(const std::string& program, const std::string& parameters)
{
    return WithProgram(program, kDefaultInterpreter, parameters);
}

std::string TelnetCommandLine(const std::string& program, const std::string& site)
{
    return WithProgram(program, kDefaultTelnetClient, site);
}

std::string ExplorerCommandLine(const std::string& path)
{
    return kExplorerPrefix + ('"' + path + '"');
}

std::string ProgramBoxText(const std::string& chosenPath)
{
    if (chosenPath.find(' ') == std::string::npos)
        return chosenPath;
    return '"' + chosenPath + '"';
}

bool IsBadDrive(const std::string& badDriveText, char smallLetter)
{
    return badDriveText.find(smallLetter) != std::string::npos;
}

std::string MenuCaption(const std::string& name)
{
    std::string caption;
    caption.reserve(name.size());
    for (const char c : name) {
        caption += c;
        if (c == '&')
            caption += '&';
    }
    return caption;
}

int ScanDepth(int value)
{
    return std::clamp(value, 0, kMaxScanDepth);
}
