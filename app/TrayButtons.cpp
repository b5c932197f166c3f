// The tray buttons: which are in the notification area, with which image,
// and the pressed feedback of the four action buttons.
#include "Unit1.h"

namespace {

void Refresh(TQVTrayIcon* button, const TCheckBox* enabledBy, int image)
{
    if (enabledBy->Checked())
        button->ShowIcon(image);
    else
        button->HideIcon();
    // Queued tray reports, a button-up among them, run here; each refresh
    // reads the boxes and flags afresh, so the last one to end is right.
    Application->ProcessMessages();
}

int ImageFor(int pressed)
{
    return pressed == kPressedUp ? kRaisedImage : kSunkenImage;
}

}  // namespace

void TfrmTamrik::RefreshTrayButtons()
{
    Refresh(trayTelnet, chkTelnet, kRaisedImage);
    Refresh(trayMSDOS, chkMSDOS, kRaisedImage);
    Refresh(trayExplorer, chkExplorer, kRaisedImage);
    Refresh(trayIconMin, chkMin, ImageFor(MinPressed));
    Refresh(trayiconrestore, chkRestore, ImageFor(RestorePressed));
    Refresh(trayIconClose, chkClose, ImageFor(ClosePressed));
    Refresh(trayIconShutdown, chkShutdown, ImageFor(ShutdownPressed));
}

void TfrmTamrik::PressDown(int& flag)
{
    if (flag != kPressedUp)
        return;
    flag = kPressedDown;
    RefreshTrayButtons();
}

void TfrmTamrik::Release(int& flag)
{
    if (flag == kPressedUp)
        return;
    flag = kPressedUp;
    RefreshTrayButtons();
}

void TfrmTamrik::trayIconMinMouseDown(TComponent*, TMouseButton, TShiftState, int, int) { PressDown(MinPressed); }
void TfrmTamrik::trayIconRestoreMouseDown(TComponent*, TMouseButton, TShiftState, int, int)
{
    PressDown(RestorePressed);
}
void TfrmTamrik::trayIconCloseMouseDown(TComponent*, TMouseButton, TShiftState, int, int) { PressDown(ClosePressed); }
void TfrmTamrik::trayIconShutdownMouseDown(TComponent*, TMouseButton, TShiftState, int, int)
{
    PressDown(ShutdownPressed);
}

void TfrmTamrik::trayIconMinMouseUp(TComponent*, TMouseButton, TShiftState, int, int) { Release(MinPressed); }
void TfrmTamrik::trayiconrestoreMouseUp(TComponent*, TMouseButton, TShiftState, int, int) { Release(RestorePressed); }
void TfrmTamrik::trayIconCloseMouseUp(TComponent*, TMouseButton, TShiftState, int, int) { Release(ClosePressed); }
void TfrmTamrik::trayIconShutdownMouseUp(TComponent*, TMouseButton, TShiftState, int, int)
{
    Release(ShutdownPressed);
}
