// The MS-DOS prompt launcher: the tray button, the Browse button of its tab,
// and the launch that the drives menu shares.
#include "Unit1.h"

#include "CommaList.h"
#include "LaunchText.h"
#include "framework/Platform.h"

namespace {

// Modal to every window of the program, centred on the screen; OK is the
// only button, so Enter and Escape both close it. A tray click leaves the
// keyboard where it was, so the box takes the foreground for the keys to
// reach it.
void ShowWarning(const char* text)
{
    Platform().messageBox(nullptr, text, "Warning", MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL | MB_SETFOREGROUND);
}

}  // namespace

void TfrmTamrik::trayMSDOSClick(TComponent*)
{
    const std::string directory = txtMSDOSdir->Text();
    if (!IsBlank(directory) && !ChangeDirectory(directory))
        ShowWarning("Cannot find directory!");
    LaunchMSDOSPrompt();
}

void TfrmTamrik::trayMSDOSDblClick(TComponent* Sender)
{
    trayMSDOSClick(Sender);
}

void TfrmTamrik::Button4Click(TComponent*)
{
    BrowseForProgram(txtMSDOSprog);
}

bool TfrmTamrik::ChangeDirectory(const std::string& path)
{
    return SetCurrentDirectoryA(path.c_str()) != FALSE;
}

bool TfrmTamrik::ChangeDirectory(const WideString& path)
{
    return Wide().setCurrentDirectory && Wide().setCurrentDirectory(path.c_str()) != FALSE;
}

void TfrmTamrik::LaunchMSDOSPrompt()
{
    Platform().winExec(MSDOSCommandLine(txtMSDOSprog->Text(), txtMSDOScommand->Text()).c_str(), SW_SHOWNORMAL);
}

// Both Browse buttons share the one dialog, so each offers the file the
// other chose last.
void TfrmTamrik::BrowseForProgram(TEdit* programBox)
{
    if (openProg->Execute(Handle()))
        programBox->SetText(ProgramBoxText(openProg->FileName));
}
