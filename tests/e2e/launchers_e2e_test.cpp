// End-to-end tests of the three launchers: the MS-DOS prompt button, the
// site items of the tray menus and the drives menu, each pointed at
// launched.exe, which records where it was started and with what. The
// drives menu runs over a drive of the test's own, t:, mapped to a tree
// the test makes.
#include <sys/stat.h>

#include <set>

#include "TraySupport.h"

namespace {

const std::string kLaunchedLog = kDir + "/launched.log";
const char kLaunched[] = "C:\\e2e\\launched.exe";

// What launched.exe recorded, a "directory|command line" per start.
std::vector<std::string> Launches()
{
    std::vector<std::string> lines;
    std::istringstream log(ReadFile(kLaunchedLog));
    for (std::string line; std::getline(log, line);)
        if (!line.empty())
            lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

std::vector<std::string> LaunchesOnce(size_t count)
{
    Eventually([&] { return Launches().size() >= count; });
    return Launches();
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string EveryLetterBut(char letter)
{
    std::string text;
    for (char c = 'a'; c <= 'z'; ++c)
        if (c != letter)
            text += c;
    return text;
}

class Launchers : public TrayRun {
protected:
    void SetUp() override
    {
        TrayRun::SetUp();
        std::remove(kLaunchedLog.c_str());
        char pattern[] = "/tmp/tamrik-drive-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        drive_ = pattern;
        // Wine reads a drive's label when first asked and keeps it for the
        // session, so it is written before Wine starts.
        WriteFile(drive_ + "/.windows-label", "Drives");
        link_ = Env("WINEPREFIX") + "/dosdevices/t:";
        std::remove(link_.c_str());
        ASSERT_EQ(symlink(drive_.c_str(), link_.c_str()), 0);
    }
    void TearDown() override
    {
        TrayRun::TearDown();
        std::remove((kDir + "/explorer.exe").c_str());
        std::remove(link_.c_str());
        std::remove(kLaunchedLog.c_str());
        if (!drive_.empty())
            Execute({"rm", "-rf", drive_});
    }
    void MakeDirectories(std::initializer_list<const char*> paths)
    {
        for (const char* path : paths)
            ASSERT_EQ(mkdir((drive_ + "/" + path).c_str(), 0755), 0) << path;
    }
    // Opens the menu of an icon and presses the keys in it.
    void Choose(Icon icon, const char* button, Args keys)
    {
        Click(icon, button);
        ASSERT_TRUE(Eventually(MenuShown)) << "no menu";
        keys.insert(keys.begin(), {"xdotool", "key", "--delay", "100"});
        Execute(keys);
        ASSERT_TRUE(Eventually([] { return !MenuShown(); })) << "the menu stayed";
    }

    std::string drive_;
    std::string link_;
};

const Keys kPrompt = {{"ShowOnStartup", "0"}, {"MSDOSprog", kLaunched}, {"MSDOScommand", "/K dir /w"}};

}  // namespace

TEST_F(Launchers, PromptStartsTheChosenProgramInTheChosenDirectory)
{
    Seed(With(kEveryIcon, With(kPrompt, {{"MSDOSdir", "C:\\windows\\system32"}})));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    Click(kMSDOS, "1");
    EXPECT_EQ(LaunchesOnce(1), (Args{"C:\\windows\\system32|C:\\e2e\\launched.exe /K dir /w"}));
    EXPECT_FALSE(MenuShown()) << "a left click launches; it opens no menu";
    // A double-click launches twice.
    MoveTo(icons_[kMSDOS], {"click", "--repeat", "2", "--delay", "80", "1"});
    EXPECT_EQ(LaunchesOnce(3).size(), 3u) << ReadFile(kLaunchedLog);
}

// Wine's tray has no keyboard focus and sends no key notices, so they are
// sent to the icon's window as Windows sends them. Enter comes as two key
// selections; the menu key as a context-menu message alone; a right click
// as its press, its release and a context-menu message.
TEST_F(Launchers, KeysOnTheIconsActOnceAsTheMouseDoes)
{
    Seed(With(kEveryIcon, kPrompt));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    const auto notice = [](const char* id, const char* lParam, const char* times = "1") {
        Execute(PokeCommand({"icon", "TQVTrayIconNotify", id, "1025", lParam, times}));
    };
    const auto settled = [] {  // what was reported before has been handled, a menu opened
        for (int i = 0; i < 2; ++i)
            Poke({"send", "TQVTrayIconNotify", "0", "0", "0"});
    };
    notice("2", "0x401", "2");  // Enter on the MS-DOS icon: two in a row
    settled();
    EXPECT_EQ(LaunchesOnce(1), (Args{"C:\\e2e|C:\\e2e\\launched.exe /K dir /w"}));

    notice("3", "0x7B");  // the menu key on the drives icon
    ASSERT_TRUE(Eventually(MenuShown)) << "no menu";
    Execute({"xdotool", "key", "Escape"});
    ASSERT_TRUE(Eventually([] { return !MenuShown(); })) << "the menu stayed";

    Click(kMSDOS, "3");  // Wine's tray follows the release with a context-menu message
    ASSERT_TRUE(Eventually(MenuShown)) << "no menu";
    Execute({"xdotool", "key", "Escape"});
    ASSERT_TRUE(Eventually([] { return !MenuShown(); })) << "the menu stayed";
    settled();
    EXPECT_FALSE(MenuShown()) << "a second menu after the right click";
    EXPECT_EQ(Launches().size(), 1u);
    ASSERT_NO_FATAL_FAILURE(End());
}

// The prompt as users have it: the command interpreter, in a console window
// of its own. Wine puts that window up at the top left of a screen with no
// window manager, over the tray and its icons, where it takes the clicks
// meant for them; so the launchers' other tests start launched.exe, a
// program with no console.
TEST_F(Launchers, CommandInterpreterOpensInAConsoleWindowOverTheTray)
{
    Seed(With(kEveryIcon, {{"ShowOnStartup", "0"}, {"MSDOSprog", "C:\\windows\\system32\\cmd.exe"},
                           {"MSDOSdir", "C:\\e2e"}}));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    const Rect icon = IconRects().at(kMSDOS);
    Click(kMSDOS, "1");
    std::string console;
    ASSERT_TRUE(Eventually([&] {
        console = Capture({"xdotool", "search", "--onlyvisible", "--name", "^C:.windows.system32.cmd.exe$"});
        return !console.empty();
    })) << "no console window; " << StateOfTheRun() << "its boxes:\n" << Poke({"dialogs", "Tamrik"});
    int x = -1, y = -1, width = 0, height = 0;
    std::istringstream geometry(
        Capture({"xdotool", "getwindowgeometry", "--shell", console.substr(0, console.find('\n'))}));
    for (std::string line; std::getline(geometry, line);) {
        std::sscanf(line.c_str(), "X=%d", &x);
        std::sscanf(line.c_str(), "Y=%d", &y);
        std::sscanf(line.c_str(), "WIDTH=%d", &width);
        std::sscanf(line.c_str(), "HEIGHT=%d", &height);
    }
    const Point centre = icon.Centre();
    EXPECT_TRUE(x <= centre.x && centre.x < x + width && y <= centre.y && centre.y < y + height)
        << "the console at " << x << "," << y << " " << width << "x" << height << " leaves the icon at "
        << centre.x << "," << centre.y << " free";
}

TEST_F(Launchers, RelativeDirectoryClimbsAtEachClick)
{
    Seed(With(kEveryIcon, With(kPrompt, {{"MSDOSdir", ".."}})));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    Click(kMSDOS, "1");
    ASSERT_EQ(LaunchesOnce(1).size(), 1u);
    Click(kMSDOS, "1");
    const std::vector<std::string> launches = LaunchesOnce(2);
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(Lower(launches[0]), "c:\\|c:\\e2e\\launched.exe /k dir /w");  // from C:\e2e, where it started
    EXPECT_EQ(Lower(launches[1]), "c:\\|c:\\e2e\\launched.exe /k dir /w");  // the root has nothing above
}

TEST_F(Launchers, MissingDirectoryIsWarnedAboutThenTheLaunchFollows)
{
    Seed(With(kEveryIcon, With(kPrompt, {{"MSDOSdir", "C:\\no such directory"}})));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    Click(kMSDOS, "1");
    std::string warning;
    ASSERT_TRUE(Eventually([&] { return !(warning = Poke({"dialogs", "Warning"})).empty(); })) << "no warning";
    EXPECT_EQ(warning, "dialog|Cannot find directory!\n");
    // Centred on the 1024 by 768 screen.
    int left = 0, top = 0, right = 0, bottom = 0;
    ASSERT_EQ(std::sscanf(Poke({"place", "Warning"}).c_str(), "%d,%d,%d,%d", &left, &top, &right, &bottom), 4);
    EXPECT_NEAR((left + right) / 2, 512, 2);
    EXPECT_NEAR((top + bottom) / 2, 384, 2);
    EXPECT_TRUE(Launches().empty()) << "the launch waits for the warning";
    // With no window manager on the display, the X focus goes where a tool
    // puts it; Escape then closes the box, as it does for the user.
    std::string box;
    ASSERT_TRUE(Eventually([&] {
        box = Capture({"xdotool", "search", "--onlyvisible", "--name", "^Warning$"});
        return !box.empty();
    }));
    Execute({"xdotool", "windowfocus", "--sync", box.substr(0, box.find('\n')), "key", "Escape"});
    EXPECT_EQ(LaunchesOnce(1), (Args{"C:\\e2e|C:\\e2e\\launched.exe /K dir /w"}));
    EXPECT_TRUE(Poke({"dialogs", "Warning"}).empty());
}

TEST_F(Launchers, EveryTrayMenuListsTheSitesAndStartsTheChosenOne)
{
    // Loaded, the list reads R&D, beta, alpha; the menu shows it last first.
    Seed(With(kEveryIcon, {{"ShowOnStartup", "0"}, {"TelnetProg", kLaunched}}));
    WriteFile(kSettings, ReadFile(kSettings) + "[YourSites]\r\nYourSite0=alpha\r\nYourSite1=beta\r\nYourSite2=R&D\r\n");
    ASSERT_NO_FATAL_FAILURE(Start(7));
    ASSERT_NO_FATAL_FAILURE(Choose(kTelnet, "1", {"Down", "Return"}));
    ASSERT_EQ(LaunchesOnce(1).size(), 1u);
    ASSERT_NO_FATAL_FAILURE(Choose(kMinimize, "3", {"Down", "Down", "Return"}));
    ASSERT_EQ(LaunchesOnce(2).size(), 2u);
    ASSERT_NO_FATAL_FAILURE(Choose(kClose, "3", {"Down", "Down", "Down", "Return"}));
    const std::vector<std::string> launches = LaunchesOnce(3);
    ASSERT_EQ(launches.size(), 3u);
    EXPECT_EQ(launches[0], "C:\\e2e|C:\\e2e\\launched.exe alpha");
    EXPECT_EQ(launches[1], "C:\\e2e|C:\\e2e\\launched.exe beta");
    EXPECT_EQ(launches[2], "C:\\e2e|C:\\e2e\\launched.exe R&D");
}

TEST_F(Launchers, DrivesMenuOpensTheChosenDirectory)
{
    MakeDirectories({"cherry", "Banana", "apple", ".hidden", "deep", "deep/inner"});
    Seed(With(kEveryIcon, With(kPrompt, {{"BadDrive", EveryLetterBut('t')}, {"Depth", "2"}, {"MSDOSorExplorer", "1"},
                                         {"MSDOSdir", "C:\\no such directory"}})));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    // The drive first, then its directories in order; deep opens a sub-menu.
    ASSERT_NO_FATAL_FAILURE(Choose(kDrives, "1", {"Down", "Right", "Return"}));
    ASSERT_EQ(LaunchesOnce(1).size(), 1u);
    ASSERT_NO_FATAL_FAILURE(Choose(kDrives, "1", {"Down", "Right", "Down", "Return"}));
    ASSERT_EQ(LaunchesOnce(2).size(), 2u);
    ASSERT_NO_FATAL_FAILURE(Choose(kDrives, "1", {"Down", "Right", "Down", "Down", "Return"}));
    ASSERT_EQ(LaunchesOnce(3).size(), 3u);
    ASSERT_NO_FATAL_FAILURE(Choose(kDrives, "1", {"Down", "Right", "Down", "Down", "Down", "Right", "Return"}));
    const std::vector<std::string> launches = LaunchesOnce(4);
    ASSERT_EQ(launches.size(), 4u);
    const char* expected[] = {"t:\\apple", "t:\\banana", "t:\\cherry", "t:\\deep\\inner"};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(Lower(launches[i]), std::string(expected[i]) + "|c:\\e2e\\launched.exe /k dir /w");
    EXPECT_TRUE(Poke({"dialogs", "Warning"}).empty()) << "the menu never warns";
}

TEST_F(Launchers, DriveLeafOpensAnExplorerWindow)
{
    Seed(With(kEveryIcon, {{"ShowOnStartup", "0"}, {"BadDrive", EveryLetterBut('t')}, {"Depth", "0"},
                           {"MSDOSorExplorer", "0"}}));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    ASSERT_NO_FATAL_FAILURE(Choose(kDrives, "1", {"Down", "Return"}));
    std::string explorer;
    EXPECT_TRUE(Eventually([&] { return Contains(explorer = Poke({"windows", "ExplorerWClass"}), "(T:)"); }))
        << explorer;
    Poke({"post", "ExplorerWClass", kWmClose, "0", "0"});
}

// Links that lead back up their own path would make a tree without end: at
// depth 50 the menu still opens at once.
TEST_F(Launchers, DrivesMenuWithLinkCyclesOpensAtDepthFifty)
{
    MakeDirectories({"loop", "loop/inner"});
    ASSERT_EQ(symlink("..", (drive_ + "/loop/inner/up").c_str()), 0);
    ASSERT_EQ(symlink(".", (drive_ + "/loop/inner/here").c_str()), 0);
    ASSERT_EQ(symlink("../..", (drive_ + "/loop/inner/top").c_str()), 0);
    Seed(With(kEveryIcon, With(kPrompt, {{"BadDrive", EveryLetterBut('t')}, {"Depth", "50"}})));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    const auto start = Clock::now();
    Click(kDrives, "1");
    ASSERT_TRUE(Eventually(MenuShown, 20s)) << "the menu did not open";
    EXPECT_LT(Clock::now() - start, 10s);
    // loop, inner, then its links in order: here, top and up are leaves.
    Execute({"xdotool", "key", "--delay", "100", "Down", "Right", "Right", "Right", "Down", "Return"});
    const std::vector<std::string> launches = LaunchesOnce(1);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(Lower(launches[0]), "t:\\loop\\inner\\top|c:\\e2e\\launched.exe /k dir /w");
}

// The stored defaults leave the program box blank, and Wine, like every
// 64-bit Windows, has no command.com: the prompt is then the interpreter
// that %ComSpec% names, in a console window, in the starting directory. It
// writes down which system it was built for (AMD64 for the 64-bit one, x86
// for the 32-bit one under WOW64) and where it started.
TEST_F(Launchers, WithTheProgramBoxBlankThePromptIsTheSystemsInterpreterInTheStartingDirectory)
{
    const std::string written = kDir + "/prompt.txt";
    std::remove(written.c_str());
    Seed(With(kEveryIcon,
              {{"ShowOnStartup", "0"}, {"MSDOSdir", "C:\\e2e"},
               {"MSDOScommand", "/K echo %PROCESSOR_ARCHITECTURE%>C:\\e2e\\prompt.txt & cd>>C:\\e2e\\prompt.txt"}}));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    Click(kMSDOS, "1");
    EXPECT_TRUE(Eventually([] {
        return !Capture({"xdotool", "search", "--onlyvisible", "--name", "^C:.windows.system32.cmd.exe$"}).empty();
    })) << "no console window; " << StateOfTheRun() << "its boxes:\n" << Poke({"dialogs", "Tamrik"});
    std::string text;
    ASSERT_TRUE(Eventually([&] { return Contains(text = ReadFile(written), "\n"); }))
        << "the interpreter wrote nothing";
    // echo keeps the blank before the "&".
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == ' '; }), text.end());
    EXPECT_EQ(Lower(text), "amd64\nc:\\e2e\n") << "the 64-bit interpreter, in the starting directory";
    EXPECT_TRUE(Poke({"dialogs", "Tamrik"}).empty()) << "a start that succeeds shows nothing";
    std::remove(written.c_str());
}

