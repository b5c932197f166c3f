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

namespace {

std::string Flag(bool on)
{
    return on ? "1" : "0";
}

}  // namespace

TfrmTamrik::StoredSettings TfrmTamrik::CurrentSettings() const
{
    return {{
                {"Depth", std::to_string(spnDepth->Value())},
                {"BadDrive", txtBadDrive->Text()},
                {"MinimizeVisible", Flag(chkMin->Checked())},
                {"RestoreVisible", Flag(chkRestore->Checked())},
                {"CloseVisible", Flag(chkClose->Checked())},
                {"ShutdownVisible", Flag(chkShutdown->Checked())},
                {"ShowOnStartup", Flag(chkShowOnStartup->Checked())},
                {"MSDOSVisible", Flag(chkMSDOS->Checked())},
                {"ExplorerVisible", Flag(chkExplorer->Checked())},
                {"TelnetVisible", Flag(chkTelnet->Checked())},
                {"MSDOScommand", txtMSDOScommand->Text()},
                {"MSDOSdir", txtMSDOSdir->Text()},
                {"TelnetProg", txtTelnetProg->Text()},
                {"MSDOSprog", txtMSDOSprog->Text()},
                {"txtIgnore", txtIgnore->Text()},
                {"MSDOSorExplorer", Flag(radMSDOS->Checked())},
                {"ShutdownMenu", Flag(radShutdownMenu->Checked())},
                {"PromptOnClose", Flag(chkPromptOnClose->Checked())},
                {"DoReboot", Flag(chkDoReboot->Checked())},
            },
            lstSites->Items()};
}

void TfrmTamrik::SaveSettings()
{
    const StoredSettings settings = CurrentSettings();
    TIniFile ini(kSettingsFile);
    for (const auto& [key, value] : settings.configuration)
        ini.WriteString(kConfiguration, key, value);
    ini.EraseSection(kYourSites);
    if (!settings.sites.empty())
        ini.WriteSectionValues(kYourSites, SectionFromSites(settings.sites));
}
