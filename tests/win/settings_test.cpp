// The settings file through the real form: loaded when it is made, saved
// when it is destroyed.
#include <algorithm>
#include <iterator>

#include "TestSupport.h"

namespace {

// Every stored setting as its control shows it, in the order of the keys.
const char* const kKeys[] = {"MinimizeVisible", "RestoreVisible", "CloseVisible", "ShutdownVisible",
                             "MSDOSVisible", "ExplorerVisible", "TelnetVisible", "ShowOnStartup", "Depth",
                             "BadDrive", "MSDOScommand", "MSDOSdir", "MSDOSprog", "TelnetProg", "txtIgnore",
                             "MSDOSorExplorer", "ShutdownMenu", "PromptOnClose", "DoReboot", "YourSites"};

std::vector<std::string> Snapshot()
{
    const TfrmTamrik& f = *frmTamrik;
    const auto on = [](const auto* button) { return std::string(button->Checked() ? "1" : "0"); };
    std::string sites;
    for (const std::string& site : f.lstSites->Items())
        sites += (sites.empty() ? "" : "|") + site;
    return {on(f.chkMin), on(f.chkRestore), on(f.chkClose), on(f.chkShutdown), on(f.chkMSDOS),
            on(f.chkExplorer), on(f.chkTelnet), on(f.chkShowOnStartup), std::to_string(f.spnDepth->Value()),
            f.txtBadDrive->Text(), f.txtMSDOScommand->Text(), f.txtMSDOSdir->Text(), f.txtMSDOSprog->Text(),
            f.txtTelnetProg->Text(), f.txtIgnore->Text(), on(f.radMSDOS) + on(f.radExplorer),
            on(f.radShutdownMenu) + on(f.radShutdown), on(f.chkPromptOnClose), on(f.chkDoReboot), sites};
}

std::string Loaded(const std::string& key)
{
    return Snapshot()[std::find(std::begin(kKeys), std::end(kKeys), key) - std::begin(kKeys)];
}

}  // namespace

TEST_F(TamrikTest, SettingsLoadTheirDefaultsWithoutAFile)
{
    StartProgram();
    const std::vector<std::string> defaults = {
        "1", "1", "1", "0", "1", "1", "0", "1", "1", "a,b", "/K dir /w", "", "", "",
        "eudora,something else,more...?", "10", "10", "0", "0", ""};
    EXPECT_EQ(Snapshot(), defaults);
}

TEST_F(TamrikTest, SettingsLoadStoredValuesByTheIntegerRule)
{
    const std::pair<std::string, const char*> cases[] = {
        {"MSDOScommand=", ""},         {"MinimizeVisible=yes", "1"}, {"CloseVisible=", "1"},
        {"ShutdownVisible=2", "1"},    {"TelnetVisible=-1", "1"},    {"DoReboot=0x10", "1"},
        {"ExplorerVisible=0x0", "0"},  {"Depth=0x0A", "10"},         {"Depth=$0A", "10"},
        {"Depth=0x", "1"},             {"Depth=75", "50"},           {"Depth=-3", "0"},
        {"MSDOSorExplorer=2", "01"},   {"MSDOSorExplorer=one", "10"}, {"ShutdownMenu=0", "01"},
    };
    for (const auto& [line, loaded] : cases) {
        WriteSettings("[Configuration]\r\n" + line + "\r\n");
        StartProgram();
        EXPECT_EQ(Loaded(line.substr(0, line.find('='))), loaded) << line;
        EndProgram();
    }
}

TEST_F(TamrikTest, SettingsSurviveASaveAndALoadExactly)
{
    WriteSettings("[Configuration]\r\nUnknown=kept\r\n");
    StartProgram();
    TfrmTamrik& f = Form();
    for (TCheckBox* box : {f.chkMin, f.chkRestore, f.chkClose, f.chkShutdown, f.chkMSDOS, f.chkExplorer,
                           f.chkTelnet, f.chkShowOnStartup, f.chkPromptOnClose, f.chkDoReboot})
        box->SetChecked(!box->Checked());
    f.spnDepth->SetValue(50);
    f.txtBadDrive->SetText("");
    f.txtMSDOScommand->SetText("  /c dir  ");
    f.txtMSDOSdir->SetText("\"C:\\dos\"");
    f.txtMSDOSprog->SetText("'");
    f.txtTelnetProg->SetText("\tC:\\net\\telnet.exe ");
    f.txtIgnore->SetText(" eudora , notepad ");
    f.radExplorer->SetChecked(true);
    f.radShutdown->SetChecked(true);
    f.lstSites->SetItems({"  one  ", "\"two\"", "three=3", "four"});
    const std::vector<std::string> saved = Snapshot();
    EndProgram();
    StartProgram();
    EXPECT_EQ(Snapshot(), saved);
    char unknown[8] = {};
    GetPrivateProfileStringA("Configuration", "Unknown", "", unknown, sizeof(unknown), kSettingsFile);
    EXPECT_STREQ(unknown, "kept");
}

