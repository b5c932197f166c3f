// What the end-to-end tests of the tray share: Wine's own tray window, the
// icons in it, the mouse on them, and a run of Tamrik with its icons up.
// With no desktop tray on the display, Wine shows a tray window of its own,
// "Wine System Tray", with each icon in a child window of its own, left to
// right in the order they came; xdotool points at them and clicks them as a
// user would.
#pragma once

#include "E2eSupport.h"

inline const char kTray[] = "__winex11_standalone_tray";

// The icons in the order the program puts them up.
enum Icon { kTelnet, kMSDOS, kDrives, kMinimize, kRestore, kClose, kShutdown };
inline const Keys kEveryIcon = {{"TelnetVisible", "1"},   {"MSDOSVisible", "1"},   {"ExplorerVisible", "1"},
                                {"MinimizeVisible", "1"}, {"RestoreVisible", "1"}, {"CloseVisible", "1"},
                                {"ShutdownVisible", "1"}};

inline Keys With(Keys keys, const Keys& more)
{
    keys.insert(keys.end(), more.begin(), more.end());
    return keys;
}

struct Point {
    int x;
    int y;
};

// The centre of every icon on the screen, left to right.
inline std::vector<Point> IconCentres()
{
    std::vector<Point> icons;
    std::istringstream lines(Poke({"children", kTray}));
    for (std::string line; std::getline(lines, line);) {
        int left, top, right, bottom;
        if (std::sscanf(line.c_str(), "__winex11_tray_icon||%d,%d,%d,%d", &left, &top, &right, &bottom) == 4)
            icons.push_back({(left + right) / 2, (top + bottom) / 2});
    }
    std::sort(icons.begin(), icons.end(), [](const Point& a, const Point& b) { return a.x < b.x; });
    return icons;
}

inline void MoveTo(const Point& point, Args then = {})
{
    Args args = {"xdotool", "mousemove", std::to_string(point.x), std::to_string(point.y)};
    args.insert(args.end(), then.begin(), then.end());
    Execute(args);
}

// Another process's menu cannot be read under Wine; the open menu shows as
// a visible window of class #32768, and takes the keyboard.
inline bool MenuShown()
{
    const std::vector<std::string> visible = VisibleWindows();
    return std::count(visible.begin(), visible.end(), "#32768|") == 1;
}

// Tips are windows of Wine's tray, in explorer.exe, and show half a second
// after the mouse stops on an icon. The mouse leaves again and the tip goes
// before the next icon, so no tip is read twice. Once in a while Wine shows
// no tip for a mouse that came to rest; like a user, the test then moves the
// mouse away and back, to another point of the icon.
inline std::string TipOf(const Point& icon)
{
    const Point corner = {1000, 740};  // a bare corner of the screen
    std::string tip;
    for (int attempt = 0; attempt < 4; ++attempt) {
        MoveTo({icon.x - 2 + attempt, icon.y - 2 + attempt});
        const bool shown = Eventually(
            [&] {
                tip = Poke({"tip", kTray});
                return std::count(tip.begin(), tip.end(), '\n') == 1;
            },
            8s);
        MoveTo(corner);
        EXPECT_TRUE(Eventually([] { return Poke({"tip", kTray}).empty(); })) << "the tip stayed";
        if (shown)
            break;
    }
    return tip.substr(0, tip.find('\n'));
}

class TrayRun : public TamrikRun {
protected:
    void Start(size_t count)
    {
        tamrik_ = StartTamrik({});
        ASSERT_TRUE(Eventually([&] { return (icons_ = IconCentres()).size() == count; }))
            << icons_.size() << " icons instead of " << count;
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
