// The one seam between the program and the calls whose effect a test must
// see or must stop: starting programs, ending the session, the notification
// area, blocking message boxes and file dialogs, popup-menu tracking, the
// command line, what the desktop window manager says of a window, the dots
// per inch of the screen, and a volume's label. Each member defaults to the
// real call; a test swaps in its own and restores the original.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <commdlg.h>
#include <shlwapi.h>

// NOTIFYICONIDENTIFIER of Windows 7, which the program's headers, kept to
// Windows XP, leave out.
struct NotifyIconIdentifier {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    GUID guidItem;
};

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
    // WinExec with a command line in full Unicode: the program starts in
    // the current directory with the given show command. Greater than 31
    // on success, as WinExec; fails where the system has no wide
    // functions.
    UINT(WINAPI* winExecW)(LPCWSTR commandLine, UINT show);
    // A volume's label, which a drive that does not answer holds up; called
    // on threads of its own.
    BOOL(WINAPI* getVolumeInformation)(LPCSTR root, LPSTR name, DWORD nameSize, LPDWORD serial,
                                       LPDWORD maximumComponentLength, LPDWORD flags, LPSTR fileSystem,
                                       DWORD fileSystemSize);
    // shell32's DllGetVersion, which it has from version 4.71; elsewhere it
    // fails.
    HRESULT(WINAPI* shellVersion)(DLLVERSIONINFO* info);
    // Shell_NotifyIconGetRect where the system has it (Windows 7 and later);
    // elsewhere it fails.
    HRESULT(WINAPI* notifyIconRect)(const NotifyIconIdentifier* icon, RECT* place);
};

PlatformCalls& Platform();

// A function of a system DLL, or nullptr where the system lacks either:
// what newer Windows adds is looked up this way rather than imported.
void* SystemFunction(const char* library, const char* name);

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

// The wide file, locale and menu functions, looked up at run time: Windows
// 95, 98 and Me export most of them as stubs that fail, so the table is
// empty there, and a caller keeps to the ANSI functions when findFirstFile
// is null. Every member is set when that one is. Tests put their own calls
// in, as they do in the seam.
struct WideCalls {
    HANDLE(WINAPI* findFirstFile)(LPCWSTR pattern, LPWIN32_FIND_DATAW entry);
    BOOL(WINAPI* findNextFile)(HANDLE search, LPWIN32_FIND_DATAW entry);
    HANDLE(WINAPI* createFile)(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE model);
    int(WINAPI* lcMapString)(LCID locale, DWORD flags, LPCWSTR source, int sourceSize, LPWSTR target,
                             int targetSize);
    BOOL(WINAPI* setCurrentDirectory)(LPCWSTR path);
    BOOL(WINAPI* insertMenuItem)(HMENU menu, UINT position, BOOL byPosition, LPCMENUITEMINFOW info);
};
WideCalls& Wide();

// While one of these lives, the calling thread sees the file system as it
// is, not as WOW64 shows a 32-bit program (its own system32 in place of the
// real one); the view comes back however the scope ends. Elsewhere, and on
// systems without WOW64, it does nothing.
class NativeFileSystem {
public:
    NativeFileSystem();
    ~NativeFileSystem();
    NativeFileSystem(const NativeFileSystem&) = delete;
    NativeFileSystem& operator=(const NativeFileSystem&) = delete;

private:
    void* previous_ = nullptr;
    bool disabled_ = false;
};

// Starts a program through the seam's WinExec with the file system as the
// system's own programs see it. A 32-bit program on 64-bit Windows has its
// system directory redirected to SysWOW64, where the 64-bit-only tools are
// missing and cmd.exe is the 32-bit one; so under WOW64 the redirection is
// off for this thread around the start alone, and back on afterwards
// whatever happens. Where there is no WOW64 the functions are missing or
// fail, and the start is the plain one. The result is WinExec's.
UINT StartNativeProgram(LPCSTR commandLine, UINT show);
// The same for a command line in full Unicode, through the seam's winExecW.
UINT StartNativeProgram(LPCWSTR commandLine, UINT show);
