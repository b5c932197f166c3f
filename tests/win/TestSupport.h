// What the in-process tests share: the program started as its entry starts
// it, fake platform calls that record what the program asked for, the
// settings file as raw text, and top-level windows of the tests' own.
#pragma once

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

#include "app/Unit1.h"
#include "framework/Platform.h"
#include "framework/ProfileText.h"

#include <psapi.h>

struct ErrorBox {
    HWND owner;
    bool ownerAlive;
    std::string text, caption;
    UINT type;
    bool quitPending;  // a pending quit would end the box's own message loop at once
};

inline std::string SettingsPath();

// One call to the notification area, with the record as it was passed.
struct NotifyCall {
    DWORD message;  // NIM_ADD, NIM_MODIFY or NIM_DELETE
    NOTIFYICONDATAA data;
    DWORD tick;     // GetTickCount at the call
};

// One popup menu tracked.
struct MenuTrack {
    HMENU menu;
    UINT flags;
    int x, y;
    HWND owner;
};

// One run of the file dialog, with what it was told.
struct OpenDialogRun {
    HWND owner;
    std::string title, filter, defaultExt, initialDir, offered;
    DWORD flags;
};

// What the program asked of the platform through the seam.
struct SeamLog {
    std::string commandLine = R"("C:\dir\Tamrik.exe")";
    std::vector<UINT> exitFlags;
    bool firstActivationAtExit = true;
    std::vector<bool> settingsWrittenAtExit;
    std::vector<ErrorBox> boxes;
    std::vector<NotifyCall> notifies;
    // The requests that put no icon in or out (NIM_SETVERSION, NIM_SETFOCUS).
    std::vector<NotifyCall> notifyRequests;
    DWORD shellMajorVersion = 6;  // shell32's, as DllGetVersion gives it
    RECT iconRect = {};           // where the shell says an icon is; empty: it cannot say
    // The notification area's answer to each call; by default every call succeeds.
    std::function<bool(const NotifyCall&)> notifyAnswer;
    std::vector<MenuTrack> menus;
    std::vector<std::pair<std::string, UINT>> programs;  // command line and show command of each start
    std::vector<WideString> widePrograms;               // the command lines of the starts in full Unicode
    std::vector<HWND> cloaked;  // the windows the desktop window manager calls cloaked
    UINT dpi = 96;              // of every monitor
    int smallIconSize = 16;     // SM_CXSMICON at any DPI
    // Run while a menu is tracked, as the user's choice would be; by default
    // the menu is dismissed.
    std::function<void(const MenuTrack&)> onTrack;
    std::vector<OpenDialogRun> openDialogs;
    // The file the user confirms in the next file dialogs, first first; a
    // dialog with none left is cancelled.
    std::vector<std::string> filesChosen;
};

inline SeamLog& Seams()
{
    static SeamLog log;
    return log;
}

inline UINT WINAPI FakeWinExec(LPCSTR commandLine, UINT show)
{
    Seams().programs.emplace_back(commandLine, show);
    return 33;
}

// Recorded with the ANSI starts as the code page shows it, and in full.
inline UINT WINAPI FakeWinExecW(LPCWSTR commandLine, UINT show)
{
    char narrow[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, commandLine, -1, narrow, sizeof(narrow) - 1, nullptr, nullptr);
    Seams().programs.emplace_back(narrow, show);
    Seams().widePrograms.emplace_back(commandLine);
    return 33;
}

inline BOOL WINAPI FakeShellNotifyIcon(DWORD message, PNOTIFYICONDATAA data)
{
    if (message == NIM_SETVERSION || message == NIM_SETFOCUS) {
        Seams().notifyRequests.push_back({message, *data, GetTickCount()});
        return TRUE;
    }
    Seams().notifies.push_back({message, *data, GetTickCount()});
    return !Seams().notifyAnswer || Seams().notifyAnswer(Seams().notifies.back());
}

inline HRESULT WINAPI FakeShellVersion(DLLVERSIONINFO* info)
{
    info->dwMajorVersion = Seams().shellMajorVersion;
    info->dwMinorVersion = 0;
    return S_OK;
}

inline HRESULT WINAPI FakeNotifyIconRect(const NotifyIconIdentifier*, RECT* place)
{
    if (IsRectEmpty(&Seams().iconRect))
        return E_FAIL;
    *place = Seams().iconRect;
    return S_OK;
}

inline BOOL WINAPI FakeTrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*)
{
    Seams().menus.push_back({menu, flags, x, y, owner});
    if (Seams().onTrack)
        Seams().onTrack(Seams().menus.back());
    return TRUE;
}

