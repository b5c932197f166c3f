// The drives menu over the session's own test drive: a tree made for each
// test, the other drives left out through the bad-drive text, and what the
// menu shows read back from the menu handles themselves.
#include "TestSupport.h"

#include <tlhelp32.h>
#include "framework/GuiObjects.h"
#include "WholeTree.h"

namespace {

// A menu as the user sees it, sub-menus in brackets:
// "mylabel (t:)[apple,deep[sub]]".
std::string Tree(HMENU menu);

// What the menu is told just before a sub-menu opens; the drives menu fills
// a sub-menu then.
void Open(HMENU subMenu, int position)
{
    SendMessageA(PopupCommandWindow(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(subMenu), MAKELPARAM(position, 0));
}

// Each sub-menu is opened as the user would open it before it is read.
std::string Entry(HMENU menu, int position)
{
    HMENU subMenu = nullptr;
    const std::string caption = ShownItem(menu, position, &subMenu);
    if (!subMenu)
        return caption;
    Open(subMenu, position);
    return caption + "[" + Tree(subMenu) + "]";
}

std::string Tree(HMENU menu)
{
    std::string tree;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        tree += (i ? "," : "") + Entry(menu, i);
    return tree;
}

// Every other letter, so that only the test drive shows.
std::string AllLettersBut(char letter)
{
    std::string text;
    for (char c = 'a'; c <= 'z'; ++c)
        if (c != letter)
            text += c;
    return text;
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA entry = {};
    const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

class QuickExplorerTest : public TamrikTest {
protected:
    void SetUp() override
    {
        TamrikTest::SetUp();
        letter_ = TestDriveLetter();
        if (!letter_)
            GTEST_SKIP() << "no test drive is mapped";
        root_ = std::string(1, letter_) + ":";
        startDirectory_.resize(MAX_PATH);
        startDirectory_.resize(GetCurrentDirectoryA(MAX_PATH, &startDirectory_[0]));
        StartProgram();
        Form().txtBadDrive->SetText(AllLettersBut(letter_));
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(startDirectory_.c_str());
        for (const std::string& top : made_)
            RemoveTree(root_ + "\\" + top);
        TamrikTest::TearDown();
    }
    // Makes each directory, given relative to the drive's root.
    void Make(std::initializer_list<const char*> paths)
    {
        for (const char* path : paths) {
            ASSERT_TRUE(CreateDirectoryA((root_ + "\\" + path).c_str(), nullptr)) << path;
            const std::string top = std::string(path).substr(0, std::string(path).find('\\'));
            if (std::find(made_.begin(), made_.end(), top) == made_.end())
                made_.push_back(top);
        }
    }
    // Pops the drives menu up with a left click and reads it back.
    std::string Popup(int depth)
    {
        Form().spnDepth->SetValue(depth);
        TrayReport(Form().trayExplorer, WM_LBUTTONDOWN);
        TrayReport(Form().trayExplorer, WM_LBUTTONUP);
        if (Seams().menus.empty())
            return "no menu";
        return Tree(Seams().menus.back().menu);
    }
    // The item of the drives menu whose hint is path, reached as the user
    // reaches it: each sub-menu on the way is opened.
    TMenuItem* Find(const std::string& path) const
    {
        std::function<TMenuItem*(TMenuItems*)> search = [&](TMenuItems* items) -> TMenuItem* {
            for (int i = 0; i < items->Count(); ++i) {
                TMenuItem* item = items->Item(i);
                if (item->Hint() == path)
                    return item;
                if (path.compare(0, item->Hint().size() + 1, item->Hint() + "\\") != 0 || !item->SubMenu())
                    continue;
                Open(item->SubMenu(), i);
                if (TMenuItem* found = search(item))
                    return found;
            }
            return nullptr;
        };
        return search(Form().popExplorer);
    }
    std::string Label() const { return "mylabel (" + root_ + ")"; }
    // An item of the drives menu for a directory of the drive, given by an
    // ASCII path below its root, that fills its sub-menu as it opens, as
    // the popup makes them: a sub-menu of the depth last popped up.
    TMenuItem* OpeningItem(const char* caption, const std::string& relative) const
    {
        TfrmTamrik& f = Form();
        TMenuItem* item = f.popExplorer->Make<TMenuItem>("", caption);
        item->SetHint(root_ + "\\" + relative);
        if (f.WideNames)
            item->SetWideHint(WideString{static_cast<wchar_t>(letter_), L':', L'\\'} +
                              WideString(relative.begin(), relative.end()));
        item->ShowAsSubMenu();
        item->OnPopup.Bind(&f, &TfrmTamrik::popExplorerItemPopup);
        f.popExplorer->Insert(0, item);
        return item;
    }

    char letter_ = 0;
    std::string root_;
    std::string startDirectory_;
    std::vector<std::string> made_;
};

const char kFixed[] = "-,Properties...,-,Exit Tamrik";

}  // namespace

TEST_F(QuickExplorerTest, DepthDecidesLeavesAndSubMenus)
{
    Make({"cherry", "Banana", "apple", "deep", "deep\\sub", "deep\\sub\\below", "R&D", "-", ".hidden", "sys",
          "caf\xe9"});
    std::ofstream(root_ + "\\plain.txt") << "not a directory";
    ASSERT_TRUE(SetFileAttributesA((root_ + "\\sys").c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(GetFileAttributesA((root_ + "\\sys").c_str()) & FILE_ATTRIBUTE_SYSTEM);

    EXPECT_EQ(Popup(0), Label() + "," + kFixed);
    // Sorted without regard to case; a "-" directory is drawn as a line.
    const std::string depth1 = Popup(1);
    EXPECT_EQ(depth1, Label() + "[-,apple,Banana,caf\xe9,cherry,deep,R&D]," + kFixed) << depth1;
    const std::string depth2 = Popup(2);
    EXPECT_EQ(depth2, Label() + "[-,apple,Banana,caf\xe9,cherry,deep[sub],R&D]," + kFixed) << depth2;
    const std::string depth3 = Popup(3);
    EXPECT_NE(depth3.find("deep[sub[below]]"), std::string::npos) << depth3;
    DeleteFileA((root_ + "\\plain.txt").c_str());

    ASSERT_NE(Find(root_ + "\\R&D"), nullptr) << "the hint keeps the name as it is";
    ASSERT_NE(Find(root_ + "\\deep\\sub\\below"), nullptr);
    EXPECT_FALSE(Find(root_ + "\\deep")->OnClick.Assigned()) << "an item with a sub-menu is not a leaf";
}

TEST_F(QuickExplorerTest, ALeafOpensItsPathInExplorerOrAPrompt)
{
    Make({"apple", "R&D", "R&D\\in"});
    Form().radExplorer->SetChecked(true);
    Popup(0);
    Find(root_)->Click();
    Popup(1);
    Find(root_ + "\\R&D")->Click();
    Popup(2);
    Find(root_ + "\\R&D\\in")->Click();
    ASSERT_EQ(Seams().programs.size(), 3u);
    EXPECT_EQ(Seams().programs[0].first, "explorer.exe \"" + root_ + "\"");
    EXPECT_EQ(Seams().programs[1].first, "explorer.exe \"" + root_ + "\\R&D\"");
    EXPECT_EQ(Seams().programs[2].first, "explorer.exe \"" + root_ + "\\R&D\\in\"");

    // The prompt starts in the leaf's directory; its tab's starting
    // directory plays no part, so no warning comes from here.
    Seams().programs.clear();
    Form().radMSDOS->SetChecked(true);
    Form().txtMSDOSdir->SetText("c:\\no\\such\\place");
    Find(root_ + "\\R&D\\in")->Click();
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    EXPECT_STRCASEEQ(directory, (root_ + "\\R&D\\in").c_str());
    ASSERT_EQ(Seams().programs.size(), 1u);
    EXPECT_EQ(Seams().programs[0].first, "command.com /K dir /w");
    EXPECT_TRUE(Seams().boxes.empty());
}

TEST_F(QuickExplorerTest, BadDriveTextLeavesOutSmallLettersOnly)
{
    Form().txtBadDrive->SetText(AllLettersBut(letter_) + std::string(1, letter_));
    EXPECT_EQ(Popup(0), kFixed);
    // Capitals leave out nothing: the test drive and the system drive show,
    // the highest letter first.
    Form().txtBadDrive->SetText("ABCDEFGHIJKLMNOPQRSTUVWXYZ,z");
    const std::string all = Popup(0);
    const size_t test = all.find(Label());
    const size_t system = all.find(" (c:)");
    EXPECT_NE(test, std::string::npos) << all;
    EXPECT_NE(system, std::string::npos) << all;
    EXPECT_LT(test, system) << all;
}

// Under Wine a Unix symbolic link to a directory is listed with the
// directory and reparse-point bits (0x410), and opening it with the backup
// flag opens its target. The session's tree holds .cycle\a\back (to .cycle),
// .cycle\a\again (to a itself) and .cycle\a\tob (across to .cycle\b).
TEST_F(QuickExplorerTest, LinksBackUpTheirOwnPathAreLeaves)
{
    const std::string cycle = root_ + "\\.cycle";
    WIN32_FIND_DATAA entry = {};
    const HANDLE search = FindFirstFileA((cycle + "\\a\\back").c_str(), &entry);
    ASSERT_NE(search, INVALID_HANDLE_VALUE) << "the session has no link tree";
    FindClose(search);
    EXPECT_EQ(entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));

    Popup(50);
    TMenuItem* item = OpeningItem("cycle", ".cycle");
    const DWORD start = GetTickCount();
    Open(item->SubMenu(), 0);
    EXPECT_EQ(Tree(item->SubMenu()), "a[again,back,tob[leaf]],b[leaf]");
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_NE(Find(cycle + "\\a\\tob\\leaf"), nullptr);
}

TEST_F(QuickExplorerTest, UnreadableAndOverlongPathsBecomeLeaves)
{
    const std::wstring name(200, L'n');
    const std::wstring top = std::wstring(1, static_cast<wchar_t>(letter_)) + L":\\long";
    made_.push_back("long");
    ASSERT_TRUE(CreateDirectoryW(top.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + top + L"\\" + name).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + top + L"\\" + name + L"\\" + name).c_str(), nullptr));
    const std::string tree = Popup(4);
    // Past the path limit the listing fails quietly and the item is a leaf.
    EXPECT_EQ(tree.find(Label() + "[long[" + std::string(200, 'n') + "[" + std::string(200, 'n') + "]]]"), 0u)
        << tree.substr(0, 80);
    // Gone past the path limit too, which the tree's removal cannot reach.
    RemoveDirectoryW((L"\\\\?\\" + top + L"\\" + name + L"\\" + name).c_str());
    RemoveDirectoryW((L"\\\\?\\" + top + L"\\" + name).c_str());

    TfrmTamrik& f = Form();
    TMenuItem* item = f.popExplorer->Make<TMenuItem>("", "gone");
    item->SetHint(root_ + "\\no such directory");
    f.popExplorer->Insert(0, item);
    FillWholeTree(f, item, 3);
    EXPECT_EQ(item->SubMenu(), nullptr);
    EXPECT_TRUE(item->OnClick.Assigned());
}

// The error mode in force each time the depth field is read, which the
// drives menu does in the middle of its build.
std::vector<UINT> modesAtDepthRead;
WNDPROC depthFieldProc = nullptr;

LRESULT CALLBACK RecordModeOnRead(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETTEXT)
        modesAtDepthRead.push_back(CurrentErrorMode());
    return CallWindowProcA(depthFieldProc, window, message, wParam, lParam);
}

