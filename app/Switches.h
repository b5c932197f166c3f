// The command line's switch letters and the shutdown exit flags.
#pragma once

#include <string>
#include <vector>

// Flag values of the session-end request, as the platform defines them.
constexpr unsigned kEwxShutdown = 1;
constexpr unsigned kEwxReboot = 2;
constexpr unsigned kEwxForce = 4;

// 1, 5, 2 or 6: shut down or restart, asking applications first or not.
unsigned ExitFlags(bool reboot, bool force);

// What one command-line argument asks for. Each letter may stand anywhere in
// the argument, in either case; a and b only qualify k.
struct SwitchRequest {
    bool minimize = false;
    bool close = false;
    bool shutdown = false;
    unsigned exitFlags = 0;  // meaningful only with shutdown
};

SwitchRequest ParseSwitches(const std::string& argument);

// Splits a whole command line the way the program reads its arguments:
// blanks and control characters separate words, a pair of double quotes
// groups blanks into a word and the quotes are dropped; backslashes are
// ordinary characters. Element 0 is the program's own path.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
