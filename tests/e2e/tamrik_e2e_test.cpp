// End-to-end tests of Tamrik.exe: the real program under Wine, driven from
// outside as the shell and a user would (command line, settings file, mouse
// and keyboard, window messages), and watched through two helper programs:
// targets.exe holds windows for the sweeps and logs what happens to them,
// poke.exe sends messages and reads window state.
#include "E2eSupport.h"

namespace {

// --- Ending a run from the Properties window ----------------------------

struct EndingCase {
    const char* name;
    void (*end)();
};
void PrintTo(const EndingCase& test, std::ostream* out) { *out << test.name; }

void ClickExit()
{
    std::string window;
    ASSERT_TRUE(Eventually([&] {
        window = Capture({"xdotool", "search", "--onlyvisible", "--name", "^Tamrik 1\\.7$"});
        return !window.empty();
    }));
    window = window.substr(0, window.find('\n'));
    // The centre of Exit, in the window's client area.
    Execute({"xdotool", "mousemove", "--window", window, "425", "239", "click", "1"});
}

const EndingCase kEndings[] = {
    {"ExitButton", ClickExit},
    {"ExitAccessKey", [] { Execute({"xdotool", "key", "alt+x"}); }},
    {"CloseBox", [] { Poke({"send", "TfrmTamrik", kWmSysCommand, kScClose, "0"}); }},
    {"CloseRequestToApplicationWindow", [] { Poke({"post", "TApplication", kWmClose, "0", "0"}); }},
    {"SessionEnd",
     [] {
         EXPECT_EQ(Poke({"send", "TApplication", kWmQueryEndSession, "0", "0"}), "result 1\n");
         Poke({"send", "TApplication", kWmEndSession, "1", "0"});
     }},
};

class Ending : public TamrikRun, public testing::WithParamInterface<EndingCase> {};

TEST_P(Ending, FirstRunShowsPropertiesThenEndsAndWritesTheDefaults)
{
    const pid_t tamrik = StartTamrik({});
    ASSERT_TRUE(Eventually(PropertiesShown)) << "the Properties window did not come up";
    GetParam().end();
    ASSERT_EQ(WaitExit(tamrik), 0) << "Tamrik did not end";
    EXPECT_EQ(ReadFile(kSettings), Configuration({}));
}

INSTANTIATE_TEST_SUITE_P(E2E, Ending, testing::ValuesIn(kEndings),
                         CaseName<EndingCase>);

// --- Switch letters and the window sweep --------------------------------

struct SwitchCase {
    const char* name;
    Args args;
    bool minimize;
    bool close;
};
void PrintTo(const SwitchCase& test, std::ostream* out) { *out << test.name; }

class Switches : public TamrikRun, public testing::WithParamInterface<SwitchCase> {};

TEST_P(Switches, SweepEveryEligibleWindowOnceAndEndTheRun)
{
    const SwitchCase& run = GetParam();
    Seed(kCommandLineRun);
    StartTargets();
    const pid_t tamrik = StartTamrik(run.args);
    if (!run.minimize && !run.close) {
        // Nothing to do: the program stays, without a window, until asked to
        // close. Once it waits for input, the startup pass is over.
        const Args idle = PokeCommand({"idle", "TApplication"});
        ASSERT_TRUE(Eventually([&] { return Execute(idle) == 0; })) << "Tamrik is not running";
        EXPECT_EQ(VisibleWindows(), std::vector<std::string>{}) << "a window of Tamrik is showing";
        Poke({"post", "TApplication", kWmClose, "0", "0"});
    }
    ASSERT_EQ(WaitExit(tamrik), 0) << "Tamrik did not end";
    const auto states = Report();
    ASSERT_EQ(states.size(), kTargets.size());
    for (const auto& [target, state] : states) {
        EXPECT_EQ(state.iconic, Eligible(target) && run.minimize) << target;
        EXPECT_EQ(state.closes, Eligible(target) && run.close ? 1 : 0) << target;
    }
    EXPECT_EQ(ReadFile(kSettings), Configuration(kCommandLineRun));
}

INSTANTIATE_TEST_SUITE_P(E2E, Switches,
                         testing::Values(SwitchCase{"m", {"m"}, true, false},
                                         SwitchCase{"CapitalM", {"M"}, true, false},
                                         SwitchCase{"x", {"x"}, false, true},
                                         SwitchCase{"DashMax", {"-max"}, true, true},
                                         SwitchCase{"mThenX", {"m", "x"}, true, true},
                                         SwitchCase{"NoSwitchLetter", {"hello"}, false, false}),
                         CaseName<SwitchCase>);

// --- Switch letter k: the end of the Wine session -----------------------

struct ShutdownCase {
    const char* name;
    const char* arg;
    bool force;
};
void PrintTo(const ShutdownCase& test, std::ostream* out) { *out << test.name; }

class Shutdown : public TamrikRun, public testing::WithParamInterface<ShutdownCase> {};

TEST_P(Shutdown, EndsTheSession)
{
    const ShutdownCase& run = GetParam();
    Seed(kCommandLineRun);
    const pid_t targets = StartTargets();
    const pid_t tamrik = StartTamrik({run.arg});
    ASSERT_TRUE(WaitExit(tamrik)) << "Tamrik did not end";
    ASSERT_TRUE(WaitExit(targets)) << "the session did not end";
    // Wine ends its session with wineboot. Asked plainly, it sends every
    // window WM_QUERYENDSESSION, then WM_ENDSESSION(TRUE); forced, it kills
    // every process of the prefix without a message.
    const std::string log = ReadFile(kLog);
    for (const std::string& target : kTargets) {
        EXPECT_EQ(Contains(log, "\nqueryendsession " + target + " "), !run.force) << target;
        EXPECT_EQ(Contains(log, "\nendsession " + target + " wparam=1 "), !run.force) << target;
    }
    // The forced kill reaches Tamrik too; it saves before asking for it.
    EXPECT_EQ(ReadFile(kSettings), Configuration(kCommandLineRun));
}

INSTANTIATE_TEST_SUITE_P(E2E, Shutdown,
                         testing::Values(ShutdownCase{"k", "k", false}, ShutdownCase{"ka", "ka", true},
                                         ShutdownCase{"kb", "kb", false}, ShutdownCase{"back", "back", true}),
                         CaseName<ShutdownCase>);

// --- The settings file: unwritable, garbage, huge -----------------------

TEST_F(TamrikRun, UnwritableSettingsFileIsReportedOnceAndTheRunEnds)
{
    const std::string seeded = Seed({{"ShowOnStartup", "0"}});
    // Root writes any file whatever its mode; only the immutable attribute
    // makes the profile service fail.
    if (Execute({"chattr", "+i", kSettings}) != 0) {
        GTEST_SKIP() << "chattr +i does not work on this file system, so the settings file cannot be made unwritable";
    }
    struct Unlock {
        ~Unlock() { Execute({"chattr", "-i", kSettings}); }
    } unlock;
    const pid_t tamrik = StartTamrik({"m"});
    std::string boxes;
    ASSERT_TRUE(Eventually([&] { return !(boxes = Poke({"dialogs", "Tamrik"})).empty(); })) << "no error box";
    EXPECT_EQ(boxes, "dialog|Unable to write to Tamrik.ini.\n");
    Poke({"press", "Tamrik"});
    EXPECT_EQ(WaitExit(tamrik), 0) << "Tamrik did not end; boxes now: " << Poke({"dialogs", "Tamrik"});
    EXPECT_EQ(ReadFile(kSettings), seeded);
}

TEST_F(TamrikRun, GarbageSettingsFileGivesTheDefaults)
{
    std::string garbage(64 * 1024, '\0');
    uint32_t state = 12345;
    for (char& c : garbage) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 23);
    }
    WriteFile(kSettings, garbage);
    const pid_t tamrik = StartTamrik({});
    ASSERT_TRUE(Eventually(PropertiesShown)) << "the Properties window did not come up";
    Poke({"send", "TfrmTamrik", kWmSysCommand, kScClose, "0"});
    ASSERT_EQ(WaitExit(tamrik), 0) << "Tamrik did not end";
    // The garbage holds no [Configuration], so the section is added at the end.
    const std::string written = ReadFile(kSettings);
    const std::string tail = "\n" + Configuration({});
    ASSERT_GE(written.size(), tail.size());
    EXPECT_EQ(written.substr(written.size() - tail.size()), tail);
}

