// Shutting Windows down or restarting it: the shutdown tray button in its
// two modes, and the request that the switch letter k shares.
#include "Unit1.h"

#include "Switches.h"
#include "framework/Platform.h"

void TfrmTamrik::trayIconShutdownClick(TComponent*)
{
    if (radShutdownMenu->Checked()) {
        // A close sweep that asks the shell's program-manager window too: the
        // shell answers with its own shut-down dialog.
        IncludeProgman = true;
        RunSweep(SweepOf(kSweepClose));
        IncludeProgman = false;
        return;
    }
    // "Prompt on closing frozen applications" leaves the force out, so that
    // Windows asks every application and deals with those that hang. With
    // the box clear only the hung ones are ended unasked, where the system
    // can tell them apart.
    RequestShutdown(DirectShutdownFlags(chkDoReboot->Checked(), chkPromptOnClose->Checked(),
                                        HasForceIfHung(GetVersion())));
}

void TfrmTamrik::RequestShutdown(unsigned exitFlags)
{
    // A forced end kills the program without a word, before the save at the
    // end of the run; a force-if-hung end kills it too if it is busy when
    // the session-end messages come (a sweep, a message box, a slow write).
    if (MayEndUnasked(exitFlags)) {
        Application->Guard([this] {
            SaveSettings();
            savedForForcedEnd_ = CurrentSettings();
        });
    }
    RequestSessionEnd(exitFlags);
}
