// What the end-to-end tests share: starting programs under Wine and
// waiting for them, the settings file, the helper programs targets.exe and
// poke.exe, and the fixture that gives every test a Wine of its own.
// run-e2e.sh prepares the prefix and the display and names the programs in
// the environment.
#pragma once

#include <dirent.h>
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


using namespace std::chrono_literals;

using Clock = std::chrono::steady_clock;
using Args = std::vector<std::string>;
using Keys = std::vector<std::pair<std::string, std::string>>;

inline std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

inline const std::string kDir = Env("TAMRIK_E2E_DIR");  // drive C's e2e directory: the programs and the log
inline const std::string kLoader = Env("TAMRIK_WINE");
// True in the lane that runs the shipped 32-bit Tamrik.exe under WOW64.
inline const bool kWow64Lane = Env("TAMRIK_E2E_LANE") == "wow64";
inline const std::string kSettings = Env("WINEPREFIX") + "/drive_c/windows/Tamrik.ini";
inline const std::string kLog = kDir + "/targets.log";
inline const char kLogForWine[] = "C:\\e2e\\targets.log";  // kLog as Wine names it

// Window messages as poke.exe takes them.
inline const char kWmClose[] = "0x10";
inline const char kWmQueryEndSession[] = "0x11";
inline const char kWmEndSession[] = "0x16";
inline const char kWmSysCommand[] = "0x112";
inline const char kScClose[] = "0xF060";
inline const char kReport[] = "0x8001";  // WM_APP + 1, targets.exe's report request

// What the program writes on a first run, in the order it writes the keys.
inline const Keys kDefaults = {
    {"Depth", "1"}, {"BadDrive", "a,b"}, {"MinimizeVisible", "1"}, {"RestoreVisible", "1"}, {"CloseVisible", "1"},
    {"ShutdownVisible", "0"}, {"ShowOnStartup", "1"}, {"MSDOSVisible", "1"}, {"ExplorerVisible", "1"},
    {"TelnetVisible", "0"}, {"MSDOScommand", "/K dir /w"}, {"MSDOSdir", ""}, {"TelnetProg", ""}, {"MSDOSprog", ""},
    {"txtIgnore", "eudora,something else,more...?"}, {"MSDOSorExplorer", "1"}, {"ShutdownMenu", "1"},
    {"PromptOnClose", "0"}, {"DoReboot", "0"},
};

// The windows of targets.exe. Of them only these two pass every test of the
// sweep; the ignore list below skips "ignored" and "edge-in".
inline const std::vector<std::string> kTargets = {"plain",   "hidden",  "disabled", "owned",   "untitled",
                                           "progman", "ignored", "edge-in",  "edge-out"};
inline bool Eligible(const std::string& target)
{
    return target == "plain" || target == "edge-out";
}
inline const Keys kCommandLineRun = {{"ShowOnStartup", "0"}, {"txtIgnore", "nothing here, BETA ,,marker"}};

inline std::vector<pid_t> children;

inline pid_t Spawn(const Args& args, int out = -1)
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
// Most conditions ask a Wine program, which takes a tenth of a second or
// more; a cheap one may be asked more often.
template <typename Condition>
bool Eventually(Condition condition, Clock::duration limit = 30s, Clock::duration interval = 100ms)
{
    const auto deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(interval);
    }
    return true;
}

// A process's end is a system call away: waiting for it in steps of a tenth
// of a second would add half of one, on average, to every program run.
constexpr auto kReapInterval = 2ms;

// True once the process has ended; its exit status goes to status.
inline bool Reaped(pid_t pid, int* status = nullptr)
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
inline std::optional<int> WaitExit(pid_t pid, Clock::duration limit = 60s, Clock::duration interval = kReapInterval)
{
    int status = 0;
    if (!Eventually([&] { return Reaped(pid, &status); }, limit, interval))
        return std::nullopt;
    return status;
}

// Runs a program to its end and gives its exit status.
inline int RunToEnd(const Args& args)
{
    return WaitExit(Spawn(args), 120s).value_or(-1);
}

// Runs a program to its end, looking in steps of a tenth of a second. The
// tests' commands of input (xdotool's) need that pause: xdotool returns
// before Wine has taken in the input it made, and keys sent at once after a
// click were seen to miss the edit box just clicked.
inline int Execute(const Args& args)
{
    return WaitExit(Spawn(args), 120s, 100ms).value_or(-1);
}

// What the program prints, up to its exit. Not up to the end of the output:
// Wine's own processes (the server, services) that a Wine program starts
// keep its output open long after it has gone.
inline std::string Capture(const Args& args)
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
    Eventually(
        [&] {
            drain();
            return Reaped(pid);
        },
        30s, kReapInterval);
    drain();
    close(pipeEnds[0]);
    out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());  // the console's line ends
    return out;
}

// A Windows program of the e2e directory, under Wine.
inline Args Wine(const char* program, Args args = {})
{
    args.insert(args.begin(), {kLoader, program});
    return args;
}

// poke.exe's commands that read another program's memory (a font through
// probe.dll, a tab's rectangle, a message whose parameter may point) need a
// poke.exe of that program's width. The rest use only what the system
// carries between processes of either width (window lists, sent
// WM_GETTEXT, the notification area, posted messages), and go to the 64-bit
// poke.exe, as a 64-bit shell would: in the WOW64 lane, where 32-bit code
// may run emulated, a 32-bit start costs a second of a core, and the tests
// poll with these many times a second.
inline Args PokeCommand(const Args& args)
{
    static const std::vector<std::string> sameWidth = {"tree", "focus", "tabs", "send"};
    if (!kWow64Lane || std::count(sameWidth.begin(), sameWidth.end(), args.at(0)))
        return Wine("poke.exe", args);
    Args native = {Env("TAMRIK_WINE64"), "poke64.exe"};
    native.insert(native.end(), args.begin(), args.end());
    return native;
}

