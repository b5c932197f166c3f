// Start-up, the command line and the main window's lifecycle.
#include "Unit1.h"

#include "Launch.h"
#include "LaunchText.h"
#include "Switches.h"
#include "framework/Platform.h"

namespace {

std::string CurrentDirectoryWithBackslash()
{
    std::string directory(MAX_PATH, '\0');
    DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(directory.size()), &directory[0]);
    if (length >= directory.size()) {  // a deep directory: the call said how much room it needs
        directory.resize(length);
        length = GetCurrentDirectoryA(length, &directory[0]);
    }
    directory.resize(length < directory.size() ? length : 0);
    // A drive's root such as C:\ has its backslash already.
    if (directory.empty() || directory.back() != '\\')
        directory += '\\';
    return directory;
}

// The directory Tamrik.exe lies in, ending in a backslash.
std::string ModuleDirectory()
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            return "";
        if (length < path.size()) {  // a name cut short fills the buffer
            path.resize(length);
            return DirectoryOf(path);
        }
        path.resize(path.size() * 2);
    }
}

// The words of the command line after the program's own path.
std::vector<std::string> Arguments()
{
    std::vector<std::string> words = SplitCommandLine(Platform().getCommandLine());
    if (!words.empty())
        words.erase(words.begin());
    return words;
}

}  // namespace

void TfrmTamrik::FormCreate(TComponent*)
{
    Loading = true;
    MinPressed = RestorePressed = ClosePressed = ShutdownPressed = kPressedUp;
    IncludeProgman = false;
    ProgramDirectory = CurrentDirectoryWithBackslash();
    ExeDirectory = ModuleDirectory();
    LoadSettings();
    ShowWindow(Application->Handle(), SW_HIDE);
    if (Arguments().empty())
        RefreshTrayButtons();
    Loading = false;
}

void TfrmTamrik::FormActivate(TComponent*)
{
    if (!FirstActivation || chkShowOnStartup->Checked()) {
        ShowWindow(Handle(), SW_SHOW);
        return;
    }
    // The startup pass. The flag goes first, so an activation nested in a
    // sweep below never starts a second pass.
    ShowWindow(Handle(), SW_HIDE);
    FirstActivation = false;
    for (const std::string& argument : Arguments()) {
        const SwitchRequest request = ParseSwitches(argument);
        if (request.minimize) {
            trayIconMinClick(this);
            Close();
        }
        if (request.close) {
            trayIconCloseClick(this);
            Close();
        }
        if (request.shutdown) {
            RequestShutdown(request.exitFlags);
            Close();
        }
    }
}

void TfrmTamrik::FormDestroy(TComponent*)
{
    // Once a forced end has been asked for, the kill may come at any moment;
    // rewriting the file then could leave it cut short. What is on disk
    // already is kept unless a setting has changed since.
    if (savedForForcedEnd_ && *savedForForcedEnd_ == CurrentSettings())
        return;
    SaveSettings();
}

// What OK confirms is written at once: an end the program never sees (End
// task, a crash, the power going) would otherwise lose it.
void TfrmTamrik::btnOKClick(TComponent*)
{
    ShowWindow(Application->Handle(), SW_HIDE);
    Hide();
    RefreshTrayButtons();
    SaveSettings();
}

void TfrmTamrik::btnExitClick(TComponent*)
{
    Close();
}

void TfrmTamrik::popQuitClick(TComponent* Sender)
{
    btnExitClick(Sender);
}

void TfrmTamrik::popPropertiesClick(TComponent*)
{
    ShowWindow(Handle(), SW_SHOW);
    Show();
}

void TfrmTamrik::btnHelpClick(TComponent*)
{
    const auto exists = [](const std::string& file) {
        return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    Launch(HelpCommandLine(ProgramDirectory, ExeDirectory, exists));
}
