// The MS-DOS prompt launcher: the tray button, the Browse button of its tab,
// and the launch that the drives menu shares.
#include "Unit1.h"

#include "CommaList.h"
#include "Launch.h"
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

// A program typed into the box starts as typed. The default, command.com,
// is missing wherever there is no 16-bit subsystem: on every 64-bit Windows
// and under Wine. There the interpreter the system names in %ComSpec%
// (cmd.exe) starts instead, with the same parameters and in the same
// directory; a failure is reported once, for the last command line tried.
void TfrmTamrik::LaunchMSDOSPrompt()
{
    const std::string program = txtMSDOSprog->Text();
    const std::string parameters = txtMSDOScommand->Text();
    const std::string commandLine = MSDOSCommandLine(program, parameters);
    if (!IsBlank(program)) {
        Launch(commandLine);
        return;
    }
    const unsigned result = TryLaunch(commandLine);
    if (LaunchSucceeded(result))
        return;
    const std::string interpreter =
        NotFound(result) ? ComSpecCommandLine(EnvironmentVariable("ComSpec"), parameters) : "";
    if (interpreter.empty())
        ReportLaunchFailure(commandLine, result);
    else
        Launch(interpreter);
}

// Both Browse buttons share the one dialog, so each offers the file the
// other chose last.
void TfrmTamrik::BrowseForProgram(TEdit* programBox)
{
    if (openProg->Execute(Handle()))
        programBox->SetText(ProgramBoxText(openProg->FileName));
}