TEST_F(Launchers, ASiteWithNoTelnetClientSaysSoOnceAndTamrikGoesOn)
{
    Seed(With(kEveryIcon, With(kPrompt, {})));
    WriteFile(kSettings, ReadFile(kSettings) + "[YourSites]\r\nYourSite0=alpha\r\n");
    ASSERT_NO_FATAL_FAILURE(Start(7));
    ASSERT_NO_FATAL_FAILURE(Choose(kTelnet, "1", {"Down", "Return"}));
    std::string box;
    ASSERT_TRUE(Eventually([&] { return !(box = Poke({"dialogs", "Tamrik"})).empty(); })) << "no message";
    size_t boxes = 0;
    for (size_t at = box.find("dialog|"); at != std::string::npos; at = box.find("dialog|", at + 1))
        ++boxes;
    EXPECT_EQ(boxes, 1u) << box;
    EXPECT_TRUE(Contains(box, "telnet.exe alpha")) << box;
    EXPECT_TRUE(Contains(box, "\"Quick Telnet\" page")) << box;
    Poke({"press", "Tamrik"});
    EXPECT_TRUE(Eventually([] { return Poke({"dialogs", "Tamrik"}).empty(); })) << "the message stayed";
    // The program goes on as before.
    Click(kMSDOS, "1");
    EXPECT_EQ(LaunchesOnce(1), (Args{"C:\\e2e|C:\\e2e\\launched.exe /K dir /w"}));
    EXPECT_TRUE(Poke({"dialogs", "Tamrik"}).empty());
}

