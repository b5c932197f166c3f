// The seven tray buttons of the main form: which are in the notification
// area with which image, their pressed feedback, their menus and the
// shutdown button.
#include <utility>

#include "TestSupport.h"

#include "app/Switches.h"

namespace {

const char kAllVisible[] =
    "[Configuration]\r\nMinimizeVisible=1\r\nRestoreVisible=1\r\nCloseVisible=1\r\nShutdownVisible=1\r\n"
    "MSDOSVisible=1\r\nExplorerVisible=1\r\nTelnetVisible=1\r\n";

std::vector<std::pair<std::string, TQVTrayIcon*>> Buttons()
{
    const TfrmTamrik& f = *frmTamrik;
    return {{"telnet", f.trayTelnet}, {"msdos", f.trayMSDOS},          {"explorer", f.trayExplorer},
            {"min", f.trayIconMin},   {"restore", f.trayiconrestore}, {"close", f.trayIconClose},
            {"shutdown", f.trayIconShutdown}};
}

// The calls to the notification area, one word each: the call, the button
// and the image it showed ("add min 1", "delete close 2").
std::string Calls()
{
    std::string text;
    for (const NotifyCall& call : Seams().notifies) {
        const char* verb = call.message == NIM_ADD ? "add" : call.message == NIM_MODIFY ? "modify" : "delete";
        std::string button = "?", image = "?";
        for (const auto& [name, icon] : Buttons()) {
            if (icon->NotifyWindow() != call.data.hWnd)
                continue;
            button = name;
            image = call.data.hIcon == icon->Icon1().Handle()   ? "1"
                    : call.data.hIcon == icon->Icon2().Handle() ? "2"
                                                                : "?";
        }
        text += std::string(text.empty() ? "" : ", ") + verb + " " + button + " " + image;
    }
    return text;
}

// The whole refresh with the given image for each action button, when all
// seven are shown.
std::string Refreshed(const char* images)  // min, restore, close, shutdown
{
    return std::string("modify telnet 1, modify msdos 1, modify explorer 1, modify min ") + images[0] +
           ", modify restore " + images[1] + ", modify close " + images[2] + ", modify shutdown " + images[3];
}

std::vector<std::string> MenuCaptions(const TPopupMenu* menu)
{
    std::vector<std::string> captions;
    for (int i = 0; i < menu->Count(); ++i)
        captions.push_back(menu->Item(i)->Caption() + (menu->Item(i)->Default() ? " (default)" : ""));
    return captions;
}

}  // namespace

TEST_F(TamrikTest, StartupAddsTheEnabledButtonsInTheirOrder)
{
    WriteSettings(kAllVisible);
    StartProgram();
    EXPECT_EQ(Calls(), "add telnet 1, add msdos 1, add explorer 1, add min 1, add restore 1, add close 1, "
                       "add shutdown 1");
    const std::vector<std::string> tips = {
        "Click to popup list of sites...",       "Click to open DOS box...",
        "Click to popup list of drives...",      "Click to minimize all applications...",
        "Click to restore minimized applications...", "Click to close all applications...",
        "Click to shutdown computer...",
    };
    for (size_t i = 0; i < Seams().notifies.size() && i < tips.size(); ++i) {
        EXPECT_STREQ(Seams().notifies[i].data.szTip, tips[i].c_str());
        EXPECT_NE(Seams().notifies[i].data.hIcon, nullptr);
        EXPECT_EQ(Seams().notifies[i].data.uID, i + 1);  // each its own identifier, in the buttons' order
    }
    for (const auto& [name, icon] : Buttons())
        EXPECT_EQ(icon->Interval(), 500u) << name;

    EndProgram();
    Seams().notifies.clear();
    DeleteFileA(SettingsPath().c_str());
    StartProgram();  // the stored defaults: no telnet, no shutdown
    EXPECT_EQ(Calls(), "add msdos 1, add explorer 1, add min 1, add restore 1, add close 1");
    std::vector<UINT> ids;
    for (const NotifyCall& call : Seams().notifies)
        ids.push_back(call.data.uID);
    EXPECT_EQ(ids, std::vector<UINT>({2, 3, 4, 5, 6}));  // the same on every run, whichever are shown

    EndProgram();
    Seams().notifies.clear();
    Seams().commandLine = R"("C:\dir\Tamrik.exe" m)";
    StartProgram();  // a command-line run shows no button
    EXPECT_EQ(Calls(), "");
}

