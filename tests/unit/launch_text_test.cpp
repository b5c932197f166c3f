#include <algorithm>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "FakeMenu.h"
#include "app/LaunchText.h"

TEST(LaunchText, CommandLinesUseTheTextsAsTyped)
{
    struct Case {
        const char* program;
        const char* argument;
        const char* dos;
        const char* telnet;
    };
    const Case cases[] = {
        {"", "", "command.com ", "telnet.exe "},
        {"", "/K dir /w", "command.com /K dir /w", "telnet.exe /K dir /w"},
        {" \t\x01 ", " x ", "command.com  x ", "telnet.exe  x "},  // blank program box
        {" 4dos.com ", "", " 4dos.com  ", " 4dos.com  "},          // kept with its blanks
        {"C:\\Program Files\\x.exe", "-a", "C:\\Program Files\\x.exe -a", "C:\\Program Files\\x.exe -a"},
        {"\"C:\\Program Files\\x.exe\"", "R&D", "\"C:\\Program Files\\x.exe\" R&D", "\"C:\\Program Files\\x.exe\" R&D"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MSDOSCommandLine(c.program, c.argument), c.dos) << c.program;
        EXPECT_EQ(TelnetCommandLine(c.program, c.argument), c.telnet) << c.program;
    }
    // The same in full Unicode, for a name outside the code page.
    EXPECT_TRUE(ExplorerCommandLine(WideString(L"c:\\\u6570\u636e")) == L"explorer.exe \"c:\\\u6570\u636e\"");
    // The explorer's path is quoted: it reads a comma as the end of a switch.
    EXPECT_EQ(ExplorerCommandLine("c:"), "explorer.exe \"c:\"");
    EXPECT_EQ(ExplorerCommandLine("c:\\R&D\\a b"), "explorer.exe \"c:\\R&D\\a b\"");
    EXPECT_EQ(ExplorerCommandLine("t:\\Q1,Q2"), "explorer.exe \"t:\\Q1,Q2\"");
    const std::string huge(30000, 'p');
    EXPECT_EQ(MSDOSCommandLine(huge, huge).size(), 60001u);
}

TEST(LaunchText, ChosenPathsWithBlanksAreQuoted)
{
    EXPECT_EQ(ProgramBoxText("C:\\Program Files\\Tools\\client.exe"), "\"C:\\Program Files\\Tools\\client.exe\"");
    EXPECT_EQ(ProgramBoxText("C:\\WINDOWS\\telnet.exe"), "C:\\WINDOWS\\telnet.exe");
    EXPECT_EQ(ProgramBoxText(""), "");
    EXPECT_EQ(ProgramBoxText("\"C:\\Program Files\\x.exe\""), "\"C:\\Program Files\\x.exe\"");
}

TEST(LaunchText, ComSpecTakesTheDefaultInterpretersParameters)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\windows\\system32\\cmd.exe", "C:\\windows\\system32\\cmd.exe /K dir /w"},
        {"C:\\My Shell\\sh.exe", "\"C:\\My Shell\\sh.exe\" /K dir /w"},
        {"\"C:\\My Shell\\sh.exe\"", "\"C:\\My Shell\\sh.exe\" /K dir /w"},
        {"", ""},      // nothing else to try
        {" \t ", ""},
    };
    for (const auto& [comSpec, expected] : cases)
        EXPECT_EQ(ComSpecCommandLine(comSpec, "/K dir /w"), expected) << comSpec;
    EXPECT_EQ(ComSpecCommandLine("cmd.exe", ""), "cmd.exe ");
}

TEST(LaunchText, FailedLaunchNamesTheCommandLineTheReasonAndTheAdvice)
{
    EXPECT_EQ(LaunchFailureText("telnet.exe alpha", "File not found.\r\n", kTelnetAdvice),
              "Cannot start:\n\ntelnet.exe alpha\n\nFile not found.\n\n" + std::string(kTelnetAdvice));
    EXPECT_NE(std::string(kTelnetAdvice).find("\"Quick Telnet\" page"), std::string::npos);
    EXPECT_EQ(LaunchFailureText("x ", "Access denied.", ""), "Cannot start:\n\nx \n\nAccess denied.");
    // A command line too long for any screen is shown by its beginning.
    const std::string huge = std::string(30000, 'p') + " " + std::string(30000, 'q');
    const std::string text = LaunchFailureText(huge, "Too long.", "");
    EXPECT_EQ(text, "Cannot start:\n\n" + std::string(kShownCommandLine, 'p') + "...\n\nToo long.");
    const std::string exact(kShownCommandLine, 'e');
    EXPECT_EQ(LaunchFailureText(exact, "", ""), "Cannot start:\n\n" + exact + "\n\n");
}

