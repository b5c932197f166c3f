// Window sweeps, watched on top-level windows that the tests make in this
// process. Other windows (Wine's own) are swept too but never looked at.
#include <iterator>
#include <memory>
#include <vector>

#include "TestSupport.h"

TEST_F(TamrikTest, SweepSkipsWhatIsNotAnOpenApplication)
{
    const std::string dashes(45, '-');
    const DWORD hidden = kPlainWindow & ~WS_VISIBLE, popup = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    struct Case {
        const char* ignore;
        std::string title;
        int closes;
        DWORD style = kPlainWindow;
        bool owned = false, disabled = false, includeProgman = false;
        const char* className = kTestClass;
    };
    const Case cases[] = {
        {"", "Notepad", 1},          {"", "Notepad", 0, hidden},    {"", "Notepad", 0, kPlainWindow, false, true},
        {"", "", 0},                 {"", "Notepad", 0, popup, true},
        // GetParent reports the owner of a popup only: an owned overlapped
        // window passes for an application.
        {"", "Notepad", 1, kPlainWindow, true},
        {"", "Program Manager", 0, kPlainWindow, false, false, false, "Progman"},
        {"", "Program Manager", 1, kPlainWindow, false, false, true, "Progman"},
        {"program", "Program Manager", 0, kPlainWindow, false, false, true, "Progman"},
        {" , ,, ", "Notepad", 1},    {"note", "Notepad - doc", 0},  {"PAD", "Notepad - doc", 0},
        {"doc", "NOTEPAD - DOC", 0}, {"zzz,  pad\t ,", "Notepad", 0}, {"no pad", "Notepad", 1},
        {"no pad", "Xno pad", 0},
        {"\xC9t\xE9", "\xE9t\xE9", 1},  // only A to Z fold: an accented capital is not its small form
        {"\xE9t\xE9", "\xE9t\xE9", 0},
        {"tail", dashes + "tail", 0},   // ends at the 49th character
        {"tail", dashes + "-tail", 1},  // ends past it
    };
    StartProgram();
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const TestWindow control("Sweep control");
        const TestWindow subject(c.title, c.style, c.owned ? control.Handle() : nullptr, c.className);
        EnableWindow(subject.Handle(), !c.disabled);
        Form().IncludeProgman = c.includeProgman;
        Form().txtIgnore->SetText(c.ignore);
        frmTamrik->trayIconCloseClick(frmTamrik);
        ASSERT_TRUE(PumpUntil([&] { return control.closes > 0; }));
        EXPECT_EQ(subject.closes, c.closes) << "case " << i << ": '" << c.ignore << "' in '" << c.title << "'";
    }
}

TEST_F(TamrikTest, SweepLeavesTheApplicationWindowButNotTheShownForm)
{
    StartProgram();
    ShowWindow(Application->Handle(), SW_SHOWNOACTIVATE);
    Form().Show();
    const TestWindow control("Sweep control");
    Form().trayIconMinClick(&Form());
    EXPECT_TRUE(PumpUntil([&] { return IsIconic(control.Handle()) && IsIconic(Form().Handle()); }));
    EXPECT_FALSE(IsIconic(Application->Handle()));
}

TEST_F(TamrikTest, SweepReadsTheIgnoreListAtEachWindow)
{
    StartProgram();
    Form().txtIgnore->SetText("");
    TestWindow first("Sweep twin"), second("Sweep twin");
    // Whichever twin the sweep reaches first has the other one ignored.
    first.onClose = second.onClose = [] { frmTamrik->txtIgnore->SetText("twin"); };
    Form().trayIconCloseClick(&Form());
    Application->ProcessMessages();
    EXPECT_EQ(first.closes + second.closes, 1);
}

