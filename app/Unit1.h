// The one form of the program: the Properties window, owner of the tray
// buttons and menus, and home of all program logic in its event handlers.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "DirectoryRead.h"
#include "DriveReads.h"
#include "Sweep.h"
#include "components/QVTrayIcon.h"
#include "components/Volinfo.h"
#include "framework/Application.h"
#include "framework/Dialogs.h"
#include "framework/Form.h"
#include "framework/Menus.h"
#include "framework/Platform.h"

// The pressed flags of the four action buttons: up shows the raised image,
// down the sunken one.
constexpr int kPressedUp = 1;
constexpr int kPressedDown = 0;
constexpr int kRaisedImage = 1;
constexpr int kSunkenImage = 2;

class TfrmTamrik : public TForm {
public:
    explicit TfrmTamrik(TComponent* owner);

    // Process-wide state of the run.
    bool Loading = false;          // true exactly while FormCreate runs
    bool FirstActivation = true;   // cleared by the startup pass
    std::string ProgramDirectory;  // current directory at start-up, ending in a backslash
    std::string ExeDirectory;      // where Tamrik.exe and its manual lie, ending in a backslash
    bool IncludeProgman = false;   // lets the program-manager window through a sweep
    int ClosePressed = kPressedUp;
    int MinPressed = kPressedUp;
    int RestorePressed = kPressedUp;
    int ShutdownPressed = kPressedUp;

    // The tray buttons and their menus.
    TPopupMenu* popTamrik;
    TMenuItem* popProperties;
    TMenuItem* N1;
    TMenuItem* popQuit;
    TPopupMenu* popExplorer;
    TMenuItem* MenuItem1;
    TMenuItem* MenuItem2;
    TMenuItem* MenuItem3;
    TQVTrayIcon* trayTelnet;
    TQVTrayIcon* trayMSDOS;
    TQVTrayIcon* trayExplorer;
    TQVTrayIcon* trayIconMin;
    TQVTrayIcon* trayiconrestore;
    TQVTrayIcon* trayIconClose;
    TQVTrayIcon* trayIconShutdown;
    // Reads the drive labels of the drives menu.
    TVolumeInformation* volInfo;
    // The program file dialog both Browse buttons share.
    TOpenDialog* openProg;

    // Window and about panel.
    TPageControl* PageControl1;
    TPanel* Panel1;
    TLabel* Label2;
    TLabel* Label3;
    TEdit* Edit1;
    TCheckBox* chkShowOnStartup;
    TButton* btnHelp;
    TButton* btnOK;
    TButton* btnExit;
    // "Window Buttons"
    TCheckBox* chkMin;
    TCheckBox* chkRestore;
    TCheckBox* chkClose;
    TLabel* Label11;
    TEdit* txtIgnore;
    // "Shutdown"
    TCheckBox* chkShutdown;
    TRadioButton* radShutdownMenu;
    TRadioButton* radShutdown;
    TCheckBox* chkPromptOnClose;
    TCheckBox* chkDoReboot;
    // "Quick Explorer"
    TCheckBox* chkExplorer;
    TRadioButton* radMSDOS;
    TRadioButton* radExplorer;
    TLabel* Label10;
    TEdit* txtBadDrive;
    TLabel* Label9;
    TSpinEdit* spnDepth;
    // "MS-DOS Prompt"
    TCheckBox* chkMSDOS;
    TLabel* Label4;
    TEdit* txtMSDOScommand;
    TLabel* Label5;
    TEdit* txtMSDOSdir;
    TLabel* Label8;
    TButton* Button4;
    TEdit* txtMSDOSprog;
    // "Quick Telnet"
    TCheckBox* chkTelnet;
    TButton* Button1;
    TEdit* txtSite;
    TButton* Button2;
    TLabel* Label7;
    TButton* Button3;
    TEdit* txtTelnetProg;
    TLabel* Label6;
    TListBox* lstSites;

