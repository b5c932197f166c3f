// End-to-end tests of the tray icons: their order and tips, the sweeps a
// click starts, and the tray menu.
#include "TraySupport.h"

namespace {

// The tips of the icons, in their order.
const std::vector<std::string> kTips = {
    "Click to popup list of sites...",          "Click to open DOS box...",
    "Click to popup list of drives...",         "Click to minimize all applications...",
    "Click to restore minimized applications...", "Click to close all applications...",
    "Click to shutdown computer...",
};

// Wine's tray is a visible, titled top-level window like any application's,
// so the sweeps would take it too and leave nothing to click; "beta" and
// "marker" leave exactly the Eligible() targets.
const char kIgnore[] = "beta,Wine System Tray,marker";

// A line per target, so that a failure shows every one.
std::string Describe(const std::map<std::string, TargetState>& states)
{
    std::string text;
    for (const auto& [name, state] : states)
        text += name + " iconic=" + std::to_string(state.iconic) + " closes=" + std::to_string(state.closes) + "\n";
    return text;
}

// The log is emptied first: an earlier report's end would pass for this one's.
std::map<std::string, TargetState> States()
{
    WriteFile(kLog, "");
    return Report();
}

std::string Targets()
{
    return Describe(States());
}

// The eligible targets minimized or not and closed so many times, the
// program-manager target closed progmanCloses times, the rest untouched.
std::string Expected(bool minimized, int closes, int progmanCloses = 0)
{
    std::map<std::string, TargetState> states;
    for (const std::string& target : kTargets)
        states[target] = {Eligible(target) && minimized,
                          Eligible(target) ? closes : target == "progman" ? progmanCloses : 0};
    return Describe(states);
}

// A click reaches the program, and the sweep the targets, a moment later.
// A restored target comes to the front, yet the icons stay clear to click:
// with no window manager only a window's client area shows, and the topmost
// target's begins at y=43, just under the tray's row of icons.
void ExpectTargets(const std::string& expected)
{
    std::string seen;
    Eventually([&] { return (seen = Targets()) == expected; });
    EXPECT_EQ(seen, expected);
}

using TrayIcons = TrayRun;
using TrayClicks = TrayRun;
using TrayMenu = TrayRun;

TEST_F(TrayIcons, EveryIconEnabledGivesSevenInTheirOrder)
{
    Seed(With(kEveryIcon, {{"ShowOnStartup", "0"}}));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    EXPECT_EQ(Tips(), kTips);
}

TEST_F(TrayIcons, StoredDefaultsGiveFiveInTheirOrder)
{
    ASSERT_NO_FATAL_FAILURE(Start(5));
    EXPECT_EQ(Tips(), std::vector<std::string>(kTips.begin() + kMSDOS, kTips.begin() + kShutdown));
}

// A restarted shell has lost every icon and broadcasts "TaskbarCreated" to
// the top-level windows. Wine's explorer, restarted, does neither and leaves
// the programs already running orphaned; the test does both from outside, as
// the shell would.
TEST_F(TrayIcons, IconsComeBackInTheirOrderWhenTheShellRestarts)
{
    Seed(With(kEveryIcon, {{"ShowOnStartup", "0"}, {"txtIgnore", kIgnore}}));
    StartTargets();
    ASSERT_NO_FATAL_FAILURE(Start(7));
    std::vector<std::string> images;
    for (size_t i = 0; i < icons_.size(); ++i)
        images.push_back(ImageOf(static_cast<Icon>(i)));

    // Each icon its own identifier, the same on every run, read from the area.
    std::vector<std::string> ids;
    std::istringstream held(Poke({"ids", "TQVTrayIconNotify"}));
    for (std::string id; std::getline(held, id);)
        ids.push_back(id);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, std::vector<std::string>({"1", "2", "3", "4", "5", "6", "7"}));

    EXPECT_EQ(Poke({"forget", "TQVTrayIconNotify"}), "7\n");
    ASSERT_TRUE(Eventually([] { return IconCentres().empty(); })) << "the icons stayed";
    Poke({"broadcast", "TaskbarCreated"});
    ASSERT_TRUE(Eventually([&] { return (icons_ = IconCentres()).size() == 7; }))
        << icons_.size() << " icons came back";
    for (size_t i = 0; i < icons_.size(); ++i)
        EXPECT_TRUE(Shows(static_cast<Icon>(i), images[i])) << kTips[i] << " is not where it stood";
    EXPECT_EQ(Tips(), kTips);
    Click(kMinimize, "1");
    ExpectTargets(Expected(true, 0));
    ASSERT_NO_FATAL_FAILURE(End());
}

TEST_F(TrayClicks, MinimizeRestoreAndCloseSweepTheEligibleWindowsAlone)
{
    Seed(With(kEveryIcon, {{"ShowOnStartup", "0"}, {"txtIgnore", kIgnore}}));
    StartTargets();
    ASSERT_NO_FATAL_FAILURE(Start(7));
    Click(kMinimize, "1");
    ExpectTargets(Expected(true, 0));
    Click(kRestore, "1");
    ExpectTargets(Expected(false, 0));
    Click(kClose, "1");
    ExpectTargets(Expected(false, 1));
    ASSERT_NO_FATAL_FAILURE(End());
    EXPECT_EQ(Targets(), Expected(false, 1));
}

