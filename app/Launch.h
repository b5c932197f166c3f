// Starting the programs the user asks for, and telling the user when one
// does not start.
#pragma once

#include <string>

#include "framework/WideText.h"

// Starts the command line, shown normally, as the system's own programs
// would find it (the native system directory under WOW64). A start that
// fails is reported in one message box: the command line, the system's
// reason, and the advice, when there is any; the program goes on. True when
// the program started.
bool Launch(const std::string& commandLine, const std::string& advice = "");
// The same for a command line in full Unicode; a failure is reported with
// shownAs, the same line in the user's code page, as message boxes take it.
bool Launch(const WideString& commandLine, const std::string& shownAs);

// Starts the command line as Launch does but reports nothing; the result is
// WinExec's, for a caller that has something else to try.
unsigned TryLaunch(const std::string& commandLine);

// The message box of Launch, for a start that gave the result.
void ReportLaunchFailure(const std::string& commandLine, unsigned result, const std::string& advice = "");

// The value of an environment variable; empty when it is not set.
std::string EnvironmentVariable(const char* name);
