// End-to-end tests of Tamrik.exe: the real program under Wine, driven from
// outside as the shell and a user would (command line, settings file, mouse
// and keyboard, window messages), and watched through two helper programs:
// targets.exe holds windows for the sweeps and logs what happens to them,
// poke.exe sends messages and reads window state. run-e2e.sh prepares the
// prefix and the display and names the programs in the environment.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Args = std::vector<std::string>;
using Keys = std::vector<std::pair<std::string, std::string>>;

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

const std::string kDir = Env("TAMRIK_E2E_DIR");  // drive C's e2e directory: the programs and the log
const std::string kLoader = Env("TAMRIK_WINE");
const std::string kSettings = Env("WINEPREFIX") + "/drive_c/windows/Tamrik.ini";
const std::string kLog = kDir + "/targets.log";
const char kLogForWine[] = "C:\\e2e\\targets.log";  // kLog as Wine names it

// Window messages as poke.exe takes them.
const char kWmClose[] = "0x10";
const char kWmQueryEndSession[] = "0x11";
const char kWmEndSession[] = "0x16";
const char kWmSysCommand[] = "0x112";
const char kScClose[] = "0xF060";
const char kReport[] = "0x8001";  // WM_APP + 1, targets.exe's report request

// What the program writes on a first run, in the order it writes the keys.
const Keys kDefaults = {
    {"Depth", "1"}, {"BadDrive", "a,b"}, {"MinimizeVisible", "1"}, {"RestoreVisible", "1"}, {"CloseVisible", "1"},
    {"ShutdownVisible", "0"}, {"ShowOnStartup", "1"}, {"MSDOSVisible", "1"}, {"ExplorerVisible", "1"},
    {"TelnetVisible", "0"}, {"MSDOScommand", "/K dir /w"}, {"MSDOSdir", ""}, {"TelnetProg", ""}, {"MSDOSprog", ""},
    {"txtIgnore", "eudora,something else,more...?"}, {"MSDOSorExplorer", "1"}, {"ShutdownMenu", "1"},
    {"PromptOnClose", "0"}, {"DoReboot", "0"},
};

// The windows of targets.exe. Of them only these two pass every test of the
// sweep; the ignore list below skips "ignored" and "edge-in".
const std::vector<std::string> kTargets = {"plain",   "hidden",  "disabled", "owned",   "untitled",
                                           "progman", "ignored", "edge-in",  "edge-out"};
bool Eligible(const std::string& target)
{
    return target == "plain" || target == "edge-out";
}
const Keys kCommandLineRun = {{"ShowOnStartup", "0"}, {"txtIgnore", "nothing here, BETA ,,marker"}};

std::vector<pid_t> children;

pid_t Spawn(const Args& args, int out = -1)
{
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(out >= 0 ? out : null, 1);
        dup2(null, 2);
        if (chdir(kDir.c_str()) != 0)
            _exit(127);
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    children.push_back(pid);
    return pid;
}

// Polls until condition holds; false if it still fails at the deadline.
template <typename Condition>
bool Eventually(Condition condition, Clock::duration limit = 30s)
{
    const auto deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

// True once the process has ended; its exit status goes to status.
bool Reaped(pid_t pid, int* status = nullptr)
{
    int raw = 0;
    if (waitpid(pid, &raw, WNOHANG) != pid)
        return false;
    children.erase(std::remove(children.begin(), children.end(), pid), children.end());
    if (status)
        *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return true;
}

// The exit status, or nothing when the process is still running at the deadline.
std::optional<int> WaitExit(pid_t pid, Clock::duration limit = 60s)
{
    int status = 0;
    if (!Eventually([&] { return Reaped(pid, &status); }, limit))
        return std::nullopt;
    return status;
}

int Execute(const Args& args)
{
    return WaitExit(Spawn(args), 120s).value_or(-1);
}

// What the program prints, up to its exit. Not up to the end of the output:
// Wine's own processes (the server, services) that a Wine program starts
// keep its output open long after it has gone.
std::string Capture(const Args& args)
{
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return {};
    fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
    const pid_t pid = Spawn(args, pipeEnds[1]);
    close(pipeEnds[1]);
    std::string out;
    const auto drain = [&] {
        char buffer[4096];
        for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof(buffer))) > 0;)
            out.append(buffer, static_cast<size_t>(n));
    };
    Eventually([&] {
        drain();
        return Reaped(pid);
    });
    drain();
    close(pipeEnds[0]);
    out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());  // the console's line ends
    return out;
}

