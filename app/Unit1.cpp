// The form's construction and the wiring of its events, by name as the
// layout gives them; the handlers live in the files of their concern.
#include "Unit1.h"

TfrmTamrik* frmTamrik = nullptr;

namespace {

TFormStyle PropertiesWindowStyle()
{
    return {"TfrmTamrik", "Tamrik 1.7", 465, 264, "MS Sans Serif", 11};
}

}  // namespace

TfrmTamrik::TfrmTamrik(TComponent* owner) : TForm(owner, PropertiesWindowStyle())
{
    CreateControls();

    OnCreate.Bind(this, &TfrmTamrik::FormCreate);
    OnActivate.Bind(this, &TfrmTamrik::FormActivate);
    OnDestroy.Bind(this, &TfrmTamrik::FormDestroy);
    btnOK->OnClick.Bind(this, &TfrmTamrik::btnOKClick);
    btnExit->OnClick.Bind(this, &TfrmTamrik::btnExitClick);
    btnHelp->OnClick.Bind(this, &TfrmTamrik::btnHelpClick);
    chkMin->OnClick.Bind(this, &TfrmTamrik::chkMinClick);
    chkRestore->OnClick.Bind(this, &TfrmTamrik::chkRestoreClick);
    chkClose->OnClick.Bind(this, &TfrmTamrik::chkCloseClick);
    chkShutdown->OnClick.Bind(this, &TfrmTamrik::chkShutdownClick);
    chkMSDOS->OnClick.Bind(this, &TfrmTamrik::chkMSDOSClick);
    chkExplorer->OnClick.Bind(this, &TfrmTamrik::chkExplorerClick);
    chkTelnet->OnClick.Bind(this, &TfrmTamrik::chkTelnetClick);

    volInfo->OnError.Bind(this, &TfrmTamrik::volInfoError);
    Button1->OnClick.Bind(this, &TfrmTamrik::Button1Click);
    Button2->OnClick.Bind(this, &TfrmTamrik::Button2Click);
    Button3->OnClick.Bind(this, &TfrmTamrik::Button3Click);
    Button4->OnClick.Bind(this, &TfrmTamrik::Button4Click);
    popTamrik->OnPopup.Bind(this, &TfrmTamrik::popTamrikPopup);
    popExplorer->OnPopup.Bind(this, &TfrmTamrik::popExplorerPopup);
    popExplorer->OnClose.Bind(this, &TfrmTamrik::popExplorerClose);
    trayMSDOS->OnClick.Bind(this, &TfrmTamrik::trayMSDOSClick);
    trayMSDOS->OnDblClick.Bind(this, &TfrmTamrik::trayMSDOSDblClick);

    popProperties->OnClick.Bind(this, &TfrmTamrik::popPropertiesClick);
    popQuit->OnClick.Bind(this, &TfrmTamrik::popQuitClick);
    MenuItem1->OnClick.Bind(this, &TfrmTamrik::popPropertiesClick);
    MenuItem3->OnClick.Bind(this, &TfrmTamrik::popQuitClick);
    trayIconMin->OnClick.Bind(this, &TfrmTamrik::trayIconMinClick);
    trayIconMin->OnMouseDown.Bind(this, &TfrmTamrik::trayIconMinMouseDown);
    trayIconMin->OnMouseUp.Bind(this, &TfrmTamrik::trayIconMinMouseUp);
    trayiconrestore->OnClick.Bind(this, &TfrmTamrik::trayIconRestoreClick);
    trayiconrestore->OnMouseDown.Bind(this, &TfrmTamrik::trayIconRestoreMouseDown);
    trayiconrestore->OnMouseUp.Bind(this, &TfrmTamrik::trayiconrestoreMouseUp);
    trayIconClose->OnClick.Bind(this, &TfrmTamrik::trayIconCloseClick);
    trayIconClose->OnMouseDown.Bind(this, &TfrmTamrik::trayIconCloseMouseDown);
    trayIconClose->OnMouseUp.Bind(this, &TfrmTamrik::trayIconCloseMouseUp);
    trayIconShutdown->OnClick.Bind(this, &TfrmTamrik::trayIconShutdownClick);
    trayIconShutdown->OnMouseDown.Bind(this, &TfrmTamrik::trayIconShutdownMouseDown);
    trayIconShutdown->OnMouseUp.Bind(this, &TfrmTamrik::trayIconShutdownMouseUp);
}

void TfrmTamrik::EnableBoxClick()
{
    if (!Loading)
        RefreshTrayButtons();
}

void TfrmTamrik::chkMinClick(TComponent*) { EnableBoxClick(); }
void TfrmTamrik::chkRestoreClick(TComponent*) { EnableBoxClick(); }
void TfrmTamrik::chkCloseClick(TComponent*) { EnableBoxClick(); }
void TfrmTamrik::chkShutdownClick(TComponent*) { EnableBoxClick(); }
void TfrmTamrik::chkMSDOSClick(TComponent*) { EnableBoxClick(); }
void TfrmTamrik::chkExplorerClick(TComponent*) { EnableBoxClick(); }
void TfrmTamrik::chkTelnetClick(TComponent*) { EnableBoxClick(); }
