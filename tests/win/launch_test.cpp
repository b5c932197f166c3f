// What every launcher does with a start that fails, the MS-DOS prompt's
// interpreter where there is no command.com, the manual found from any
// start, and the file system a start sees under WOW64.
#include "TestSupport.h"

#include "app/CommaList.h"
#include "app/Launch.h"
#include "app/LaunchText.h"

namespace {

// Each start: the command line, the current directory, and the number of
// message boxes shown before it.
struct Start {
    std::string commandLine, directory;
    size_t boxesBefore;
};
std::vector<Start> starts;
// WinExec's answer for a command line that begins with a key; 33, a start,
// for the others.
std::vector<std::pair<std::string, UINT>> answers;

UINT WINAPI AnsweringWinExec(LPCSTR commandLine, UINT)
{
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    starts.push_back({commandLine, directory, Seams().boxes.size()});
    for (const auto& [start, answer] : answers)
        if (std::string(commandLine).compare(0, start.size(), start) == 0)
            return answer;
    return 33;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::vector<std::string> CommandLines()
{
    std::vector<std::string> lines;
    for (const Start& start : starts)
        lines.push_back(start.commandLine);
    return lines;
}

class LaunchTest : public TamrikTest {
protected:
    void SetUp() override
    {
        TamrikTest::SetUp();
        GetCurrentDirectoryA(MAX_PATH, directory_);
        const DWORD length = GetEnvironmentVariableA("ComSpec", comSpec_, MAX_PATH);
        hadComSpec_ = length > 0 && length < MAX_PATH;
        starts.clear();
        answers.clear();
        Platform().winExec = AnsweringWinExec;
        StartProgram();
    }
    void TearDown() override
    {
        TamrikTest::TearDown();
        SetEnvironmentVariableA("ComSpec", hadComSpec_ ? comSpec_ : nullptr);
        SetCurrentDirectoryA(directory_);
    }
    static void ClickMSDOS()
    {
        TrayReport(Form().trayMSDOS, WM_LBUTTONDOWN);
        TrayReport(Form().trayMSDOS, WM_LBUTTONUP);
    }

private:
    char directory_[MAX_PATH] = {};
    char comSpec_[MAX_PATH] = {};
    bool hadComSpec_ = false;
};

using Lines = std::vector<std::string>;
constexpr UINT kErrorBox = MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND;

}  // namespace

TEST_F(LaunchTest, WithoutCommandComTheMSDOSButtonStartsTheComSpecInterpreterInTheSameDirectory)
{
    struct Case {
        const char* name;
        UINT commandCom;      // WinExec's answer for command.com
        const char* comSpec;  // nullptr: not set
        UINT interpreter;     // WinExec's answer for the ComSpec line
        Lines started;
        const char* reported;  // the command line of the one box, or none
    };
    const char* const cmd = "C:\\windows\\system32\\cmd.exe";
    const Case cases[] = {
        {"command.com there", 33, cmd, 33, {"command.com /K dir /w"}, nullptr},
        {"command.com missing", 2, cmd, 33, {"command.com /K dir /w", "C:\\windows\\system32\\cmd.exe /K dir /w"},
         nullptr},
        {"its path missing", 3, cmd, 33, {"command.com /K dir /w", "C:\\windows\\system32\\cmd.exe /K dir /w"},
         nullptr},
        {"ComSpec blank", 2, " ", 33, {"command.com /K dir /w"}, "command.com /K dir /w"},
        {"ComSpec not set", 2, nullptr, 33, {"command.com /K dir /w"}, "command.com /K dir /w"},
        {"ComSpec missing", 2, "C:\\gone\\cmd.exe", 2, {"command.com /K dir /w", "C:\\gone\\cmd.exe /K dir /w"},
         "C:\\gone\\cmd.exe /K dir /w"},
        // Found, but refused: nothing else is tried.
        {"command.com refused", 11, cmd, 33, {"command.com /K dir /w"}, "command.com /K dir /w"},
    };
    CreateDirectoryA("C:\\launch18", nullptr);
    Form().txtMSDOSdir->SetText("C:\\launch18");
    for (const Case& c : cases) {
        starts.clear();
        Seams().boxes.clear();
        answers = {{"command.com", c.commandCom}, {c.comSpec ? c.comSpec : "-", c.interpreter}};
        SetEnvironmentVariableA("ComSpec", c.comSpec);
        ClickMSDOS();
        EXPECT_EQ(CommandLines(), c.started) << c.name;
        for (const Start& start : starts)
            EXPECT_EQ(start.directory, "C:\\launch18") << c.name;
        ASSERT_EQ(Seams().boxes.size(), c.reported ? 1u : 0u) << c.name;
        if (c.reported) {
            EXPECT_EQ(Seams().boxes[0].caption, "Tamrik");
            EXPECT_EQ(Seams().boxes[0].type, kErrorBox);
            EXPECT_TRUE(Contains(Seams().boxes[0].text, std::string("\n\n") + c.reported + "\n\n"))
                << c.name << ": " << Seams().boxes[0].text;
        }
    }
    SetCurrentDirectoryA("C:\\");
    RemoveDirectoryA("C:\\launch18");
}

TEST_F(LaunchTest, AProgramTypedIntoTheBoxStartsAsTypedAndIsReportedWhenItFails)
{
    SetEnvironmentVariableA("ComSpec", "C:\\windows\\system32\\cmd.exe");
    answers = {{"nothere.exe", 2}};
    Form().txtMSDOSprog->SetText("nothere.exe");
    ClickMSDOS();
    EXPECT_EQ(CommandLines(), Lines{"nothere.exe /K dir /w"}) << "no other interpreter for a typed program";
    ASSERT_EQ(Seams().boxes.size(), 1u);
    EXPECT_EQ(Seams().boxes[0].text.find("Cannot start:\n\nnothere.exe /K dir /w\n\n"), 0u) << Seams().boxes[0].text;
    EXPECT_EQ(Seams().boxes[0].text.find("Quick Telnet"), std::string::npos);
}

TEST_F(LaunchTest, AFailedTelnetOrExplorerStartIsReportedOnceAndTheProgramGoesOn)
{
    TfrmTamrik& f = Form();
    f.lstSites->SetItems({"alpha"});
    answers = {{"telnet.exe", 2}, {"explorer.exe", 2}};
    Seams().onTrack = [&](const MenuTrack& track) { Choose(track, f.popTamrik->Item(0)); };
    TrayReport(f.trayTelnet, WM_LBUTTONDOWN);
    Application->ProcessMessages();
    EXPECT_EQ(CommandLines(), Lines{"telnet.exe alpha"});
    ASSERT_EQ(Seams().boxes.size(), 1u);
    EXPECT_EQ(Seams().boxes[0].caption, "Tamrik");
    EXPECT_EQ(Seams().boxes[0].type, kErrorBox);
    EXPECT_EQ(Seams().boxes[0].text.find("Cannot start:\n\ntelnet.exe alpha\n\n"), 0u) << Seams().boxes[0].text;
    EXPECT_TRUE(Contains(Seams().boxes[0].text, "\"Quick Telnet\" page")) << Seams().boxes[0].text;

    // A program that starts shows nothing.
    answers.clear();
    TrayReport(f.trayTelnet, WM_LBUTTONDOWN);
    Application->ProcessMessages();
    EXPECT_EQ(starts.size(), 2u);
    EXPECT_EQ(Seams().boxes.size(), 1u);
}

// The real WinExec on texts that name no program. Each click gives one box
// with the system's reason, and nothing else starts.
TEST_F(LaunchTest, ProgramsThatCannotStartAreReportedWithTheSystemsReason)
{
    Platform().winExec = ::WinExec;
    SetEnvironmentVariableA("ComSpec", "C:\\windows\\system32\\cmd.exe");
    CreateDirectoryA("C:\\launch18", nullptr);
    std::ofstream("C:\\launch18\\notes.txt") << "not a program";
    const std::string huge(30000, 'x');
    for (const std::string& program : {std::string("C:\\launch18\\missing.exe"), std::string("C:\\launch18"),
                                       std::string("C:\\launch18\\notes.txt"), huge}) {
        Seams().boxes.clear();
        Form().txtMSDOSprog->SetText(program);
        ClickMSDOS();
        ASSERT_EQ(Seams().boxes.size(), 1u) << program.substr(0, 40);
        const std::string& text = Seams().boxes[0].text;
        EXPECT_EQ(text.find("Cannot start:\n\n" + program.substr(0, kShownCommandLine)), 0u) << text.substr(0, 80);
        const std::string reason = text.substr(text.rfind("\n\n") + 2);
        EXPECT_FALSE(IsBlank(reason)) << "no reason given for " << program.substr(0, 40);
    }
    DeleteFileA("C:\\launch18\\notes.txt");
    RemoveDirectoryA("C:\\launch18");
}

TEST_F(LaunchTest, HelpOpensTheManualBesideTheProgramWhenTheProgramDirectoryHasNone)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    EXPECT_EQ(Form().ExeDirectory, DirectoryOf(exe));
    CreateDirectoryA("C:\\launch18", nullptr);
    CreateDirectoryA("C:\\launch18\\exe", nullptr);
    Form().ProgramDirectory = "C:\\launch18\\";  // as a start at logon leaves it: no manual there
    Form().ExeDirectory = "C:\\launch18\\exe\\";
    std::ofstream("C:\\launch18\\exe\\readme.txt") << "manual";
    Click(Form().btnHelp);
    std::ofstream("C:\\launch18\\readme.txt") << "the program directory's";
    Click(Form().btnHelp);
    DeleteFileA("C:\\launch18\\exe\\readme.txt");
    DeleteFileA("C:\\launch18\\readme.txt");
    Click(Form().btnHelp);  // in neither place: Notepad says it is not there
    RemoveDirectoryA("C:\\launch18\\exe");
    RemoveDirectoryA("C:\\launch18");
    EXPECT_EQ(CommandLines(), (Lines{"notepad C:\\launch18\\exe\\readme.txt", "notepad C:\\launch18\\readme.txt",
                                     "notepad C:\\launch18\\readme.txt"}));
    EXPECT_TRUE(Seams().boxes.empty());
}