TEST(LaunchText, HelpOpensTheManualOfTheProgramDirectoryElseTheOneBesideTheExe)
{
    struct Case {
        std::vector<std::string> present;
        const char* opened;
    };
    const Case cases[] = {
        {{"C:\\work\\readme.txt", "C:\\Tamrik\\readme.txt"}, "notepad C:\\work\\readme.txt"},
        {{"C:\\work\\readme.txt"}, "notepad C:\\work\\readme.txt"},
        {{"C:\\Tamrik\\readme.txt"}, "notepad C:\\Tamrik\\readme.txt"},  // started at logon
        {{}, "notepad C:\\work\\readme.txt"},  // missing in both: Notepad says so
    };
    for (const Case& c : cases) {
        const auto exists = [&](const std::string& file) {
            return std::find(c.present.begin(), c.present.end(), file) != c.present.end();
        };
        EXPECT_EQ(HelpCommandLine("C:\\work\\", "C:\\Tamrik\\", exists), c.opened) << c.present.size();
    }
    EXPECT_EQ(DirectoryOf("C:\\Program Files\\Tamrik\\Tamrik.exe"), "C:\\Program Files\\Tamrik\\");
    EXPECT_EQ(DirectoryOf("Tamrik.exe"), "");
}

TEST(LaunchText, BadDrivesAreTheSmallLettersOfTheText)
{
    const auto left = [](const std::string& text) {
        std::string letters;
        for (char letter = 'a'; letter <= 'z'; ++letter)
            if (IsBadDrive(text, letter))
                letters += letter;
        return letters;
    };
    EXPECT_EQ(left("a,b"), "ab");
    EXPECT_EQ(left("A,B"), "");
    EXPECT_EQ(left("cd"), "cd");
    EXPECT_EQ(left(" z; x:\\ \xe9"), "xz");
    EXPECT_EQ(left(""), "");
}

TEST(LaunchText, CaptionsShowNamesWhole)
{
    EXPECT_EQ(MenuCaption("R&D"), "R&&D");
    EXPECT_EQ(MenuCaption("&&&"), "&&&&&&");
    EXPECT_EQ(MenuCaption("-"), "-");
    EXPECT_EQ(MenuCaption("a - b"), "a - b");
    EXPECT_EQ(MenuCaption("caf\xe9 & co"), "caf\xe9 && co");
    EXPECT_TRUE(MenuCaption(WideString(L"\u041f & \u6570")) == L"\u041f && \u6570");
    EXPECT_TRUE(MenuCaption(WideString(L"-")) == L"-");
    EXPECT_EQ(MenuCaption(""), "");
}

TEST(LaunchText, ScanDepthStaysWithinItsLimits)
{
    EXPECT_EQ(ScanDepth(-5), 0);
    EXPECT_EQ(ScanDepth(0), 0);
    EXPECT_EQ(ScanDepth(3), 3);
    EXPECT_EQ(ScanDepth(50), 50);
    EXPECT_EQ(ScanDepth(51), 50);
}

TEST(LaunchText, SiteItemsReadInReverseAboveTheFixedItems)
{
    using Captions = std::vector<std::string>;
    FakeMenu menu;
    menu.Rebuild({});
    EXPECT_EQ(menu.Captions(), (Captions{"Properties...", "-", "E&xit Tamrik"}));

    menu.Rebuild({"alpha", "beta", "gamma", "R&D", "-"});
    EXPECT_EQ(menu.Captions(),
              (Captions{"-", "R&&D", "gamma", "beta", "alpha", "-", "Properties...", "-", "E&xit Tamrik"}));

    // Each rebuild takes away exactly what the previous one put in.
    for (int i = 0; i < 3; ++i)
        menu.Rebuild({"alpha", "alpha"});
    EXPECT_EQ(menu.Captions(), (Captions{"alpha", "alpha", "-", "Properties...", "-", "E&xit Tamrik"}));
    EXPECT_EQ(menu.deleted, 6 + 3 + 3);
}
