// End-to-end tests of the Properties window: its controls as another
// program sees them (poke.exe's tree), and the keyboard and the mouse on
// them. Without a window manager the X window of a Wine window is its client
// area, and keys go to the X window that has the input focus, which xdotool
// gives to the Properties window before each key.
#include "E2eSupport.h"

#include <set>

namespace {

// Win32's window styles.
constexpr unsigned long kTabStop = 0x10000, kVisible = 0x10000000, kCaption = 0xC00000, kSysMenu = 0x80000,
                        kMinimizeBox = 0x20000, kMaximizeBox = 0x10000, kThickFrame = 0x40000;
constexpr unsigned long kButtonType = 0xF, kPushButton = 0x0, kDefPushButton = 0x1, kAutoCheckBox = 0x3,
                        kAutoRadioButton = 0x9;              // BS_
constexpr unsigned long kMultiLine = 0x4, kReadOnly = 0x800;  // ES_
constexpr unsigned long kSort = 0x2, kExtendedSel = 0x800;    // LBS_

const char kForm[] = "TfrmTamrik";
const char kRegular[] = "MS Sans Serif,-11,400";
const char kBold[] = "MS Sans Serif,-11,700";

// A line of poke.exe's tree.
struct Window {
    std::string handle, parent, className, font, text;
    unsigned long style = 0;
    int left = 0, top = 0, width = 0, height = 0, clientWidth = 0, clientHeight = 0, check = -1;
};

std::optional<Window> Parse(const std::string& line)
{
    char handle[32], parent[32], className[64], font[64];
    Window w;
    int end = 0;
    std::sscanf(line.c_str(), "%31[^|]|%31[^|]|%63[^|]|%lx|%*x|%d,%d,%d,%d|%d,%d|%d|%63[^|]|%n", handle, parent,
                className, &w.style, &w.left, &w.top, &w.width, &w.height, &w.clientWidth, &w.clientHeight, &w.check,
                font, &end);
    if (end == 0)
        return std::nullopt;
    w.handle = handle, w.parent = parent, w.className = className, w.font = font;
    w.text = line.substr(static_cast<size_t>(end), line.find('\n', static_cast<size_t>(end)) - end);
    return w;
}

std::vector<Window> Tree(const char* className = kForm)
{
    std::vector<Window> tree;
    std::istringstream lines(Poke({"tree", className}));
    for (std::string line; std::getline(lines, line);)
        if (const auto window = Parse(line))
            tree.push_back(*window);
    return tree;
}

const Window* Find(const std::vector<Window>& tree, const std::string& className, const std::string& text)
{
    const auto found = std::find_if(tree.begin(), tree.end(),
                                    [&](const Window& w) { return w.className == className && w.text == text; });
    return found == tree.end() ? nullptr : &*found;
}

std::string Focused()
{
    const auto focused = Parse(Poke({"focus", kForm}));
    return focused ? focused->className + "|" + focused->text : "";
}

// A click reaches a control a moment after xdotool returns; keys sent
// before that go to the control that had the focus.
void AwaitFocus(const Window& target)
{
    EXPECT_TRUE(Eventually([&] {
        const auto focused = Parse(Poke({"focus", kForm}));
        return focused && focused->handle == target.handle;
    }, 10s)) << "the click did not give the keyboard to " << target.className << " " << target.text;
}

std::string Depth()
{
    const std::vector<Window> tree = Tree();
    const auto field = std::find_if(tree.begin(), tree.end(),
                                     [](const Window& w) { return w.className == "Edit" && w.left == 200 && w.top == 91; });
    return field == tree.end() ? "" : field->text;
}

struct Tab {
    std::string text;
    int left = 0, top = 0, right = 0, bottom = 0, selected = 0;
};

std::vector<Tab> Tabs()
{
    std::vector<Tab> tabs;
    std::istringstream lines(Poke({"tabs", kForm}));
    for (std::string line; std::getline(lines, line);) {
        Tab tab;
        tab.text = line.substr(0, line.find('|'));
        std::sscanf(line.c_str() + tab.text.size(), "|%d,%d,%d,%d|%d", &tab.left, &tab.top, &tab.right, &tab.bottom,
                    &tab.selected);
        tabs.push_back(tab);
    }
    return tabs;
}

// The selected tab's caption and the number of each sheet that shows.
std::string ShownPage()
{
    std::string shown;
    for (const Tab& tab : Tabs())
        shown += tab.selected ? tab.text : "";
    int page = 0;
    for (const Window& window : Tree())
        if (window.className == "TTabSheet" && (++page, window.style & kVisible))
            shown += ", sheet " + std::to_string(page);
    return shown;
}

size_t TrayIcons()
{
    const std::string icons = Poke({"children", "__winex11_standalone_tray"});
    size_t count = 0;
    for (size_t at = 0; (at = icons.find("__winex11_tray_icon|", at)) != std::string::npos; ++at)
        ++count;
    return count;
}

// Reads until read gives what is expected or the deadline passes; returns
// what it gave last.
template <typename Read>
std::string Await(Read read, const std::string& expected)
{
    std::string seen;
    Eventually([&] { return (seen = read()) == expected; }, 10s);
    return seen;
}

// --- The window's tables ------------------------------------------------

enum Place { kOnForm, kOnPanel, kPageButtons, kPageShutdown, kPageExplorer, kPageMSDOS, kPageTelnet };
enum Kind { kTabs, kPanel, kLabel, kTitle, kEdit, kReadOnlyEdit, kSpin, kList, kCheck, kEnable, kRadio, kPush, kDefault };

struct KindRule {
    const char* className;
    unsigned long set, clear;  // style bits that must be there, and those that must not
    long buttonType;           // -1 for other than buttons
    const char* font;
};

// In the order of Kind. Radio buttons are left out of the tab-stop rule:
// the platform keeps WS_TABSTOP on the checked button of a group alone.
const KindRule kRules[] = {
    {"SysTabControl32", kTabStop, 0, -1, kRegular},
    {"TPanel", 0, 0, -1, kRegular},
    {"Static", 0, 0, -1, kRegular},
    {"Static", 0, 0, -1, "Exocet,-21,700"},
    {"Edit", kTabStop, kMultiLine | kReadOnly, -1, kRegular},
    {"Edit", kTabStop | kReadOnly, kMultiLine, -1, kRegular},
    {"Edit", kTabStop, kMultiLine | kReadOnly, -1, kRegular},
    {"ListBox", kTabStop | kSort | kExtendedSel, 0, -1, kRegular},
    {"Button", kTabStop, 0, kAutoCheckBox, kRegular},
    {"Button", kTabStop, 0, kAutoCheckBox, kBold},
    {"Button", 0, 0, kAutoRadioButton, kRegular},
    {"Button", kTabStop, 0, kPushButton, kRegular},
    {"Button", kTabStop, 0, kDefPushButton, kRegular},
};

struct Control {
    const char* name;
    Place place;
    Kind kind;
    int left, top, width, height;  // a label sizes itself to its caption: 0, 0
    const char* text;              // nullptr where the text is the implementer's choice
    int check;                     // -1 for other than check boxes and radio buttons
    int tabOrder;                  // within the parent; -1 for none
};

// Check states and texts are those of a first run: the stored defaults.
const Control kControls[] = {
    {"PageControl1", kOnForm, kTabs, 3, 4, 456, 171, "", -1, 6},
    {"Panel1", kOnForm, kPanel, 4, 182, 216, 79, "", -1, 2},
    {"chkShowOnStartup", kOnForm, kCheck, 229, 196, 153, 17, "Show this menu on startup", 1, 4},
    {"btnHelp", kOnForm, kPush, 227, 227, 62, 25, "&Help", -1, 5},
    {"btnOK", kOnForm, kDefault, 309, 227, 66, 25, "OK", -1, 0},
    {"btnExit", kOnForm, kPush, 391, 227, 68, 25, "E&xit", -1, 1},

    {"Label2", kOnPanel, kTitle, 7, 6, 0, 0, "TAMRIK V1.7", -1, -1},
    {"Label3", kOnPanel, kLabel, 7, 32, 0, 0, nullptr, -1, -1},
    {"Edit1", kOnPanel, kReadOnlyEdit, 7, 51, 202, 21, nullptr, -1, 0},

    {"chkMin", kPageButtons, kEnable, 9, 8, 193, 17, "Enable minimize all button", 1, 2},
    {"chkRestore", kPageButtons, kEnable, 9, 30, 189, 17, "Enable restore all button", 1, 0},
    {"chkClose", kPageButtons, kEnable, 9, 52, 175, 17, "Enable close all button", 1, 1},
    {"Label11", kPageButtons, kLabel, 12, 98, 0, 0, "Applications to ignore:", -1, -1},
    {"txtIgnore", kPageButtons, kEdit, 10, 115, 427, 21, "eudora,something else,more...?", -1, 3},

    {"chkShutdown", kPageShutdown, kEnable, 8, 8, 188, 17, "Enable shutdown button", 0, 0},
    {"radShutdownMenu", kPageShutdown, kRadio, 37, 30, 152, 17, "Go to shutdown menu", 1, 3},
    {"radShutdown", kPageShutdown, kRadio, 37, 51, 148, 17, "Shutdown computer", 0, 4},
    {"chkPromptOnClose", kPageShutdown, kCheck, 63, 72, 212, 17, "Prompt on closing frozen applications", 0, 1},
    {"chkDoReboot", kPageShutdown, kCheck, 63, 94, 134, 17, "Reboot after shutdown", 0, 2},

    {"chkExplorer", kPageExplorer, kEnable, 8, 8, 179, 17, "Enable computer explorer", 1, 0},
    {"radMSDOS", kPageExplorer, kRadio, 23, 38, 143, 17, "Launch MS-DOS prompt", 1, 1},
    {"radExplorer", kPageExplorer, kRadio, 23, 58, 151, 17, "Launch explorer window", 0, 2},
    {"Label10", kPageExplorer, kLabel, 200, 32, 0, 0, "Drives to ignore:", -1, -1},
    {"txtBadDrive", kPageExplorer, kEdit, 199, 48, 97, 21, "a,b", -1, 3},
    {"Label9", kPageExplorer, kLabel, 200, 75, 0, 0, "Depth to scan to:", -1, -1},
    {"spnDepth", kPageExplorer, kSpin, 200, 91, 64, 22, "1", -1, 4},

    {"chkMSDOS", kPageMSDOS, kEnable, 7, 7, 221, 17, "Enable MS-DOS prompt launcher", 1, 0},
    {"Label4", kPageMSDOS, kLabel, 21, 42, 0, 0, "Optional parameters:", -1, -1},
    {"txtMSDOScommand", kPageMSDOS, kEdit, 20, 59, 172, 21, "/K dir /w", -1, 1},
    {"Label5", kPageMSDOS, kLabel, 21, 87, 0, 0, "Optional starting directory:", -1, -1},
    {"txtMSDOSdir", kPageMSDOS, kEdit, 20, 103, 172, 21, "", -1, 2},
    {"Label8", kPageMSDOS, kLabel, 219, 40, 0, 0, "Optional different program:", -1, -1},
    {"Button4", kPageMSDOS, kPush, 217, 58, 58, 23, "Browse:", -1, 4},
    {"txtMSDOSprog", kPageMSDOS, kEdit, 280, 59, 160, 21, "", -1, 3},

    {"chkTelnet", kPageTelnet, kEnable, 5, 4, 174, 17, "Enable quick telnet ", 0, 1},
    {"Button1", kPageTelnet, kPush, 18, 36, 57, 23, "Add:", -1, 2},
    {"txtSite", kPageTelnet, kEdit, 81, 37, 151, 21, nullptr, -1, 0},
    {"Button2", kPageTelnet, kPush, 120, 67, 112, 23, "Remove Selected:", -1, 3},
    {"Label7", kPageTelnet, kLabel, 19, 97, 0, 0, "Optional different program:", -1, -1},
    {"Button3", kPageTelnet, kPush, 18, 116, 58, 23, "Browse:", -1, 5},
    {"txtTelnetProg", kPageTelnet, kEdit, 82, 117, 150, 21, "", -1, 4},
    {"Label6", kPageTelnet, kLabel, 239, 10, 0, 0, "Sites to display:", -1, -1},
    {"lstSites", kPageTelnet, kList, 237, 27, 207, 111, "", -1, 6},
};

// Where each window of the tree lies: on the form, on the about panel or on
// a page; the pages are the tab control's sheets in their order.
std::map<std::string, Place> Places(const std::vector<Window>& tree)
{
    std::map<std::string, Place> places;
    int page = kPageButtons;
    for (const Window& window : tree) {
        if (window.className == kForm)
            places[window.handle] = kOnForm;
        else if (window.className == "TPanel")
            places[window.handle] = kOnPanel;
        else if (window.className == "TTabSheet")
            places[window.handle] = static_cast<Place>(page++);
    }
    return places;
}

// --- The fixture --------------------------------------------------------

// A first run, with no settings file: the window shows on start-up.
class PropertiesRun : public TamrikRun {
protected:
    void SetUp() override
    {
        TamrikRun::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        Open();
    }