TEST_F(TamrikTest, SiteListLoadsNewestKeyFirstAndKeepsThatOrder)
{
    WriteSettings("[YourSites]\r\nYourSite0=alpha\r\nYourSite1=\r\nYourSite2=host=23\r\nYourSite3=beta\r\n");
    StartProgram();
    EXPECT_EQ(Loaded("YourSites"), "beta|host=23|alpha");
    EndProgram();
    StartProgram();
    EXPECT_EQ(Loaded("YourSites"), "beta|host=23|alpha");
    Form().lstSites->Clear();
    EndProgram();
    EXPECT_EQ(ReadSettings().find("YourSites"), std::string::npos);
}

TEST_F(TamrikTest, FirstSaveWritesTheNineteenKeysInOrder)
{
    StartProgram();
    EndProgram();
    const std::vector<std::string> expected = {
        "Depth=1", "BadDrive=a,b", "MinimizeVisible=1", "RestoreVisible=1", "CloseVisible=1", "ShutdownVisible=0",
        "ShowOnStartup=1", "MSDOSVisible=1", "ExplorerVisible=1", "TelnetVisible=0", "MSDOScommand=/K dir /w",
        "MSDOSdir=", "TelnetProg=", "MSDOSprog=", "txtIgnore=eudora,something else,more...?", "MSDOSorExplorer=1",
        "ShutdownMenu=1", "PromptOnClose=0", "DoReboot=0"};
    EXPECT_EQ(SectionLines("Configuration"), expected);
    EXPECT_EQ(ReadSettings().find("YourSites"), std::string::npos);
}

TEST_F(TamrikTest, FailedSaveShowsOneErrorBoxAndTheRunGoesOn)
{
    StartProgram();
    const HWND applicationWindow = Application->Handle();
    {
        const HeldSettings held;
        EndProgram();
    }
    ASSERT_EQ(Seams().boxes.size(), 1u);
    ExpectErrorBox(Seams().boxes[0], applicationWindow, "Unable to write to Tamrik.ini.");
    StartProgram();
    EndProgram();
    EXPECT_EQ(SectionLines("Configuration").size(), 19u);
}

TEST_F(TamrikTest, ErrorBoxAtTheEndOfACommandLineRunIsNotCutShort)
{
    // m and x close the main form twice: the x sweep's drain takes the first
    // quit, the second close posts another, and the loop ends on the mark.
    Seams().commandLine = R"("C:\dir\Tamrik.exe" m x)";
    StartProgram();
    Form().chkShowOnStartup->SetChecked(false);
    const HeldSettings held;
    Application->Run();
    ASSERT_EQ(Seams().boxes.size(), 1u);
    EXPECT_FALSE(Seams().boxes[0].quitPending);
}

// A run ended without warning (End task, a crash) loses nothing that OK
// confirmed: OK writes the file then and there.
TEST_F(TamrikTest, OKWritesTheSettingsAndAFailedWriteShowsOneErrorBox)
{
    StartProgram();
    TfrmTamrik& f = Form();
    f.Show();
    f.txtMSDOScommand->SetText("/K ver");
    f.lstSites->SetItems({"alpha"});
    Click(f.btnOK);
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(SectionLines("Configuration").size(), 19u);
    EXPECT_TRUE(ReadSettings().find("MSDOScommand=/K ver\r\n") != std::string::npos) << ReadSettings();
    EXPECT_EQ(SectionLines("YourSites"), std::vector<std::string>{"YourSite0=alpha"});

    f.Show();
    f.txtMSDOScommand->SetText("/K dir");
    {
        const HeldSettings held;
        Click(f.btnOK);
    }
    ASSERT_EQ(Seams().boxes.size(), 1u);
    ExpectErrorBox(Seams().boxes[0], Application->Handle(), "Unable to write to Tamrik.ini.");
    EXPECT_FALSE(f.Visible()) << "OK has done its work before the write";
    EXPECT_FALSE(Application->Terminated());
    EXPECT_TRUE(ReadSettings().find("MSDOScommand=/K ver\r\n") != std::string::npos);
    Click(f.btnOK);
    EXPECT_TRUE(ReadSettings().find("MSDOScommand=/K dir\r\n") != std::string::npos);
    EXPECT_EQ(Seams().boxes.size(), 1u);
}
