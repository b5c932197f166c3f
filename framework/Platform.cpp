#include "Platform.h"

#include <string>

namespace {

using DwmGetWindowAttributeCall = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);

// Windows XP has no dwmapi.dll, and a program that imports it does not start
// there: the library is loaded on first use. It is named with the system
// directory, since a bare name is looked for in the program's directory
// first, and dwmapi is not one of the DLLs the loader always takes from the
// system.
DwmGetWindowAttributeCall LoadDwmGetWindowAttribute()
{
    char directory[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const HMODULE dwm = LoadLibraryA((std::string(directory) + "\\dwmapi.dll").c_str());
    if (!dwm)
        return nullptr;
    // FARPROC stands for any export; going through void* keeps GCC from
    // warning of a cast between unlike function types.
    return reinterpret_cast<DwmGetWindowAttributeCall>(
        reinterpret_cast<void*>(GetProcAddress(dwm, "DwmGetWindowAttribute")));
}

HRESULT WINAPI DwmGetWindowAttributeIfAny(HWND window, DWORD attribute, PVOID value, DWORD size)
{
    static const DwmGetWindowAttributeCall call = LoadDwmGetWindowAttribute();
    return call ? call(window, attribute, value, size) : E_NOTIMPL;
}

}  // namespace

PlatformCalls& Platform()
{
    static PlatformCalls calls = {
        ::WinExec,
        ::ExitWindowsEx,
        ::Shell_NotifyIconA,
        ::MessageBoxA,
        ::GetCommandLineA,
        ::TrackPopupMenu,
        ::GetOpenFileNameA,
        DwmGetWindowAttributeIfAny,
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

bool RequestSessionEnd(UINT flags)
{
    EnableShutdownPrivilege();
    return Platform().exitWindowsEx(flags, 0) != FALSE;
}
