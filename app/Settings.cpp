// The settings file: loaded into the Properties window's controls when the
// form is made, written back from them when it is destroyed.
#include "Unit1.h"

#include "SiteList.h"
#include "framework/IniFile.h"

namespace {

const char kConfiguration[] = "Configuration";
const char kYourSites[] = "YourSites";

// Each pair is set as a pair: the first from the value, the second opposite.
void SetRadioPair(TRadioButton* first, TRadioButton* second, bool firstChecked)
{
    first->SetChecked(firstChecked);
    second->SetChecked(!first->Checked());
}

}  // namespace

void TfrmTamrik::LoadSettings()
{
    const TIniFile ini(kSettingsFile);
    chkMin->SetChecked(ini.ReadBool(kConfiguration, "MinimizeVisible", true));
    chkRestore->SetChecked(ini.ReadBool(kConfiguration, "RestoreVisible", true));
    chkClose->SetChecked(ini.ReadBool(kConfiguration, "CloseVisible", true));
    chkShutdown->SetChecked(ini.ReadBool(kConfiguration, "ShutdownVisible", false));
    chkMSDOS->SetChecked(ini.ReadBool(kConfiguration, "MSDOSVisible", true));
    chkExplorer->SetChecked(ini.ReadBool(kConfiguration, "ExplorerVisible", true));
    chkTelnet->SetChecked(ini.ReadBool(kConfiguration, "TelnetVisible", false));
    chkShowOnStartup->SetChecked(ini.ReadBool(kConfiguration, "ShowOnStartup", true));
    spnDepth->SetValue(ini.ReadInteger(kConfiguration, "Depth", 1));
    txtBadDrive->SetText(ini.ReadString(kConfiguration, "BadDrive", "a,b"));
    txtMSDOScommand->SetText(ini.ReadString(kConfiguration, "MSDOScommand", "/K dir /w"));
    txtMSDOSdir->SetText(ini.ReadString(kConfiguration, "MSDOSdir", ""));
    txtMSDOSprog->SetText(ini.ReadString(kConfiguration, "MSDOSprog", ""));
    txtTelnetProg->SetText(ini.ReadString(kConfiguration, "TelnetProg", ""));
    txtIgnore->SetText(ini.ReadString(kConfiguration, "txtIgnore", "eudora,something else,more...?"));
    SetRadioPair(radMSDOS, radExplorer, ini.ReadInteger(kConfiguration, "MSDOSorExplorer", 1) == 1);
    SetRadioPair(radShutdownMenu, radShutdown, ini.ReadInteger(kConfiguration, "ShutdownMenu", 1) == 1);
    chkPromptOnClose->SetChecked(ini.ReadBool(kConfiguration, "PromptOnClose", false));
    chkDoReboot->SetChecked(ini.ReadBool(kConfiguration, "DoReboot", false));
    lstSites->SetItems(SitesFromSection(ini.ReadSectionValues(kYourSites)));
}

void TfrmTamrik::SaveSettings()
{
    TIniFile ini(kSettingsFile);
    ini.WriteInteger(kConfiguration, "Depth", spnDepth->Value());
    ini.WriteString(kConfiguration, "BadDrive", txtBadDrive->Text());
    ini.WriteBool(kConfiguration, "MinimizeVisible", chkMin->Checked());
    ini.WriteBool(kConfiguration, "RestoreVisible", chkRestore->Checked());
    ini.WriteBool(kConfiguration, "CloseVisible", chkClose->Checked());
    ini.WriteBool(kConfiguration, "ShutdownVisible", chkShutdown->Checked());
    ini.WriteBool(kConfiguration, "ShowOnStartup", chkShowOnStartup->Checked());
    ini.WriteBool(kConfiguration, "MSDOSVisible", chkMSDOS->Checked());
    ini.WriteBool(kConfiguration, "ExplorerVisible", chkExplorer->Checked());
    ini.WriteBool(kConfiguration, "TelnetVisible", chkTelnet->Checked());
    ini.WriteString(kConfiguration, "MSDOScommand", txtMSDOScommand->Text());
    ini.WriteString(kConfiguration, "MSDOSdir", txtMSDOSdir->Text());
    ini.WriteString(kConfiguration, "TelnetProg", txtTelnetProg->Text());
    ini.WriteString(kConfiguration, "MSDOSprog", txtMSDOSprog->Text());
    ini.WriteString(kConfiguration, "txtIgnore", txtIgnore->Text());
    ini.WriteInteger(kConfiguration, "MSDOSorExplorer", radMSDOS->Checked() ? 1 : 0);
    ini.WriteInteger(kConfiguration, "ShutdownMenu", radShutdownMenu->Checked() ? 1 : 0);
    ini.WriteBool(kConfiguration, "PromptOnClose", chkPromptOnClose->Checked());
    ini.WriteBool(kConfiguration, "DoReboot", chkDoReboot->Checked());
    ini.EraseSection(kYourSites);
    const std::vector<std::string> sites = lstSites->Items();
    if (!sites.empty())
        ini.WriteSectionValues(kYourSites, SectionFromSites(sites));
}
