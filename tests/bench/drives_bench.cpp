// How long the drives menu takes to build, beside a bare depth-first walk of
// the same directories with FindFirstFileA, in one run: a tree of some 5,000
// directories on the drive named on the command line, three levels deep.
//   drives_bench.exe LETTER [RUNS]
// Prints both medians and their ratio.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "framework/Platform.h"

namespace {

constexpr int kDepth = 3;
// 10 + 10 * 10 + 10 * 10 * 49 = 5,010 directories.
constexpr int kWidths[kDepth] = {10, 10, 49};

void MakeTree(const std::string& path, int level)
{
    if (level == kDepth)
        return;
    for (int i = 0; i < kWidths[level]; ++i) {
        const std::string child = path + "\\d" + std::to_string(level) + "_" + std::to_string(i);
        CreateDirectoryA(child.c_str(), nullptr);
        MakeTree(child, level + 1);
    }
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

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || !argv[1][0]) {
        std::fprintf(stderr, "usage: drives_bench LETTER [RUNS]\n");
        return 2;
    }
    const char letter = static_cast<char>(argv[1][0] | 0x20);
    const int runs = argc > 2 ? std::max(5, std::atoi(argv[2])) : 7;
    const std::string root = std::string(1, letter) + ":";
    MakeTree(root, 0);

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
    frmTamrik->spnDepth->SetValue(kDepth);

    int found = 0;
    std::vector<double> walks, menus;
    for (int run = 0; run < runs; ++run) {
        walks.push_back(Time([&] { found = Walk(root, kDepth); }));
        menus.push_back(Time([&] { frmTamrik->popExplorerPopup(nullptr); }));
    }
    const double walk = Median(walks);
    const double menu = Median(menus);
    std::printf("directories within depth %d: %d\n", kDepth, found);
    std::printf("bare FindFirstFileA walk: %.1f ms (median of %d)\n", walk, runs);
    std::printf("drives menu build:        %.1f ms (median of %d)\n", menu, runs);
    std::printf("ratio:                    %.2f (goal: at most 1.50)\n", menu / walk);
    return 0;
}