TEST_F(TamrikTest, EnableBoxAddsAndRemovesItsButtonAtOnce)
{
    StartProgram();
    Seams().notifies.clear();
    Form().chkMin->SetChecked(false);
    EXPECT_EQ(Calls(), "modify msdos 1, modify explorer 1, delete min 1, modify restore 1, modify close 1");
    Seams().notifies.clear();
    Form().MinPressed = kPressedDown;
    Form().chkMin->SetChecked(true);
    EXPECT_EQ(Calls(), "modify msdos 1, modify explorer 1, add min 2, modify restore 1, modify close 1");
}

TEST_F(TamrikTest, ActionButtonsActThenSinkWhileHeld)
{
    WriteSettings(kAllVisible);
    const struct {
        const char* button;
        const char* sunken;
        const char* action;  // what the test window saw: m minimized, x asked to close
    } cases[] = {{"min", "2111", "m"}, {"restore", "1211", ""}, {"close", "1121", "x"}, {"shutdown", "1112", "x"}};
    StartProgram();
    for (const auto& c : cases) {
        TQVTrayIcon* button = nullptr;
        for (const auto& [name, icon] : Buttons())
            if (name == c.button)
                button = icon;
        TestWindow target("Tray target");
        size_t callsAtAction = 99;
        target.onClose = [&] { callsAtAction = Seams().notifies.size(); };
        TestWindow::Log().clear();
        Seams().notifies.clear();

        TrayReport(button, WM_LBUTTONDOWN);
        EXPECT_EQ(Calls(), Refreshed(c.sunken)) << c.button;
        EXPECT_TRUE(PumpUntil([&] { return TestWindow::Log() == c.action; })) << c.button << ": " << TestWindow::Log();
        if (*c.action == 'x') {
            EXPECT_EQ(callsAtAction, 0u) << c.button << ": the action runs before the button sinks";
        }
        Seams().notifies.clear();
        TrayReport(button, WM_LBUTTONUP);
        EXPECT_EQ(Calls(), Refreshed("1111")) << c.button;

        // A double-click acts once: its second press is a double-click.
        TrayReport(button, WM_LBUTTONDBLCLK);
        TrayReport(button, WM_LBUTTONUP);
        Application->ProcessMessages();
        EXPECT_EQ(TestWindow::Log(), c.action) << c.button;

        // The right button opens the menu and presses nothing.
        Seams().notifies.clear();
        Seams().menus.clear();
        TrayReport(button, WM_RBUTTONDOWN);
        TrayReport(button, WM_RBUTTONUP);
        ASSERT_EQ(Seams().menus.size(), 1u);
        EXPECT_EQ(Seams().menus[0].menu, Form().popTamrik->Handle());
        EXPECT_EQ(Calls(), "") << c.button;
    }
}

