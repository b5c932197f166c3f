// The Properties window's controls: pages, geometry relative to the parent,
// captions, design states and tab order.
#include "Unit1.h"

namespace {

constexpr COLORREF kMaroon = RGB(128, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

}  // namespace

void TfrmTamrik::CreateControls()
{
    const HFONT boldFont = AddFont("MS Sans Serif", 11, true);
    const HFONT titleFont = AddFont("Exocet", 21, true);

    PageControl1 = Make<TPageControl>("PageControl1", this, TBounds{3, 4, 456, 171}, 6);
    TTabSheet* pageButtons = PageControl1->AddPage("TabSheet1", "Window Buttons");
    TTabSheet* pageShutdown = PageControl1->AddPage("TabSheet2", "Shutdown");
    TTabSheet* pageExplorer = PageControl1->AddPage("TabSheet3", "Quick Explorer");
    TTabSheet* pageMSDOS = PageControl1->AddPage("TabSheet4", "MS-DOS Prompt");
    TTabSheet* pageTelnet = PageControl1->AddPage("TabSheet5", "Quick Telnet");

    Panel1 = Make<TPanel>("Panel1", this, TBounds{4, 182, 216, 79}, 2);
    Label2 = Make<TLabel>("Label2", Panel1, 7, 6, "TAMRIK V1.7");
    Label2->SetFont(titleFont);
    Label2->SetTextColor(kMaroon);
    Label3 = Make<TLabel>("Label3", Panel1, 7, 32, "Free tray helper for busy desktops");
    Edit1 = Make<TEdit>("Edit1", Panel1, TBounds{7, 51, 202, 21}, "http://www.example.com/tamrik/", 0, true);
    Edit1->SetColors(kRed, kBlack);

    chkShowOnStartup = Make<TCheckBox>("chkShowOnStartup", this, TBounds{229, 196, 153, 17},
                                       "Show this menu on startup", 4, true);
    btnHelp = Make<TButton>("btnHelp", this, TBounds{227, 227, 62, 25}, "&Help", 5);
    btnOK = Make<TButton>("btnOK", this, TBounds{309, 227, 66, 25}, "OK", 0, true);
    btnExit = Make<TButton>("btnExit", this, TBounds{391, 227, 68, 25}, "E&xit", 1);

    chkMin = Make<TCheckBox>("chkMin", pageButtons, TBounds{9, 8, 193, 17}, "Enable minimize all button", 2, true);
    chkRestore = Make<TCheckBox>("chkRestore", pageButtons, TBounds{9, 30, 189, 17}, "Enable restore all button", 0,
                                 true);
    chkClose = Make<TCheckBox>("chkClose", pageButtons, TBounds{9, 52, 175, 17}, "Enable close all button", 1, true);
    Label11 = Make<TLabel>("Label11", pageButtons, 12, 98, "Applications to ignore:");
    txtIgnore = Make<TEdit>("txtIgnore", pageButtons, TBounds{10, 115, 427, 21}, "eudora, something else, app52b", 3);

    chkShutdown = Make<TCheckBox>("chkShutdown", pageShutdown, TBounds{8, 8, 188, 17}, "Enable shutdown button", 0,
                                  false);
    radShutdownMenu = Make<TRadioButton>("radShutdownMenu", pageShutdown, TBounds{37, 30, 152, 17},
                                         "Go to shutdown menu", 3, false);
    radShutdown = Make<TRadioButton>("radShutdown", pageShutdown, TBounds{37, 51, 148, 17}, "Shutdown computer", 4,
                                     false);
    chkPromptOnClose = Make<TCheckBox>("chkPromptOnClose", pageShutdown, TBounds{63, 72, 212, 17},
                                       "Prompt on closing frozen applications", 1, false);
    chkDoReboot = Make<TCheckBox>("chkDoReboot", pageShutdown, TBounds{63, 94, 134, 17}, "Reboot after shutdown", 2,
                                  false);

    chkExplorer = Make<TCheckBox>("chkExplorer", pageExplorer, TBounds{8, 8, 179, 17}, "Enable computer explorer", 0,
                                  false);
    radMSDOS = Make<TRadioButton>("radMSDOS", pageExplorer, TBounds{23, 38, 143, 17}, "Launch MS-DOS prompt", 1,
                                  false);
    radExplorer = Make<TRadioButton>("radExplorer", pageExplorer, TBounds{23, 58, 151, 17}, "Launch explorer window",
                                     2, true);
    Label10 = Make<TLabel>("Label10", pageExplorer, 200, 32, "Drives to ignore:");
    txtBadDrive = Make<TEdit>("txtBadDrive", pageExplorer, TBounds{199, 48, 97, 21}, "", 3);
    Label9 = Make<TLabel>("Label9", pageExplorer, 200, 75, "Depth to scan to:");
    spnDepth = Make<TSpinEdit>("spnDepth", pageExplorer, TBounds{200, 91, 64, 22}, 1, 0, 50, 4);

    chkMSDOS = Make<TCheckBox>("chkMSDOS", pageMSDOS, TBounds{7, 7, 221, 17}, "Enable MS-DOS prompt launcher", 0,
                               false);
    Label4 = Make<TLabel>("Label4", pageMSDOS, 21, 42, "Optional parameters:");
    txtMSDOScommand = Make<TEdit>("txtMSDOScommand", pageMSDOS, TBounds{20, 59, 172, 21}, "", 1);
    Label5 = Make<TLabel>("Label5", pageMSDOS, 21, 87, "Optional starting directory:");
    txtMSDOSdir = Make<TEdit>("txtMSDOSdir", pageMSDOS, TBounds{20, 103, 172, 21}, "", 2);
    Label8 = Make<TLabel>("Label8", pageMSDOS, 219, 40, "Optional different program:");
    Button4 = Make<TButton>("Button4", pageMSDOS, TBounds{217, 58, 58, 23}, "Browse:", 4);
    txtMSDOSprog = Make<TEdit>("txtMSDOSprog", pageMSDOS, TBounds{280, 59, 160, 21}, "", 3);

    chkTelnet = Make<TCheckBox>("chkTelnet", pageTelnet, TBounds{5, 4, 174, 17}, "Enable quick telnet ", 1, false);
    Button1 = Make<TButton>("Button1", pageTelnet, TBounds{18, 36, 57, 23}, "Add:", 2);
    txtSite = Make<TEdit>("txtSite", pageTelnet, TBounds{81, 37, 151, 21}, "bbs.example.com", 0);
    Button2 = Make<TButton>("Button2", pageTelnet, TBounds{120, 67, 112, 23}, "Remove Selected:", 3);
    Label7 = Make<TLabel>("Label7", pageTelnet, 19, 97, "Optional different program:");
    Button3 = Make<TButton>("Button3", pageTelnet, TBounds{18, 116, 58, 23}, "Browse:", 5);
    txtTelnetProg = Make<TEdit>("txtTelnetProg", pageTelnet, TBounds{82, 117, 150, 21}, "", 4);
    Label6 = Make<TLabel>("Label6", pageTelnet, 239, 10, "Sites to display:");
    lstSites = Make<TListBox>("lstSites", pageTelnet, TBounds{237, 27, 207, 111}, 6, true);

    for (TCheckBox* box : {chkMin, chkRestore, chkClose, chkShutdown, chkExplorer, chkMSDOS, chkTelnet})
        box->SetFont(boldFont);

    ApplyTabOrder();
    SetActiveControl(btnOK);
    CreateTrayButtons();
}

namespace {

struct TrayButtonLook {
    UINT id;  // fixed, so that the shell finds the user's choices for it again
    const char* hint;
    const char* raised;  // Icon1
    const char* sunken;  // Icon2, the action buttons alone
};

// The images are made at the size the notification area draws them, so that
// the shell does not stretch them.
void Dress(TQVTrayIcon* button, const TrayButtonLook& look, TPopupMenu* menu)
{
    button->SetId(look.id);
    button->SetHint(look.hint);
    const int size = SmallIconSize();
    button->Icon1().LoadFromResource(look.raised, size);
    if (look.sunken)
        button->Icon2().LoadFromResource(look.sunken, size);
    button->SetInterval(500);
    button->PopupMenu = menu;
}

// Appends the three items every tray menu ends with.
void AddFixedItems(TPopupMenu* menu, TMenuItem* properties, TMenuItem* separator, TMenuItem* quit)
{
    menu->AutoPopup = false;
    for (TMenuItem* item : {properties, separator, quit})
        menu->Insert(menu->Count(), item);
}

}  // namespace

// The menus go first, so that the tray buttons, which point at them, are
// destroyed before them.
void TfrmTamrik::CreateTrayButtons()
{
    popTamrik = Make<TPopupMenu>("popTamrik");
    popProperties = popTamrik->Make<TMenuItem>("popProperties", "Properties...", true);
    N1 = popTamrik->Make<TMenuItem>("N1", "-");
    popQuit = popTamrik->Make<TMenuItem>("popQuit", "E&xit Tamrik");
    AddFixedItems(popTamrik, popProperties, N1, popQuit);

    popExplorer = Make<TPopupMenu>("popExplorer");
    MenuItem1 = popExplorer->Make<TMenuItem>("MenuItem1", "&Properties...", true);
    MenuItem2 = popExplorer->Make<TMenuItem>("MenuItem2", "-");
    MenuItem3 = popExplorer->Make<TMenuItem>("MenuItem3", "E&xit Tamrik");
    AddFixedItems(popExplorer, MenuItem1, MenuItem2, MenuItem3);

    volInfo = Make<TVolumeInformation>("volInfo");
    volInfo->SetDrive('c');

    openProg = Make<TOpenDialog>("openProg");
    openProg->Title = "Select program...";
    openProg->Filter = "Executable file|*.exe;*.com;*.bat|";
    openProg->DefaultExt = "exe";
    openProg->InitialDir = ".";
    openProg->Options = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

    trayTelnet = Make<TQVTrayIcon>("trayTelnet");
    Dress(trayTelnet, {1, "Click to popup list of sites...", "TELNET", nullptr}, popTamrik);
    trayMSDOS = Make<TQVTrayIcon>("trayMSDOS");
    Dress(trayMSDOS, {2, "Click to open DOS box...", "MSDOS", nullptr}, popTamrik);
    trayExplorer = Make<TQVTrayIcon>("trayExplorer");
    Dress(trayExplorer, {3, "Click to popup list of drives...", "EXPLORER", nullptr}, popExplorer);
    trayIconMin = Make<TQVTrayIcon>("trayIconMin");
    Dress(trayIconMin, {4, "Click to minimize all applications...", "MINUP", "MINDOWN"}, popTamrik);
    trayiconrestore = Make<TQVTrayIcon>("trayiconrestore");
    Dress(trayiconrestore, {5, "Click to restore minimized applications...", "RESTOREUP", "RESTOREDOWN"},
          popTamrik);
    trayIconClose = Make<TQVTrayIcon>("trayIconClose");
    Dress(trayIconClose, {6, "Click to close all applications...", "CLOSEUP", "CLOSEDOWN"}, popTamrik);
    trayIconShutdown = Make<TQVTrayIcon>("trayIconShutdown");
    Dress(trayIconShutdown, {7, "Click to shutdown computer...", "SHUTDOWNUP", "SHUTDOWNDOWN"}, popTamrik);
}
