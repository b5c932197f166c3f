#include "Platform.h"

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