    // Starts the program and waits for its window.
    void Open()
    {
        tamrik_ = StartProgram();
        ASSERT_TRUE(Eventually(PropertiesShown)) << "the Properties window did not come up";
        ASSERT_TRUE(Eventually([&] {
            const std::string found = Capture({"xdotool", "search", "--onlyvisible", "--name", "^Tamrik 1\\.7$"});
            window_ = found.substr(0, found.find('\n'));
            return !window_.empty();
        }));
    }

    virtual pid_t StartProgram() { return StartTamrik({}); }

    void Keys(const Args& keys)
    {
        Args args = {"xdotool", "windowfocus", "--sync", window_, "key"};
        args.insert(args.end(), keys.begin(), keys.end());
        Execute(args);
    }

    // Gives the form the keyboard first, then clicks: focusing the form's
    // window after the click may take the focus from the control clicked.
    void FocusAndClick(const std::vector<Window>& tree, const Window& target)
    {
        Execute({"xdotool", "windowfocus", "--sync", window_});
        Click(tree, target);
    }

    // Clicks the middle of a window of the form's tree, or a point of the
    // form's client area.
    void Click(const std::vector<Window>& tree, const Window& target)
    {
        int x = target.left + target.width / 2;
        int y = target.top + target.height / 2;
        for (const Window* window = &target; window->parent != tree.front().handle;) {
            window = &*std::find_if(tree.begin(), tree.end(),
                                    [&](const Window& parent) { return parent.handle == window->parent; });
            x += window->left;
            y += window->top;
        }
        Click(x, y);
    }

