// What the three launchers hand to the platform, worked out from the text the
// user typed: the command lines, the program boxes' text after a Browse, the
// drive filter, menu captions, and the order the popup menus are rebuilt in.
#pragma once

#include <string>
#include <vector>

#include "framework/WideText.h"

// Used when the program box is blank; each ends in the blank that separates
// the parameters.
constexpr const char* kDefaultInterpreter = "command.com ";
constexpr const char* kDefaultTelnetClient = "telnet.exe ";
constexpr const char* kExplorerPrefix = "explorer.exe ";

// The program text as typed, a blank and the parameters as typed; the
// default interpreter or client in front of the parameters when the program
// text is blank. Nothing is trimmed and nothing is quoted.
std::string MSDOSCommandLine(const std::string& program, const std::string& parameters);
std::string TelnetCommandLine(const std::string& program, const std::string& site);
// The explorer takes a comma on its command line for the end of a switch
// of its own, so the path goes in double quotes: unquoted, "T:\Q1,Q2"
// opens T:\Q1. A path never holds a double quote, and never ends in a
// backslash (which would escape the closing one): the drives menu's paths
// are a letter and colon, or that and names.
std::string ExplorerCommandLine(const std::string& path);
// The same for a path in full Unicode.
WideString ExplorerCommandLine(const WideString& path);

// WinExec's answer for a start that found no program: a file or a path
// that is not there. Any other answer of 31 or less is another failure.
constexpr unsigned kNoSuchFile = 2;
constexpr unsigned kNoSuchPath = 3;
constexpr unsigned kLastFailure = 31;
inline bool LaunchSucceeded(unsigned winExecResult) { return winExecResult > kLastFailure; }
inline bool NotFound(unsigned winExecResult)
{
    return winExecResult == kNoSuchFile || winExecResult == kNoSuchPath;
}

// The interpreter the system names in %ComSpec%, with the parameters as
// the default interpreter would have had them; empty when the variable is
// blank, so that there is nothing else to try.
std::string ComSpecCommandLine(const std::string& comSpec, const std::string& parameters);

// The text of the box that reports a start that failed: the command line
// (cut short when it would not fit a screen), the system's reason, and
// advice where the user can choose another program, when there is any.
constexpr size_t kShownCommandLine = 260;
std::string LaunchFailureText(const std::string& commandLine, const std::string& reason, const std::string& advice);
constexpr const char* kTelnetAdvice =
    "To use another telnet program, choose it on the \"Quick Telnet\" page of the Properties window.";

// The manual, readme.txt, opened in Notepad: from the program directory when
// it is there; otherwise from the directory of Tamrik.exe, since a start at
// logon or from a shortcut without a working folder leaves the program
// directory in the system's folder. Both directories end in a backslash.
constexpr const char* kManual = "readme.txt";
template <typename Exists>
std::string HelpCommandLine(const std::string& programDirectory, const std::string& exeDirectory, Exists exists)
{
    const std::string& directory =
        exists(programDirectory + kManual) || !exists(exeDirectory + kManual) ? programDirectory : exeDirectory;
    return "notepad " + directory + kManual;
}

// The directory part of a file's full path, with its backslash; empty when
// the path has none.
std::string DirectoryOf(const std::string& path);

// A path chosen in the file dialog as it goes into a program box: in double
// quotes when it holds a blank, so that it starts as one program. A path
// in quotes already stays as it is.
std::string ProgramBoxText(const std::string& chosenPath);

// A drive is left out of the drives menu when its small letter occurs
// anywhere in the text; nothing else in the text counts.
bool IsBadDrive(const std::string& badDriveText, char smallLetter);

// The caption that shows a name as it is: every "&" doubled, since a menu
// takes a single one as the mark of an access key. A name of exactly "-"
// stays a separator.
std::string MenuCaption(const std::string& name);
WideString MenuCaption(const WideString& name);

// The scan depth of the drives menu: the spin field's value within 0 to 50.
constexpr int kMaxScanDepth = 50;
int ScanDepth(int value);

// The three items every tray menu ends with; what is above them is rebuilt
// at every popup.
constexpr int kFixedMenuItems = 3;

template <typename Menu>
void RemoveBuiltItems(Menu& menu)
{
    while (menu.Count() > kFixedMenuItems)
        menu.Delete(0);
}

// The site items: a separator, then every site, each put in at the top, so
// the menu reads from the last site to the first above the separator. With
// no sites there is no separator either.
template <typename Menu, typename MakeSeparator, typename MakeSite>
void RebuildSiteItems(Menu& menu, const std::vector<std::string>& sites, MakeSeparator makeSeparator,
                      MakeSite makeSite)
{
    RemoveBuiltItems(menu);
    if (sites.empty())
        return;
    menu.Insert(0, makeSeparator());
    for (const std::string& site : sites)
        menu.Insert(0, makeSite(site));
}
