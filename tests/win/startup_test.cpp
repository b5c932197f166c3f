// The main form's creation and its first activation: the startup pass that
// runs the switch letters of the command line.
#include "TestSupport.h"

#include "app/Switches.h"

TEST_F(TamrikTest, StartupPassRunsTheSwitchLettersOfEachArgument)
{
    const struct {
        const char* commandLine;
        std::vector<UINT> exitFlags;
        const char* sweeps;  // as the target window saw them: m minimize, x close
        bool ends;
    } cases[] = {
        {R"("C:\dir\Tamrik.exe" k)", {1}, "", true},         {R"("C:\dir\Tamrik.exe" ka)", {5}, "", true},
        {R"("C:\dir\Tamrik.exe" kb)", {2}, "", true},        {R"("C:\dir\Tamrik.exe" back)", {6}, "", true},
        {R"("C:\dir\Tamrik.exe" K)", {1}, "", true},         {R"("C:\dir\Tamrik.exe" k kab)", {1, 6}, "", true},
        {R"("C:\dir\Tamrik.exe" "k b")", {2}, "", true},     {R"("C:\dir\Tamrik.exe" k b)", {1}, "", true},
        {R"("C:\dir\Tamrik.exe" m)", {}, "m", true},         {R"("C:\dir\Tamrik.exe" M)", {}, "m", true},
        {R"("C:\dir\Tamrik.exe" x)", {}, "x", true},         {R"("C:\dir\Tamrik.exe" -max)", {}, "mx", true},
        {R"("C:\dir\Tamrik.exe" m x)", {}, "mx", true},      {"C:\\dir\\Tamrik.exe\tx", {}, "x", true},
        {R"("C:\dir\Tamrik.exe" abc)", {}, "", false},       {R"("C:\dir\Tamrik.exe")", {}, "", false},
        {R"("C:\Program Files\mxk\Tamrik.exe")", {}, "", false},
    };
    for (const auto& c : cases) {
        Seams() = SeamLog{};
        Seams().commandLine = c.commandLine;
        StartProgram();
        DeleteFileA(SettingsPath().c_str());
        Form().chkShowOnStartup->SetChecked(false);
        const TestWindow target("Startup target");
        TestWindow::Log().clear();
        Form().Show();  // as the message loop does at its start
        Application->ProcessMessages();
        EXPECT_EQ(Seams().exitFlags, c.exitFlags) << c.commandLine;
        EXPECT_TRUE(c.exitFlags.empty() || !Seams().firstActivationAtExit) << c.commandLine;
        // A forced end gives the program no chance to save later.
        for (size_t i = 0; i < c.exitFlags.size() && i < Seams().settingsWrittenAtExit.size(); ++i)
            EXPECT_EQ(Seams().settingsWrittenAtExit[i], (c.exitFlags[i] & kEwxForce) != 0) << c.commandLine;
        EXPECT_EQ(TestWindow::Log(), c.sweeps) << c.commandLine;
        EXPECT_EQ(Application->Terminated(), c.ends) << c.commandLine;
        EXPECT_FALSE(Form().FirstActivation) << c.commandLine;
        EndProgram();
    }
}

TEST_F(TamrikTest, StartupPassLeavesThePropertiesWindowHidden)
{
    StartProgram();
    Form().chkShowOnStartup->SetChecked(false);
    Form().Show();
    Application->ProcessMessages();
    EXPECT_FALSE(Form().Visible());
}

TEST_F(TamrikTest, ShowOnStartupShowsTheWindowAndActsOnNothing)
{
    Seams().commandLine = R"("C:\dir\Tamrik.exe" m x k)";
    StartProgram();
    const TestWindow target("Startup target");
    Form().Show();
    Application->ProcessMessages();
    EXPECT_TRUE(Form().Visible());
    EXPECT_TRUE(Form().FirstActivation);
    EXPECT_TRUE(Seams().exitFlags.empty());
    EXPECT_EQ(TestWindow::Log(), "");
    EXPECT_FALSE(Application->Terminated());
}

TEST_F(TamrikTest, ClosingTheMainFormEndsTheRun)
{
    const std::function<void()> closes[] = {
        [] { Click(frmTamrik->btnExit); },
        [] { SendMessageA(frmTamrik->Handle(), WM_CLOSE, 0, 0); },  // the close box
        [] { SendMessageA(Application->Handle(), WM_CLOSE, 0, 0); },
    };
    for (const auto& close : closes) {
        StartProgram();
        close();
        EXPECT_FALSE(Application->Terminated());  // only a quit is queued
        Application->ProcessMessages();
        EXPECT_TRUE(Application->Terminated());
    }
}

TEST_F(TamrikTest, ProgramDirectoryEndsInOneBackslash)
{
    char saved[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, saved);
    CreateDirectoryA("C:\\tamrik dir", nullptr);
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\", "C:\\"}, {"C:\\tamrik dir", "C:\\tamrik dir\\"}, {"C:\\tamrik dir\\", "C:\\tamrik dir\\"}};
    for (const auto& [current, expected] : cases) {
        EXPECT_TRUE(SetCurrentDirectoryA(current));
        StartProgram();
        EXPECT_EQ(Form().ProgramDirectory, expected);
        EndProgram();
    }
    // The bare file name means the Windows directory, wherever the program runs.
    EXPECT_EQ(GetFileAttributesA("C:\\tamrik dir\\Tamrik.ini"), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(ReadSettings().empty());
    SetCurrentDirectoryA(saved);
    RemoveDirectoryA("C:\\tamrik dir");
}

TEST_F(TamrikTest, FormCreateResetsTheRunStateAndLoadsWhileLoading)
{
    WriteSettings("[Configuration]\r\nMSDOSVisible=0\r\n");
    StartProgram();
    TfrmTamrik& f = Form();
    f.MinPressed = f.RestorePressed = f.ClosePressed = f.ShutdownPressed = kPressedDown;
    f.IncludeProgman = true;
    f.chkMSDOS->SetChecked(true);
    std::string seen;
    Handler probe{[&] { seen += frmTamrik->Loading ? "loading " : "idle "; }};
    f.chkMSDOS->OnClick.Bind(&probe, &Handler::Run);
    f.FormCreate(&f);
    EXPECT_EQ(seen, "loading ");
    EXPECT_FALSE(f.Loading);
    EXPECT_EQ(std::vector<int>({f.MinPressed, f.RestorePressed, f.ClosePressed, f.ShutdownPressed}),
              std::vector<int>(4, kPressedUp));
    EXPECT_FALSE(f.IncludeProgman);
}
