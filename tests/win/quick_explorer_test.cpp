// The drives menu over the session's own test drive: a tree made for each
// test, the other drives left out through the bad-drive text, and what the
// menu shows read back from the menu handles themselves.
#include "TestSupport.h"
#include "framework/GuiObjects.h"

namespace {

// A menu as the user sees it, sub-menus in brackets:
// "mylabel (t:)[apple,deep[sub]]".
std::string Tree(HMENU menu);

std::string Entry(HMENU menu, int position)
{
    HMENU subMenu = nullptr;
    const std::string caption = ShownItem(menu, position, &subMenu);
    return subMenu ? caption + "[" + Tree(subMenu) + "]" : caption;
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
    // The item of the drives menu whose hint is path.
    TMenuItem* Find(const std::string& path) const
    {
        std::function<TMenuItem*(TMenuItems*)> search = [&](TMenuItems* items) -> TMenuItem* {
            for (int i = 0; i < items->Count(); ++i) {
                TMenuItem* item = items->Item(i);
                if (item->Hint() == path)
                    return item;
                if (TMenuItem* found = search(item))
                    return found;
            }
            return nullptr;
        };
        return search(Form().popExplorer);
    }
    std::string Label() const { return "mylabel (" + root_ + ")"; }

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

    TfrmTamrik& f = Form();
    TMenuItem* item = f.popExplorer->Make<TMenuItem>("", "cycle");
    item->SetHint(cycle);
    f.popExplorer->Insert(0, item);
    const DWORD start = GetTickCount();
    f.FillDirectoryMenu(item, 50);
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_EQ(Tree(item->SubMenu()), "a[again,back,tob[leaf]],b[leaf]");
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

    TfrmTamrik& f = Form();
    TMenuItem* item = f.popExplorer->Make<TMenuItem>("", "gone");
    item->SetHint(root_ + "\\no such directory");
    f.popExplorer->Insert(0, item);
    f.FillDirectoryMenu(item, 3);
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

// The session's tree holds .many, with 10,000 directories in it.
TEST_F(QuickExplorerTest, TenThousandDirectoriesMakeOneLongSubMenu)
{
    TfrmTamrik& f = Form();
    const long items = LiveGuiObjects().menuItems;
    TMenuItem* many = f.popExplorer->Make<TMenuItem>("", "many");
    many->SetHint(root_ + "\\.many");
    f.popExplorer->Insert(0, many);
    const DWORD start = GetTickCount();
    f.FillDirectoryMenu(many, 1);
    EXPECT_LT(GetTickCount() - start, 10000u);
    ASSERT_EQ(many->Count(), 10000);
    EXPECT_EQ(GetMenuItemCount(many->SubMenu()), 10000);
    EXPECT_EQ(many->Item(0)->Caption(), "0");
    EXPECT_EQ(many->Item(1)->Caption(), "1");
    EXPECT_EQ(many->Item(2)->Caption(), "10");  // sorted as text
    EXPECT_EQ(many->Item(9999)->Caption(), "9999");
    f.popExplorer->Delete(0);
    EXPECT_EQ(LiveGuiObjects().menuItems, items);
}
