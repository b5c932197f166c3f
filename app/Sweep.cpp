// Window sweeps: one pass over the desktop's top-level windows that
// minimizes, restores or closes every open application, honouring the
// ignore list.
#include "Unit1.h"

#include "CommaList.h"

namespace {

// Titles take part in the ignore test up to this many characters.
constexpr int kTitleBuffer = 50;

bool IsSweepable(HWND window, const char* title)
{
    if (window == Application->Handle())
        return false;
    if (!IsWindowVisible(window) || !IsWindowEnabled(window))
        return false;
    if (GetParent(window) != nullptr)
        return false;
    if (GetWindowTextLengthA(window) <= 0)
        return false;
    if (window == GetDesktopWindow())
        return false;
    if (!frmTamrik->IncludeProgman && window == FindWindowA("Progman", nullptr))
        return false;
    return !IsIgnored(LowerAscii(title), LowerAscii(frmTamrik->txtIgnore->Text()));
}

void RunSweep(int action)
{
    EnumWindows(SweepWindowProc, action);
}

}  // namespace

BOOL CALLBACK SweepWindowProc(HWND window, LPARAM action)
{
    char title[kTitleBuffer] = {};
    GetWindowTextA(window, title, kTitleBuffer);
    if (IsSweepable(window, title)) {
        if (action == kSweepClose)
            PostMessageA(window, WM_CLOSE, 0, 0);
        else
            ShowWindowAsync(window, static_cast<int>(action));
    }
    // Keep the program's own windows alive while the sweep runs.
    Application->ProcessMessages();
    return TRUE;
}

void TfrmTamrik::trayIconMinClick(TComponent*)
{
    RunSweep(kSweepMinimize);
}

void TfrmTamrik::trayIconRestoreClick(TComponent*)
{
    RunSweep(kSweepRestore);
}

void TfrmTamrik::trayIconCloseClick(TComponent*)
{
    RunSweep(kSweepClose);
}
