// The bare platform's side of the tray benchmarks: a hidden window and five
// notification icons, and nothing more. A left press on any of its icons
// runs the least a minimize sweep can be: EnumWindows, and ShowWindowAsync
// with SW_MINIMIZE on every visible top-level window. WM_CLOSE ends it.
// It reacts to the press, not the release, as Tamrik's buttons do.
//
// Given "controls" on its command line it also loads the common controls
// and registers the classes Tamrik's Properties window is made of, before
// its window and icons; given "window" it also shows a window once its icons
// are up, which activates it, and hides it again. Tamrik's start cannot do
// without either, so with both the program is the platform's share of
// Tamrik's start-up and memory. The common controls are loaded at run time,
// so that without the word the program does not load them at all.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <stdlib.h>
#include <string.h>

namespace {

constexpr UINT kTrayCallback = WM_APP + 1;
constexpr UINT kIcons = 5;
const char kClass[] = "BareTray";

BOOL CALLBACK Minimize(HWND window, LPARAM)
{
    if (IsWindowVisible(window))
        ShowWindowAsync(window, SW_MINIMIZE);
    return TRUE;
}

void Notify(HWND window, DWORD message)
{
    const HICON image = LoadIconA(nullptr, IDI_APPLICATION);
    for (UINT id = 1; id <= kIcons; ++id) {
        NOTIFYICONDATAA icon = {};
        icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
        icon.hWnd = window;
        icon.uID = id;
        icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
        icon.uCallbackMessage = kTrayCallback;
        icon.hIcon = image;
        lstrcpynA(icon.szTip, "Bare tray", sizeof(icon.szTip));
        Shell_NotifyIconA(message, &icon);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kTrayCallback:
        if (lParam == WM_LBUTTONDOWN)
            EnumWindows(Minimize, 0);
        return 0;
    case WM_DESTROY:
        Notify(window, NIM_DELETE);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool Asked(const char* word)
{
    for (int i = 1; i < __argc; ++i)
        if (strcmp(__argv[i], word) == 0)
            return true;
    return false;
}

void LoadCommonControls()
{
    using InitProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const HMODULE library = LoadLibraryA("comctl32.dll");
    // Through void*: GCC warns of a cast between function types.
    void* const found = library ? reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")) : nullptr;
    const auto init = reinterpret_cast<InitProc>(found);
    const INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    if (init)
        init(&classes);
}

void ShowAndHide(HINSTANCE instance)
{
    const HWND shown = CreateWindowExA(0, "STATIC", "Bare tray", WS_OVERLAPPEDWINDOW, 100, 100, 460, 260, nullptr,
                                       nullptr, instance, nullptr);
    ShowWindow(shown, SW_SHOW);
    ShowWindow(shown, SW_HIDE);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (Asked("controls"))
        LoadCommonControls();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClass;
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, kClass, "Bare tray", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr, nullptr,
                                        instance, nullptr);
    if (!window)
        return 1;
    Notify(window, NIM_ADD);
    if (Asked("window"))
        ShowAndHide(instance);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
