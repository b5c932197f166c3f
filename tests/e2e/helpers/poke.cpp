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
//   poke.exe forget CLASS                       takes the notification icons (identifiers 1 to
//                                               16) of every top-level window of CLASS out of the
//                                               area, as a shell that restarts loses it;
//                                               prints how many went
//   poke.exe ids CLASS                          the identifiers of the icons the area holds for
//                                               the top-level windows of CLASS, a line each
//   poke.exe icon CLASS ID MESSAGE LPARAM [N]    sends MESSAGE (wParam ID) to the window of CLASS
//                                               the area holds icon ID for, as the area
//                                               reports to an icon's window; N times in a row
//   poke.exe broadcast NAME                     posts the registered message NAME to every
//                                               top-level window, as the shell does
//   poke.exe dialogs CAPTION                    "dialog|text" per dialog box with that caption
//   poke.exe press CAPTION                      presses OK on the dialog box with that caption
//   poke.exe place CAPTION                      "left,top,right,bottom" on the screen per dialog
//                                               box with that caption
//   poke.exe tree CLASS                         the window of CLASS and every window inside it,
//                                               depth first, siblings in z order (which is the
//                                               tab order), a line each (below)
//   poke.exe focus CLASS                        the line of the window that has the keyboard
//                                               focus in the thread of the window of CLASS
//   poke.exe bitness CLASS                      how the process that owns a window of CLASS runs:
//                                               "wow64" (a 32-bit program on 64-bit Windows),
//                                               "native" or "unknown"
//   poke.exe tabs CLASS                         each item of the tab control on the window of
//                                               CLASS: "text|left,top,right,bottom|selected",
//                                               the rectangle in the tab control's client area
// A window's line: "window|parent|class|style|exstyle|left,top,width,height|
// client width,client height|check|font|text": the windows as handles, the
// styles in hex, the rectangle in the parent's client area (on the screen
// without a parent), check BM_GETCHECK for buttons and -1 for the rest, font
// "face,height,weight" (read inside the program by probe.dll) or "-", text
// the first line of WM_GETTEXT.
// Numbers may be given in decimal or 0x hexadecimal. Exits 3 when the window
// is not there.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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
    bool place;
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
    if (search.place) {
        RECT rect = {};
        GetWindowRect(window, &rect);
        std::printf("%ld,%ld,%ld,%ld\n", rect.left, rect.top, rect.right, rect.bottom);
        return TRUE;
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

// WM_GETTEXT, sent, reaches every window; GetWindowText does not read
// another process's controls.
std::string SentText(HWND window)
{
    char text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &copied);
    const std::string all = text;
    return all.substr(0, all.find_first_of("\r\n"));
}

// Reads the font of another program's windows from inside that program:
// Wine carries neither WM_GETFONT nor a font handle across processes.
// probe.dll, hooked into the program's thread, answers through shared
// memory.
class FontProbe {
public:
    explicit FontProbe(HWND window)
    {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string dll = path;
        dll = dll.substr(0, dll.rfind('\\') + 1) + "probe.dll";
        module_ = LoadLibraryA(dll.c_str());
        const FARPROC hook = module_ ? GetProcAddress(module_, "ProbeHook") : nullptr;
        if (hook)
            hook_ = SetWindowsHookExA(WH_CALLWNDPROC, reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(hook)), module_,
                                      GetWindowThreadProcessId(window, nullptr));
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LOGFONTA), kName);
        if (mapping_)
            view_ = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(LOGFONTA));
    }

    ~FontProbe()
    {
        if (view_)
            UnmapViewOfFile(view_);
        if (mapping_)
            CloseHandle(mapping_);
        if (hook_)
            UnhookWindowsHookEx(hook_);
        if (module_)
            FreeLibrary(module_);
    }

    // "face,height,weight", or "-" for a window that names no font.
    std::string Of(HWND window) const
    {
        if (!hook_ || !view_)
            return "-";
        LOGFONTA font = {};
        std::memcpy(view_, &font, sizeof(font));
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(window, RegisterWindowMessageA(kName), 0, 0, SMTO_NORMAL, 5000, &ignored);
        std::memcpy(&font, view_, sizeof(font));
        if (!font.lfFaceName[0])
            return "-";
        return std::string(font.lfFaceName) + "," + std::to_string(font.lfHeight) + "," +
               std::to_string(font.lfWeight);
    }

private:
    static constexpr char kName[] = "TamrikProbeFont";
    HMODULE module_ = nullptr;
    HHOOK hook_ = nullptr;
    HANDLE mapping_ = nullptr;
    void* view_ = nullptr;
};

void PrintLine(HWND window, HWND parent, const FontProbe& fonts)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    if (parent)
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    RECT client = {};
    GetClientRect(window, &client);
    DWORD_PTR check = static_cast<DWORD_PTR>(-1);
    if (ClassOf(window) == "Button")
        SendMessageTimeoutA(window, BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &check);
    std::printf("%p|%p|%s|%08lx|%08lx|%ld,%ld,%ld,%ld|%ld,%ld|%d|%s|%s\n", static_cast<void*>(window),
                static_cast<void*>(parent), ClassOf(window).c_str(),
                static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)), rect.left, rect.top,
                rect.right - rect.left, rect.bottom - rect.top, client.right, client.bottom, static_cast<int>(check),
                fonts.Of(window).c_str(), SentText(window).c_str());
}

void PrintTree(HWND window, HWND parent, const FontProbe& fonts)
{
    PrintLine(window, parent, fonts);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        PrintTree(child, window, fonts);
}

