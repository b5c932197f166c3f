// Quick telnet: the site list on its tab and the site items of the tray
// menu.
#include "Unit1.h"

#include "Launch.h"
#include "LaunchText.h"

void TfrmTamrik::Button1Click(TComponent*)
{
    lstSites->Add(txtSite->Text());
}

// A deleted entry's successor moves into its place, which is looked at next.
void TfrmTamrik::Button2Click(TComponent*)
{
    int i = 0;
    while (i != lstSites->Count()) {
        if (lstSites->Selected(i))
            lstSites->Delete(i);
        else
            ++i;
    }
}

void TfrmTamrik::Button3Click(TComponent*)
{
    BrowseForProgram(txtTelnetProg);
}

// The caption shows the site whole; the hint keeps it as typed for the
// command line.
void TfrmTamrik::popTamrikPopup(TComponent*)
{
    RebuildSiteItems(
        *popTamrik, lstSites->Items(), [this] { return popTamrik->Make<TMenuItem>("", "-"); },
        [this](const std::string& site) {
            TMenuItem* item = popTamrik->Make<TMenuItem>("", MenuCaption(site));
            item->SetHint(site);
            item->OnClick.Bind(this, &TfrmTamrik::popTelnetPopclick);
            return item;
        });
}

void TfrmTamrik::popTelnetPopclick(TComponent* Sender)
{
    const auto* item = static_cast<const TMenuItem*>(Sender);
    Launch(TelnetCommandLine(txtTelnetProg->Text(), item->Hint()), kTelnetAdvice);
}