// The item chosen in a tracked menu: the menu sends its command to its owner
// window, to be dispatched once the menu has closed.
inline void Choose(const MenuTrack& track, const TMenuItem* item)
{
    PostMessageA(track.owner, WM_COMMAND, item->Command(), 0);
}
// The letter of the test session's own drive, small; 0 when none is mapped.
inline char TestDriveLetter()
{
    const char* drive = std::getenv("TAMRIK_TEST_DRIVE");
    return drive && *drive ? static_cast<char>(drive[0] | 0x20) : '\0';
}

// The error mode in force, read without changing it.
inline UINT CurrentErrorMode()
{
    const UINT mode = SetErrorMode(0);
    SetErrorMode(mode);
    return mode;
}

// A menu item as the user sees it: its caption with the access-key marks
// resolved, or "-" for a separator; and its sub-menu, if any.
inline std::string ShownItem(HMENU menu, int position, HMENU* subMenu = nullptr)
{
    char text[1024] = {};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_TYPE | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = sizeof(text);
    GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    if (subMenu)
        *subMenu = info.hSubMenu;
    if (info.fType & MFT_SEPARATOR)
        return "-";
    std::string caption;
    for (const char* c = text; *c; ++c) {
        if (*c == '&' && !*++c)
            break;
        caption += *c;
    }
    return caption;
}

inline BOOL WINAPI FakeGetOpenFileName(LPOPENFILENAMEA dialog)
{
    const auto text = [](const char* s) { return std::string(s ? s : ""); };
    std::string filter;
    for (const char* part = dialog->lpstrFilter; part && *part; part += strlen(part) + 1)
        filter += std::string(part) + "|";
    Seams().openDialogs.push_back({dialog->hwndOwner, text(dialog->lpstrTitle), filter, text(dialog->lpstrDefExt),
                                   text(dialog->lpstrInitialDir), text(dialog->lpstrFile), dialog->Flags});
    auto& files = Seams().filesChosen;
    if (files.empty())
        return FALSE;
    const std::string chosen = files.front();
    files.erase(files.begin());
    if (chosen.size() >= dialog->nMaxFile)
        return FALSE;
    strcpy(dialog->lpstrFile, chosen.c_str());
    return TRUE;
}

inline LPSTR WINAPI FakeGetCommandLine() { return &Seams().commandLine[0]; }

inline BOOL WINAPI FakeExitWindowsEx(UINT flags, DWORD)
{
    Seams().exitFlags.push_back(flags);
    Seams().firstActivationAtExit = frmTamrik->FirstActivation;
    Seams().settingsWrittenAtExit.push_back(GetFileAttributesA(SettingsPath().c_str()) != INVALID_FILE_ATTRIBUTES);
    return TRUE;
}

// DWMWA_CLOAKED of the desktop window manager; every other attribute is
// unknown to it.
inline HRESULT WINAPI FakeDwmGetWindowAttribute(HWND window, DWORD attribute, PVOID value, DWORD size)
{
    if (attribute != 14 || size != sizeof(DWORD))
        return E_INVALIDARG;
    const auto& cloaked = Seams().cloaked;
    *static_cast<DWORD*>(value) = std::find(cloaked.begin(), cloaked.end(), window) != cloaked.end() ? 2 : 0;
    return S_OK;
}

inline UINT WINAPI FakeGetDpiForWindow(HWND) { return Seams().dpi; }

inline int WINAPI FakeGetSystemMetricsForDpi(int index, UINT)
{
    return index == SM_CXSMICON ? Seams().smallIconSize : GetSystemMetrics(index);
}

inline int WINAPI FakeMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    MSG quit;
    const bool quitPending = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
    Seams().boxes.push_back({owner, IsWindow(owner) != FALSE, text, caption, type, quitPending});
    return IDOK;
}

// The framework's error box, owned by the application window while it lives.
inline void ExpectErrorBox(const ErrorBox& box, HWND applicationWindow, const std::string& text)
{
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, "Tamrik");
    EXPECT_EQ(box.owner, applicationWindow);
    EXPECT_TRUE(box.ownerAlive);
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

// The file the bare name means: Tamrik.ini in the Windows directory.
inline std::string SettingsPath()
{
    char directory[MAX_PATH] = {};
    GetWindowsDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\" + kSettingsFile;
}

inline void WriteSettings(const std::string& text)
{
    std::ofstream(SettingsPath(), std::ios::binary) << text;
}

