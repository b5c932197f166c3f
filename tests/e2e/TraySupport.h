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

struct Rect {
    int left, top, right, bottom;
    Point Centre() const { return {(left + right) / 2, (top + bottom) / 2}; }
};

inline const Point kCorner = {1000, 740};  // a bare corner of the screen

// Every icon's window on the screen, left to right.
inline std::vector<Rect> IconRects()
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

inline std::vector<Point> IconCentres()
{
    std::vector<Point> centres;
    for (const Rect& icon : IconRects())
        centres.push_back(icon.Centre());
    return centres;
}

// What the display shows in a rectangle, as raw RGB, the way a user sees it.
inline std::string Pixels(const Rect& r)
{
    const std::string file = kDir + "/shot.rgb";
    std::remove(file.c_str());
    const std::string geometry = std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) + "+" +
                                 std::to_string(r.left) + "+" + std::to_string(r.top);
    Execute({"import", "-window", "root", "-crop", geometry, "rgb:" + file});
    return ReadFile(file);
}

// An icon is drawn once its window shows more than the tray's background.
inline bool Drawn(const std::string& pixels)
{
    for (size_t i = 3; i + 2 < pixels.size(); i += 3)
        if (pixels.compare(i, 3, pixels, 0, 3) != 0)
            return true;
    return false;
}

inline void MoveTo(const Point& point, Args then = {})
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
inline std::string TipOf(const Point& icon)
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

// Another process's menu cannot be read under Wine; the open menu shows as
// a visible window of class #32768, and takes the keyboard.
inline bool MenuShown()
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
            << icons_.size() << " icons instead of " << count << "; " << StateOfTheRun();
    }

    // What a run that did not come up looks like: whether the program still
    // runs, its windows, and the windows of Wine's tray.
    std::string StateOfTheRun()
    {
        int status = 0;
        if (Reaped(tamrik_, &status))
            return "Tamrik ended with status " + std::to_string(status);
        return "Tamrik runs; its windows:\n" + Poke({"windows", "TApplication"}) + "the tray's windows:\n" +
               Poke({"windows", kTray}) + "the tray's children:\n" + Poke({"children", kTray});
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
