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