// The explorer reads a comma as the end of a switch of its own: unquoted,
// the path of Q1,Q2 opened Q1.
TEST_F(Launchers, AFolderWithACommaInItsNameOpensInTheExplorer)
{
    MakeDirectories({"Q1", "Q1,Q2"});
    Seed(With(kEveryIcon, {{"ShowOnStartup", "0"}, {"BadDrive", EveryLetterBut('t')}, {"Depth", "1"},
                           {"MSDOSorExplorer", "0"}}));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    ASSERT_NO_FATAL_FAILURE(Choose(kDrives, "1", {"Down", "Right", "Down", "Return"}));
    std::string explorer;
    EXPECT_TRUE(Eventually([&] { return Contains(explorer = Poke({"windows", "ExplorerWClass"}), "ExplorerWClass|"); }))
        << "no explorer window";
    EXPECT_TRUE(Eventually([&] { return Contains(explorer = Poke({"windows", "ExplorerWClass"}), "Q1,Q2"); }))
        << explorer;
    Poke({"post", "ExplorerWClass", kWmClose, "0", "0"});
}

// Names in scripts the code page lacks show and open as they are. The menu
// is left on screen for a look: the screenshot goes to the e2e directory.
TEST_F(Launchers, DrivesMenuShowsAndOpensNamesInAnyScript)
{
    MakeDirectories({"\u041f\u0440\u0438\u0432\u0435\u0442", "\u6570\u636e"});  // Привет, 数据
    Seed(With(kEveryIcon, With(kPrompt, {{"BadDrive", EveryLetterBut('t')}, {"Depth", "1"}, {"MSDOSorExplorer", "1"}})));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    Click(kDrives, "1");
    ASSERT_TRUE(Eventually(MenuShown)) << "no menu";
    Execute({"xdotool", "key", "--delay", "100", "Down", "Right"});
    Execute({"import", "-window", "root", kDir + "/names-in-any-script.png"});
    Execute({"xdotool", "key", "--delay", "100", "Return"});
    ASSERT_TRUE(Eventually([] { return !MenuShown(); }));
    ASSERT_NO_FATAL_FAILURE(Choose(kDrives, "1", {"Down", "Right", "Down", "Return"}));
    std::vector<std::string> launches = LaunchesOnce(2);
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0], "t:\\\u041f\u0440\u0438\u0432\u0435\u0442|C:\\e2e\\launched.exe /K dir /w");
    EXPECT_EQ(launches[1], "t:\\\u6570\u636e|C:\\e2e\\launched.exe /K dir /w");

    // The explorer choice: a program named explorer.exe in Tamrik's own
    // directory is the one the launch finds first.
    End();
    Execute({"cp", kDir + "/launched.exe", kDir + "/explorer.exe"});
    Seed(With(kEveryIcon, {{"ShowOnStartup", "0"}, {"BadDrive", EveryLetterBut('t')}, {"Depth", "1"},
                           {"MSDOSorExplorer", "0"}}));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    ASSERT_NO_FATAL_FAILURE(Choose(kDrives, "1", {"Down", "Right", "Return"}));
    ASSERT_NO_FATAL_FAILURE(Choose(kDrives, "1", {"Down", "Right", "Down", "Return"}));
    launches = LaunchesOnce(4);
    ASSERT_EQ(launches.size(), 4u);
    EXPECT_EQ(launches[2], "C:\\e2e|explorer.exe \"t:\\\u041f\u0440\u0438\u0432\u0435\u0442\"");
    EXPECT_EQ(launches[3], "C:\\e2e|explorer.exe \"t:\\\u6570\u636e\"");
}

