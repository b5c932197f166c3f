// Stands in for the programs the launchers start: appends the directory it
// was started in and its whole command line to C:\e2e\launched.log, as one
// line "directory|command line" in UTF-8, and ends. Both are read as
// Unicode, so that a name outside the code page is recorded as it is.
#include <windows.h>

#include <string>

int main()
{
    wchar_t directory[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, directory);
    const std::wstring wide = std::wstring(directory) + L"|" + GetCommandLineW() + L"\r\n";
    std::string line(wide.size() * 3, '\0');
    line.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                                        &line[0], static_cast<int>(line.size()), nullptr, nullptr)));
    // Two starts in quick succession may run at once: the log is opened for
    // one writer at a time, so that no line overwrites another.
    HANDLE log = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 1000 && log == INVALID_HANDLE_VALUE; ++attempt) {
        log = CreateFileA("C:\\e2e\\launched.log", GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (log == INVALID_HANDLE_VALUE)
            Sleep(10);
    }
    SetFilePointer(log, 0, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
    return 0;
}