// The build runs with a missing medium failing quietly, its listings
// included; the mode in force before comes back afterwards.
TEST_F(QuickExplorerTest, BuildFailsCriticalErrorsAndRestoresTheModeAfter)
{
    Make({"apple"});
    const HWND field = Form().spnDepth->Handle();
    Form().spnDepth->SetValue(2);
    const UINT previous = CurrentErrorMode();
    modesAtDepthRead.clear();
    depthFieldProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordModeOnRead)));
    for (const UINT mode : {0u, static_cast<UINT>(SEM_NOGPFAULTERRORBOX)}) {
        SetErrorMode(mode);
        TrayReport(Form().trayExplorer, WM_LBUTTONDOWN);
        EXPECT_EQ(CurrentErrorMode(), mode);
    }
    SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(depthFieldProc));
    SetErrorMode(previous);
    ASSERT_FALSE(modesAtDepthRead.empty());
    for (const UINT mode : modesAtDepthRead)
        EXPECT_TRUE(mode & SEM_FAILCRITICALERRORS) << mode;
}

// The session's tree holds .many, with 10,000 directories in it: one long
// sub-menu, sorted as text, whose leaves cost the one handle of that
// sub-menu.
TEST_F(QuickExplorerTest, TenThousandDirectoriesMakeOneLongSubMenuOfOneHandle)
{
    TfrmTamrik& f = Form();
    Popup(50);
    const long items = LiveGuiObjects().menuItems;
    const long menus = LiveGuiObjects().menus;
    TMenuItem* many = OpeningItem("many", ".many");
    // Wine's menus take some ten seconds over 10,000 items on a 2-core
    // machine with nothing else running (10.0 to 10.8 s measured); a filling
    // that grew with the square of the count would take minutes.
    const DWORD start = GetTickCount();
    Open(many->SubMenu(), 0);
    EXPECT_LT(GetTickCount() - start, 20000u);
    ASSERT_EQ(many->Count(), 10000);
    EXPECT_EQ(GetMenuItemCount(many->SubMenu()), 10000);
    EXPECT_EQ(many->Item(0)->Caption(), "0");
    EXPECT_EQ(many->Item(1)->Caption(), "1");
    EXPECT_EQ(many->Item(2)->Caption(), "10");  // sorted as text
    EXPECT_EQ(many->Item(9999)->Caption(), "9999");
    EXPECT_TRUE(many->Item(9999)->OnClick.Assigned());
    EXPECT_EQ(LiveGuiObjects().menus, menus + 1);
    f.popExplorer->Delete(0);
    EXPECT_EQ(LiveGuiObjects().menuItems, items);
}