// A quick click: the button-up is queued before the press is reported, so
// the action's own message drain handles it.
TEST_F(TamrikTest, ActionButtonsRiseAgainAfterAQuickClick)
{
    WriteSettings(kAllVisible);
    StartProgram();
    const TestWindow target("Tray target");  // something for every sweep to drain after
    const std::pair<const char*, bool> cases[] = {
        {"min", false}, {"restore", false}, {"close", false}, {"shutdown", false},
        {"shutdown", true},  // the direct mode drains nothing of its own: the refresh does
    };
    for (const auto& [name, direct] : cases) {
        Form().radShutdown->SetChecked(direct);
        TQVTrayIcon* button = nullptr;
        for (const auto& [each, icon] : Buttons())
            if (each == name)
                button = icon;
        Seams().notifies.clear();
        PostMessageA(button->NotifyWindow(), kTrayCallback, kTrayIconId, WM_LBUTTONUP);
        TrayReport(button, WM_LBUTTONDOWN);
        const std::string calls = Calls();
        const std::string raised = Refreshed("1111");
        ASSERT_GE(calls.size(), raised.size()) << name;
        EXPECT_EQ(calls.substr(calls.size() - raised.size()), raised) << name << ": " << calls;
        for (const int flag : {Form().MinPressed, Form().RestorePressed, Form().ClosePressed, Form().ShutdownPressed})
            EXPECT_EQ(flag, kPressedUp) << name;
    }
}

// A restarted shell has an empty notification area and says so to every
// top-level window; every copy of the broadcast reaches the program.
TEST_F(TamrikTest, ShownButtonsComeBackWhenTheShellRestarts)
{
    WriteSettings(kAllVisible);
    StartProgram();
    Form().chkRestore->SetChecked(false);
    Form().chkMin->SetChecked(false);
    Form().chkMin->SetChecked(true);  // now the last in the area
    Form().ClosePressed = kPressedDown;
    Form().RefreshTrayButtons();
    Form().trayTelnet->SetHint("Sites, renamed");
    Seams().notifies.clear();

    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(PumpUntil([] { return !Seams().notifies.empty(); }));
    Application->ProcessMessages();  // the copies to the other buttons
    EXPECT_EQ(Calls(), "add telnet 1, add msdos 1, add explorer 1, add close 2, add shutdown 1, add min 1");
    for (const NotifyCall& call : Seams().notifies) {
        for (const auto& [name, icon] : Buttons()) {
            if (icon->NotifyWindow() == call.data.hWnd) {
                EXPECT_EQ(call.data.szTip, icon->Hint()) << name;
            }
        }
    }
    EXPECT_EQ(Form().ClosePressed, kPressedDown);
    EXPECT_FALSE(Form().trayiconrestore->Shown());
}

TEST_F(TamrikTest, LauncherButtonsOpenTheirMenuWithEitherButton)
{
    StartProgram();
    const std::pair<TQVTrayIcon*, TPopupMenu*> cases[] = {{Form().trayTelnet, Form().popTamrik},
                                                          {Form().trayExplorer, Form().popExplorer}};
    for (const auto& [button, menu] : cases) {
        for (const UINT press : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
            Seams().menus.clear();
            TrayReport(button, press);
            ASSERT_EQ(Seams().menus.size(), 1u);
            EXPECT_EQ(Seams().menus[0].menu, menu->Handle());
        }
    }
}

TEST_F(TamrikTest, MenusOfferPropertiesAndExit)
{
    StartProgram();
    using Captions = std::vector<std::string>;
    EXPECT_EQ(MenuCaptions(Form().popTamrik), (Captions{"Properties... (default)", "-", "E&xit Tamrik"}));
    EXPECT_EQ(MenuCaptions(Form().popExplorer), (Captions{"&Properties... (default)", "-", "E&xit Tamrik"}));
    EXPECT_FALSE(Form().popTamrik->AutoPopup);
    EXPECT_FALSE(Form().popExplorer->AutoPopup);

    const std::pair<TQVTrayIcon*, TMenuItem*> properties[] = {{Form().trayIconMin, Form().popProperties},
                                                              {Form().trayExplorer, Form().MenuItem1}};
    for (const auto& [button, item] : properties) {
        Form().Show();
        Click(Form().btnOK);
        ASSERT_FALSE(Form().Visible());
        Seams().onTrack = [item = item](const MenuTrack& track) { Choose(track, item); };
        TrayReport(button, WM_RBUTTONDOWN);
        EXPECT_TRUE(PumpUntil([] { return frmTamrik->Visible(); })) << item->Caption();
    }

    for (const bool explorerMenu : {false, true}) {
        StartProgram();
        DeleteFileA(SettingsPath().c_str());
        TMenuItem* quit = explorerMenu ? Form().MenuItem3 : Form().popQuit;
        Seams().onTrack = [quit](const MenuTrack& track) { Choose(track, quit); };
        TrayReport(explorerMenu ? Form().trayExplorer : Form().trayIconClose, WM_RBUTTONDOWN);
        EXPECT_TRUE(PumpUntil([] { return Application->Terminated(); })) << quit->Name();
        EndProgram();
        EXPECT_NE(ReadSettings().find("MinimizeVisible=1"), std::string::npos);
    }
}

