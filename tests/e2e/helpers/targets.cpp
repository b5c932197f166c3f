// Windows for a sweep to act on, or to leave alone: each kind of window the
// sweep must skip, two it must take, and a message-only control window.
// Everything that happens to them is appended to the log named on the
// command line, one line per event, written straight through so that a
// session end cannot lose it. With "maximized" there are two more windows
// that the sweep takes: one maximized, one maximized and then minimized.
//   targets.exe LOG [maximized]
// Posting kReport to the control window (class "TamrikTargets") writes the
// state of every window, then "report end". As it is a posted message, it
// is handled after every close request and show command sent earlier.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr UINT kReport = WM_APP + 1;
const char kTargetClass[] = "TamrikTarget";
const char kControlClass[] = "TamrikTargets";

HANDLE logFile = INVALID_HANDLE_VALUE;

void Log(const std::string& line)
{
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(logFile, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

struct Target {
    const char* name;
    HWND window;
    int closes;
};
std::vector<Target> targets;

void Report()
{
    for (const Target& target : targets) {
        char line[160];
        std::snprintf(line, sizeof(line), "state %s iconic=%d closes=%d zoomed=%d", target.name,
                      IsIconic(target.window) ? 1 : 0, target.closes, IsZoomed(target.window) ? 1 : 0);
        Log(line);
    }
    Log("report end");
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Target* target = nullptr;
    for (Target& each : targets)
        if (each.window == window)
            target = &each;
    const std::string name = target ? target->name : "control";
    char line[160];
    switch (message) {
    case WM_CLOSE:
        // Counted, not obeyed: the window must still be there for the report.
        if (target)
            ++target->closes;
        Log("close " + name);
        return 0;
    case WM_QUERYENDSESSION:
        std::snprintf(line, sizeof(line), "queryendsession %s lparam=0x%lx", name.c_str(),
                      static_cast<unsigned long>(lParam));
        Log(line);
        return TRUE;
    case WM_ENDSESSION:
        std::snprintf(line, sizeof(line), "endsession %s wparam=%d lparam=0x%lx", name.c_str(),
                      static_cast<int>(wParam), static_cast<unsigned long>(lParam));
        Log(line);
        return 0;
    case kReport:
        Report();
        return 0;
    case WM_GETMINMAXINFO:
        // Maximized below the tray's row of icons, so that they stay clear
        // to click.
        if (target && std::string(target->name).compare(0, 9, "maximized") == 0) {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMaxPosition = {0, 300};
            limits->ptMaxSize = {700, 300};
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND Make(const char* name, const char* className, const std::string& title, DWORD style, HWND owner = nullptr)
{
    static int row = 0;
    const HWND window = CreateWindowExA(0, className, title.c_str(), style, 20 + 30 * row, 20 + 30 * row, 300, 120,
                                        owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    ++row;
    targets.push_back({name, window, 0});
    return window;
}

void Register(const char* className)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = TargetProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && !(argc == 3 && std::string(argv[2]) == "maximized"))
        return 2;
    logFile = CreateFileA(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (logFile == INVALID_HANDLE_VALUE)
        return 1;
    Register(kTargetClass);
    Register(kControlClass);
    Register("Progman");

    const DWORD shown = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    // The ignore list the tests use holds "beta" and "marker". The sweep reads
    // 49 characters of a title: "marker" ends at the 49th in edge-in and at
    // the 50th in edge-out, so only edge-out is swept.
    const std::string fill(43, '.');
    Make("plain", kTargetClass, "E2E plain target", shown);
    const HWND hidden = Make("hidden", kTargetClass, "E2E hidden target", WS_OVERLAPPEDWINDOW);
    Make("disabled", kTargetClass, "E2E disabled target", shown | WS_DISABLED);
    // GetParent reports the owner of popup windows only.
    Make("owned", kTargetClass, "E2E owned target", WS_POPUP | WS_CAPTION | WS_VISIBLE, hidden);
    Make("untitled", kTargetClass, "", shown);
    Make("progman", "Progman", "Program Manager", shown);
    Make("ignored", kTargetClass, "E2E Beta target", shown);
    Make("edge-in", kTargetClass, fill + "marker", shown);
    Make("edge-out", kTargetClass, fill + ".marker", shown);
    if (argc == 3) {
        ShowWindow(Make("maximized", kTargetClass, "E2E maximized target", shown), SW_MAXIMIZE);
        const HWND minimized = Make("maximized-minimized", kTargetClass, "E2E maximized, minimized", shown);
        ShowWindow(minimized, SW_MAXIMIZE);
        ShowWindow(minimized, SW_MINIMIZE);
    }
    CreateWindowExA(0, kControlClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
    Log("ready");

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
