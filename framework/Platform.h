// The one seam between the program and the calls whose effect a test must
// see or must stop: starting programs, ending the session, the notification
// area, blocking message boxes and file dialogs, popup-menu tracking, the
// command line, what the desktop window manager says of a window, and the
// dots per inch of the screen. Each member defaults to the real call; a test
// swaps in its own and restores the original.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <commdlg.h>

struct PlatformCalls {
    UINT(WINAPI* winExec)(LPCSTR commandLine, UINT show);
    BOOL(WINAPI* exitWindowsEx)(UINT flags, DWORD reason);
    BOOL(WINAPI* shellNotifyIcon)(DWORD message, PNOTIFYICONDATAA data);
    int(WINAPI* messageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
    LPSTR(WINAPI* getCommandLine)();
    BOOL(WINAPI* trackPopupMenu)(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);
    BOOL(WINAPI* getOpenFileName)(LPOPENFILENAMEA dialog);
    // DwmGetWindowAttribute where the system has it; elsewhere it fails.
    HRESULT(WINAPI* dwmGetWindowAttribute)(HWND window, DWORD attribute, PVOID value, DWORD size);
    // The dots per inch of the monitor the window is on: GetDpiForWindow, or
    // shcore's GetDpiForMonitor, where the system has them; elsewhere
    // ScreenDpi().
    UINT(WINAPI* getDpiForWindow)(HWND window);
    // GetSystemMetricsForDpi where the system has it; elsewhere
    // GetSystemMetrics, which answers for the screen's DPI.
    int(WINAPI* getSystemMetricsForDpi)(int index, UINT dpi);
};

PlatformCalls& Platform();

// LOGPIXELSY of the screen: the system's DPI, which every Windows has.
UINT ScreenDpi();

// The top-level window that holds a window (the window itself when it is
// one), as GetAncestor with GA_ROOT finds it; that function came only with
// Windows 98 and 2000.
HWND RootWindow(HWND window);

// Asks Windows to end the session with the given flags. The shutdown
// privilege is enabled first where the system has one, since every Windows
// NT refuses the request without it; on systems without it the request goes
// out all the same. The result is the platform's.
bool RequestSessionEnd(UINT flags);

// Starts a program through the seam's WinExec with the file system as the
// system's own programs see it. A 32-bit program on 64-bit Windows has its
// system directory redirected to SysWOW64, where the 64-bit-only tools are
// missing and cmd.exe is the 32-bit one; so under WOW64 the redirection is
// off for this thread around the start alone, and back on afterwards
// whatever happens. Where there is no WOW64 the functions are missing or
// fail, and the start is the plain one. The result is WinExec's.
UINT StartNativeProgram(LPCSTR commandLine, UINT show);
