// Does to another program's windows what the shell or a user would, and
// prints what it finds, so that a test driven from outside Wine can reach
// Win32 messages and window state.
//   poke.exe send CLASS MESSAGE WPARAM LPARAM   SendMessageTimeout; prints the result
//   poke.exe post CLASS MESSAGE WPARAM LPARAM   PostMessage
//   poke.exe idle CLASS                         returns once the program that owns a window
//                                               of CLASS waits for input
//   poke.exe windows CLASS                      every top-level window of the process
//                                               that owns a window of CLASS:
//                                               "class|title|visible"
//   poke.exe children CLASS                     every child window of the window of CLASS,
//                                               in z order: "class|title|left,top,right,bottom"
//                                               on the screen
//   poke.exe tip CLASS                          the text of each shown tooltip of the process
//                                               that owns a window of CLASS
//   poke.exe dialogs CAPTION                    "dialog|text" per dialog box with that caption
//   poke.exe press CAPTION                      presses OK on the dialog box with that caption
// Numbers may be given in decimal or 0x hexadecimal. Exits 3 when the window
// is not there.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Message-only windows are found only under HWND_MESSAGE.
HWND FindByClass(const char* className)
{
    if (const HWND window = FindWindowA(className, nullptr))
        return window;
    return FindWindowExA(HWND_MESSAGE, nullptr, className, nullptr);
}

std::string ClassOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string TitleOf(HWND window)
{
    char title[512] = {};
    GetWindowTextA(window, title, sizeof(title));
    return title;
}

BOOL CALLBACK PrintWindowOf(HWND window, LPARAM param)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == *reinterpret_cast<const DWORD*>(param))
        std::printf("%s|%s|%d\n", ClassOf(window).c_str(), TitleOf(window).c_str(), IsWindowVisible(window) ? 1 : 0);
    return TRUE;
}

BOOL CALLBACK AppendStaticText(HWND child, LPARAM param)
{
    if (ClassOf(child) == "Static" && GetWindowTextLengthA(child) > 0)
        *reinterpret_cast<std::string*>(param) += TitleOf(child);
    return TRUE;
}

struct DialogSearch {
    const char* caption;
    bool press;
    int found;
};

BOOL CALLBACK VisitDialog(HWND window, LPARAM param)
{
    auto& search = *reinterpret_cast<DialogSearch*>(param);
    if (ClassOf(window) != "#32770" || TitleOf(window) != search.caption)
        return TRUE;
    ++search.found;
    if (search.press) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return FALSE;
    }
    std::string text;
    EnumChildWindows(window, AppendStaticText, reinterpret_cast<LPARAM>(&text));
    std::printf("dialog|%s\n", text.c_str());
    return TRUE;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM)
{
    RECT rect = {};
    GetWindowRect(child, &rect);
    std::printf("%s|%s|%ld,%ld,%ld,%ld\n", ClassOf(child).c_str(), TitleOf(child).c_str(), rect.left, rect.top,
                rect.right, rect.bottom);
    return TRUE;
}

// A tooltip keeps its text to itself: only WM_GETTEXT, sent, gives it out.
BOOL CALLBACK PrintShownTip(HWND window, LPARAM param)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != *reinterpret_cast<const DWORD*>(param) || ClassOf(window) != "tooltips_class32" ||
        !IsWindowVisible(window))
        return TRUE;
    char text[256] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &copied);
    std::printf("%s\n", text);
    return TRUE;
}

ULONG_PTR Number(const char* text)
{
    return static_cast<ULONG_PTR>(std::strtoull(text, nullptr, 0));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const std::string command = argv[1];
    if (command == "dialogs" || command == "press") {
        DialogSearch search = {argv[2], command == "press", 0};
        EnumWindows(VisitDialog, reinterpret_cast<LPARAM>(&search));
        return search.found ? 0 : 3;
    }
    const HWND window = FindByClass(argv[2]);
    if (!window)
        return 3;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (command == "children") {
        EnumChildWindows(window, PrintChild, 0);
        return 0;
    }
    if (command == "tip") {
        EnumWindows(PrintShownTip, reinterpret_cast<LPARAM>(&process));
        return 0;
    }
    if (command == "windows") {
        EnumWindows(PrintWindowOf, reinterpret_cast<LPARAM>(&process));
        return 0;
    }
    if (command == "idle") {
        // The process turns idle when its thread first looks for a message
        // and finds none: for a program that peeks only in its main loop,
        // once start-up is over.
        const HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process);
        const bool idle = handle && WaitForInputIdle(handle, 30000) == 0;
        if (handle)
            CloseHandle(handle);
        return idle ? 0 : 1;
    }
    if (argc != 6)
        return 2;
    const UINT message = static_cast<UINT>(Number(argv[3]));
    const WPARAM wParam = Number(argv[4]);
    const LPARAM lParam = static_cast<LPARAM>(Number(argv[5]));
    if (command == "post")
        return PostMessageA(window, message, wParam, lParam) ? 0 : 1;
    if (command == "send") {
        DWORD_PTR result = 0;
        const LRESULT ok = SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 10000, &result);
        std::printf("%s %lu\n", ok ? "result" : "failed", static_cast<unsigned long>(result));
        return 0;
    }
    return 2;
}