// Without the prompt, only hung applications are ended unasked: the prefix
// reports Windows 7, which has EWX_FORCEIFHUNG.
TEST_F(TamrikTest, ShutdownButtonRequestsTheConfiguredEnd)
{
    ASSERT_TRUE(HasForceIfHung(GetVersion()));
    const struct {
        bool prompt, reboot;
        UINT flags;
    } cases[] = {{false, false, 0x11}, {true, false, 1}, {false, true, 0x12}, {true, true, 2}};
    for (const auto& c : cases) {
        StartProgram();
        DeleteFileA(SettingsPath().c_str());
        Seams().exitFlags.clear();
        Seams().settingsWrittenAtExit.clear();
        Form().radShutdown->SetChecked(true);
        Form().chkPromptOnClose->SetChecked(c.prompt);
        Form().chkDoReboot->SetChecked(c.reboot);
        TrayReport(Form().trayIconShutdown, WM_LBUTTONDOWN);
        EXPECT_EQ(Seams().exitFlags, std::vector<UINT>{c.flags});
        // An end that may kill the program would give the end-of-run save no chance.
        EXPECT_EQ(Seams().settingsWrittenAtExit, std::vector<bool>{!c.prompt});
        EXPECT_FALSE(Application->Terminated());
    }
}

TEST_F(TamrikTest, ShutdownMenuModeAlsoClosesTheProgramManager)
{
    StartProgram();
    const TestWindow application("Application");
    const TestWindow progman("Program Manager", kPlainWindow, nullptr, "Progman");
    Form().txtIgnore->SetText("");
    Form().trayIconShutdownClick(&Form());
    EXPECT_TRUE(PumpUntil([&] { return application.closes == 1 && progman.closes == 1; }));
    EXPECT_FALSE(Form().IncludeProgman);
    EXPECT_TRUE(Seams().exitFlags.empty());

    // The next sweep leaves it alone again, and the ignore list holds for it.
    Form().trayIconCloseClick(&Form());
    Form().txtIgnore->SetText("program manager");
    Form().trayIconShutdownClick(&Form());
    EXPECT_TRUE(PumpUntil([&] { return application.closes == 3; }));
    EXPECT_EQ(progman.closes, 1);
}

// Once a forced end is asked for, the kill may come while the file is being
// written; the end of the run leaves it alone unless a setting changed since.
TEST_F(TamrikTest, ForcedShutdownWritesTheSettingsOnce)
{
    for (const bool changedSince : {false, true}) {
        StartProgram();
        Form().radShutdown->SetChecked(true);
        TrayReport(Form().trayIconShutdown, WM_LBUTTONDOWN);
        ASSERT_EQ(Seams().exitFlags.back(), 0x11u);
        const std::string onDisk = "[Configuration]\r\nmarker=1\r\n";
        WriteSettings(onDisk);
        if (changedSince)
            Form().chkMin->SetChecked(false);
        EndProgram();
        if (changedSince) {
            EXPECT_NE(ReadSettings().find("MinimizeVisible=0"), std::string::npos);
        } else {
            EXPECT_EQ(ReadSettings(), onDisk);
        }
    }
}