namespace {

// Every item below items as the user reaches it, each sub-menu opened
// first: caption, hint, whether it is a leaf, and its own items.
std::string Items(TMenuItems* items);

std::string Describe(TMenuItem* item, int position)
{
    std::string text = item->Caption() + "|" + item->Hint() + (item->OnClick.Assigned() ? "|leaf" : "");
    if (!item->SubMenu())
        return text;
    Open(item->SubMenu(), position);
    return text + "[" + Items(item) + "]";
}

std::string Items(TMenuItems* items)
{
    std::string text;
    for (int i = 0; i < items->Count(); ++i)
        text += Describe(items->Item(i), i) + ";";
    return text;
}

}  // namespace

// What each sub-menu shows when it opens is what the whole tree built at
// once shows, item for item, at every depth, in wide names and in ANSI
// ones: links back up, "&", "-", hidden and system directories included.
TEST_F(QuickExplorerTest, SubMenusFilledAsTheyOpenEqualTheWholeTreeBuiltAtOnce)
{
    Make({"cherry", "Banana", "apple", "deep", "deep\\sub", "deep\\sub\\below", "deep\\sub\\below\\end", "R&D",
          "R&D\\in", "-", "-\\x", ".hidden", ".hidden\\in", "sys", "sys\\in", "caf\xe9", "caf\xe9\\au lait"});
    ASSERT_TRUE(SetFileAttributesA((root_ + "\\sys").c_str(), FILE_ATTRIBUTE_SYSTEM));
    TfrmTamrik& f = Form();
    for (const bool wide : {true, false}) {
        f.WideNames = wide;
        for (const int depth : {0, 1, 2, 3, 4, 50}) {
            SCOPED_TRACE(std::string(wide ? "wide" : "ANSI") + " names, depth " + std::to_string(depth));
            Popup(depth);
            TMenuItem* drive = Find(root_);
            ASSERT_NE(drive, nullptr);
            const std::string opened = Describe(drive, 0);
            EXPECT_EQ(opened.find("R&D") != std::string::npos, depth > 0) << opened;
            TMenuItem* whole = f.popExplorer->Make<TMenuItem>("", drive->Caption());
            whole->SetHint(root_);
            f.popExplorer->Insert(0, whole);
            FillWholeTree(f, whole, depth);
            EXPECT_EQ(opened, Describe(whole, 0));
        }
        // A link that leads back up is a leaf; one that leads across opens.
        Popup(50);
        TMenuItem* cycle = OpeningItem("cycle", ".cycle");
        Open(cycle->SubMenu(), 0);
        EXPECT_EQ(Tree(cycle->SubMenu()), "a[again,back,tob[leaf]],b[leaf]");
    }
}

