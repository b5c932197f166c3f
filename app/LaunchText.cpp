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

namespace {

// One text for both widths: the prefix is plain ASCII.
template <typename String>
String PrefixOf(const char* prefix)
{
    return String(prefix, prefix + std::char_traits<char>::length(prefix));
}

template <typename String>
String ExplorerLine(const String& path)
{
    return PrefixOf<String>(kExplorerPrefix) + path;
}

template <typename String>
String CaptionOf(const String& name)
{
    String caption;
    caption.reserve(name.size());
    for (const auto c : name) {
        caption += c;
        if (c == '&')
            caption += c;
    }
    return caption;
}

}  // namespace

std::string ExplorerCommandLine(const std::string& path)
{
    return ExplorerLine(path);
}

WideString ExplorerCommandLine(const WideString& path)
{
    return ExplorerLine(path);
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
    return CaptionOf(name);
}

WideString MenuCaption(const WideString& name)
{
    return CaptionOf(name);
}

int ScanDepth(int value)
{
    return std::clamp(value, 0, kMaxScanDepth);
}