    // Start-up, lifecycle and the Properties window's own buttons.
    void FormCreate(TComponent* Sender);
    void FormActivate(TComponent* Sender);
    void FormDestroy(TComponent* Sender);
    void btnOKClick(TComponent* Sender);
    void btnExitClick(TComponent* Sender);
    void btnHelpClick(TComponent* Sender);
    void popQuitClick(TComponent* Sender);
    void popPropertiesClick(TComponent* Sender);
    // Enable boxes: bring the tray in line at once, except while loading.
    void chkMinClick(TComponent* Sender);
    void chkRestoreClick(TComponent* Sender);
    void chkCloseClick(TComponent* Sender);
    void chkShutdownClick(TComponent* Sender);
    void chkMSDOSClick(TComponent* Sender);
    void chkExplorerClick(TComponent* Sender);
    void chkTelnetClick(TComponent* Sender);
    // Window sweeps and shutdown.
    void trayIconMinClick(TComponent* Sender);
    void trayIconRestoreClick(TComponent* Sender);
    void trayIconCloseClick(TComponent* Sender);
    void trayIconShutdownClick(TComponent* Sender);
    // Pressed feedback of the action buttons.
    void trayIconMinMouseDown(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void trayIconRestoreMouseDown(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void trayIconCloseMouseDown(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void trayIconShutdownMouseDown(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void trayIconMinMouseUp(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void trayiconrestoreMouseUp(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void trayIconCloseMouseUp(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void trayIconShutdownMouseUp(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

    // MS-DOS prompt.
    void trayMSDOSClick(TComponent* Sender);
    void trayMSDOSDblClick(TComponent* Sender);
    void Button4Click(TComponent* Sender);
    // True when the process's current directory is now path.
    bool ChangeDirectory(const std::string& path);
    bool ChangeDirectory(const WideString& path);
    void LaunchMSDOSPrompt();
    // Quick telnet.
    void Button1Click(TComponent* Sender);
    void Button2Click(TComponent* Sender);
    void Button3Click(TComponent* Sender);
    void popTamrikPopup(TComponent* Sender);
    void popTelnetPopclick(TComponent* Sender);
    // Quick explorer.
    void popExplorerPopup(TComponent* Sender);
    void popExplorerpopclick(TComponent* Sender);
    // Fills a directory item of the drives menu as its sub-menu opens.
    void popExplorerItemPopup(TComponent* Sender);
    void popExplorerClose(TComponent* Sender);
    // Whether the drives menu lists, shows and opens directories by their
    // names in full Unicode; set where the system has the wide functions.
    bool WideNames = Wide().findFirstFile != nullptr;
    // A label that cannot be read is left empty, unreported.
    void volInfoError(int ErrorNumber);

    void RefreshTrayButtons();
    // Asks Windows to end the session; a forced end writes the settings
    // first, since it gives the program no chance to.
    void RequestShutdown(unsigned exitFlags);
    // Every stored setting as the file holds it, in the order it is written.
    struct StoredSettings {
        std::vector<std::pair<const char*, std::string>> configuration;
        std::vector<std::string> sites;
        bool operator==(const StoredSettings& other) const
        {
            return configuration == other.configuration && sites == other.sites;
        }
    };
    StoredSettings CurrentSettings() const;
    void LoadSettings();
    void SaveSettings();

private:
    void CreateControls();
    void CreateTrayButtons();
    // A sweep with the given action over the ignore box and the
    // program-manager pass of this form.
    Sweep SweepOf(int action);
    void EnableBoxClick();
    void PressDown(int& flag);
    void Release(int& flag);
    void BrowseForProgram(TEdit* programBox);
    void MakeLeaf(TMenuItem* item);
    // A leaf, or a sub-menu filled when it opens.
    void ShowDirectory(TMenuItem* item, bool subMenu);
    void ShowNotAnswering(TMenuItem* item);
    template <typename String>
    void FillOpened(TMenuItem* item, const std::vector<ShownDirectory<String>>& shown);
    struct DriveProbe;
    template <typename String>
    struct SubMenuRead;
    template <typename String>
    void FillOpened(TMenuItem* item, SubMenuRead<String>* read, DWORD deadline);
    int explorerDepth_ = 0;  // the scan depth the drives menu was popped up with
    DriveReads reads_;

    // What was written just before a forced end was asked for.
    std::optional<StoredSettings> savedForForcedEnd_;
};

extern TfrmTamrik* frmTamrik;

// The file name handed to the profile service; it places a bare name in the
// Windows directory.
constexpr const char* kSettingsFile = "Tamrik.ini";
