// The tray icon component: its calls to the notification area and the
// events it raises from the area's mouse reports.
#include "TestSupport.h"

#include "framework/GuiObjects.h"

namespace {

// A point the cursor is moved to, so that events can be seen to carry it.
constexpr int kCursorX = 123;
constexpr int kCursorY = 45;

// Records every event of an icon as a short word.
struct Recorder {
    std::string log;
    void Add(const std::string& word) { log += (log.empty() ? "" : " ") + word; }
    static std::string Button(TMouseButton button) { return button == TMouseButton::mbLeft ? "L" : "R"; }
    static std::string At(int x, int y) { return x == kCursorX && y == kCursorY ? "" : "@elsewhere"; }
    void Down(TComponent*, TMouseButton b, TShiftState s, int x, int y) { Add("down" + Button(b) + Shift(s) + At(x, y)); }
    void Up(TComponent*, TMouseButton b, TShiftState s, int x, int y) { Add("up" + Button(b) + Shift(s) + At(x, y)); }
    void Move(TComponent*, TShiftState s, int x, int y) { Add("move" + Shift(s) + At(x, y)); }
    void Click(TComponent*) { Add("click"); }
    void DblClick(TComponent*) { Add("dbl"); }
    void Popup(TComponent*) { Add("popup"); }
    static std::string Shift(TShiftState shift) { return shift ? "+shift" : ""; }
};

// A notification area that refuses everything until it is up; then it
// holds one icon per notify window and modifies only an icon it holds. Where
// it answers late, an add is carried out though the caller is told it failed.
struct FakeArea {
    bool up = false;
    bool late = false;
    std::vector<HWND> icons;
    bool Answer(const NotifyCall& call)
    {
        if (!up)
            return false;
        const auto held = std::find(icons.begin(), icons.end(), call.data.hWnd);
        switch (call.message) {
        case NIM_ADD:
            if (held != icons.end())
                return false;
            icons.push_back(call.data.hWnd);
            return !late;
        case NIM_MODIFY:
            return held != icons.end();
        default:
            if (held == icons.end())
                return false;
            icons.erase(held);
            return true;
        }
    }
};

class TrayIconTest : public TamrikTest {
protected:
    void SetUp() override
    {
        TamrikTest::SetUp();
        Seams().commandLine = R"("C:\dir\Tamrik.exe" quiet)";  // no tray buttons of the program's own
        StartProgram();
        icon_ = owner_.Make<TQVTrayIcon>("icon");
        icon_->Icon1().LoadFromResource("MINUP");
        icon_->Icon2().LoadFromResource("MINDOWN");
        Seams().notifies.clear();
    }
    void TearDown() override
    {
        owner_.Free(icon_);
        TamrikTest::TearDown();
    }
    const NotifyCall& OnlyCall() const
    {
        static const NotifyCall none = {};
        EXPECT_EQ(Seams().notifies.size(), 1u);
        return Seams().notifies.empty() ? none : Seams().notifies.back();
    }

    TComponent owner_{nullptr};
    TQVTrayIcon* icon_ = nullptr;
    FakeArea area_;  // outlives the icons, which call it as they go
};

}  // namespace

