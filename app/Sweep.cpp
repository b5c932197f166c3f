// Window sweeps: the filter chain that tells an open application from
// everything else on the desktop, and the three tray buttons that run one.
#include "Sweep.h"

#include "CommaList.h"
#include "Unit1.h"
#include "framework/Platform.h"

namespace {

// Titles take part in the ignore test up to this many characters.
constexpr int kTitleBuffer = 50;
// DWMWA_CLOAKED, which the headers of older systems do not name.
constexpr DWORD kDwmCloaked = 14;

// Windows 8 and later cloak the frames of suspended store apps, of other
// virtual desktops and of parts of the shell: IsWindowVisible says yes, yet
// the user sees nothing there. Where the call fails (no desktop window
// manager, or a system before Windows 8) nothing is cloaked.
bool IsCloaked(HWND window)
{
    DWORD cloaked = 0;
    return SUCCEEDED(Platform().dwmGetWindowAttribute(window, kDwmCloaked, &cloaked, sizeof(cloaked))) &&
           cloaked != 0;
}

bool IsProgramManager(HWND window)
{
    return window == FindWindowA("Progman", nullptr);
}

bool IsSweepable(HWND window, const char* title, const Sweep& sweep)
{
    if (window == Application->Handle())
        return false;
    if (!IsWindowVisible(window) || IsCloaked(window))
        return false;
    if (!IsWindowEnabled(window))
        return false;
    if (GetParent(window) != nullptr)
        return false;
    if (GetWindowTextLengthA(window) <= 0)
        return false;
    if (window == GetDesktopWindow())
        return false;
    if (!*sweep.includeProgman && IsProgramManager(window))
        return false;
    return !IsIgnored(LowerAscii(title), LowerAscii(sweep.ignoreText()));
}

void Apply(HWND window, int action)
{
    if (action == kSweepClose) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return;
    }
    // SW_RESTORE brings a maximized window down to its normal size as well;
    // a minimized one it brings back as it was, maximized or not.
    if (action == kSweepRestore && !IsIconic(window))
        return;
    ShowWindowAsync(window, action);
}

}  // namespace

void RunSweep(const Sweep& sweep)
{
    EnumWindows(SweepWindowProc, reinterpret_cast<LPARAM>(&sweep));
}

BOOL CALLBACK SweepWindowProc(HWND window, LPARAM sweepParameter)
{
    const Sweep& sweep = *reinterpret_cast<const Sweep*>(sweepParameter);
    char title[kTitleBuffer] = {};
    GetWindowTextA(window, title, kTitleBuffer);
    if (IsSweepable(window, title, sweep))
        Apply(window, sweep.action);
    // Keep the program's own windows alive while the sweep runs.
    Application->ProcessMessages();
    return TRUE;
}

Sweep TfrmTamrik::SweepOf(int action)
{
    return {action, [this] { return txtIgnore->Text(); }, &IncludeProgman};
}

void TfrmTamrik::trayIconMinClick(TComponent*)
{
    RunSweep(SweepOf(kSweepMinimize));
}

void TfrmTamrik::trayIconRestoreClick(TComponent*)
{
    RunSweep(SweepOf(kSweepRestore));
}

void TfrmTamrik::trayIconCloseClick(TComponent*)
{
    RunSweep(SweepOf(kSweepClose));
}
