// The MS-DOS prompt and quick telnet launchers: what a click on the tray
// button, the Browse and list buttons and the site items ask of the platform.
#include "TestSupport.h"

namespace {

std::string CurrentDirectory()
{
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    return directory;
}

std::vector<std::string> Shown(HMENU menu)
{
    std::vector<std::string> shown;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        shown.push_back(ShownItem(menu, i));
    return shown;
}

class LaunchersTest : public TamrikTest {
protected:
    void SetUp() override
    {
        TamrikTest::SetUp();
        startDirectory_ = CurrentDirectory();
    }
    void TearDown() override
    {
        TamrikTest::TearDown();
        SetCurrentDirectoryA(startDirectory_.c_str());
    }
    // A left click on the MS-DOS prompt button, as the notification area
    // reports it.
    static void ClickMSDOS()
    {
        TrayReport(Form().trayMSDOS, WM_LBUTTONDOWN);
        TrayReport(Form().trayMSDOS, WM_LBUTTONUP);
    }
    static std::vector<std::string> Started()
    {
        std::vector<std::string> lines;
        for (const auto& [line, show] : Seams().programs) {
            EXPECT_EQ(show, static_cast<UINT>(SW_SHOWNORMAL));
            lines.push_back(line);
        }
        return lines;
    }
    std::string startDirectory_;
};

using Lines = std::vector<std::string>;

// What the current directory and the count of warnings were at each launch.
std::vector<std::pair<std::string, size_t>> launches;

UINT WINAPI RecordLaunch(LPCSTR, UINT)
{
    launches.emplace_back(CurrentDirectory(), Seams().boxes.size());
    return 33;
}

WNDPROC listBoxProc = nullptr;

LRESULT CALLBACK RefuseEveryAdd(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == LB_ADDSTRING)
        return LB_ERRSPACE;
    return CallWindowProcA(listBoxProc, window, message, wParam, lParam);
}

}  // namespace

TEST_F(LaunchersTest, MSDOSButtonStartsThePromptFromTheBoxesAsTyped)
{
    StartProgram();
    TfrmTamrik& f = Form();
    ClickMSDOS();
    EXPECT_TRUE(Seams().menus.empty()) << "a left click launches; it opens no menu";

    f.txtMSDOScommand->SetText("");
    ClickMSDOS();
    f.txtMSDOSprog->SetText(" \t ");
    f.txtMSDOScommand->SetText("  /C ver  ");
    ClickMSDOS();
    f.txtMSDOSprog->SetText(" C:\\Program Files\\4dos.com ");
    ClickMSDOS();
    const std::string huge(30000, 'x');
    f.txtMSDOSprog->SetText(huge);
    f.txtMSDOScommand->SetText(huge);
    ClickMSDOS();

    EXPECT_EQ(Started(), (Lines{"command.com /K dir /w", "command.com ", "command.com   /C ver  ",
                                " C:\\Program Files\\4dos.com    /C ver  ", huge + " " + huge}));
    EXPECT_TRUE(Seams().boxes.empty());
}