inline std::string Poke(const Args& args)
{
    return Capture(PokeCommand(args));
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

inline std::string Lines(const Keys& keys)
{
    std::string text;
    for (const auto& [key, value] : keys)
        text += key + "=" + value + "\r\n";
    return text;
}

// The section as the profile service writes it: the given keys first, where
// they stood, then every other key in the order the program saves them.
inline std::string Configuration(const Keys& first)
{
    Keys rest;
    std::copy_if(kDefaults.begin(), kDefaults.end(), std::back_inserter(rest), [&](const auto& key) {
        return std::none_of(first.begin(), first.end(), [&](const auto& given) { return given.first == key.first; });
    });
    return "[Configuration]\r\n" + Lines(first) + Lines(rest);
}

inline std::string Seed(const Keys& keys)
{
    const std::string text = "[Configuration]\r\n" + Lines(keys);
    WriteFile(kSettings, text);
    return text;
}

inline pid_t StartTamrik(const Args& args)
{
    return Spawn(Wine("Tamrik.exe", args));
}

// "class|title" of every visible top-level window of the running Tamrik.
inline std::vector<std::string> VisibleWindows()
{
    std::vector<std::string> visible;
    std::istringstream lines(Poke({"windows", "TApplication"}));
    for (std::string line; std::getline(lines, line);)
        if (line.size() > 2 && line.compare(line.size() - 2, 2, "|1") == 0)
            visible.push_back(line.substr(0, line.size() - 2));
    return visible;
}

inline bool PropertiesShown()
{
    const std::vector<std::string> visible = VisibleWindows();
    return std::count(visible.begin(), visible.end(), "TfrmTamrik|Tamrik 1.7") == 1;
}

inline pid_t StartTargets(const Args& more = {})
{
    Args args = {kLogForWine};
    args.insert(args.end(), more.begin(), more.end());
    const pid_t pid = Spawn(Wine("targets.exe", args));
    EXPECT_TRUE(Eventually([] { return Contains(ReadFile(kLog), "ready"); })) << "targets.exe did not come up";
    return pid;
}

struct TargetState {
    int iconic = -1;
    int closes = -1;
    int zoomed = -1;
};

// Asks targets.exe for the state of its windows. Its answer is a posted
// message, so it comes after every close request and show command that
// reached the windows before.
inline std::map<std::string, TargetState> Report()
{
    Poke({"post", "TamrikTargets", kReport, "0", "0"});
    std::string log;
    EXPECT_TRUE(Eventually([&] { return Contains(log = ReadFile(kLog), "report end"); })) << "no report";
    std::map<std::string, TargetState> states;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        char name[64];
        TargetState state;
        if (std::sscanf(line.c_str(), "state %63s iconic=%d closes=%d zoomed=%d", name, &state.iconic,
                        &state.closes, &state.zoomed) == 4)
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
        RunToEnd({"chattr", "-i", kSettings});  // in case an interrupted run left it locked
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
    // The server's own way, a signal and then half a second's grace before
    // the kill, is the slow half of every test's end; the programs are
    // killed first, and the server then just saves the registry and goes.
    static void StopWine()
    {
        for (const pid_t pid : WinePrograms())
            kill(pid, SIGKILL);
        const std::string server = Env("TAMRIK_WINESERVER");
        RunToEnd({server, "-k"});
        RunToEnd({server, "-w"});
    }

    // The running programs of the prefix, Wine's services among them: each
    // runs in a loader of the directory kLoader lies in (the server, there
    // too, is not one), or where 32-bit code runs emulated, in the emulator,
    // with the prefix in its environment.
    static std::vector<pid_t> WinePrograms()
    {
        const std::string loaders = kLoader.substr(0, kLoader.rfind('/') + 1);
        const std::string emulator = Env("TAMRIK_QEMU");
        const std::string prefix = "WINEPREFIX=" + Env("WINEPREFIX");
        std::vector<pid_t> programs;
        DIR* proc = opendir("/proc");
        if (!proc)
            return programs;
        while (const dirent* entry = readdir(proc)) {
            const pid_t pid = std::atoi(entry->d_name);
            if (pid <= 0 || pid == getpid())
                continue;
            const std::string dir = "/proc/" + std::string(entry->d_name);
            char exe[4096];
            const ssize_t length = readlink((dir + "/exe").c_str(), exe, sizeof(exe) - 1);
            if (length <= 0)
                continue;  // gone, or a zombie
            const std::string path(exe, static_cast<size_t>(length));
            const bool loader = path.compare(0, loaders.size(), loaders) == 0 &&
                                path.compare(loaders.size(), 4, "wine") == 0 &&
                                path.find("wineserver") == std::string::npos;
            if (!loader && (emulator.empty() || path != emulator))
                continue;
            std::ifstream in(dir + "/environ", std::ios::binary);
            for (std::string variable; std::getline(in, variable, '\0');)
                if (variable == prefix) {
                    programs.push_back(pid);
                    break;
                }
        }
        closedir(proc);
        return programs;
    }
};

// Parameterised cases are named, in test names and in failure messages, by
// their name field.
template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case>& info)
{
    return info.param.name;
}