// The menu handles alive follow what the user has opened, not the depth:
// before anything opens only the drive has a sub-menu, each opened level
// adds a handle for each of its entries that opens further, and once the
// menu has closed, after the chosen item has run, only the drive's is left.
TEST_F(QuickExplorerTest, MenuHandlesFollowWhatIsOpenedAndGoWhenTheMenuCloses)
{
    Make({"a", "a\\b", "a\\b\\c", "a\\b\\c\\d", "a\\b\\c\\d\\e", "a\\b\\c\\d\\e\\f", "a\\b2", "a\\b2\\x",
          "a\\b3"});
    TfrmTamrik& f = Form();
    const long menus = LiveGuiObjects().menus;
    const long items = LiveGuiObjects().menuItems;
    Seams().onTrack = [&](const MenuTrack& track) {
        EXPECT_EQ(LiveGuiObjects().menus, menus + 1) << "the drive alone";
        TMenuItem* drive = Find(root_);
        Open(drive->SubMenu(), 0);
        EXPECT_EQ(LiveGuiObjects().menus, menus + 2) << "and a";
        TMenuItem* a = drive->Item(0);
        Open(a->SubMenu(), 0);
        EXPECT_EQ(LiveGuiObjects().menus, menus + 4) << "and b, b2; b3 is a leaf";
        EXPECT_EQ(Tree(a->SubMenu()), "b[c[d[e[f]]]],b2[x],b3");
        Choose(track, Find(root_ + "\\a\\b2\\x"));
    };
    f.radExplorer->SetChecked(true);
    f.spnDepth->SetValue(50);
    TrayReport(f.trayExplorer, WM_LBUTTONDOWN);  // read back no further than the user went
    TrayReport(f.trayExplorer, WM_LBUTTONUP);
    ASSERT_TRUE(PumpUntil([] { return !Seams().programs.empty(); }));
    EXPECT_EQ(Seams().programs[0].first, "explorer.exe \"" + root_ + "\\a\\b2\\x\"");
    ASSERT_TRUE(PumpUntil([&] { return LiveGuiObjects().menus == menus + 1; }));
    EXPECT_EQ(LiveGuiObjects().menuItems, items + 2) << "the drive and the separator";
}

