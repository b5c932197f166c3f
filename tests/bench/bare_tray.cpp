// The bare platform's side of the tray benchmarks: a hidden window and five
// notification icons, and nothing more. A left press on any of its icons
// runs the least a minimize sweep can be: EnumWindows, and ShowWindowAsync
// with SW_MINIMIZE on every visible top-level window. WM_CLOSE ends it.
// It reacts to the press, not the release, as Tamrik's buttons do.
#include <windows.h>

#include <shellapi.h>

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

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
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
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