// A tree of some 100,000 directories at depth 50: the popup lists the root
// alone, and each sub-menu only its own directory, so the menu is up at
// once and a leaf three levels down is as quick to reach.
TEST_F(Launchers, DrivesMenuAtDepthFiftyOverAHundredThousandDirectoriesOpensAtOnce)
{
    // 10 * 10 * 10 * 100 leaves, made by the shell in a moment.
    Execute({"bash", "-c",
             "cd '" + drive_ + "' && for a in 0 1 2 3 4 5 6 7 8 9; do mkdir -p d$a/{0..9}/{0..9}/{00..99}; done"});
    Seed(With(kEveryIcon, With(kPrompt, {{"BadDrive", EveryLetterBut('t')}, {"Depth", "50"}})));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    // The program's first menu, whichever it is, takes 1.9 s here to show,
    // the next ones some 0.2 s; so the tray menu goes up and down first.
    Click(kMinimize, "3");
    ASSERT_TRUE(Eventually(MenuShown)) << "no tray menu";
    Execute({"xdotool", "key", "Escape"});
    ASSERT_TRUE(Eventually([] { return !MenuShown(); })) << "the tray menu stayed";
    // The menu is a window of Tamrik's that the X server shows; a look
    // through poke.exe would cost a Wine program's start.
    const auto windows = [] {
        std::set<std::string> ids;
        std::istringstream found(Capture({"xdotool", "search", "--onlyvisible", "--classname", "^tamrik\\.exe$"}));
        for (std::string id; std::getline(found, id);)
            ids.insert(id);
        return ids;
    };
    const std::set<std::string> idle = windows();
    const auto start = Clock::now();
    Click(kDrives, "1");
    ASSERT_TRUE(Eventually([&] { return windows() != idle; }, 20s, 5ms)) << "no menu";
    // The click alone, through xdotool, takes some 200 ms here; the whole
    // tree built at once took minutes.
    EXPECT_LT(Clock::now() - start, 500ms);
    ASSERT_TRUE(Eventually(MenuShown)) << "the menu did not open";
    // d0, 0, 0, then the last of the hundred leaves.
    const auto opening = Clock::now();
    Execute({"xdotool", "key", "--delay", "100", "Down", "Right", "Right", "Right", "Right", "Up", "Return"});
    const std::vector<std::string> launches = LaunchesOnce(1);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_LT(Clock::now() - opening, 5s);
    EXPECT_EQ(Lower(launches[0]), "t:\\d0\\0\\0\\99|c:\\e2e\\launched.exe /k dir /w");
}

