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

// The explorer takes a comma on its command line for the end of a switch
// of its own, so the path goes in double quotes.
template <typename String>
String ExplorerLine(const String& path)
{
    const String quote(1, '"');
    return PrefixOf<String>(kExplorerPrefix) + quote + path + quote;
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

std::string ComSpecCommandLine(const std::string& comSpec, const std::string& parameters)
{
    if (IsBlank(comSpec))
        return "";
    return MSDOSCommandLine(ProgramBoxText(comSpec), parameters);
}

std::string LaunchFailureText(const std::string& commandLine, const std::string& reason, const std::string& advice)
{
    std::string shown = commandLine.substr(0, kShownCommandLine);
    if (shown.size() < commandLine.size())
        shown += "...";
    // The system's messages end in a line break of their own.
    std::string because = reason;
    while (!because.empty() && static_cast<unsigned char>(because.back()) <= ' ')
        because.pop_back();
    std::string text = "Cannot start:\n\n" + shown + "\n\n" + because;
    if (!advice.empty())
        text += "\n\n" + advice;
    return text;
}

std::string DirectoryOf(const std::string& path)
{
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

std::string ProgramBoxText(const std::string& chosenPath)
{
    if (chosenPath.find(' ') == std::string::npos || chosenPath.front() == '"')
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
