// How long the drives menu takes to pop up, with its sub-menus filled as they
// open, beside the whole tree built at once and a bare depth-first walk of
// the directories that build lists, at depths 1, 3 and 50 over trees of
// some 5,000 and 100,000 directories made on the drive named on the command
// line.
//   drives_bench.exe LETTER [RUNS]
// Prints the medians side by side.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "framework/Platform.h"
#include "tests/win/WholeTree.h"

namespace {

// Two trees: 10 + 10 * 10 + 10 * 10 * 49 = 5,010 directories, three
// levels deep; and 10 * 10 * 10 * 100 + 1,110 = 101,110, four levels deep.
struct Tree {
    const char* name;
    std::vector<int> widths;
};
const Tree kTrees[] = {{"5k", {10, 10, 49}}, {"100k", {10, 10, 10, 100}}};

void MakeTree(const std::string& path, const std::vector<int>& widths, size_t level)
{
    if (level == widths.size())
        return;
    for (int i = 0; i < widths[level]; ++i) {
        const std::string child = path + "\\d" + std::to_string(i);
        CreateDirectoryA(child.c_str(), nullptr);
        MakeTree(child, widths, level + 1);
    }
}

bool FirstSubdirectory(const std::string& path)
{
    WIN32_FIND_DATAA entry = {};
    const HANDLE search = FindFirstFileA((path + "\\*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool found = false;
    do {
        const std::string name = entry.cFileName;
        found = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) &&
                name != "." && name != "..";
    } while (!found && FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

// Lists every directory down to depth - 1 levels below path, as the menu
// does, and nothing more. Hidden ones are passed over as the menu passes
// them over: the test session's drive holds a hidden tree of its own.
int Walk(const std::string& path, int depth)
{
    if (depth == 0)
        return 0;
    int found = 0;
    WIN32_FIND_DATAA entry = {};
    const HANDLE search = FindFirstFileA((path + "\\*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        const std::string name = entry.cFileName;
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) ||
            name == "." || name == "..")
            continue;
        found += 1 + Walk(path + "\\" + name, depth - 1);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

// Lists path's entries as the menu must to show them: each visible
// sub-directory, and within each of those up to its own first visible
// sub-directory, which tells a sub-menu from a leaf.
void ListAsShown(const std::string& path)
{
    WIN32_FIND_DATAA entry = {};
    const HANDLE search = FindFirstFileA((path + "\\*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) &&
            name != "." && name != "..")
            FirstSubdirectory(path + "\\" + name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

double Milliseconds(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename F>
double Time(F&& work)
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return Milliseconds(start, end);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

BOOL WINAPI NoIcon(DWORD, PNOTIFYICONDATAA) { return TRUE; }

TMenuItem* ItemFor(TMenuItems* items, const std::string& hint)
{
    for (int i = 0; i < items->Count(); ++i)
        if (items->Item(i)->Hint() == hint)
            return items->Item(i);
    return nullptr;
}

// Opens the sub-menus of the tree's root and of the first directory on each
// of the two levels below it, as a user going three levels down does, the
// drive's own sub-menu open already; false if one is missing.
bool OpenThreeDown(const std::string& drive, const std::string& root)
{
    TMenuItems* items = ItemFor(frmTamrik->popExplorer, drive);
    for (const std::string& hint : {root, root + "\\d0", root + "\\d0\\d0"}) {
        TMenuItem* item = items ? ItemFor(items, hint) : nullptr;
        if (!item)
            return false;
        frmTamrik->popExplorerItemPopup(item);
        items = item;
    }
    return true;
}

}  // namespace

// What a user waits for, each way: the popup (drives and labels, the
// drive's sub-menu made ready) with sub-menus filled as they open; the same
// with the whole tree built at once, as the menu once did; and a bare walk
// of the directories that whole build lists. Then, at depth 50, three
// sub-menus opened one below the other against a bare listing of their
// three directories: their entries alone, and with each entry's own
// listing up to its first sub-directory, as the menu must read them.
int main(int argc, char** argv)
{
    if (argc < 2 || !argv[1][0]) {
        std::fprintf(stderr, "usage: drives_bench LETTER [RUNS]\n");
        return 2;
    }
    const char letter = static_cast<char>(argv[1][0] | 0x20);
    const int runs = argc > 2 ? std::max(3, std::atoi(argv[2])) : 5;
    Platform().shellNotifyIcon = NoIcon;  // the tray plays no part here
    TApplication application;
    application.Initialize();
    application.SetTitle("Tamrik");
    application.CreateForm(frmTamrik);
    std::string badDrives;
    for (char c = 'a'; c <= 'z'; ++c)
        if (c != letter)
            badDrives += c;
    frmTamrik->txtBadDrive->SetText(badDrives);

    double walk = 0, menu = 0;
    std::vector<std::string> threeDown;
    std::printf("%-5s %5s %12s %14s %12s %12s\n", "tree", "depth", "directories", "filled-on-open", "whole build",
                "bare walk");
    for (const Tree& tree : kTrees) {
        const std::string root = std::string(1, letter) + ":\\" + tree.name;
        CreateDirectoryA(root.c_str(), nullptr);
        MakeTree(root, tree.widths, 0);
        for (const int depth : {1, 3, 50}) {
            frmTamrik->spnDepth->SetValue(depth);
            std::vector<double> walks, opened, whole;
            int found = 0;
            for (int run = 0; run < runs; ++run) {
                walks.push_back(Time([&] { found = Walk(root, depth); }));
                opened.push_back(Time([&] { frmTamrik->popExplorerPopup(nullptr); }));
                TMenuItem* item = frmTamrik->popExplorer->Make<TMenuItem>("", "whole");
                item->SetHint(root);
                frmTamrik->popExplorer->Insert(0, item);
                whole.push_back(Time([&] { FillWholeTree(*frmTamrik, item, depth); }));
                frmTamrik->popExplorer->Delete(0);
            }
            std::printf("%-5s %5d %12d %11.1f ms %9.1f ms %9.1f ms\n", tree.name, depth, found, Median(opened),
                        Median(whole), Median(walks));
            if (depth == 50) {
                const std::string drive = {letter, ':'};
                std::vector<double> opening, listing, shown;
                for (int run = 0; run < runs; ++run) {
                    frmTamrik->popExplorerPopup(nullptr);
                    frmTamrik->popExplorerItemPopup(ItemFor(frmTamrik->popExplorer, drive));
                    bool opened = false;
                    opening.push_back(Time([&] { opened = OpenThreeDown(drive, root); }));
                    if (!opened) {
                        std::fprintf(stderr, "the sub-menus of %s did not open\n", root.c_str());
                        return 1;
                    }
                    const std::string three[] = {root, root + "\\d0", root + "\\d0\\d0"};
                    listing.push_back(Time([&] {
                        for (const std::string& path : three)
                            Walk(path, 1);
                    }));
                    shown.push_back(Time([&] {
                        for (const std::string& path : three)
                            ListAsShown(path);
                    }));
                }
                char line[160];
                std::snprintf(line, sizeof line, "%-5s %19.1f ms %19.1f ms %19.1f ms", tree.name, Median(opening),
                              Median(listing), Median(shown));
                threeDown.push_back(line);
            }
            if (&tree == kTrees && depth == 3) {
                walk = Median(walks);
                menu = Median(opened);
            }
        }
    }
    std::printf("\n%-5s %22s %22s %22s\n", "tree", "three sub-menus opened", "bare listing of them",
                "and of each entry");
    for (const std::string& line : threeDown)
        std::printf("%s\n", line.c_str());
    // The figures scripts/bench.sh reads: the 5k tree, three levels deep.
    std::printf("bare FindFirstFileA walk: %.1f ms (median of %d)\n", walk, runs);
    std::printf("drives menu build:        %.1f ms (median of %d)\n", menu, runs);
    return 0;
}