// SW_RESTORE would bring a maximized window down to its normal size; the
// restore sweep leaves every window alone that is not minimized, and one
// minimized from maximized comes back maximized.
TEST_F(TamrikTest, RestoreSweepBringsBackMinimizedWindowsAsTheyWere)
{
    StartProgram();
    const TestWindow normal("Sweep normal"), maximized("Sweep maximized"), minimized("Sweep minimized"),
        maximizedThenMinimized("Sweep maximized, minimized");
    ShowWindow(maximized.Handle(), SW_MAXIMIZE);
    ShowWindow(minimized.Handle(), SW_MINIMIZE);
    ShowWindow(maximizedThenMinimized.Handle(), SW_MAXIMIZE);
    ShowWindow(maximizedThenMinimized.Handle(), SW_MINIMIZE);
    ASSERT_TRUE(IsZoomed(maximized.Handle()) && IsIconic(maximizedThenMinimized.Handle()));
    Form().trayIconRestoreClick(&Form());
    ASSERT_TRUE(PumpUntil([&] { return !IsIconic(minimized.Handle()) && !IsIconic(maximizedThenMinimized.Handle()); }));
    EXPECT_FALSE(IsZoomed(minimized.Handle()));
    EXPECT_TRUE(IsZoomed(maximizedThenMinimized.Handle()));
    EXPECT_TRUE(IsZoomed(maximized.Handle()));
    EXPECT_FALSE(IsZoomed(normal.Handle()) || IsIconic(normal.Handle()));
}

// What Windows 8 and later cloak is visible by IsWindowVisible and unseen by
// the user. Wine cloaks nothing, so the window manager's answer is faked.
TEST_F(TamrikTest, EverySweepLeavesCloakedWindowsAlone)
{
    StartProgram();
    Form().txtIgnore->SetText("");
    Form().radShutdownMenu->SetChecked(true);
    const TestWindow cloaked("Suspended store app");
    Seams().cloaked = {cloaked.Handle()};
    const struct {
        const char* sweep;
        void (TfrmTamrik::*start)(TComponent*);
        int showFirst;
    } sweeps[] = {
        {"minimize", &TfrmTamrik::trayIconMinClick, SW_SHOWNORMAL},
        {"restore", &TfrmTamrik::trayIconRestoreClick, SW_MINIMIZE},
        {"close", &TfrmTamrik::trayIconCloseClick, SW_SHOWNORMAL},
        {"shutdown menu", &TfrmTamrik::trayIconShutdownClick, SW_SHOWNORMAL},
    };
    for (const auto& s : sweeps) {
        const TestWindow control("Sweep control");
        ShowWindow(control.Handle(), s.showFirst);
        ShowWindow(cloaked.Handle(), s.showFirst);
        const bool wasIconic = IsIconic(cloaked.Handle()) != FALSE;
        (Form().*s.start)(&Form());
        // The sweep has run once the control window got its action.
        ASSERT_TRUE(PumpUntil([&] { return control.closes > 0 || IsIconic(control.Handle()) != wasIconic; }))
            << s.sweep;
        EXPECT_EQ(IsIconic(cloaked.Handle()) != FALSE, wasIconic) << s.sweep;
        EXPECT_EQ(cloaked.closes, 0) << s.sweep;
    }
}

// Wine 8 has dwmapi.dll, and its DwmGetWindowAttribute knows no
// DWMWA_CLOAKED: under Wine the sweep sees every window uncloaked.
TEST(DesktopWindowManager, WineCloaksNothing)
{
    const TestWindow window("Plain window");
    DWORD cloaked = 1;
    const HRESULT result = Platform().dwmGetWindowAttribute(window.Handle(), 14, &cloaked, sizeof(cloaked));
    EXPECT_TRUE(FAILED(result) || cloaked == 0) << std::hex << result;
}

// Split field by field, a list of 16,384 characters held up every window of
// a sweep for some twenty seconds; in one pass the whole sweep takes a
// moment (the deadline leaves room for a busy machine).
TEST_F(TamrikTest, SweepWithALongIgnoreListStaysQuick)
{
    StartProgram();
    std::string ignore(16384 - 16, ',');
    ignore += "sweep target 07,";
    Form().txtIgnore->SetText(ignore);
    ASSERT_EQ(Form().txtIgnore->Text(), ignore);
    std::vector<std::unique_ptr<TestWindow>> windows;
    for (int i = 0; i < 50; ++i)
        windows.push_back(std::make_unique<TestWindow>("Sweep target " + std::string(i < 10 ? "0" : "") +
                                                       std::to_string(i)));
    const DWORD start = GetTickCount();
    Form().trayIconCloseClick(&Form());
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_LT(elapsed, 5000u);
    ASSERT_TRUE(PumpUntil([&] { return windows.back()->closes > 0; }));
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(windows[i]->closes, i == 7 ? 0 : 1) << i;
    RecordProperty("SweepMilliseconds", static_cast<int>(elapsed));
}
