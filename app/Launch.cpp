#include "Launch.h"

#include <windows.h>

#include "LaunchText.h"
#include "framework/Platform.h"

namespace {

// WinExec's result is the system's error code for the usual failures (file
// or path not found, not a program, access denied); 0 stands for a system
// out of memory or resources.
std::string Reason(unsigned result)
{
    if (result == 0)
        return "The system is out of memory or resources.";
    char text[512] = {};
    if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, result, 0, text,
                       sizeof(text), nullptr) == 0)
        return "Error " + std::to_string(result) + ".";
    return text;
}

}  // namespace

unsigned TryLaunch(const std::string& commandLine)
{
    return StartNativeProgram(commandLine.c_str(), SW_SHOWNORMAL);
}

// A tray click leaves the keyboard where it was, so the box takes the
// foreground for Enter and Escape to reach it; it is modal to every window
// of the program.
void ReportLaunchFailure(const std::string& commandLine, unsigned result, const std::string& advice)
{
    Platform().messageBox(nullptr, LaunchFailureText(commandLine, Reason(result), advice).c_str(), "Tamrik",
                          MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
}

namespace {

bool Reported(unsigned result, const std::string& commandLine, const std::string& advice)
{
    if (LaunchSucceeded(result))
        return true;
    ReportLaunchFailure(commandLine, result, advice);
    return false;
}

}  // namespace

bool Launch(const std::string& commandLine, const std::string& advice)
{
    return Reported(TryLaunch(commandLine), commandLine, advice);
}

bool Launch(const WideString& commandLine, const std::string& shownAs)
{
    return Reported(StartNativeProgram(commandLine.c_str(), SW_SHOWNORMAL), shownAs, "");
}

std::string EnvironmentVariable(const char* name)
{
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0)
        return "";
    std::string value(size, '\0');
    const DWORD length = GetEnvironmentVariableA(name, &value[0], size);
    value.resize(length < size ? length : 0);
    return value;
}