namespace {

// What a start saw of the real system directory: a file put there through
// Sysnative, which names it for a 32-bit program. (Under the redirection a
// few directories of it, catroot and spool among them, show all the same.)
std::vector<bool> nativeSeen;
const char kNativeFile[] = "C:\\windows\\Sysnative\\tamrik-native.txt";

bool NativeSystemDirectoryShown()
{
    return GetFileAttributesA("C:\\windows\\system32\\tamrik-native.txt") != INVALID_FILE_ATTRIBUTES;
}

UINT WINAPI LookingWinExec(LPCSTR, UINT)
{
    nativeSeen.push_back(NativeSystemDirectoryShown());
    return 2;
}

bool UnderWow64()
{
    using Call = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto call = reinterpret_cast<Call>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    return call && call(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

// Under WOW64 the system directory of a 32-bit program is SysWOW64; a start
// sees the native one, and the program itself goes back to its own view.
TEST_F(LaunchTest, UnderWow64AStartSeesTheNativeSystemDirectoryAndTheProgramItsOwn)
{
    if (!UnderWow64())
        GTEST_SKIP() << "not a 32-bit program on 64-bit Windows";
    std::ofstream(kNativeFile) << "native";
    ASSERT_NE(GetFileAttributesA(kNativeFile), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(NativeSystemDirectoryShown()) << "the program sees SysWOW64 as its system directory";
    nativeSeen.clear();
    Platform().winExec = LookingWinExec;
    SetEnvironmentVariableA("ComSpec", "C:\\windows\\system32\\cmd.exe");
    TrayReport(Form().trayMSDOS, WM_LBUTTONDOWN);
    EXPECT_EQ(nativeSeen, (std::vector<bool>{true, true}));
    EXPECT_FALSE(NativeSystemDirectoryShown());
    EXPECT_EQ(Seams().boxes.size(), 1u);
    DeleteFileA(kNativeFile);
}