inline std::string ReadSettings()
{
    std::ifstream file(SettingsPath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A section's lines as the profile service lists them.
inline std::vector<std::string> SectionLines(const char* section)
{
    std::string buffer(1 << 16, '\0');
    return SplitZeroList(buffer.data(), GetPrivateProfileSectionA(section, &buffer[0], 1 << 16, kSettingsFile));
}

// The file held open without sharing, so the service cannot write it: the
// tests run as root, which ignores file modes.
struct HeldSettings {
    const HANDLE handle = CreateFileA(SettingsPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_ALWAYS, 0, nullptr);
    ~HeldSettings() { CloseHandle(handle); }
};

// Dispatches messages until done() holds or the deadline passes.
// The process's private memory, committed. Wine leaves the counter named
// for it (PrivateUsage) at 0 but keeps this one, its Windows equal.
inline SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PagefileUsage;
}

inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000)
{
    for (const DWORD start = GetTickCount(); !done(); MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Application->ProcessMessages();
    }
    return true;
}

// An event handler made of any code.
struct Handler {
    std::function<void()> body;
    void Run(TComponent*) { body(); }
};

// The notification area's report of mouse activity on a tray icon.
inline LRESULT TrayReport(const TQVTrayIcon* icon, UINT mouseMessage)
{
    return SendMessageA(icon->NotifyWindow(), kTrayCallback, kTrayIconId, mouseMessage);
}

// A BN_CLICKED from control to its parent, as a click delivers it.
inline void Click(TControl* control)
{
    const HWND button = control->Handle();
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

constexpr DWORD kPlainWindow = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
constexpr const char* kTestClass = "TamrikTestWindow";

// A top-level window that counts the close requests it gets and stays.
// Log() gathers "m" for each minimize and "x" for each close request of all
// test windows, in order.
class TestWindow {
public:
    explicit TestWindow(const std::string& title, DWORD style = kPlainWindow, HWND owner = nullptr,
                        const char* className = kTestClass)
    {
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        const WNDCLASSA windowClass = {0, Proc, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, className};
        RegisterClassA(&windowClass);  // fails harmlessly once registered
        handle_ = CreateWindowExA(0, className, title.c_str(), style, 40, 40, 200, 120, owner, nullptr, instance, this);
    }
    ~TestWindow() { DestroyWindow(handle_); }
    HWND Handle() const { return handle_; }
    static std::string& Log()
    {
        static std::string log;
        return log;
    }

    int closes = 0;
    std::function<void()> onClose;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message == WM_CLOSE) {
            ++self->closes;
            Log() += 'x';
            if (self->onClose)
                self->onClose();
            return 0;  // counted, not obeyed
        }
        if (self && message == WM_SIZE && wParam == SIZE_MINIMIZED)
            Log() += 'm';
        return DefWindowProcA(window, message, wParam, lParam);
    }
    HWND handle_;
};

// Each test starts with no settings file and the seam faked; a program it
// started is ended and the seam restored afterwards.
class TamrikTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteFileA(SettingsPath().c_str());
        Seams() = SeamLog{};
        TestWindow::Log().clear();
        saved_ = Platform();
        Platform() = {FakeWinExec,        FakeExitWindowsEx,  FakeShellNotifyIcon,       FakeMessageBox,
                      FakeGetCommandLine, FakeTrackPopupMenu, FakeGetOpenFileName,       FakeDwmGetWindowAttribute,
                      FakeGetDpiForWindow, FakeGetSystemMetricsForDpi, FakeWinExecW,
                      ::GetVolumeInformationA, FakeShellVersion, FakeNotifyIconRect};
    }
    void TearDown() override
    {
        EndProgram();
        Seams().notifyAnswer = nullptr;  // it may refer to the test's own state
        Platform() = saved_;
        DeleteFileA(SettingsPath().c_str());
    }
    void StartProgram()
    {
        EndProgram();
        application_ = std::make_unique<TApplication>();
        application_->Initialize();
        application_->SetTitle("Tamrik");
        application_->CreateForm(frmTamrik);
    }
    // Destroys the application: the main form goes and saves the settings.
    // No message, a quit least of all, is left for the next run to find.
    void EndProgram()
    {
        application_.reset();
        frmTamrik = nullptr;
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
            if (msg.message != WM_QUIT)
                DispatchMessageA(&msg);
    }
    static TfrmTamrik& Form() { return *frmTamrik; }

private:
    std::unique_ptr<TApplication> application_;
    PlatformCalls saved_ = {};
};