namespace {

// Where name comes among the directories the menu shows of a host
// directory: those not hidden (no leading dot), without regard to case.
size_t PositionAmongDirectories(const std::string& directory, const std::string& name)
{
    std::vector<std::string> names;
    if (DIR* listing = opendir(directory.c_str())) {
        while (const dirent* entry = readdir(listing)) {
            struct stat info = {};
            const std::string path = directory + "/" + entry->d_name;
            if (entry->d_name[0] != '.' && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
                names.push_back(entry->d_name);
        }
        closedir(listing);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
    return std::find(names.begin(), names.end(), name) - names.begin();
}

class Wow64Drives : public Launchers {};

}  // namespace

// The 32-bit program on 64-bit Windows sees the real system32, not the
// 32-bit one WOW64 shows it under that name: drivers and tasks, which
// syswow64 lacks, are listed and opened. They open in a native program, as
// the prompt (cmd.exe) and the explorer are there: Wine starts a 32-bit
// program whose directory only the native system has in c:\windows.
TEST_F(Wow64Drives, SystemDirectoryListsAndOpensWhatItHolds)
{
    const std::string windows = Env("WINEPREFIX") + "/drive_c/windows";
    Seed(With(kEveryIcon, {{"ShowOnStartup", "0"}, {"MSDOSprog", "C:\\e2e\\launched64.exe"},
                           {"MSDOScommand", "/K dir /w"}, {"BadDrive", EveryLetterBut('c')}, {"Depth", "3"}}));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    const char* opened[] = {"drivers", "tasks"};
    for (const char* name : opened) {
        Args keys = {"Down", "Right"};
        const auto down = [&](size_t times) { keys.insert(keys.end(), times, "Down"); };
        down(PositionAmongDirectories(Env("WINEPREFIX") + "/drive_c", "windows"));
        keys.push_back("Right");
        down(PositionAmongDirectories(windows, "system32"));
        keys.push_back("Right");
        down(PositionAmongDirectories(windows + "/system32", name));
        keys.push_back("Return");
        ASSERT_NO_FATAL_FAILURE(Choose(kDrives, "1", keys));
    }
    const std::vector<std::string> launches = LaunchesOnce(2);
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(Lower(launches[0]), "c:\\windows\\system32\\drivers|c:\\e2e\\launched64.exe /k dir /w");
    EXPECT_EQ(Lower(launches[1]), "c:\\windows\\system32\\tasks|c:\\e2e\\launched64.exe /k dir /w");
}

namespace {

// A program of the native system directory alone, which a 32-bit program
// finds only with the WOW64 redirection off.
class Wow64Launchers : public Launchers {
protected:
    void SetUp() override
    {
        Launchers::SetUp();
        WriteFile(native_, ReadFile(kDir + "/launched.exe"));
    }
    void TearDown() override
    {
        Launchers::TearDown();
        std::remove(native_.c_str());
    }
    const std::string native_ = Env("WINEPREFIX") + "/drive_c/windows/system32/nativeonly.exe";
};

}  // namespace

TEST_F(Wow64Launchers, AProgramOfTheNativeSystemDirectoryStarts)
{
    Seed(With(kEveryIcon, {{"ShowOnStartup", "0"}, {"MSDOSprog", "nativeonly.exe"}, {"MSDOScommand", "/K dir /w"}}));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    Click(kMSDOS, "1");
    const std::vector<std::string> launches = LaunchesOnce(1);
    ASSERT_EQ(launches.size(), 1u) << Poke({"dialogs", "Tamrik"});
    EXPECT_EQ(launches[0], "C:\\e2e|nativeonly.exe /K dir /w");
    EXPECT_TRUE(Poke({"dialogs", "Tamrik"}).empty());
}
