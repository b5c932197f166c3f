// Stands in for the programs the launchers start: appends the directory it
// was started in and its whole command line to C:\e2e\launched.log, as one
// line "directory|command line", and ends.
#include <windows.h>

#include <string>

int main()
{
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    const std::string line = std::string(directory) + "|" + GetCommandLineA() + "\r\n";
    const HANDLE log = CreateFileA("C:\\e2e\\launched.log", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
    return 0;
}