TEST_F(TrayIconTest, CallsToTheNotificationAreaFollowTheStateTable)
{
    EXPECT_TRUE(Seams().notifies.empty());
    EXPECT_FALSE(icon_->Shown());
    EXPECT_EQ(icon_->ShownImage(), -1);
    EXPECT_EQ(icon_->Interval(), 500u);

    icon_->ShowIcon(1);
    const NOTIFYICONDATAA& added = OnlyCall().data;
    EXPECT_EQ(OnlyCall().message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(added.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));  // shell32 6 takes the newer record
    EXPECT_EQ(added.hWnd, icon_->NotifyWindow());
    EXPECT_EQ(added.uID, 1u);
    EXPECT_EQ(added.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
    EXPECT_EQ(added.uCallbackMessage, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(added.hIcon, icon_->Icon1().Handle());
    EXPECT_NE(added.hIcon, nullptr);
    EXPECT_STREQ(added.szTip, "");
    EXPECT_FALSE(IsWindowVisible(icon_->NotifyWindow()));

    Seams().notifies.clear();
    icon_->ShowIcon(2);
    EXPECT_EQ(OnlyCall().message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(OnlyCall().data.hIcon, icon_->Icon2().Handle());
    EXPECT_EQ(icon_->ShownImage(), 2);

    Seams().notifies.clear();
    icon_->HideIcon();
    EXPECT_EQ(OnlyCall().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(OnlyCall().data.hIcon, icon_->Icon2().Handle());
    icon_->HideIcon();
    EXPECT_EQ(Seams().notifies.size(), 1u);
    EXPECT_EQ(icon_->ShownImage(), -1);
    EXPECT_FALSE(icon_->Shown());

    // An empty image goes out as no icon at all.
    Seams().notifies.clear();
    icon_->ShowIcon(3);
    EXPECT_EQ(OnlyCall().message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(OnlyCall().data.hIcon, nullptr);
}

// shell32 5 (Windows 2000) brought the newer behaviour and its larger
// record; older shells refuse that record, so they get the first one. The
// version is asked for once the icon is in.
TEST_F(TrayIconTest, TheShellsVersionPicksTheRecordAndTheBehaviour)
{
    EXPECT_EQ(NOTIFYICONDATAA_V1_SIZE, sizeof(void*) == 4 ? 88u : 104u);
    for (const DWORD shell : {4, 5}) {
        Seams().shellMajorVersion = shell;
        Seams().notifies.clear();
        Seams().notifyRequests.clear();
        TQVTrayIcon* icon = owner_.Make<TQVTrayIcon>("versioned");
        icon->ShowIcon(1);
        ASSERT_EQ(Seams().notifies.size(), 1u);
        EXPECT_EQ(Seams().notifies[0].data.cbSize, shell < 5 ? NOTIFYICONDATAA_V1_SIZE : NOTIFYICONDATAA_V2_SIZE);
        const std::vector<NotifyCall>& asked = Seams().notifyRequests;
        EXPECT_EQ(asked.size(), shell < 5 ? 0u : 1u) << shell;
        EXPECT_TRUE(asked.empty() || (asked[0].message == NIM_SETVERSION && asked[0].data.uVersion == NOTIFYICON_VERSION &&
                                      asked[0].data.hWnd == icon->NotifyWindow()));
        owner_.Free(icon);
    }
}

// The newer behaviour's notices, as Windows sends them: a selection after a
// left release, a context-menu message after a right release, and the
// keyboard's own (Enter twice for one press, Space, Shift+F10).
TEST_F(TrayIconTest, TheKeyboardActsOnceAsTheMouseDoes)
{
    const struct {
        bool menuOnly;  // a launcher with only its menu, or an action button
        std::vector<UINT> reports;
        const char* events;
    } cases[] = {
        {false, {NIN_KEYSELECT, NIN_KEYSELECT}, "click downL upL"},
        {false, {NIN_SELECT}, "click downL upL"},
        {false, {WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT}, "click downL upL"},
        {false, {WM_CONTEXTMENU}, "popup"},
        {false, {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}, "popup upR"},
        {true, {NIN_KEYSELECT, NIN_KEYSELECT}, "popup"},
        {true, {WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT}, "popup upL"},
    };
    TPopupMenu* menu = owner_.Make<TPopupMenu>("menu");
    for (const auto& c : cases) {
        Recorder recorder;
        TQVTrayIcon* icon = owner_.Make<TQVTrayIcon>("keyed");
        icon->PopupMenu = menu;
        menu->OnPopup.Bind(&recorder, &Recorder::Popup);
        icon->OnMouseUp.Bind(&recorder, &Recorder::Up);
        if (!c.menuOnly) {
            icon->OnClick.Bind(&recorder, &Recorder::Click);
            icon->OnMouseDown.Bind(&recorder, &Recorder::Down);
        }
        SetCursorPos(kCursorX, kCursorY);
        for (const UINT report : c.reports)
            TrayReport(icon, report);
        EXPECT_EQ(recorder.log, c.events) << testing::PrintToString(c.reports);
        owner_.Free(icon);
    }
    owner_.Free(menu);
}

// The keyboard's menu opens at the icon where the shell can say where it
// is, else at the cursor; one closed with Escape, and only that, gives the
// keyboard back to the area.
TEST_F(TrayIconTest, AMenuByKeyboardOpensAtTheIconAndEscapeReturnsToTheArea)
{
    TPopupMenu* menu = owner_.Make<TPopupMenu>("menu");
    icon_->PopupMenu = menu;
    icon_->ShowIcon(1);
    SetCursorPos(kCursorX, kCursorY);
    const struct {
        UINT report;
        RECT icon;
        bool escape;  // the menu's loop leaves Escape down when it closed the menu
        int x, y;
        size_t focusRequests;
    } cases[] = {
        {WM_CONTEXTMENU, {600, 740, 624, 764}, true, 612, 752, 1},
        {WM_CONTEXTMENU, {}, false, kCursorX, kCursorY, 0},
        {WM_RBUTTONDOWN, {}, true, kCursorX, kCursorY, 0},
    };
    for (const auto& c : cases) {
        Seams().iconRect = c.icon;
        Seams().menus.clear();
        Seams().notifyRequests.clear();
        Seams().onTrack = [&](const MenuTrack&) {
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            keys[VK_ESCAPE] = c.escape ? 0x80 : 0;
            SetKeyboardState(keys);
        };
        TrayReport(icon_, c.report);
        ASSERT_EQ(Seams().menus.size(), 1u);
        EXPECT_EQ(std::make_pair(Seams().menus[0].x, Seams().menus[0].y), std::make_pair(c.x, c.y));
        ASSERT_EQ(Seams().notifyRequests.size(), c.focusRequests);
        EXPECT_TRUE(!c.focusRequests || (Seams().notifyRequests[0].message == NIM_SETFOCUS &&
                                         Seams().notifyRequests[0].data.uID == icon_->Id()));
    }
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_ESCAPE] = 0;
    SetKeyboardState(keys);
    Seams().onTrack = nullptr;
    icon_->PopupMenu = nullptr;
    owner_.Free(menu);
}

TEST_F(TrayIconTest, HintIsCutAndReachesAShownIconAtOnce)
{
    const std::string seventy(70, 'h');
    icon_->SetHint("");  // unchanged: nothing happens, the tip flag stays off
    icon_->SetHint(seventy);
    EXPECT_TRUE(Seams().notifies.empty());
    EXPECT_EQ(icon_->Hint(), seventy.substr(0, 64));

    icon_->ShowIcon(1);  // the add carries the tip
    EXPECT_EQ(OnlyCall().data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(std::string(OnlyCall().data.szTip), seventy.substr(0, 63));

    Seams().notifies.clear();
    icon_->ShowIcon(2);
    icon_->SetHint("Click me");
    icon_->SetHint("Click me");
    ASSERT_EQ(Seams().notifies.size(), 2u);
    const NotifyCall& tipped = Seams().notifies.back();
    EXPECT_EQ(tipped.message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(tipped.data.hIcon, icon_->Icon2().Handle());
    EXPECT_STREQ(tipped.data.szTip, "Click me");

    // A fresh icon whose hint never changed adds without the tip flag.
    Seams().notifies.clear();
    TQVTrayIcon* plain = owner_.Make<TQVTrayIcon>("plain");
    plain->SetHint("");
    plain->ShowIcon(1);
    EXPECT_EQ(OnlyCall().data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
    owner_.Free(plain);
}

TEST_F(TrayIconTest, MouseReportsRaiseTheirEventsInOrder)
{
    enum Wiring { kEvents = 1, kMenu = 2, kDownOnly = 4 };
    const struct {
        int wiring;
        UINT mouse;
        const char* events;
    } cases[] = {
        {kEvents | kMenu, WM_LBUTTONDOWN, "click downL"},
        {kMenu, WM_LBUTTONDOWN, "popup"},
        {kDownOnly, WM_LBUTTONDOWN, ""},  // no click: no mouse-down either
        {kEvents | kMenu, WM_RBUTTONDOWN, "popup"},
        {kEvents, WM_RBUTTONDOWN, "downR click"},
        {kEvents | kMenu, WM_LBUTTONUP, "upL"},
        {kEvents | kMenu, WM_RBUTTONUP, "upR"},
        {kEvents | kMenu, WM_MOUSEMOVE, "move"},
        {kEvents | kMenu, WM_LBUTTONDBLCLK, "dbl"},
        {kEvents | kMenu, WM_RBUTTONDBLCLK, "dbl"},
        {kEvents | kMenu, WM_MBUTTONDOWN, ""},
        {kEvents | kMenu, WM_MBUTTONUP, ""},
        {kEvents | kMenu, WM_MBUTTONDBLCLK, ""},
        {kEvents | kMenu, WM_MOUSEWHEEL, ""},
    };
    TPopupMenu* menu = owner_.Make<TPopupMenu>("menu");
    for (const auto& c : cases) {
        Recorder recorder;
        TQVTrayIcon* icon = owner_.Make<TQVTrayIcon>("wired");
        if (c.wiring & (kEvents | kDownOnly))
            icon->OnMouseDown.Bind(&recorder, &Recorder::Down);
        if (c.wiring & kEvents) {
            icon->OnMouseUp.Bind(&recorder, &Recorder::Up);
            icon->OnMouseMove.Bind(&recorder, &Recorder::Move);
            icon->OnClick.Bind(&recorder, &Recorder::Click);
            icon->OnDblClick.Bind(&recorder, &Recorder::DblClick);
        }
        if (c.wiring & kMenu)
            icon->PopupMenu = menu;
        menu->OnPopup.Bind(&recorder, &Recorder::Popup);
        Seams().menus.clear();
        SetCursorPos(kCursorX, kCursorY);
        EXPECT_EQ(TrayReport(icon, c.mouse), 0);
        EXPECT_EQ(recorder.log, c.events) << "mouse message " << std::hex << c.mouse << " wiring " << c.wiring;
        const bool popped = std::string(c.events) == "popup";
        ASSERT_EQ(Seams().menus.size(), popped ? 1u : 0u);
        if (popped) {
            const MenuTrack& track = Seams().menus[0];
            EXPECT_EQ(track.menu, menu->Handle());
            EXPECT_EQ(track.flags, static_cast<UINT>(TPM_LEFTALIGN | TPM_RIGHTBUTTON));
            EXPECT_EQ(track.x, kCursorX);
            EXPECT_EQ(track.y, kCursorY);
            EXPECT_EQ(track.owner, PopupCommandWindow());
        }
        owner_.Free(icon);
    }
    owner_.Free(menu);
}

// A click handler that drains the queue, as every sweep does, meets the
// reports that came in behind its press: the quick click's button-up first.
TEST_F(TrayIconTest, AButtonUpDuringTheClickIsReportedAfterItsMouseDown)
{
    struct Draining : Recorder {
        void Click(TComponent*)
        {
            Add("click");
            Application->ProcessMessages();
        }
    };
    const struct {
        const char* name;
        std::vector<UINT> queued;  // behind the first press
        const char* events;
        const char* released;  // after a later button-up, for a button still held
    } cases[] = {
        {"quick click", {WM_LBUTTONUP}, "click downL upL", nullptr},
        {"held", {}, "click downL", "click downL upL"},
        {"second press during the first's click",
         {WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP},
         "click click downL upL downL upL",
         nullptr},
        {"second press still held", {WM_LBUTTONUP, WM_LBUTTONDOWN}, "click click downL downL",
         "click click downL downL upL"},
        {"double-click still held", {WM_LBUTTONUP, WM_LBUTTONDBLCLK}, "click dbl downL", "click dbl downL upL"},
    };
    for (const auto& c : cases) {
        Draining recorder;
        TQVTrayIcon* icon = owner_.Make<TQVTrayIcon>("quick");
        icon->OnClick.Bind(&recorder, &Draining::Click);
        icon->OnDblClick.Bind(static_cast<Recorder*>(&recorder), &Recorder::DblClick);
        icon->OnMouseDown.Bind(static_cast<Recorder*>(&recorder), &Recorder::Down);
        icon->OnMouseUp.Bind(static_cast<Recorder*>(&recorder), &Recorder::Up);
        SetCursorPos(kCursorX, kCursorY);
        for (const UINT mouse : c.queued)
            PostMessageA(icon->NotifyWindow(), kTrayCallback, kTrayIconId, mouse);
        TrayReport(icon, WM_LBUTTONDOWN);
        EXPECT_EQ(recorder.log, c.events) << c.name;
        if (c.released) {
            TrayReport(icon, WM_LBUTTONUP);
            EXPECT_EQ(recorder.log, c.released) << c.name;
        }
        owner_.Free(icon);
    }
}

TEST_F(TrayIconTest, AnAddTheAreaRefusesIsTriedAgainUntilItTakes)
{
    Seams().notifyAnswer = [this](const NotifyCall& call) { return area_.Answer(call); };
    std::vector<DWORD> adds;
    const auto countAdds = [&] {
        adds.clear();
        for (const NotifyCall& call : Seams().notifies)
            if (call.message == NIM_ADD)
                adds.push_back(call.tick);
        return adds.size();
    };

    icon_->ShowIcon(1);  // the program started before the shell
    EXPECT_TRUE(icon_->AddPending());
    icon_->SetHint("Tip set while waiting");
    icon_->ShowIcon(2);
    EXPECT_TRUE(PumpUntil([&] { return countAdds() == 2; }));
    EXPECT_TRUE(icon_->AddPending());
    area_.up = true;
    EXPECT_TRUE(PumpUntil([&] { return !icon_->AddPending(); }));
    ASSERT_EQ(countAdds(), 3u);
    EXPECT_EQ(area_.icons, std::vector<HWND>{icon_->NotifyWindow()});
    const NotifyCall& took = Seams().notifies.back();
    EXPECT_EQ(took.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(took.data.hIcon, icon_->Icon2().Handle());
    EXPECT_STREQ(took.data.szTip, "Tip set while waiting");
    for (size_t i = 1; i < adds.size(); ++i)
        EXPECT_GE(adds[i] - adds[i - 1], 900u) << "tried again at once";
    EXPECT_TRUE(icon_->Shown());

    // Hidden while it waits, it is not tried again.
    icon_->HideIcon();
    area_ = FakeArea{};
    icon_->ShowIcon(1);
    EXPECT_TRUE(icon_->AddPending());
    icon_->HideIcon();
    EXPECT_FALSE(icon_->AddPending());

    // An add that took though the area said no: the icon is there to modify.
    area_.up = area_.late = true;
    Seams().notifies.clear();
    icon_->ShowIcon(1);
    EXPECT_FALSE(icon_->AddPending());
    ASSERT_EQ(Seams().notifies.size(), 2u);
    EXPECT_EQ(Seams().notifies[1].message, static_cast<DWORD>(NIM_MODIFY));
}

namespace {

const UINT kTestBroadcast = RegisterWindowMessageA("TamrikTestBroadcast");
std::vector<HWND> broadcastReceivers;

LRESULT CALLBACK BroadcastProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kTestBroadcast)
        broadcastReceivers.push_back(window);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

// The shell's broadcast is posted to the top-level windows in z order, the
// newest window first, hidden ones included: copies to the notify windows
// come in the reverse of the order the icons were made.
TEST(Broadcast, ReachesHiddenTopLevelWindowsNewestFirst)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const WNDCLASSA windowClass = {0, BroadcastProc, 0, 0, instance, nullptr, nullptr, nullptr, nullptr,
                                   "TamrikBroadcastTest"};
    RegisterClassA(&windowClass);
    HWND windows[2];
    for (HWND& window : windows)
        window = CreateWindowExA(WS_EX_TOOLWINDOW, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                 nullptr, instance, nullptr);
    PostMessageA(HWND_BROADCAST, kTestBroadcast, 0, 0);
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageA(&msg);
    EXPECT_EQ(broadcastReceivers, (std::vector<HWND>{windows[1], windows[0]}));
    for (const HWND window : windows)
        DestroyWindow(window);
}

TEST_F(TrayIconTest, MenuStepRunsWhatIsQueuedThenTheChosenItem)
{
    TPopupMenu* menu = owner_.Make<TPopupMenu>("menu");
    TMenuItem* item = menu->Make<TMenuItem>("item", "Item");
    menu->Insert(0, item);
    icon_->PopupMenu = menu;
    std::string log;
    Handler queued{[&] { log += "queued "; }}, popup{[&] { log += "popup "; }}, chosen{[&] { log += "chosen"; }};
    menu->OnPopup.Bind(&popup, &Handler::Run);
    item->OnClick.Bind(&chosen, &Handler::Run);
    // A click on another icon, queued before this one's menu opens.
    TQVTrayIcon* other = owner_.Make<TQVTrayIcon>("other");
    other->OnClick.Bind(&queued, &Handler::Run);
    PostMessageA(other->NotifyWindow(), kTrayCallback, kTrayIconId, WM_LBUTTONDOWN);
    Seams().onTrack = [&](const MenuTrack& track) {
        log += "tracked ";
        Choose(track, item);
    };
    TrayReport(icon_, WM_RBUTTONDOWN);
    EXPECT_EQ(log, "queued popup tracked ");  // the choice runs once the menu has closed
    EXPECT_TRUE(PumpUntil([&] { return log.size() > 22; }));
    EXPECT_EQ(log, "queued popup tracked chosen");
    owner_.Free(other);
}

TEST_F(TrayIconTest, SessionEndDeletesTheIconAndDestructionDeletesItAgain)
{
    icon_->ShowIcon(1);
    Seams().notifies.clear();
    EXPECT_EQ(SendMessageA(icon_->NotifyWindow(), WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(SendMessageA(icon_->NotifyWindow(), WM_ENDSESSION, FALSE, 0), 0);
    EXPECT_TRUE(Seams().notifies.empty());
    SendMessageA(icon_->NotifyWindow(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(OnlyCall().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_TRUE(icon_->Shown());

    Seams().notifies.clear();
    owner_.Free(icon_);
    icon_ = owner_.Make<TQVTrayIcon>("hidden");  // never shown: its end deletes all the same
    owner_.Free(icon_);
    ASSERT_EQ(Seams().notifies.size(), 2u);
    EXPECT_EQ(Seams().notifies[0].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(Seams().notifies[1].message, static_cast<DWORD>(NIM_DELETE));
    icon_ = owner_.Make<TQVTrayIcon>("for teardown");
}

TEST_F(TrayIconTest, IntervalIsKeptAndCyclingShowsTheImagesInTurn)
{
    icon_->SetInterval(20);
    EXPECT_EQ(icon_->Interval(), 20u);
    icon_->CycleIcons(1, 2);
    EXPECT_TRUE(PumpUntil([&] { return Seams().notifies.size() >= 3; }));
    icon_->StopCycling();
    ASSERT_GE(Seams().notifies.size(), 3u);
    EXPECT_EQ(Seams().notifies[0].data.hIcon, icon_->Icon1().Handle());
    EXPECT_EQ(Seams().notifies[1].data.hIcon, icon_->Icon2().Handle());
    EXPECT_EQ(Seams().notifies[2].data.hIcon, icon_->Icon1().Handle());
}

TEST_F(TrayIconTest, MenuItemsKeepTheirOrderAndAreFreedWhenRemoved)
{
    const GuiObjectCounts before = LiveGuiObjects();
    TPopupMenu* menu = owner_.Make<TPopupMenu>("menu");
    for (const char* caption : {"Last", "-", "First"})
        menu->Insert(0, menu->Make<TMenuItem>("", caption, std::string(caption) == "First"));
    const HMENU handle = menu->Handle();
    ASSERT_EQ(GetMenuItemCount(handle), 3);
    const struct {
        const char* caption;
        UINT type, state;
    } expected[] = {{"First", MFT_STRING, MFS_DEFAULT}, {"", MFT_SEPARATOR, 0}, {"Last", MFT_STRING, 0}};
    for (int i = 0; i < 3; ++i) {
        char caption[32] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID;
        info.dwTypeData = caption;
        info.cch = sizeof(caption);
        ASSERT_TRUE(GetMenuItemInfoA(handle, static_cast<UINT>(i), TRUE, &info));
        EXPECT_STREQ(caption, expected[i].caption);
        EXPECT_EQ(info.fType & MFT_SEPARATOR, expected[i].type);
        EXPECT_EQ(info.fState & MFS_DEFAULT, expected[i].state);
        EXPECT_EQ(info.wID, menu->Item(i)->Command());
    }
    // Rebuilt the way the tray menus are before each popup, many times over:
    // removed items go at once, and their commands are used again.
    for (int round = 0; round < 40000; ++round) {
        while (menu->Count() > 1)
            menu->Delete(0);
        menu->Insert(0, menu->Make<TMenuItem>("", "Site"));
        menu->Insert(0, menu->Make<TMenuItem>("", "-"));
    }
    EXPECT_EQ(GetMenuItemCount(handle), 3);
    EXPECT_EQ(LiveGuiObjects().menuItems, before.menuItems + 3);
    for (int i = 0; i < menu->Count(); ++i)
        EXPECT_LT(menu->Item(i)->Command(), 0x10000u);
    owner_.Free(menu);
    EXPECT_EQ(LiveGuiObjects().menuItems, before.menuItems);
    EXPECT_EQ(LiveGuiObjects().menus, before.menus);
}