TEST_F(LaunchersTest, DoubleClickLaunchesTwice)
{
    StartProgram();
    for (const UINT report : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        TrayReport(Form().trayMSDOS, report);
    EXPECT_EQ(Started(), (Lines{"command.com /K dir /w", "command.com /K dir /w"}));
}

TEST_F(LaunchersTest, StartingDirectoryIsEnteredOrWarnedAboutBeforeTheLaunch)
{
    StartProgram();
    TfrmTamrik& f = Form();
    CreateDirectoryA("C:\\launch", nullptr);
    CreateDirectoryA("C:\\launch\\one", nullptr);
    CreateDirectoryA("C:\\launch\\one\\two", nullptr);
    std::ofstream("C:\\launch\\file.txt") << "x";
    launches.clear();
    Platform().winExec = RecordLaunch;

    f.txtMSDOSdir->SetText("C:\\launch\\one\\two");
    ClickMSDOS();
    f.txtMSDOSdir->SetText("..");  // each click climbs from where the last one left
    ClickMSDOS();
    ClickMSDOS();
    f.txtMSDOSdir->SetText(" \t ");  // blank: no change and no warning
    ClickMSDOS();
    for (const char* bad : {"C:\\launch\\missing", "C:\\launch\\file.txt", " C:\\launch\\one"}) {
        f.txtMSDOSdir->SetText(bad);
        ClickMSDOS();
    }

    ASSERT_EQ(launches.size(), 7u);
    EXPECT_EQ(launches[0].first, "C:\\launch\\one\\two");
    EXPECT_EQ(launches[1].first, "C:\\launch\\one");
    EXPECT_EQ(launches[2].first, "C:\\launch");
    EXPECT_EQ(launches[3].first, "C:\\launch");
    EXPECT_EQ(launches[3].second, 0u);
    // A failed change warns first, then launches where the last one did.
    for (size_t i = 4; i < 7; ++i) {
        EXPECT_EQ(launches[i].first, "C:\\launch") << i;
        EXPECT_EQ(launches[i].second, i - 3) << "the warning comes before the launch";
    }
    ASSERT_EQ(Seams().boxes.size(), 3u);
    for (const ErrorBox& box : Seams().boxes) {
        EXPECT_EQ(box.text, "Cannot find directory!");
        EXPECT_EQ(box.caption, "Warning");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL | MB_SETFOREGROUND));
    }
    SetCurrentDirectoryA(startDirectory_.c_str());
    DeleteFileA("C:\\launch\\file.txt");
    RemoveDirectoryA("C:\\launch\\one\\two");
    RemoveDirectoryA("C:\\launch\\one");
    RemoveDirectoryA("C:\\launch");
}

TEST_F(LaunchersTest, BothBrowseButtonsShareOneDialogThatRemembersTheLastFile)
{
    StartProgram();
    TfrmTamrik& f = Form();
    f.txtMSDOSprog->SetText("typed.exe");
    f.txtTelnetProg->SetText("kept.exe");
    Seams().filesChosen = {"C:\\Program Files\\Term\\term.exe", "C:\\tools\\tn.exe"};
    Click(f.Button4);
    Click(f.Button3);
    EXPECT_EQ(f.txtMSDOSprog->Text(), "\"C:\\Program Files\\Term\\term.exe\"");
    EXPECT_EQ(f.txtTelnetProg->Text(), "C:\\tools\\tn.exe");
    Click(f.Button4);  // cancelled: the box stays as it was
    EXPECT_EQ(f.txtMSDOSprog->Text(), "\"C:\\Program Files\\Term\\term.exe\"");

    const auto& runs = Seams().openDialogs;
    ASSERT_EQ(runs.size(), 3u);
    for (const OpenDialogRun& run : runs) {
        EXPECT_EQ(run.owner, f.Handle());
        EXPECT_EQ(run.title, "Select program...");
        EXPECT_EQ(run.filter, "Executable file|*.exe;*.com;*.bat|");
        EXPECT_EQ(run.defaultExt, "exe");
        EXPECT_EQ(run.initialDir, ".");
        EXPECT_EQ(run.flags, static_cast<DWORD>(OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER));
    }
    EXPECT_EQ(runs[0].offered, "");
    EXPECT_EQ(runs[1].offered, "C:\\Program Files\\Term\\term.exe");  // unquoted: it is the dialog's own
    EXPECT_EQ(runs[2].offered, "C:\\tools\\tn.exe");
}

TEST_F(LaunchersTest, AddAndRemoveSelectedEditTheSiteList)
{
    StartProgram();
    TfrmTamrik& f = Form();
    for (const char* site : {"delta", "alpha", "", "charlie", "alpha", "bravo", "echo"}) {
        f.txtSite->SetText(site);
        Click(f.Button1);
    }
    EXPECT_EQ(f.txtSite->Text(), "echo");
    EXPECT_EQ(f.lstSites->Items(), (Lines{"", "alpha", "alpha", "bravo", "charlie", "delta", "echo"}));

    Click(f.Button2);  // nothing selected: nothing goes
    EXPECT_EQ(f.lstSites->Count(), 7);
    for (const int selected : {1, 2, 3, 6})  // adjacent ones included, and the last
        SendMessageA(f.lstSites->Handle(), LB_SETSEL, TRUE, selected);
    Click(f.Button2);
    EXPECT_EQ(f.lstSites->Items(), (Lines{"", "charlie", "delta"}));
    EXPECT_TRUE(Seams().boxes.empty());
}