    void Click(int x, int y)
    {
        Execute({"xdotool", "mousemove", "--window", window_, std::to_string(x), std::to_string(y), "click", "1"});
    }

    pid_t tamrik_ = 0;
    std::string window_;
};

// A table's figure at dpi: within slack pixels of its exact product.
bool AtDpi(int seen, int figure, int dpi, int slack)
{
    return std::abs(seen * 96 - figure * dpi) <= slack * 96;
}

// "face,-height,weight" with the height scaled to dpi and rounded.
std::string FontAtDpi(const std::string& font, int dpi)
{
    const size_t height = font.find(",-") + 2, end = font.find(',', height);
    return font.substr(0, height) + std::to_string((std::stoi(font.substr(height, end - height)) * dpi + 48) / 96) +
           font.substr(end);
}

// Every control of the tables where they put it, of its kind, text, check,
// font and tab order; at another DPI than 96 the figures scaled, each within
// a pixel, and the fonts' heights scaled.
void ExpectEveryControlAsItsTableGivesIt(int dpi)
{
    const int slack = dpi == 96 ? 0 : 1;
    const std::vector<Window> tree = Tree();
    const std::map<std::string, Place> places = Places(tree);
    std::set<std::string> seen;
    std::map<Place, std::vector<std::string>> tabOrder;  // the controls among their siblings, in z order
    for (const Window& window : tree) {
        const auto place = places.find(window.parent);
        const auto control = std::find_if(std::begin(kControls), std::end(kControls), [&](const Control& c) {
            return place != places.end() && c.place == place->second && AtDpi(window.left, c.left, dpi, slack) &&
                   AtDpi(window.top, c.top, dpi, slack);
        });
        if (control == std::end(kControls))
            continue;
        seen.insert(control->name);
        SCOPED_TRACE(control->name);
        const KindRule& rule = kRules[control->kind];
        EXPECT_EQ(window.className, rule.className);
        EXPECT_EQ(window.style & (rule.set | rule.clear), rule.set) << std::hex << window.style;
        EXPECT_TRUE(rule.buttonType < 0 || (window.style & kButtonType) == static_cast<unsigned long>(rule.buttonType))
            << "button type " << (window.style & kButtonType);
        EXPECT_TRUE(control->kind != kRadio || ((window.style & kTabStop) != 0) == (control->check == 1))
            << "the checked radio button alone is a tab stop";
        EXPECT_EQ(window.text, control->text ? control->text : window.text);
        EXPECT_EQ(window.check, control->check >= 0 ? control->check : window.check);
        EXPECT_EQ(window.font, FontAtDpi(rule.font, dpi));
        if (control->tabOrder >= 0)
            tabOrder[control->place].push_back(control->name);

        if (control->width == 0) {
            EXPECT_TRUE(window.width > 0 && window.height > 0) << "a label of no size";
            continue;
        }
        int left = window.left, top = window.top, right = left + window.width, bottom = top + window.height;
        if (control->kind == kSpin) {
            // The up-down buttons are a window of their own, inside the
            // field's rectangle at its right edge.
            const auto buttons = std::find_if(tree.begin(), tree.end(), [&](const Window& w) {
                return w.className == "msctls_updown32" && w.parent == window.parent;
            });
            ASSERT_NE(buttons, tree.end()) << "no up-down buttons";
            EXPECT_LT(window.left, buttons->left);
            left = std::min(left, buttons->left);
            top = std::min(top, buttons->top);
            right = std::max(right, buttons->left + buttons->width);
            bottom = std::max(bottom, buttons->top + buttons->height);
        }
        const std::vector<int> seen = {left, top, right, bottom};
        const std::vector<int> table = {control->left, control->top, control->left + control->width,
                                        control->top + control->height};
        for (size_t i = 0; i < seen.size(); ++i)
            EXPECT_TRUE(AtDpi(seen[i], table[i], dpi, slack))
                << testing::PrintToString(seen) << " for " << testing::PrintToString(table) << " at " << dpi;
    }
    EXPECT_EQ(seen.size(), std::size(kControls)) << "controls missing or out of place";

    std::map<std::pair<Place, int>, std::string> byTabOrder;
    for (const Control& control : kControls)
        if (control.tabOrder >= 0)
            byTabOrder[{control.place, control.tabOrder}] = control.name;
    std::map<Place, std::vector<std::string>> expected;
    for (const auto& [order, name] : byTabOrder)
        expected[order.first].push_back(name);
    EXPECT_EQ(tabOrder, expected);
}

// --- Layout -------------------------------------------------------------

using PropertiesWindow = PropertiesRun;

TEST_F(PropertiesWindow, IsAFixedDialogInTheScreenCentreWithFivePagesAndOKFocused)
{
    const Window form = Tree().at(0);
    EXPECT_EQ(form.text, "Tamrik 1.7");
    EXPECT_EQ(std::make_pair(form.clientWidth, form.clientHeight), std::make_pair(465, 264));
    EXPECT_EQ(form.style & (kCaption | kSysMenu | kMinimizeBox | kMaximizeBox | kThickFrame),
              kCaption | kSysMenu | kMinimizeBox);
    EXPECT_LE(std::abs(2 * form.left + form.width - 1024), 1) << "not centred across the screen";
    EXPECT_LE(std::abs(2 * form.top + form.height - 768), 1) << "not centred down the screen";
    EXPECT_EQ(form.font, kRegular);

    std::vector<std::string> pages;
    for (const Tab& tab : Tabs())
        pages.push_back(tab.text + (tab.selected ? " (selected)" : ""));
    EXPECT_EQ(pages, (std::vector<std::string>{"Window Buttons (selected)", "Shutdown", "Quick Explorer",
                                               "MS-DOS Prompt", "Quick Telnet"}));

    // Once start-up is over the program waits for input, its focus set.
    ASSERT_EQ(Execute(PokeCommand({"idle", "TApplication"})), 0);
    EXPECT_EQ(Focused(), "Button|OK");
}

TEST_F(PropertiesWindow, EveryControlAsItsTableGivesIt)
{
    ExpectEveryControlAsItsTableGivesIt(96);
}

// --- The keyboard -------------------------------------------------------

using PropertiesKeys = PropertiesRun;

TEST_F(PropertiesKeys, EnterActsAsOK)
{
    Keys({"Return"});
    ASSERT_TRUE(Eventually([] { return !PropertiesShown(); }, 15s)) << "the window stayed";
    // Hidden, not ended: the program's windows are all still there.
    EXPECT_TRUE(Contains(Poke({"windows", "TApplication"}), "TfrmTamrik|Tamrik 1.7|0\n"));
}

TEST_F(PropertiesKeys, EscapeChangesNothingAndAltXEndsTheRun)
{
    // Once Tab has taken the focus from OK to Exit, Escape has been handled.
    Keys({"Escape", "Tab"});
    EXPECT_EQ(Await(Focused, "Button|E&xit"), "Button|E&xit");
    EXPECT_EQ(VisibleWindows(), std::vector<std::string>{"TfrmTamrik|Tamrik 1.7"});
    Keys({"alt+x"});
    ASSERT_EQ(WaitExit(tamrik_), 0) << "Tamrik did not end";
    EXPECT_EQ(ReadFile(kSettings), Configuration({}));
}

TEST_F(PropertiesKeys, CtrlTabTurnsThePagesRoundTheEnds)
{
    Keys({"ctrl+Tab", "ctrl+Tab"});
    EXPECT_EQ(Await(ShownPage, "Quick Explorer, sheet 3"), "Quick Explorer, sheet 3");
    Keys({"ctrl+shift+Tab", "ctrl+shift+Tab", "ctrl+shift+Tab"});
    EXPECT_EQ(Await(ShownPage, "Quick Telnet, sheet 5"), "Quick Telnet, sheet 5");
}

// Notepad's window comes up as "Untitled - Notepad" and takes the file's
// name once it has read it.
void ExpectTheManualInNotepad()
{
    const std::string manual = ReadFile(kDir + "/readme.txt");
    ASSERT_FALSE(manual.empty()) << "no readme.txt beside Tamrik.exe";
    std::vector<Window> notepad;
    const std::string firstLine = manual.substr(0, manual.find_first_of("\r\n"));
    EXPECT_TRUE(Eventually([&] {
        notepad = Tree("Notepad");
        return !notepad.empty() && notepad[0].text == "readme.txt - Notepad" && Find(notepad, "Edit", firstLine);
    })) << (notepad.empty() ? "no Notepad" : "Notepad shows " + notepad[0].text);
    EXPECT_TRUE(PropertiesShown());
}

TEST_F(PropertiesKeys, HelpOpensTheManualOfTheProgramDirectoryInNotepad)
{
    Keys({"alt+h"});
    ExpectTheManualInNotepad();
}

// Started as the Run value starts it at logon, or a shortcut without a
// working folder: in the system's folder, which holds no manual.
class PropertiesFromTheSystemFolder : public PropertiesRun {
protected:
    pid_t StartProgram() override
    {
        return Spawn({"env", "-C", Env("WINEPREFIX") + "/drive_c/windows/system32", kLoader, "C:\\e2e\\Tamrik.exe"});
    }
};

TEST_F(PropertiesFromTheSystemFolder, HelpOpensTheManualBesideTheProgram)
{
    Keys({"alt+h"});
    ExpectTheManualInNotepad();
}

// What OK confirms is on disk at once: a run ended by Task Manager's End
// task, here a kill, keeps it.
TEST_F(PropertiesKeys, AChangeConfirmedWithOKOutlivesAKill)
{
    const std::vector<Window> tree = Tree();
    const Window* box = Find(tree, "Button", "Show this menu on startup");
    ASSERT_NE(box, nullptr);
    FocusAndClick(tree, *box);
    Keys({"Return"});
    std::string expected = Configuration({});
    expected.replace(expected.find("ShowOnStartup=1"), 15, "ShowOnStartup=0");
    EXPECT_TRUE(Eventually([&] { return ReadFile(kSettings) == expected; }, 15s)) << ReadFile(kSettings);
    kill(tamrik_, SIGKILL);
    ASSERT_TRUE(WaitExit(tamrik_, 10s)) << "Tamrik outlived its kill";
    EXPECT_EQ(ReadFile(kSettings), expected);
}

// A new user's first edit, again and again in one Wine session, each run
// ended before the next starts: the ignore box clicked, End, more typed, OK
// clicked. OK hides the window and writes the box on every run.
class PropertiesAgain : public PropertiesRun {
protected:
    pid_t StartProgram() override
    {
        Seed({{"ShowOnStartup", "1"}, {"txtIgnore", "eudora"}});
        return StartTamrik({});
    }
};

TEST_F(PropertiesAgain, OKAfterTypingActsOnEveryStartWhileWineRuns)
{
    for (int run = 1; run <= 4; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        if (run > 1) {
            ASSERT_NO_FATAL_FAILURE(Open());
        }
        const std::vector<Window> tree = Tree();
        const Window* box = Find(tree, "Edit", "eudora");
        const Window* ok = Find(tree, "Button", "OK");
        ASSERT_TRUE(box && ok);
        FocusAndClick(tree, *box);
        AwaitFocus(*box);
        Keys({"End"});
        Execute({"xdotool", "type", ",survivor"});
        ASSERT_TRUE(Eventually([] { return Find(Tree(), "Edit", "eudora,survivor") != nullptr; }, 10s));
        Click(tree, *ok);
        EXPECT_TRUE(Eventually([] { return !PropertiesShown(); }, 10s)) << "OK did nothing";
        EXPECT_TRUE(Eventually([] { return Contains(ReadFile(kSettings), "txtIgnore=eudora,survivor\r\n"); }, 10s))
            << ReadFile(kSettings);
        Poke({"post", "TApplication", kWmClose, "0", "0"});
        ASSERT_EQ(WaitExit(tamrik_), 0) << "Tamrik did not end";
    }
}

// --- The depth field ----------------------------------------------------

using PropertiesDepth = PropertiesRun;

// The keys of each step end with one that shows when the step is over:
// Up at 50 then Down shows 49, not 50; Down at 0 then Up shows 1.
TEST_F(PropertiesDepth, TypingAndArrowKeysKeepItWithinZeroToFifty)
{
    std::vector<Window> tree = Tree();
    const Window* tabs = Find(tree, "SysTabControl32", "");
    ASSERT_NE(tabs, nullptr);
    for (const Tab& tab : Tabs())
        if (tab.text == "Quick Explorer")
            Click(tabs->left + (tab.left + tab.right) / 2, tabs->top + (tab.top + tab.bottom) / 2);
    ASSERT_EQ(Await(ShownPage, "Quick Explorer, sheet 3"), "Quick Explorer, sheet 3");
    tree = Tree();
    const Window* field = Find(tree, "Edit", "1");
    ASSERT_NE(field, nullptr);

    FocusAndClick(tree, *field);
    AwaitFocus(*field);
    Keys({"Home", "shift+End", "9", "9", "Tab"});
    EXPECT_EQ(Await(Depth, "50"), "50") << "99 kept when the focus left";
    FocusAndClick(tree, *field);
    AwaitFocus(*field);
    Keys({"Up", "Down"});
    EXPECT_EQ(Await(Depth, "49"), "49");
    Keys({"Home", "shift+End", "a", "minus", "2"});
    EXPECT_EQ(Await(Depth, "-2"), "-2") << "a letter was taken";
    Keys({"Tab"});
    EXPECT_EQ(Await(Depth, "0"), "0") << "-2 kept when the focus left";
    FocusAndClick(tree, *field);
    AwaitFocus(*field);
    Keys({"Down", "Up"});
    EXPECT_EQ(Await(Depth, "1"), "1");
}

// --- The enable boxes ---------------------------------------------------

using PropertiesEnableBox = PropertiesRun;

TEST_F(PropertiesEnableBox, ClickingCloseAllTakesItsTrayIconAwayAndBackAtOnce)
{
    ASSERT_TRUE(Eventually([] { return TrayIcons() == 5; })) << "not the five icons of the stored defaults";
    const std::vector<Window> tree = Tree();
    const Window* box = Find(tree, "Button", "Enable close all button");
    ASSERT_NE(box, nullptr);
    Click(tree, *box);
    EXPECT_TRUE(Eventually([] { return TrayIcons() == 4; }, 10s)) << "the close icon stayed";
    Click(tree, *box);
    EXPECT_TRUE(Eventually([] { return TrayIcons() == 5; }, 10s)) << "the close icon did not come back";
}

// --- At another DPI -----------------------------------------------------

// Wine takes the screen's DPI from HKCU\Control Panel\Desktop LogPixels
// when a process starts, from the registry as the running server holds it: a
// value set with reg applies to the next process with no restart of the
// server, and a process keeps the DPI it started with (Wine sends no
// WM_DPICHANGED). A new prefix has no such value and is at 96. The prefix is
// shared, so every test that sets it takes it out again; run-e2e.sh does
// too, should a run be cut short.
void SetLogPixels(int dpi)
{
    ASSERT_EQ(Execute(Wine("reg", {"add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d",
                                   std::to_string(dpi), "/f"})),
              0);
}

void RemoveLogPixels()
{
    Execute(Wine("reg", {"delete", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/f"}));
}

std::pair<int, int> ClientArea()
{
    const std::vector<Window> tree = Tree();
    return tree.empty() ? std::make_pair(0, 0) : std::make_pair(tree[0].clientWidth, tree[0].clientHeight);
}

// Tamrik started with the prefix at 144 DPI.
class PropertiesAt144Dpi : public PropertiesRun {
protected:
    void SetUp() override
    {
        SetLogPixels(144);
        PropertiesRun::SetUp();  // ends the server, which keeps the value for the next
    }
    void TearDown() override
    {
        PropertiesRun::TearDown();
        RemoveLogPixels();
        StopWine();
    }
};

class WineDpi : public TamrikRun {
protected:
    void TearDown() override
    {
        TamrikRun::TearDown();
        RemoveLogPixels();
        StopWine();
    }
};

TEST_F(PropertiesAt144Dpi, WindowIsHalfAsLargeAgainAndCentred)
{
    const Window form = Tree().at(0);
    EXPECT_EQ(std::make_pair(form.clientWidth, form.clientHeight), std::make_pair(698, 396));
    EXPECT_LE(std::abs(2 * form.left + form.width - 1024), 1) << "not centred across the screen";
    EXPECT_LE(std::abs(2 * form.top + form.height - 768), 1) << "not centred down the screen";
}

TEST_F(PropertiesAt144Dpi, EveryControlAtOneAndAHalfTimesItsTableRectangle)
{
    ExpectEveryControlAsItsTableGivesIt(144);
}

TEST_F(WineDpi, LogPixelsCountsFromTheNextProcessStarted)
{
    const pid_t first = StartTamrik({});
    ASSERT_TRUE(Eventually(PropertiesShown));
    SetLogPixels(144);
    // The running program is told nothing: once it has handled a message
    // sent after the change, it is still at 96.
    Poke({"send", kForm, "0", "0", "0"});
    EXPECT_EQ(ClientArea(), std::make_pair(465, 264));
    Poke({"post", kForm, kWmClose, "0", "0"});
    ASSERT_TRUE(WaitExit(first).has_value()) << "Tamrik did not end";
    std::remove(kSettings.c_str());
    StartTamrik({});
    ASSERT_TRUE(Eventually(PropertiesShown));
    EXPECT_EQ(ClientArea(), std::make_pair(698, 396));
}

}  // namespace

// --- The launchers' buttons ---------------------------------------------

namespace {

class PropertiesButtons : public PropertiesRun {
protected:
    void OpenPage(const std::string& caption, const std::string& shown)
    {
        const std::vector<Window> tree = Tree();
        const Window* tabs = Find(tree, "SysTabControl32", "");
        ASSERT_NE(tabs, nullptr);
        for (const Tab& tab : Tabs())
            if (tab.text == caption)
                Click(tabs->left + (tab.left + tab.right) / 2, tabs->top + (tab.top + tab.bottom) / 2);
        ASSERT_EQ(Await(ShownPage, shown), shown);
    }
    // The window of the form that the table puts at that place.
    Window At(Place place, int left, int top)
    {
        const std::vector<Window> tree = Tree();
        const std::map<std::string, Place> places = Places(tree);
        for (const Window& window : tree) {
            const auto parent = places.find(window.parent);
            if (parent != places.end() && parent->second == place && window.left == left && window.top == top)
                return window;
        }
        ADD_FAILURE() << "nothing at " << left << "," << top;
        return {};
    }
    void ClickAt(Place place, int left, int top) { Click(Tree(), At(place, left, top)); }
    std::string TextAt(Place place, int left, int top) { return At(place, left, top).text; }

    // The file dialog, once it is up, with the keyboard given to it.
    std::string AwaitDialog()
    {
        std::string dialog;
        EXPECT_TRUE(Eventually([&] {
            dialog = Capture({"xdotool", "search", "--onlyvisible", "--name", "^Select program\\.\\.\\.$"});
            return !dialog.empty();
        })) << "no file dialog";
        return dialog.substr(0, dialog.find('\n'));
    }
    void DialogKeys(const std::string& dialog, Args keys)
    {
        keys.insert(keys.begin(), {"xdotool", "windowfocus", "--sync", dialog});
        Execute(keys);
    }
};

}  // namespace

// The two Browse buttons share one dialog: the second offers the file the
// first chose, and a path with a blank goes into its box in quotes.
TEST_F(PropertiesButtons, BrowseFillsTheProgramBoxAndRemembersTheFile)
{
    ASSERT_EQ(Execute({"mkdir", "-p", kDir + "/Program Files"}), 0);
    WriteFile(kDir + "/Program Files/tool.exe", "MZ");
    ASSERT_NO_FATAL_FAILURE(OpenPage("MS-DOS Prompt", "MS-DOS Prompt, sheet 4"));
    ClickAt(kPageMSDOS, 217, 58);
    const std::string first = AwaitDialog();
    DialogKeys(first, {"type", "--delay", "30", "C:\\e2e\\Program Files\\tool.exe"});
    DialogKeys(first, {"key", "Return"});
    const std::string quoted = "\"C:\\e2e\\Program Files\\tool.exe\"";
    EXPECT_EQ(Await([&] { return TextAt(kPageMSDOS, 280, 59); }, quoted), quoted);

    ASSERT_NO_FATAL_FAILURE(OpenPage("Quick Telnet", "Quick Telnet, sheet 5"));
    ClickAt(kPageTelnet, 18, 116);
    const std::string second = AwaitDialog();
    EXPECT_TRUE(Eventually([] { return Contains(Poke({"tree", "#32770"}), "tool.exe"); }, 10s))
        << "the second dialog does not offer the first one's file:\n" << Poke({"tree", "#32770"});
    DialogKeys(second, {"key", "Escape"});
    EXPECT_TRUE(Eventually([] { return Poke({"dialogs", "Select program..."}).empty(); })) << "the dialog stayed";
    EXPECT_EQ(TextAt(kPageTelnet, 82, 117), "") << "a cancel changes nothing";
    Execute({"rm", "-rf", kDir + "/Program Files"});
}

TEST_F(PropertiesButtons, AddAndRemoveSelectedEditTheSitesThatAreSaved)
{
    ASSERT_NO_FATAL_FAILURE(OpenPage("Quick Telnet", "Quick Telnet, sheet 5"));
    for (const char* site : {"zeta", "alpha", "beta"}) {
        ClickAt(kPageTelnet, 81, 37);
        Keys({"End", "shift+Home", "BackSpace"});
        Execute({"xdotool", "type", "--delay", "30", site});
        EXPECT_EQ(Await([&] { return TextAt(kPageTelnet, 81, 37); }, site), site);
        ClickAt(kPageTelnet, 18, 36);
    }
    // The list, sorted, reads alpha, beta, zeta: the first two rows go.
    const Window list = At(kPageTelnet, 237, 27);
    const std::vector<Window> tree = Tree();
    Window row = list;
    row.height = 8;  // the middle of the first row, then of the second
    Click(tree, row);
    row.top += 13;
    Execute({"xdotool", "keydown", "shift"});
    Click(tree, row);
    Execute({"xdotool", "keyup", "shift"});
    ClickAt(kPageTelnet, 120, 67);
    Keys({"alt+x"});
    ASSERT_EQ(WaitExit(tamrik_), 0) << "Tamrik did not end";
    const std::string saved = ReadFile(kSettings);
    EXPECT_TRUE(Contains(saved, "[YourSites]\r\nYourSite0=zeta\r\n")) << saved;
    EXPECT_FALSE(Contains(saved, "alpha")) << saved;
    EXPECT_FALSE(Contains(saved, "YourSite1")) << saved;
}
