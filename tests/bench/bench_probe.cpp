// What scripts/bench.sh needs to see and do inside Wine, for both sides of a
// benchmark alike: it watches Wine's tray and owns the windows that a sweep
// minimizes. One command a line on standard input, one answer a line on
// standard output:
//   icons N      waits until Wine's tray shows exactly N icons; answers
//                "icons N X,Y ..." with each icon's centre on the screen, left
//                to right, or "timeout icons M" with the count it last saw
//   reach N      the same, once also every centre lands on its own icon, with
//                no window over it, so that a click there reaches it
//   windows K    opens K top-level windows; "windows K" once all are shown
//   restore      restores them and Wine's tray window; "restored"
//   idle CLASS   "idle" once the program that owns the window of CLASS waits
//                for input, else "busy" (or "missing")
//   close CLASS  posts WM_CLOSE to the window of CLASS; "posted" or "missing"
// After a restore, once every one of its windows is minimized, it says
// "minimized" of itself: the end of a sweep, whichever program ran it.
// Standard input closing ends it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT kOpen = WM_APP + 1;
constexpr UINT kRestore = WM_APP + 2;
constexpr UINT kEnd = WM_APP + 3;
constexpr DWORD kDeadline = 60000;  // milliseconds for any one wait
const char kTray[] = "__winex11_standalone_tray";
const char kTrayIcon[] = "__winex11_tray_icon";
const char kControlClass[] = "TamrikBenchProbe";
const char kTargetClass[] = "TamrikBenchTarget";

HWND control = nullptr;

// The two threads answer in whole lines, each written at once.
void Say(const std::string& line)
{
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// The sweep's targets, touched only by the main thread.
struct Targets {
    std::vector<HWND> windows;
    std::vector<bool> minimized;
    size_t count = 0;
    bool armed = false;
} targets;

void Minimized(HWND window)
{
    const auto at = std::find(targets.windows.begin(), targets.windows.end(), window);
    if (at == targets.windows.end())
        return;
    const size_t index = static_cast<size_t>(at - targets.windows.begin());
    if (targets.minimized[index])
        return;
    targets.minimized[index] = true;
    if (++targets.count < targets.windows.size() || !targets.armed)
        return;
    if (std::all_of(targets.windows.begin(), targets.windows.end(), [](HWND each) { return IsIconic(each); })) {
        targets.armed = false;
        Say("minimized");
    }
}

void Open(size_t count)
{
    for (size_t i = targets.windows.size(); i < count; ++i) {
        const std::string title = "Bench window " + std::to_string(i);
        // Below and right of the tray's corner, so that its icons stay clear to click.
        const int x = 260 + static_cast<int>(i % 25) * 24;
        const int y = 260 + static_cast<int>(i / 25) * 20;
        targets.windows.push_back(CreateWindowExA(0, kTargetClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                                  x, y, 220, 80, nullptr, nullptr, GetModuleHandleA(nullptr),
                                                  nullptr));
        targets.minimized.push_back(false);
    }
}

void Restore()
{
    targets.armed = false;
    for (const HWND window : targets.windows)
        if (IsIconic(window))
            ShowWindow(window, SW_RESTORE);
    if (const HWND tray = FindWindowA(kTray, nullptr))
        if (IsIconic(tray))
            ShowWindow(tray, SW_RESTORE);
    std::fill(targets.minimized.begin(), targets.minimized.end(), false);
    targets.count = 0;
    targets.armed = true;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED)
            Minimized(window);
        return 0;
    case WM_CLOSE:
        return 0;  // a sweep's business is to minimize; nothing else ends a target
    case kOpen:
        Open(static_cast<size_t>(wParam));
        return 0;
    case kRestore:
        Restore();
        return 0;
    case kEnd:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

struct Icon {
    HWND window;
    RECT rect;
    POINT Centre() const { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }
};

BOOL CALLBACK AddIcon(HWND child, LPARAM list)
{
    char name[64] = {};
    GetClassNameA(child, name, sizeof(name));
    if (std::strcmp(name, kTrayIcon) == 0 && IsWindowVisible(child)) {
        Icon icon = {child, {}};
        GetWindowRect(child, &icon.rect);
        reinterpret_cast<std::vector<Icon>*>(list)->push_back(icon);
    }
    return TRUE;
}

// The icons that Wine's tray shows, left to right; none while the tray
// window is hidden or minimized.
std::vector<Icon> ShownIcons()
{
    std::vector<Icon> icons;
    const HWND tray = FindWindowA(kTray, nullptr);
    if (!tray || !IsWindowVisible(tray) || IsIconic(tray))
        return icons;
    EnumChildWindows(tray, AddIcon, reinterpret_cast<LPARAM>(&icons));
    std::sort(icons.begin(), icons.end(), [](const Icon& a, const Icon& b) { return a.rect.left < b.rect.left; });
    return icons;
}

bool Reachable(const std::vector<Icon>& icons)
{
    return std::all_of(icons.begin(), icons.end(), [](const Icon& icon) {
        return WindowFromPoint(icon.Centre()) == icon.window;
    });
}

void WaitForIcons(size_t count, bool reach)
{
    const DWORD start = GetTickCount();
    std::vector<Icon> icons;
    while ((icons = ShownIcons()).size() != count || (reach && !Reachable(icons))) {
        if (GetTickCount() - start > kDeadline) {
            Say("timeout icons " + std::to_string(icons.size()));
            return;
        }
        Sleep(1);
    }
    std::string line = "icons " + std::to_string(count);
    for (const Icon& icon : icons)
        line += " " + std::to_string(icon.Centre().x) + "," + std::to_string(icon.Centre().y);
    Say(line);
}

std::string Idle(const std::string& windowClass)
{
    const HWND window = FindWindowA(windowClass.c_str(), nullptr);
    if (!window)
        return "missing";
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    const HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process);
    const bool idle = handle && WaitForInputIdle(handle, kDeadline) == 0;
    if (handle)
        CloseHandle(handle);
    return idle ? "idle" : "busy";
}

void Obey(const std::string& line)
{
    const size_t blank = line.find(' ');
    const std::string command = line.substr(0, blank);
    const std::string argument = blank == std::string::npos ? "" : line.substr(blank + 1);
    if (command == "icons" || command == "reach") {
        WaitForIcons(std::strtoul(argument.c_str(), nullptr, 10), command == "reach");
    } else if (command == "windows") {
        const size_t count = std::strtoul(argument.c_str(), nullptr, 10);
        SendMessageA(control, kOpen, count, 0);
        Say("windows " + std::to_string(count));
    } else if (command == "restore") {
        SendMessageA(control, kRestore, 0, 0);
        Say("restored");
    } else if (command == "idle") {
        Say(Idle(argument));
    } else if (command == "close") {
        const HWND window = FindWindowA(argument.c_str(), nullptr);
        Say(window && PostMessageA(window, WM_CLOSE, 0, 0) ? "posted" : "missing");
    } else {
        Say("unknown " + command);
    }
}

DWORD WINAPI ReadCommands(void*)
{
    std::string pending;
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        pending.append(buffer, got);
        for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
            if (!line.empty())
                Obey(line);
        }
    }
    PostMessageA(control, kEnd, 0, 0);
    return 0;
}

void Register(const char* className)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
}

}  // namespace

int main()
{
    Register(kControlClass);
    Register(kTargetClass);
    control = CreateWindowExA(0, kControlClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
    const HANDLE reader = CreateThread(nullptr, 0, ReadCommands, nullptr, 0, nullptr);
    if (!control || !reader)
        return 1;
    Say("ready");
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    CloseHandle(reader);
    return 0;
}
