// A long session at the tray: every button clicked and the menus opened
// hundreds of times, with the process's memory and the menus, menu items and
// icons the program holds watched for growth.
#include "TestSupport.h"

#include "framework/GuiObjects.h"

namespace {

// Counted, not recorded: a record of every call would itself grow the
// memory watched.
int notifies = 0;
int seamMenus = 0;
int realMenus = 0;
int launches = 0;

BOOL WINAPI CountNotify(DWORD, PNOTIFYICONDATAA)
{
    ++notifies;
    return TRUE;
}

UINT WINAPI CountLaunch(LPCSTR, UINT)
{
    ++launches;
    return 33;
}

BOOL WINAPI CountMenu(HMENU, UINT, int, int, int, HWND, const RECT*)
{
    ++seamMenus;
    return TRUE;
}

// The real menu, dismissed as a user would: Escape, which the menu's own
// loop takes from the queue.
BOOL WINAPI TrackAndDismiss(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect)
{
    ++realMenus;
    PostMessageA(owner, WM_KEYDOWN, VK_ESCAPE, 0);
    return TrackPopupMenu(menu, flags, x, y, reserved, owner, rect);
}

}  // namespace

TEST_F(TamrikTest, ThousandsOfClicksAndMenusLeakNothing)
{
    // The drives menu lists the session's test drive alone, two levels deep,
    // and the telnet menus three sites.
    const char letter = TestDriveLetter();
    std::string badDrives;
    for (char c = 'a'; c <= 'z'; ++c)
        if (c != letter)
            badDrives += c;
    const std::string tree = std::string(1, letter) + ":\\soak";
    if (letter)
        for (const char* sub : {"", "\\a", "\\b", "\\b\\c", "\\R&D"})
            CreateDirectoryA((tree + sub).c_str(), nullptr);
    WriteSettings("[Configuration]\r\nShutdownVisible=1\r\nTelnetVisible=1\r\nDepth=2\r\nBadDrive=" + badDrives +
                  "\r\n[YourSites]\r\nYourSite0=alpha\r\nYourSite1=R&D\r\nYourSite2=-\r\n");
    StartProgram();
    Platform().shellNotifyIcon = CountNotify;
    Platform().winExec = CountLaunch;
    const TfrmTamrik& f = Form();
    const std::vector<TQVTrayIcon*> buttons = {f.trayTelnet,      f.trayMSDOS,     f.trayExplorer,
                                               f.trayIconMin,     f.trayiconrestore, f.trayIconClose,
                                               f.trayIconShutdown};
    // A real menu takes Wine some milliseconds to show and take down, so the
    // left clicks, which open the launchers' menus, count their menus
    // through the seam, and one right click a round opens a real one.
    const auto rounds = [&](int count) {
        for (int i = 0; i < count; ++i) {
            Platform().trackPopupMenu = CountMenu;
            for (const TQVTrayIcon* button : buttons) {
                TrayReport(button, WM_LBUTTONDOWN);
                TrayReport(button, WM_LBUTTONUP);
            }
            Platform().trackPopupMenu = TrackAndDismiss;
            const TQVTrayIcon* button = buttons[static_cast<size_t>(i) % buttons.size()];
            TrayReport(button, WM_RBUTTONDOWN);
            TrayReport(button, WM_RBUTTONUP);
            Application->ProcessMessages();
        }
    };
    rounds(50);  // the heap and Wine's caches settle first
    const GuiObjectCounts objects = LiveGuiObjects();
    const SIZE_T memory = PrivateBytes();
    ASSERT_GT(memory, 0u) << "no memory counters to watch";
    notifies = seamMenus = realMenus = launches = 0;

    // Each round takes Wine some 30 ms; 500 rounds show a leak of half a
    // kilobyte a round in the memory, and any menu or icon left behind in
    // the counts.
    constexpr int kRounds = 500;
    rounds(kRounds);

    EXPECT_EQ(realMenus, kRounds);
    EXPECT_EQ(seamMenus, 2 * kRounds);  // telnet and drives open theirs on the left button
    EXPECT_EQ(launches, kRounds);       // the MS-DOS prompt starts
    EXPECT_EQ(f.popTamrik->Count(), 3 + 1 + 3);
    EXPECT_EQ(f.popExplorer->Count(), letter ? 3 + 1 + 1 : 3 + 1);
    EXPECT_EQ(notifies, kRounds * 4 * 2 * 7);  // each action button sinks and rises
    EXPECT_EQ(LiveGuiObjects().menus, objects.menus);
    EXPECT_EQ(LiveGuiObjects().menuItems, objects.menuItems);
    EXPECT_EQ(LiveGuiObjects().icons, objects.icons);
    EXPECT_EQ(LiveGuiObjects().icons, 11);
    const SIZE_T grown = PrivateBytes() > memory ? PrivateBytes() - memory : 0;
    EXPECT_LT(grown, 256u * 1024) << "private memory grew by " << grown << " bytes";
    for (const int pressed : {f.ClosePressed, f.MinPressed, f.RestorePressed, f.ShutdownPressed})
        EXPECT_EQ(pressed, kPressedUp);
    if (letter)
        for (const char* sub : {"\\R&D", "\\b\\c", "\\b", "\\a", ""})
            RemoveDirectoryA((tree + sub).c_str());
}