// The list box of the platform can refuse an entry when it has no room;
// here it is made to refuse every one.
TEST_F(LaunchersTest, ARefusedSiteIsReportedAndTheListStaysAsItWas)
{
    StartProgram();
    TfrmTamrik& f = Form();
    f.lstSites->SetItems({"kept"});
    listBoxProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(f.lstSites->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefuseEveryAdd)));
    Click(f.Button1);
    SetWindowLongPtrA(f.lstSites->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listBoxProc));

    ASSERT_EQ(Seams().boxes.size(), 1u);
    ExpectErrorBox(Seams().boxes[0], Application->Handle(), "Unable to insert a line.");
    EXPECT_EQ(f.lstSites->Items(), Lines{"kept"});
}

TEST_F(LaunchersTest, EveryTrayMenuListsTheSitesLastFirstAndChoosesOne)
{
    StartProgram();
    TfrmTamrik& f = Form();
    const Lines fixed = {"Properties...", "-", "Exit Tamrik"};
    f.lstSites->SetItems({});
    TrayReport(f.trayTelnet, WM_RBUTTONDOWN);
    ASSERT_EQ(Seams().menus.size(), 1u);
    EXPECT_EQ(Shown(Seams().menus[0].menu), fixed);

    f.lstSites->SetItems({"alpha", "beta", "R&D", "-", "gamma"});
    f.txtTelnetProg->SetText("   ");
    const TMenuItem* chosen = nullptr;
    Seams().onTrack = [&](const MenuTrack& track) {
        chosen = f.popTamrik->Item(2);
        Choose(track, chosen);
    };
    // Every button whose menu it is, again and again: the items never pile up.
    for (int round = 0; round < 3; ++round)
        for (TQVTrayIcon* button : {f.trayTelnet, f.trayMSDOS, f.trayIconMin, f.trayiconrestore, f.trayIconClose,
                                    f.trayIconShutdown}) {
            const size_t before = Seams().menus.size();
            TrayReport(button, WM_RBUTTONDOWN);
            Application->ProcessMessages();
            ASSERT_EQ(Seams().menus.size(), before + 1) << button->Name();
            EXPECT_EQ(Shown(Seams().menus.back().menu),
                      (Lines{"gamma", "-", "R&D", "beta", "alpha", "-", "Properties...", "-", "Exit Tamrik"}))
                << button->Name();
        }
    EXPECT_EQ(f.popTamrik->Count(), 9);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->Hint(), "R&D");
    EXPECT_EQ(Started(), Lines(18, "telnet.exe R&D"));

    Seams().programs.clear();
    f.txtTelnetProg->SetText("\"C:\\Program Files\\tn.exe\"");
    TrayReport(f.trayTelnet, WM_RBUTTONDOWN);
    Application->ProcessMessages();
    EXPECT_EQ(Started(), Lines{"\"C:\\Program Files\\tn.exe\" R&D"});
}

TEST_F(LaunchersTest, TwoThousandSitesComeAndGoWithEachPopup)
{
    StartProgram();
    TfrmTamrik& f = Form();
    std::vector<std::string> sites;
    for (int i = 0; i < 2000; ++i)
        sites.push_back("host" + std::to_string(i));
    f.lstSites->SetItems(sites);
    for (int round = 0; round < 3; ++round)
        TrayReport(f.trayTelnet, WM_LBUTTONDOWN);
    ASSERT_EQ(Seams().menus.size(), 3u);
    const HMENU menu = Seams().menus.back().menu;
    EXPECT_EQ(GetMenuItemCount(menu), 2000 + 1 + 3);
    EXPECT_EQ(ShownItem(menu, 0), "host1999");
    EXPECT_EQ(ShownItem(menu, 1999), "host0");
    f.lstSites->SetItems({});
    TrayReport(f.trayTelnet, WM_LBUTTONDOWN);
    EXPECT_EQ(GetMenuItemCount(menu), 3);
}