// A Windows program of the e2e directory, under Wine.
Args Wine(const char* program, Args args = {})
{
    args.insert(args.begin(), {kLoader, program});
    return args;
}

std::string Poke(const Args& args)
{
    return Capture(Wine("poke.exe", args));
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::string Lines(const Keys& keys)
{
    std::string text;
    for (const auto& [key, value] : keys)
        text += key + "=" + value + "\r\n";
    return text;
}

// The section as the profile service writes it: the given keys first, where
// they stood, then every other key in the order the program saves them.
std::string Configuration(const Keys& first)
{
    Keys rest;
    std::copy_if(kDefaults.begin(), kDefaults.end(), std::back_inserter(rest), [&](const auto& key) {
        return std::none_of(first.begin(), first.end(), [&](const auto& given) { return given.first == key.first; });
    });
    return "[Configuration]\r\n" + Lines(first) + Lines(rest);
}

std::string Seed(const Keys& keys)
{
    const std::string text = "[Configuration]\r\n" + Lines(keys);
    WriteFile(kSettings, text);
    return text;
}

pid_t StartTamrik(const Args& args)
{
    return Spawn(Wine("Tamrik.exe", args));
}

// "class|title" of every visible top-level window of the running Tamrik.
std::vector<std::string> VisibleWindows()
{
    std::vector<std::string> visible;
    std::istringstream lines(Poke({"windows", "TApplication"}));
    for (std::string line; std::getline(lines, line);)
        if (line.size() > 2 && line.compare(line.size() - 2, 2, "|1") == 0)
            visible.push_back(line.substr(0, line.size() - 2));
    return visible;
}

bool PropertiesShown()
{
    const std::vector<std::string> visible = VisibleWindows();
    return std::count(visible.begin(), visible.end(), "TfrmTamrik|Tamrik 1.7") == 1;
}

pid_t StartTargets()
{
    const pid_t pid = Spawn(Wine("targets.exe", {kLogForWine}));
    EXPECT_TRUE(Eventually([] { return Contains(ReadFile(kLog), "ready"); })) << "targets.exe did not come up";
    return pid;
}

struct TargetState {
    int iconic = -1;
    int closes = -1;
};

// Asks targets.exe for the state of its windows. Its answer is a posted
// message, so it comes after every close request and show command that
// reached the windows before.
std::map<std::string, TargetState> Report()
{
    Poke({"post", "TamrikTargets", kReport, "0", "0"});
    std::string log;
    EXPECT_TRUE(Eventually([&] { return Contains(log = ReadFile(kLog), "report end"); })) << "no report";
    std::map<std::string, TargetState> states;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        char name[64];
        TargetState state;
        if (std::sscanf(line.c_str(), "state %63s iconic=%d closes=%d", name, &state.iconic,
                        &state.closes) == 3)
            states[name] = state;
    }
    return states;
}

class TamrikRun : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(kDir.empty() || kLoader.empty()) << "run through run-e2e.sh";
        StopWine();
        Execute({"chattr", "-i", kSettings});  // in case an interrupted run left it locked
        std::remove(kSettings.c_str());
        std::remove(kLog.c_str());
    }

    void TearDown() override
    {
        StopWine();
        for (const pid_t pid : std::vector<pid_t>(children))
            if (!WaitExit(pid, 10s)) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
            }
        children.clear();
    }

    // Every Wine process of the prefix ends: each test starts from nothing.
    static void StopWine()
    {
        const std::string server = Env("TAMRIK_WINESERVER");
        Execute({server, "-k"});
        Execute({server, "-w"});
    }
};

// Parameterised cases are named, in test names and in failure messages, by
// their name field.
template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case>& info)
{
    return info.param.name;
}

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
        const Args idle = Wine("poke.exe", {"idle", "TApplication"});
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

TEST_F(TamrikRun, HugeSettingsFileKeepsEverySiteInOrderAndTheLongValueWhole)
{
    std::string longValue;
    while (longValue.size() < 100000)
        longValue += std::to_string(longValue.size()) + ";";
    longValue.resize(100000);
    Keys sites;
    for (int i = 0; i < 100000; ++i)  // values in no sorted order
        sites.emplace_back("YourSite" + std::to_string(i), "host" + std::to_string(i * 7919 % 100000) + ".example");
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