// Names the user's code page lacks are listed, shown and opened as they
// are: in the explorer by its command line, in the prompt by the directory
// it starts in.
TEST_F(QuickExplorerTest, NamesInAnyScriptShowAndOpenThemselves)
{
    TfrmTamrik& f = Form();
    ASSERT_TRUE(f.WideNames) << "Wine has the wide functions";
    const WideString drive = {static_cast<wchar_t>(letter_), L':'};
    const WideString names[] = {L"\u041f\u0440\u0438\u0432\u0435\u0442", L"\u6570\u636e"};  // Привет, 数据
    // Removed before the ANSI half below, or on the way out when an
    // assertion ends the test first.
    struct Made {
        std::vector<WideString> paths;
        void Remove()
        {
            for (const WideString& path : paths)
                RemoveDirectoryW(path.c_str());
            paths.clear();
        }
        ~Made() { Remove(); }
    } made;
    for (const WideString& name : names) {
        made.paths.push_back(drive + L"\\" + name);
        ASSERT_TRUE(CreateDirectoryW(made.paths.back().c_str(), nullptr));
    }
    Popup(1);
    TMenuItem* driveItem = Find(root_);
    Open(driveItem->SubMenu(), 0);
    ASSERT_EQ(driveItem->Count(), 2) << Items(driveItem);
    for (int i = 0; i < 2; ++i) {
        wchar_t caption[64] = {};
        GetMenuStringW(driveItem->SubMenu(), static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
        const WideString& name = names[i];  // Cyrillic sorts before CJK
        EXPECT_EQ(WideString(caption), name);
        TMenuItem* item = driveItem->Item(i);
        EXPECT_EQ(item->WideHint(), drive + L"\\" + name);

        f.radExplorer->SetChecked(true);
        Seams().widePrograms.clear();
        item->Click();
        ASSERT_EQ(Seams().widePrograms.size(), 1u);
        EXPECT_EQ(Seams().widePrograms[0], L"explorer.exe \"" + drive + L"\\" + name + L"\"");

        f.radMSDOS->SetChecked(true);
        Seams().programs.clear();
        item->Click();
        wchar_t directory[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, directory);
        EXPECT_EQ(WideString(directory), drive + L"\\" + name);
        ASSERT_EQ(Seams().programs.size(), 1u);
        EXPECT_EQ(Seams().programs[0].first, "command.com /K dir /w");
    }
    SetCurrentDirectoryA(startDirectory_.c_str());
    made.Remove();

    // Where the system has no wide functions the ANSI names stay: the code
    // page's stand-ins, as today.
    f.WideNames = false;
    Make({"plain"});
    EXPECT_EQ(Popup(1), Label() + "[plain]," + kFixed);
    EXPECT_TRUE(Find(root_ + "\\plain")->WideHint().empty());
}

namespace {

// A drive whose label read waits until let go, as a network drive whose
// server is away holds it up; every other drive answers as it does.
HANDLE letGo = nullptr;
char stuckRoot[4] = {};

BOOL WINAPI HeldLabel(LPCSTR root, LPSTR name, DWORD size, LPDWORD serial, LPDWORD length, LPDWORD flags,
                      LPSTR fileSystem, DWORD fileSystemSize)
{
    if (lstrcmpiA(root, stuckRoot) == 0)
        WaitForSingleObject(letGo, INFINITE);
    return GetVolumeInformationA(root, name, size, serial, length, flags, fileSystem, fileSystemSize);
}

int ThreadsOfThisProcess()
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

}  // namespace

// A drive that does not answer in time shows without its label and with an
// item that says so, and the menu opens at once all the same; its one read
// goes on alone, however often the menu opens, and once it has answered
// the drive shows as ever.
TEST_F(QuickExplorerTest, ADriveThatDoesNotAnswerHoldsUpNothing)
{
    Make({"apple"});
    letGo = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const char root[] = {letter_, ':', '\\', '\0'};
    lstrcpyA(stuckRoot, root);
    Platform().getVolumeInformation = HeldLabel;
    TfrmTamrik& f = Form();
    // The system drive answers beside it.
    f.txtBadDrive->SetText("abdefghijklmnopqrsuvwxyz");
    DWORD start = GetTickCount();
    std::string tree = Popup(1);
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_EQ(tree.find("(" + root_ + ")[Not answering],"), 0u) << tree;
    EXPECT_NE(tree.find(" (c:)["), std::string::npos) << tree;
    f.radExplorer->SetChecked(true);
    Find(root_)->Item(0)->Click();
    ASSERT_EQ(Seams().programs.size(), 1u);
    EXPECT_EQ(Seams().programs[0].first, "explorer.exe \"" + root_ + "\"");

    const int threads = ThreadsOfThisProcess();
    for (int i = 0; i < 20; ++i) {
        start = GetTickCount();
        EXPECT_EQ(Popup(0).find("(" + root_ + ")[Not answering],"), 0u);
        EXPECT_LT(GetTickCount() - start, 2000u);
    }
    EXPECT_EQ(ThreadsOfThisProcess(), threads) << "one read of the drive at a time";

    SetEvent(letGo);
    ASSERT_TRUE(PumpUntil([&] { return Popup(1).find(Label() + "[apple],") == 0; }));
    EXPECT_TRUE(PumpUntil([&] { return ThreadsOfThisProcess() < threads; })) << "the held read has ended";
    CloseHandle(letGo);
}

namespace {

// A directory whose listing waits until let go, as one on a server that has
// gone away; every other directory lists as it does.
WideString heldPattern;
HANDLE heldUntil = nullptr;
HANDLE(WINAPI* listFirst)(LPCWSTR, LPWIN32_FIND_DATAW) = nullptr;

HANDLE WINAPI HeldListing(LPCWSTR pattern, LPWIN32_FIND_DATAW entry)
{
    if (lstrcmpiW(pattern, heldPattern.c_str()) == 0)
        WaitForSingleObject(heldUntil, INFINITE);
    return listFirst(pattern, entry);
}

}  // namespace

// A sub-menu whose listing does not answer in time shows an item that says
// so and opens its directory; the drive's other sub-menus wait for that one
// read to end, not for a read each, and the other drives open as ever.
TEST_F(QuickExplorerTest, ASubMenuThatDoesNotAnswerHoldsUpNothing)
{
    Make({"slow", "slow\\in", "quick", "quick\\in"});
    TfrmTamrik& f = Form();
    ASSERT_TRUE(f.WideNames);
    heldPattern = WideString(1, static_cast<wchar_t>(letter_)) + L":\\slow\\*.*";
    heldUntil = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    listFirst = Wide().findFirstFile;
    struct Restore {
        ~Restore()
        {
            SetEvent(heldUntil);
            Wide().findFirstFile = listFirst;
        }
    } restore;
    std::string badDrives = AllLettersBut(letter_);
    badDrives.erase(badDrives.find('c'), 1);  // the system drive shows too
    f.txtBadDrive->SetText(badDrives);
    Popup(2);
    // The drive's sub-menu is read before the hold: quick, then slow.
    TMenuItem* drive = Find(root_);
    ASSERT_NE(drive, nullptr);
    Open(drive->SubMenu(), 0);
    ASSERT_EQ(Tree(drive->SubMenu()), "quick[in],slow[in]");
    TMenuItem* quick = drive->Item(0);
    TMenuItem* slow = drive->Item(1);
    Wide().findFirstFile = HeldListing;
    DWORD start = GetTickCount();
    Open(slow->SubMenu(), 1);
    EXPECT_LT(GetTickCount() - start, 2000u);
    ASSERT_EQ(Tree(slow->SubMenu()), "Not answering");
    f.radMSDOS->SetChecked(true);
    slow->Item(0)->Click();
    wchar_t directory[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, directory);
    EXPECT_EQ(WideString(directory), WideString(1, static_cast<wchar_t>(letter_)) + L":\\slow");

    const int threads = ThreadsOfThisProcess();
    for (int i = 0; i < 20; ++i) {
        start = GetTickCount();
        Open(slow->SubMenu(), 1);
        EXPECT_EQ(Tree(slow->SubMenu()), "Not answering");
        Open(quick->SubMenu(), 0);
        EXPECT_EQ(Tree(quick->SubMenu()), "Not answering") << "one read of the drive at a time";
        EXPECT_LT(GetTickCount() - start, 2000u);
    }
    EXPECT_EQ(ThreadsOfThisProcess(), threads);

    SetEvent(heldUntil);
    // The menu is still up: its close, queued, is not let through.
    std::string opened;
    for (const DWORD letGo = GetTickCount(); opened != "in" && GetTickCount() - letGo < 5000; Sleep(10)) {
        Open(slow->SubMenu(), 1);
        opened = Tree(slow->SubMenu());
    }
    EXPECT_EQ(opened, "in");
    // Meanwhile the other drives opened as ever.
    const std::string tree = Popup(1);
    EXPECT_NE(tree.find(" (c:)["), std::string::npos) << tree;
    CloseHandle(heldUntil);
}

// A thousand popups, each with every sub-menu opened as deep as it goes,
// leave the menus, menu items, threads and handles where they were, and the
// memory within a quarter megabyte.
TEST_F(QuickExplorerTest, AThousandPopupsWithSubMenusOpenedLeaveNothingBehind)
{
    Make({"a", "a\\b", "a\\b\\c", "a\\b2", "R&D", "R&D\\x", "-", "plain"});
    const auto round = [&] {
        EXPECT_EQ(Popup(3), Label() + "[-,a[b[c],b2],plain,R&D[x]]," + kFixed);
        Application->ProcessMessages();  // the menu's close, which lets the sub-menus go
    };
    for (int i = 0; i < 50; ++i)
        round();  // the heap and Wine's caches settle first
    const GuiObjectCounts objects = LiveGuiObjects();
    const int threads = ThreadsOfThisProcess();
    DWORD handles = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &handles));
    const SIZE_T memory = PrivateBytes();
    ASSERT_GT(memory, 0u);
    for (int i = 0; i < 1000 && !HasFailure(); ++i)
        round();
    EXPECT_EQ(LiveGuiObjects().menus, objects.menus);
    EXPECT_EQ(LiveGuiObjects().menuItems, objects.menuItems);
    EXPECT_TRUE(PumpUntil([&] { return ThreadsOfThisProcess() <= threads; })) << "the reads' threads have ended";
    DWORD handlesAfter = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &handlesAfter));
    EXPECT_LE(handlesAfter, handles);
    const SIZE_T grown = PrivateBytes() > memory ? PrivateBytes() - memory : 0;
    EXPECT_LT(grown, 256u * 1024) << "private memory grew by " << grown << " bytes";
}