// A value beyond the 32,767 characters of the service's ANSI conversion, and
// a section of half a megabyte, many times the first read's room. Larger
// sizes test nothing more and cost Wine much time: its edit control takes
// 12 s to take in a value of 100,000 characters, and a run that loads and
// saves 100,000 sites took 30 s.
TEST_F(TamrikRun, HugeSettingsFileKeepsEverySiteInOrderAndTheLongValueWhole)
{
    constexpr size_t kLongValue = 40000;
    constexpr int kSites = 20000;
    std::string longValue;
    while (longValue.size() < kLongValue)
        longValue += std::to_string(longValue.size()) + ";";
    longValue.resize(kLongValue);
    Keys sites;
    for (int i = 0; i < kSites; ++i)  // values in no sorted order
        sites.emplace_back("YourSite" + std::to_string(i), "host" + std::to_string(i * 7919 % kSites) + ".example");
    const std::string sitesSection = "[YourSites]\r\n" + Lines(sites);
    WriteFile(kSettings, Seed({{"ShowOnStartup", "0"}, {"MSDOScommand", longValue}}) + sitesSection);
    const pid_t tamrik = StartTamrik({"x"});
    ASSERT_EQ(WaitExit(tamrik, 180s), 0) << "Tamrik did not end";

    const std::string written = ReadFile(kSettings);
    EXPECT_TRUE(Contains(written, "\r\nMSDOScommand=" + longValue + "\r\n"))
        << "the long value did not come back whole";
    const size_t at = written.find("[YourSites]");
    EXPECT_TRUE(at != std::string::npos && written.compare(at, std::string::npos, sitesSection) == 0)
        << "the sites did not come back as they were, in their order";
}

}  // namespace