// SW_RESTORE would bring a maximized window down to its normal size: the
// restore button leaves it maximized, and brings one that was minimized
// from maximized back maximized.
TEST_F(TrayClicks, RestoreLeavesMaximizedWindowsMaximized)
{
    Seed(With(kEveryIcon, {{"ShowOnStartup", "0"}, {"txtIgnore", kIgnore}}));
    StartTargets({"maximized"});
    ASSERT_NO_FATAL_FAILURE(Start(7));
    ASSERT_EQ(States()["maximized"].zoomed, 1);
    ASSERT_EQ(States()["maximized-minimized"].iconic, 1);
    Click(kRestore, "1");
    ASSERT_TRUE(Eventually([] { return States()["maximized-minimized"].iconic == 0; })) << "nothing was restored";
    // Once the program has gone, whatever the sweep asked has reached every target.
    ASSERT_NO_FATAL_FAILURE(End());
    std::map<std::string, TargetState> after = States();
    EXPECT_EQ(after["maximized"].zoomed, 1);
    EXPECT_EQ(after["maximized"].iconic, 0);
    EXPECT_EQ(after["maximized-minimized"].zoomed, 1);
    EXPECT_EQ(after["plain"].zoomed, 0);
    EXPECT_EQ(after["plain"].iconic, 0);
}

TEST_F(TrayClicks, ShutdownInMenuModeClosesTheProgramManagerToo)
{
    Seed(With(kEveryIcon, {{"ShowOnStartup", "0"}, {"txtIgnore", kIgnore}, {"ShutdownMenu", "1"}}));
    StartTargets();
    ASSERT_NO_FATAL_FAILURE(Start(7));
    Click(kShutdown, "1");
    ExpectTargets(Expected(false, 1, 1));
    ASSERT_NO_FATAL_FAILURE(End());
    EXPECT_EQ(Targets(), Expected(false, 1, 1));
}

// A quick click: the button-up is queued before the action's sweep drains
// the messages, so it is handled while the action still runs. Once the
// mouse has left, the icon shows its raised image all the same; while the
// button is held it shows the sunken one.
TEST_F(TrayClicks, EveryActionButtonRisesAgainAfterAQuickClick)
{
    Seed(With(kEveryIcon, {{"ShowOnStartup", "0"}, {"txtIgnore", kIgnore}, {"ShutdownMenu", "1"}}));
    StartTargets();
    ASSERT_NO_FATAL_FAILURE(Start(7));
    std::map<Icon, std::string> raised;
    for (const Icon icon : {kMinimize, kRestore, kClose, kShutdown})
        raised[icon] = ImageOf(icon);

    MoveTo(icons_.at(kClose), {"mousedown", "1"});
    EXPECT_TRUE(Shows(kClose, raised[kClose], false)) << "a held button did not sink";
    ExpectTargets(Expected(false, 1));
    Execute({"xdotool", "mouseup", "1"});
    MoveTo(kCorner);
    EXPECT_TRUE(Shows(kClose, raised[kClose])) << "a released button stayed sunken";

    const struct {
        Icon icon;
        const char* name;
        bool minimized;
        int closes, progmanCloses;
    } clicks[] = {{kMinimize, "minimize", true, 1, 0},
                  {kRestore, "restore", false, 1, 0},
                  {kClose, "close", false, 2, 0},
                  {kShutdown, "shutdown", false, 3, 1}};
    for (const auto& click : clicks) {
        Click(click.icon, "1");
        ExpectTargets(Expected(click.minimized, click.closes, click.progmanCloses));
        MoveTo(kCorner);
        EXPECT_TRUE(Shows(click.icon, raised[click.icon])) << click.name << " stayed sunken";
    }
    ASSERT_NO_FATAL_FAILURE(End());
}

// Another process's menu cannot be read under Wine; the open menu shows as
// a visible window of class #32768, and takes the keyboard.
TEST_F(TrayMenu, ExitEndsTheRunAndWritesTheSettings)
{
    const Keys seeded = With(kEveryIcon, {{"ShowOnStartup", "0"}});
    Seed(seeded);
    ASSERT_NO_FATAL_FAILURE(Start(7));
    Click(kClose, "3");
    ASSERT_TRUE(Eventually(MenuShown)) << "no menu";
    Execute({"xdotool", "key", "x"});
    ASSERT_EQ(WaitExit(tamrik_), 0) << "Tamrik did not end";
    EXPECT_EQ(ReadFile(kSettings), Configuration(seeded));
}

TEST_F(TrayMenu, PropertiesShowsTheWindowAgainAfterOK)
{
    Seed(With(kEveryIcon, {{"ShowOnStartup", "1"}}));
    ASSERT_NO_FATAL_FAILURE(Start(7));
    ASSERT_TRUE(Eventually(PropertiesShown)) << "the Properties window did not come up";
    std::string window;
    ASSERT_TRUE(Eventually([&] {
        window = Capture({"xdotool", "search", "--onlyvisible", "--name", "^Tamrik 1\\.7$"});
        return !window.empty();
    }));
    // The centre of OK, in the window's client area.
    Execute({"xdotool", "mousemove", "--window", window.substr(0, window.find('\n')), "342", "239", "click", "1"});
    ASSERT_TRUE(Eventually([] { return !PropertiesShown(); })) << "OK left the window up";
    Click(kMinimize, "3");
    ASSERT_TRUE(Eventually(MenuShown)) << "no menu";
    Execute({"xdotool", "key", "Down", "Return"});
    EXPECT_TRUE(Eventually(PropertiesShown)) << "Properties... did not bring the window back";
}

}  // namespace
