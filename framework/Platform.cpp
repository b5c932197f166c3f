#include "Platform.h"

#include <string>

namespace {

// The functions of newer Windows are looked up when first used: a program
// that imports one does not start where it is missing (Windows XP has no
// dwmapi.dll, no shcore.dll, and no DPI functions in user32). A library is
// named with the system directory, since a bare name is looked for in the
// program's directory first, and neither dwmapi nor shcore is one of the
// DLLs the loader always takes from the system.
void* SystemFunction(const char* library, const char* name)
{
    char directory[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const HMODULE module = LoadLibraryA((std::string(directory) + "\\" + library).c_str());
    // FARPROC stands for any export; going through void* keeps GCC from
    // warning of a cast between unlike function types.
    return module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}

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

}  // namespace

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

namespace {

// The file system redirection of WOW64, off for the life of the object when
// the process runs under WOW64. The two functions came with Windows XP x64
// and Server 2003 SP1.
class NativeFileSystem {
public:
    NativeFileSystem()
    {
        using Disable = BOOL(WINAPI*)(PVOID*);
        static const Disable disable = Lookup<Disable>("kernel32.dll", "Wow64DisableWow64FsRedirection");
        static const Revert revert = Lookup<Revert>("kernel32.dll", "Wow64RevertWow64FsRedirection");
        if (disable && revert && disable(&state_))
            revert_ = revert;
    }
    ~NativeFileSystem()
    {
        if (revert_)
            revert_(state_);
    }
    NativeFileSystem(const NativeFileSystem&) = delete;
    NativeFileSystem& operator=(const NativeFileSystem&) = delete;

private:
    using Revert = BOOL(WINAPI*)(PVOID);
    PVOID state_ = nullptr;
    Revert revert_ = nullptr;  // set while the redirection is off
};

}  // namespace

UINT StartNativeProgram(LPCSTR commandLine, UINT show)
{
    const NativeFileSystem native;
    return Platform().winExec(commandLine, show);
}
