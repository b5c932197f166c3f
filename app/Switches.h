// The command line's switch letters and the shutdown exit flags.
#pragma once

#include <string>
#include <vector>

// Flag values of the session-end request, as the platform defines them.
constexpr unsigned kEwxShutdown = 1;
constexpr unsigned kEwxReboot = 2;
constexpr unsigned kEwxForce = 4;
constexpr unsigned kEwxForceIfHung = 0x10;  // Windows 2000 and later

// 1, 5, 2 or 6: shut down or restart, asking applications first or not.
// The command line's request: its a letter asks for a forced end, and gets one.
unsigned ExitFlags(bool reboot, bool force);

// Whether the system knows EWX_FORCEIFHUNG, from what GetVersion returns:
// the major version in the low byte, and the top bit set on Windows 95, 98
// and Me, which lack it. Windows NT has it from 5 (Windows 2000) on.
bool HasForceIfHung(unsigned long version);

// The shutdown tray button's request. With the prompt box clear, the
// applications that hang are ended without a prompt; those that answer are
// still asked, so unsaved work is not thrown away. Where the system cannot
// tell them apart, every application is ended without being asked.
unsigned DirectShutdownFlags(bool reboot, bool promptOnClose, bool forceIfHung);

// True when the request may end this program without its session-end
// messages running to the end: a forced end never sends them, and a
// force-if-hung end kills a program that is busy when they come.
bool MayEndUnasked(unsigned exitFlags);

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
