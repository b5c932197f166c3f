// The test program's entry. Under Wine the tests run in a child process for
// which the X11 driver manages no window: the test display has no window
// manager, and Wine waits two seconds for one every time a managed window is
// hidden. The driver reads the setting when a process starts.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

const char kAppKey[] = "Software\\Wine\\AppDefaults\\win_tests.exe";
const char kDriverKey[] = "Software\\Wine\\AppDefaults\\win_tests.exe\\X11 Driver";

DWORD RunUnmanaged()
{
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, kDriverKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    RegCloseKey(key);
    SetEnvironmentVariableA("TAMRIK_TEST_CHILD", "1");
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child = {};
    DWORD status = 1;
    if (CreateProcessA(nullptr, GetCommandLineA(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child)) {
        WaitForSingleObject(child.hProcess, INFINITE);
        GetExitCodeProcess(child.hProcess, &status);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, kDriverKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, kAppKey);
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool underWine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    if (underWine && !GetEnvironmentVariableA("TAMRIK_TEST_CHILD", nullptr, 0))
        return static_cast<int>(RunUnmanaged());
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
