// Window sweeps: one pass over the desktop's top-level windows that
// minimizes, restores or closes every open application, honouring the
// ignore list.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Sweep actions: the show command handed to ShowWindowAsync, or a close.
constexpr int kSweepMinimize = SW_MINIMIZE;  // 6
constexpr int kSweepRestore = SW_RESTORE;    // 9
constexpr int kSweepClose = WM_CLOSE;        // 16

// What one sweep is given. The ignore text and the program-manager pass are
// read afresh at every window: an edit of the ignore box counts from the
// next window on, and a shutdown-menu run nested in the sweep's message
// drain sets and clears the pass while the outer sweep is under way.
struct Sweep {
    int action;
    std::function<std::string()> ignoreText;
    const bool* includeProgman;
};

// Sweeps every top-level window; returns once the last one has been seen.
void RunSweep(const Sweep& sweep);

// The enumeration callback of every sweep; its parameter points to the Sweep.
BOOL CALLBACK SweepWindowProc(HWND window, LPARAM sweepParameter);
