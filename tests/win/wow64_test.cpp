// What a 32-bit program sees of 64-bit Windows (WOW64), pinned as Wine
// shows it, so that code built on it can rely on it: the win32 run of these
// tests is the shipped 32-bit build's view, the win64 run the native one.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace {

constexpr bool kThirtyTwoBit = sizeof(void*) == 4;

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool IsWow64()
{
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

// The names in a directory, in small letters.
std::set<std::string> Listing(const std::string& directory)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE find = FindFirstFileA((directory + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.insert(Lower(entry.cFileName));
    while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

bool IsDirectory(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Directories the real system directory has and the 32-bit one lacks.
const char* const kNativeOnly[] = {"drivers", "tasks", "spool", "catroot"};

}  // namespace

TEST(Wow64, ThirtyTwoBitBuildRunsUnderWow64AndSixtyFourBitNatively)
{
    EXPECT_EQ(IsWow64(), kThirtyTwoBit) << "the prefix is 64-bit: a 32-bit program runs under WOW64 there";
    char directory[MAX_PATH] = {};
    ASSERT_NE(GetSystemWow64DirectoryA(directory, MAX_PATH), 0u);
    EXPECT_EQ(Lower(directory), "c:\\windows\\syswow64");
}

// A 32-bit program that lists system32 gets syswow64's entries: the
// redirection is by path, whatever name the program uses for it.
TEST(Wow64, System32IsRedirectedForA32BitProgramAndSysnativeIsTheRealOne)
{
    const std::set<std::string> system32 = Listing("C:\\windows\\system32");
    ASSERT_TRUE(system32.count("kernel32.dll"));
    for (const char* name : kNativeOnly)
        EXPECT_EQ(system32.count(name) == 0, kThirtyTwoBit) << name;
    if (!kThirtyTwoBit) {
        EXPECT_FALSE(IsDirectory("C:\\windows\\sysnative")) << "only 32-bit programs see Sysnative";
        return;
    }
    EXPECT_EQ(system32, Listing("C:\\windows\\syswow64"));
    const std::set<std::string> sysnative = Listing("C:\\windows\\sysnative");
    for (const char* name : kNativeOnly)
        EXPECT_TRUE(sysnative.count(name)) << name;

    // Turned off, for this thread, the listing is the real directory's;
    // turned on again, it is syswow64's.
    PVOID old = nullptr;
    ASSERT_TRUE(Wow64DisableWow64FsRedirection(&old));
    const std::set<std::string> native = Listing("C:\\windows\\system32");
    ASSERT_TRUE(Wow64RevertWow64FsRedirection(old));
    EXPECT_EQ(native, sysnative);
    EXPECT_EQ(Listing("C:\\windows\\system32"), system32);
}

namespace {

// What the interpreter a WinExec started says of itself.
std::string ArchitectureSeenBy(const std::string& interpreter)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string report = std::string(temp) + "tamrik-wow64-cmd.txt";
    DeleteFileA(report.c_str());
    const std::string command =
        interpreter + " /c echo %PROCESSOR_ARCHITECTURE% %PROCESSOR_ARCHITEW6432%>\"" + report + "\"";
    if (WinExec(command.c_str(), SW_HIDE) <= 31)
        return "not started";
    std::string text;
    for (const DWORD deadline = GetTickCount() + 30000; GetTickCount() < deadline; Sleep(50)) {
        std::ifstream in(report, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (text.find('\n') != std::string::npos)
            break;
    }
    DeleteFileA(report.c_str());
    return text;
}

}  // namespace

// WinExec("cmd.exe ...") finds cmd.exe in the caller's own system
// directory: a 32-bit program starts the 32-bit interpreter, which sees
// itself as a 32-bit program on 64-bit Windows. Through Sysnative, a
// 32-bit program starts the 64-bit one.
TEST(Wow64, WinExecOfCmdStartsTheInterpreterOfTheCallersBitnessAndSysnativeTheNativeOne)
{
    const std::string native = "AMD64 %PROCESSOR_ARCHITEW6432%\r\n";
    EXPECT_EQ(ArchitectureSeenBy("cmd.exe"), kThirtyTwoBit ? "x86 AMD64\r\n" : native);
    if (kThirtyTwoBit) {
        EXPECT_EQ(ArchitectureSeenBy("C:\\windows\\sysnative\\cmd.exe"), native);
    }
}
