#include "Platform.h"

#include <string>

#include "WideText.h"

// The functions of newer Windows are looked up when first used: a program
// that imports one does not start where it is missing (Windows XP has no
// dwmapi.dll, no shcore.dll, and no DPI functions in user32). A library is
// named with the system directory, since a bare name is looked for in the
// program's directory first, and neither dwmapi nor shcore is one of the
// DLLs the loader always takes from the system.
void* SystemFunction(const char* library, const char* name)
{
    // A library the program already has (kernel32, user32) is taken as it
    // is: a thread that sees past WOW64 would find the system's 64-bit one
    // under the same path.
    if (const HMODULE loaded = GetModuleHandleA(library))
        return reinterpret_cast<void*>(GetProcAddress(loaded, name));
    char directory[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const HMODULE module = LoadLibraryA((std::string(directory) + "\\" + library).c_str());
    // FARPROC stands for any export; going through void* keeps GCC from
    // warning of a cast between unlike function types.
    return module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}

namespace {

template <typename Call>
Call Lookup(const char* library, const char* name)
{
    return reinterpret_cast<Call>(SystemFunction(library, name));
}

HRESULT WINAPI DwmGetWindowAttributeIfAny(HWND window, DWORD attribute, PVOID value, DWORD size)
{
    using Call = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
    static const Call call = Lookup<Call>("dwmapi.dll", "DwmGetWindowAttribute");
    return call ? call(window, attribute, value, size) : E_NOTIMPL;
}

// Windows 10 from 1607 knows each window's DPI; Windows 8.1 each monitor's
// (MDT_EFFECTIVE_DPI, 0); before them a program sees only the system's.
UINT WINAPI DpiForWindow(HWND window)
{
    using ForWindow = UINT(WINAPI*)(HWND);
    using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    // Windows 95 has no monitor functions; every system with shcore has.
    using MonitorOf = HMONITOR(WINAPI*)(HWND, DWORD);
    static const ForWindow forWindow = Lookup<ForWindow>("user32.dll", "GetDpiForWindow");
    static const ForMonitor forMonitor = Lookup<ForMonitor>("shcore.dll", "GetDpiForMonitor");
    static const MonitorOf monitorOf = forMonitor ? Lookup<MonitorOf>("user32.dll", "MonitorFromWindow") : nullptr;
    if (forWindow)
        if (const UINT dpi = forWindow(window))
            return dpi;
    UINT x = 0, y = 0;
    if (monitorOf && SUCCEEDED(forMonitor(monitorOf(window, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) && y)
        return y;
    return ScreenDpi();
}

// The file dialog's library, with all it loads in turn, is taken in when
// Browse first opens the dialog: loaded with the program, it cost every
// start some 65 ms under Wine, for a dialog that most runs never show.
BOOL WINAPI OpenFileDialog(LPOPENFILENAMEA dialog)
{
    using Call = BOOL(WINAPI*)(LPOPENFILENAMEA);
    static const Call call = Lookup<Call>("comdlg32.dll", "GetOpenFileNameA");
    return call ? call(dialog) : FALSE;
}

int WINAPI SystemMetricsForDpi(int index, UINT dpi)
{
    using Call = int(WINAPI*)(int, UINT);
    static const Call call = Lookup<Call>("user32.dll", "GetSystemMetricsForDpi");
    return call ? call(index, dpi) : GetSystemMetrics(index);
}

// WinExec's own steps, wide: the first word of the command line is the
// program, looked for along the usual path; the window shows as asked.
UINT WINAPI WinExecWide(LPCWSTR commandLine, UINT show)
{
    using Call = BOOL(WINAPI*)(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID,
                               LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION);
    static const Call call = Wide().findFirstFile ? Lookup<Call>("kernel32.dll", "CreateProcessW") : nullptr;
    if (!call)
        return 0;
    WideString line(commandLine);  // CreateProcessW may write into it
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process = {};
    if (!call(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return GetLastError() == ERROR_FILE_NOT_FOUND ? ERROR_FILE_NOT_FOUND : 0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 33;  // what WinExec gives for a started program: anything above 31
}

HRESULT WINAPI ShellVersion(DLLVERSIONINFO* info)
{
    using Call = HRESULT(WINAPI*)(DLLVERSIONINFO*);
    static const Call call = Lookup<Call>("shell32.dll", "DllGetVersion");
    return call ? call(info) : E_NOTIMPL;
}

HRESULT WINAPI NotifyIconRect(const NotifyIconIdentifier* icon, RECT* place)
{
    using Call = HRESULT(WINAPI*)(const NotifyIconIdentifier*, RECT*);
    static const Call call = Lookup<Call>("shell32.dll", "Shell_NotifyIconGetRect");
    return call ? call(icon, place) : E_NOTIMPL;
}

}  // namespace

WideCalls& Wide()
{
    static WideCalls calls = [] {
        WideCalls found = {};
        // The high bit of the version marks Windows 95, 98 and Me.
        if (GetVersion() & 0x80000000u)
            return found;
        found.findFirstFile = Lookup<decltype(found.findFirstFile)>("kernel32.dll", "FindFirstFileW");
        found.findNextFile = Lookup<decltype(found.findNextFile)>("kernel32.dll", "FindNextFileW");
        found.createFile = Lookup<decltype(found.createFile)>("kernel32.dll", "CreateFileW");
        found.lcMapString = Lookup<decltype(found.lcMapString)>("kernel32.dll", "LCMapStringW");
        found.setCurrentDirectory = Lookup<decltype(found.setCurrentDirectory)>("kernel32.dll", "SetCurrentDirectoryW");
        found.insertMenuItem = Lookup<decltype(found.insertMenuItem)>("user32.dll", "InsertMenuItemW");
        if (!found.findNextFile || !found.createFile || !found.lcMapString || !found.setCurrentDirectory ||
            !found.insertMenuItem)
            found = {};
        return found;
    }();
    return calls;
}

// Both functions came with Windows XP x64 and Server 2003 SP1; the state
// they keep is the thread's own.
namespace {

struct RedirectionCalls {
    BOOL(WINAPI* disable)(PVOID*);
    BOOL(WINAPI* revert)(PVOID);
};

const RedirectionCalls& Redirection()
{
    static const RedirectionCalls calls = {
        Lookup<decltype(RedirectionCalls::disable)>("kernel32.dll", "Wow64DisableWow64FsRedirection"),
        Lookup<decltype(RedirectionCalls::revert)>("kernel32.dll", "Wow64RevertWow64FsRedirection"),
    };
    return calls;
}

}  // namespace

NativeFileSystem::NativeFileSystem()
{
    const RedirectionCalls& calls = Redirection();
    disabled_ = calls.disable && calls.revert && calls.disable(&previous_);
}

NativeFileSystem::~NativeFileSystem()
{
    if (disabled_)
        Redirection().revert(previous_);
}

UINT ScreenDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

PlatformCalls& Platform()
{
    static PlatformCalls calls = {
        ::WinExec,
        ::ExitWindowsEx,
        ::Shell_NotifyIconA,
        ::MessageBoxA,
        ::GetCommandLineA,
        ::TrackPopupMenu,
        OpenFileDialog,
        DwmGetWindowAttributeIfAny,
        DpiForWindow,
        SystemMetricsForDpi,
        WinExecWide,
        ::GetVolumeInformationA,
        ShellVersion,
        NotifyIconRect,
    };
    return calls;
}

namespace {

void EnableShutdownPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return;  // no security on this system: nothing to enable
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    CloseHandle(token);
}

}  // namespace

HWND RootWindow(HWND window)
{
    while (window && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
        const HWND parent = GetParent(window);
        if (!parent)
            break;
        window = parent;
    }
    return window;
}

bool RequestSessionEnd(UINT flags)
{
    EnableShutdownPrivilege();
    return Platform().exitWindowsEx(flags, 0) != FALSE;
}

UINT StartNativeProgram(LPCSTR commandLine, UINT show)
{
    const NativeFileSystem native;
    return Platform().winExec(commandLine, show);
}

UINT StartNativeProgram(LPCWSTR commandLine, UINT show)
{
    const NativeFileSystem native;
    return Platform().winExecW(commandLine, show);
}