// A tab control takes and fills its item structures in its own process:
// they are put into its memory and read back from there.
void PrintTabs(HWND tabs)
{
    DWORD process = 0;
    GetWindowThreadProcessId(tabs, &process);
    const HANDLE handle = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (!handle)
        return;
    struct Remote {
        TCITEMA item;
        RECT rect;
        char text[256];
    };
    auto* remote = static_cast<Remote*>(VirtualAllocEx(handle, nullptr, sizeof(Remote), MEM_COMMIT, PAGE_READWRITE));
    const auto send = [&](UINT message, WPARAM wParam, void* lParam) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(tabs, message, wParam, reinterpret_cast<LPARAM>(lParam), SMTO_NORMAL, 5000, &result);
        return static_cast<int>(result);
    };
    const int count = send(TCM_GETITEMCOUNT, 0, nullptr);
    const int selected = send(TCM_GETCURSEL, 0, nullptr);
    for (int i = 0; remote && i < count; ++i) {
        Remote local = {};
        local.item.mask = TCIF_TEXT;
        local.item.pszText = remote->text;
        local.item.cchTextMax = sizeof(local.text);
        WriteProcessMemory(handle, remote, &local, sizeof(local), nullptr);
        send(TCM_GETITEMA, i, &remote->item);
        send(TCM_GETITEMRECT, i, &remote->rect);
        ReadProcessMemory(handle, remote, &local, sizeof(local), nullptr);
        local.text[sizeof(local.text) - 1] = '\0';
        std::printf("%s|%ld,%ld,%ld,%ld|%d\n", local.text, local.rect.left, local.rect.top, local.rect.right,
                    local.rect.bottom, i == selected ? 1 : 0);
    }
    if (remote)
        VirtualFreeEx(handle, remote, 0, MEM_RELEASE);
    CloseHandle(handle);
}

struct IconSearch {
    const char* className;
    UINT id;
    HWND found;
};

// The window whose icon ID a modify with no flags finds in the area.
BOOL CALLBACK FindIcon(HWND window, LPARAM param)
{
    auto& search = *reinterpret_cast<IconSearch*>(param);
    if (ClassOf(window) != search.className)
        return TRUE;
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = search.id;
    if (!Shell_NotifyIconA(NIM_MODIFY, &icon))
        return TRUE;
    search.found = window;
    return FALSE;
}

struct Forgetting {
    const char* className;
    bool forget;  // or only list the identifiers the area holds
    int forgotten;
    std::string ids;
};

BOOL CALLBACK ForgetIcon(HWND window, LPARAM param)
{
    auto& forgetting = *reinterpret_cast<Forgetting*>(param);
    if (ClassOf(window) != forgetting.className)
        return TRUE;
    for (UINT id = 1; id <= 16; ++id) {
        NOTIFYICONDATAA icon = {};
        icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
        icon.hWnd = window;
        icon.uID = id;
        // A modify that changes nothing (no flags) succeeds for an icon the
        // area holds and fails for any other.
        if (!Shell_NotifyIconA(forgetting.forget ? NIM_DELETE : NIM_MODIFY, &icon))
            continue;
        ++forgetting.forgotten;
        forgetting.ids += std::to_string(id) + "\n";
    }
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
    if (command == "dialogs" || command == "press" || command == "place") {
        DialogSearch search = {argv[2], command == "press", command == "place", 0};
        EnumWindows(VisitDialog, reinterpret_cast<LPARAM>(&search));
        return search.found ? 0 : 3;
    }
    if (command == "forget" || command == "ids") {
        Forgetting forgetting = {argv[2], command == "forget", 0, {}};
        EnumWindows(ForgetIcon, reinterpret_cast<LPARAM>(&forgetting));
        if (forgetting.forget)
            std::printf("%d\n", forgetting.forgotten);
        else
            std::printf("%s", forgetting.ids.c_str());
        return 0;
    }
    if (command == "icon" && (argc == 6 || argc == 7)) {
        IconSearch search = {argv[2], static_cast<UINT>(Number(argv[3])), nullptr};
        EnumWindows(FindIcon, reinterpret_cast<LPARAM>(&search));
        // The area reports without waiting for the icon's window to answer;
        // a notice the shell sends twice in a row goes twice from here, not
        // a program's start apart.
        bool sent = search.found != nullptr;
        for (ULONG_PTR times = argc == 7 ? Number(argv[6]) : 1; sent && times > 0; --times)
            sent = SendNotifyMessageA(search.found, static_cast<UINT>(Number(argv[4])), search.id,
                                      static_cast<LPARAM>(Number(argv[5])));
        return sent ? 0 : 1;
    }
    if (command == "broadcast")
        return PostMessageA(HWND_BROADCAST, RegisterWindowMessageA(argv[2]), 0, 0) ? 0 : 1;
    const HWND window = FindByClass(argv[2]);
    if (!window)
        return 3;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (command == "children") {
        EnumChildWindows(window, PrintChild, 0);
        return 0;
    }
    if (command == "tree") {
        PrintTree(window, nullptr, FontProbe(window));
        return 0;
    }
    if (command == "tabs") {
        PrintTabs(FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr));
        return 0;
    }
    if (command == "focus") {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus)
            return 1;
        PrintLine(info.hwndFocus, GetAncestor(info.hwndFocus, GA_PARENT), FontProbe(window));
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
    if (command == "bitness") {
        // IsWow64Process came with XP SP2; poke.exe runs on Wine alone, so
        // it is imported directly.
        const HANDLE handle = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, process);
        BOOL wow64 = FALSE;
        const bool known = handle && IsWow64Process(handle, &wow64);
        if (handle)
            CloseHandle(handle);
        std::printf("%s\n", !known ? "unknown" : wow64 ? "wow64" : "native");
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
