// End-to-end tests of the tray icons. With no desktop tray on the display,
// Wine shows a tray window of its own, "Wine System Tray", with each icon in
// a child window of its own, left to right in the order they came; xdotool
// points at them and clicks them as a user would.
#include "E2eSupport.h"

namespace {

const char kTray[] = "__winex11_standalone_tray";

// The icons in the order the program puts them up, by their tips.
enum Icon { kTelnet, kMSDOS, kDrives, kMinimize, kRestore, kClose, kShutdown };
const std::vector<std::string> kTips = {
    "Click to popup list of sites...",          "Click to open DOS box...",
    "Click to popup list of drives...",         "Click to minimize all applications...",
    "Click to restore minimized applications...", "Click to close all applications...",
    "Click to shutdown computer...",
};
const Keys kEveryIcon = {{"TelnetVisible", "1"},   {"MSDOSVisible", "1"},   {"ExplorerVisible", "1"},
                         {"MinimizeVisible", "1"}, {"RestoreVisible", "1"}, {"CloseVisible", "1"},
                         {"ShutdownVisible", "1"}};

// Wine's tray is a visible, titled top-level window like any application's,
// so the sweeps would take it too and leave nothing to click; "beta" and
// "marker" leave exactly the Eligible() targets.
const char kIgnore[] = "beta,Wine System Tray,marker";

Keys With(Keys keys, const Keys& more)
{
    keys.insert(keys.end(), more.begin(), more.end());
    return keys;
}

struct Point {
    int x;
    int y;
};

struct Rect {
    int left, top, right, bottom;
    Point Centre() const { return {(left + right) / 2, (top + bottom) / 2}; }
};

const Point kCorner = {1000, 740};  // a bare corner of the screen

// Every icon's window on the screen, left to right.
std::vector<Rect> IconRects()
{
    std::vector<Rect> icons;
    std::istringstream lines(Poke({"children", kTray}));
    for (std::string line; std::getline(lines, line);) {
        Rect r;
        if (std::sscanf(line.c_str(), "__winex11_tray_icon||%d,%d,%d,%d", &r.left, &r.top, &r.right, &r.bottom) == 4)
            icons.push_back(r);
    }
    std::sort(icons.begin(), icons.end(), [](const Rect& a, const Rect& b) { return a.left < b.left; });
    return icons;
}

std::vector<Point> IconCentres()
{
    std::vector<Point> centres;
    for (const Rect& icon : IconRects())
        centres.push_back(icon.Centre());
    return centres;
}

// What the display shows in a rectangle, as raw RGB, the way a user sees it.
std::string Pixels(const Rect& r)
{
    const std::string file = kDir + "/shot.rgb";
    std::remove(file.c_str());
    const std::string geometry = std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) + "+" +
                                 std::to_string(r.left) + "+" + std::to_string(r.top);
    Execute({"import", "-window", "root", "-crop", geometry, "rgb:" + file});
    return ReadFile(file);
}

// An icon is drawn once its window shows more than the tray's background.
bool Drawn(const std::string& pixels)
{
    for (size_t i = 3; i + 2 < pixels.size(); i += 3)
        if (pixels.compare(i, 3, pixels, 0, 3) != 0)
            return true;
    return false;
}

void MoveTo(const Point& point, Args then = {})
{
    Args args = {"xdotool", "mousemove", std::to_string(point.x), std::to_string(point.y)};
    args.insert(args.end(), then.begin(), then.end());
    Execute(args);
}

// Tips are windows of Wine's tray, in explorer.exe, and show half a second
// after the mouse stops on an icon. The mouse leaves again and the tip goes
// before the next icon, so no tip is read twice. Once in a while Wine shows
// no tip for a mouse that came to rest; like a user, the test then moves the
// mouse away and back, to another point of the icon.
std::string TipOf(const Point& icon)
{
    std::string tip;
    for (int attempt = 0; attempt < 4; ++attempt) {
        MoveTo({icon.x - 2 + attempt, icon.y - 2 + attempt});
        const bool shown = Eventually(
            [&] {
                tip = Poke({"tip", kTray});
                return std::count(tip.begin(), tip.end(), '\n') == 1;
            },
            8s);
        MoveTo(kCorner);
        EXPECT_TRUE(Eventually([] { return Poke({"tip", kTray}).empty(); })) << "the tip stayed";
        if (shown)
            break;
    }
    return tip.substr(0, tip.find('\n'));
}

// A line per target, so that a failure shows every one.
std::string Describe(const std::map<std::string, TargetState>& states)
{
    std::string text;
    for (const auto& [name, state] : states)
        text += name + " iconic=" + std::to_string(state.iconic) + " closes=" + std::to_string(state.closes) + "\n";
    return text;
}

// The log is emptied first: an earlier report's end would pass for this one's.
std::string Targets()
{
    WriteFile(kLog, "");
    return Describe(Report());
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

bool MenuShown()
{
    const std::vector<std::string> visible = VisibleWindows();
    return std::count(visible.begin(), visible.end(), "#32768|") == 1;
}

class TrayRun : public TamrikRun {
protected:
    void Start(size_t count)
    {
        tamrik_ = StartTamrik({});
        ASSERT_TRUE(Eventually([&] { return (icons_ = IconCentres()).size() == count; }))
            << icons_.size() << " icons instead of " << count;
    }

    // The icon's image once it is drawn, with the mouse away from it.
    std::string ImageOf(Icon icon)
    {
        MoveTo(kCorner);
        std::string pixels;
        EXPECT_TRUE(Eventually([&] { return Drawn(pixels = Pixels(IconRects().at(icon))); })) << "icon not drawn";
        return pixels;
    }

    // Waits for the icon to show the given image, or for it to differ from it.
    bool Shows(Icon icon, const std::string& image, bool same = true)
    {
        const Rect rect = IconRects().at(icon);
        return Eventually([&] { return (Pixels(rect) == image) == same; }, 10s);
    }

    std::vector<std::string> Tips()
    {
        std::vector<std::string> tips;
        for (const Point& icon : icons_)
            tips.push_back(TipOf(icon));
        EXPECT_EQ(IconCentres().size(), icons_.size()) << "an icon came late";
        return tips;
    }

    // The mouse button as xdotool numbers it: 1 left, 3 right.
    void Click(Icon icon, const char* button) { MoveTo(icons_.at(icon), {"click", button}); }

    // Once the program has gone, whatever it asked of the targets has reached them.
    void End()
    {
        Poke({"post", "TApplication", kWmClose, "0", "0"});
        ASSERT_EQ(WaitExit(tamrik_), 0) << "Tamrik did not end";
    }

    pid_t tamrik_ = 0;
    std::vector<Point> icons_;
};

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
