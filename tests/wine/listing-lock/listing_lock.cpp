// Shows that under Wine one directory listing that never returns holds up
// every other listing of the same process, on any drive, and the start of
// programs from it: Wine reads directories under one lock for the whole
// process. On Windows each listing waits for its own drive alone. The
// drives menu reads each drive on a thread of its own, which keeps the
// tray answering either way, but under Wine its other drives wait too; so
// no end-to-end test can show a hung drive beside working ones.
//   listing_lock.exe GOOD BAD
// GOOD and BAD are drive letters; the program waits for c:\go, then lists
// GOOD, BAD and GOOD again and starts a program, and prints how each ended.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

DWORD WINAPI List(void* pattern)
{
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(static_cast<const wchar_t*>(pattern), &entry);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return 0;
}

DWORD WINAPI Start(void*)
{
    char commandLine[] = "c:\\windows\\system32\\hostname.exe";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return 0;
}

// Whether the call ended within the time; one that did not is left behind.
bool EndsWithin(LPTHREAD_START_ROUTINE call, const wchar_t* pattern, DWORD milliseconds)
{
    const HANDLE thread = CreateThread(nullptr, 0, call, const_cast<wchar_t*>(pattern), 0, nullptr);
    return thread && WaitForSingleObject(thread, milliseconds) == WAIT_OBJECT_0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    const std::wstring good = {static_cast<wchar_t>(argv[1][0]), L':', L'\\', L'*'};
    const std::wstring bad = {static_cast<wchar_t>(argv[2][0]), L':', L'\\', L'*'};
    std::printf("ready\n");
    std::fflush(stdout);
    while (GetFileAttributesA("c:\\go") == INVALID_FILE_ATTRIBUTES)
        Sleep(20);
    // What answers is given ten seconds; what hangs shows it in one.
    const bool goodFirst = EndsWithin(List, good.c_str(), 10000);
    const bool badListed = EndsWithin(List, bad.c_str(), 1000);
    const bool goodAfter = EndsWithin(List, good.c_str(), 1000);
    const bool started = EndsWithin(Start, nullptr, 1000);
    std::printf("good drive listed first: %s\n", goodFirst ? "yes" : "no");
    std::printf("hung drive listed: %s\n", badListed ? "yes" : "no");
    std::printf("good drive listed after: %s\n", goodAfter ? "yes" : "no");
    std::printf("program started after: %s\n", started ? "yes" : "no");
    std::fflush(stdout);
    ExitProcess(0);
}
