// The quick explorer menu: the drives with their labels, each with its
// directories down to the scan depth, opened in an explorer window or an
// MS-DOS prompt.
//
// A sub-menu is filled when it is about to open and emptied when the menu
// closes: a deep scan on a large disk then costs what the user opens, not
// the whole tree, and the menu handles alive stay as few as the items shown.
// An item shows as a sub-menu exactly when filling it would give it items.
#include "Unit1.h"

#include <algorithm>

#include "CommaList.h"
#include "DirectoryRead.h"
#include "Launch.h"
#include "LaunchText.h"
#include "framework/ErrorMode.h"
#include "framework/Platform.h"

namespace {

// A name in the user's code page, as the settings and the ANSI calls see
// it; a character the code page lacks becomes "?".
std::string NarrowOf(const WideString& text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &narrow[0], size, nullptr,
                            nullptr);
    return narrow;
}

// How many levels below its drive an item's directory lies: names hold no
// backslash.
int LevelOf(const std::string& hint)
{
    return static_cast<int>(std::count(hint.begin(), hint.end(), '\\'));
}

void NameChild(TMenuItem* child, const TMenuItem* parent, const std::string& name)
{
    child->SetHint(parent->Hint() + "\\" + name);
}

void NameChild(TMenuItem* child, const TMenuItem* parent, const WideString& name)
{
    child->SetWideCaption(MenuCaption(name));
    child->SetHint(parent->Hint() + "\\" + NarrowOf(name));
    child->SetWideHint(parent->WideHint() + L"\\" + name);
}

const std::string& NarrowOf(const std::string& name)
{
    return name;
}

// What the drives menu waits for its reads at each popup and each sub-menu
// opened, what a user takes for at once; and past that, as long as a read
// goes on, for each of its calls to the platform.
constexpr DWORD kReadBudget = 250;
constexpr char kNotAnswering[] = "Not answering";

}  // namespace

// What the popup asks of a drive, on the drive's own thread: whether it is
// there, its label, and whether its root would open a sub-menu.
struct TfrmTamrik::DriveProbe : DriveRead {
    DriveProbe(char letter, bool wide, bool listing) : DriveRead(letter), wide(wide), listing(listing) {}
    void Run() override
    {
        const char root[] = {letter(), ':', '\\', '\0'};
        const UINT type = GetDriveTypeA(root);
        present = type != DRIVE_UNKNOWN && type != DRIVE_NO_ROOT_DIR;
        if (!present)
            return;
        answer = TVolumeInformation::Ask(letter());
        Answered();
        const char drive[] = {letter(), ':', '\0'};
        if (listing)
            opens = wide ? HasVisibleSubdirectory(WideString(drive, drive + 2), Progress())
                         : HasVisibleSubdirectory(std::string(drive), Progress());
    }
    const bool wide;
    const bool listing;
    bool present = false;
    TVolumeInformation::Answer answer = {};
    bool opens = false;
};

template <typename String>
struct TfrmTamrik::SubMenuRead : DriveRead {
    SubMenuRead(const String& directory, int levelsLeft)
        : DriveRead(static_cast<char>(directory[0])), directory(directory), levelsLeft(levelsLeft)
    {
    }
    void Run() override { shown = ReadSubMenu(directory, levelsLeft, Progress()); }
    const String directory;
    const int levelsLeft;
    std::vector<ShownDirectory<String>> shown;
};

// The drive letters are tried from a to z and each drive put in at the top,
// so the menu reads from the highest letter down. Every drive is read at
// once, each on its own thread, within one time budget.
void TfrmTamrik::popExplorerPopup(TComponent*)
{
    const CriticalErrorsFailed quietDrives;
    const DWORD deadline = GetTickCount() + kReadBudget;
    RemoveBuiltItems(*popExplorer);
    popExplorer->Insert(0, popExplorer->Make<TMenuItem>("", "-"));
    const std::string badDrives = txtBadDrive->Text();
    explorerDepth_ = ScanDepth(spnDepth->Value());
    std::vector<std::pair<char, DriveProbe*>> probes;
    const DWORD present = GetLogicalDrives();
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        if (IsBadDrive(badDrives, letter) || !(present & (1u << (letter - 'a'))))
            continue;
        auto* probe = new DriveProbe(letter, WideNames, explorerDepth_ > 0);
        probes.emplace_back(letter, reads_.Start(probe) ? probe : nullptr);
    }
    for (const auto& [letter, probe] : probes) {
        const bool answered = probe && reads_.Finish(probe, deadline, kReadBudget);
        if (answered && !probe->present) {
            delete probe;
            continue;
        }
        std::string label;
        if (answered) {
            volInfo->SetDrive(letter);
            label = volInfo->VolumeNameOf(probe->answer) + " ";
        }
        TMenuItem* drive = popExplorer->Make<TMenuItem>("", MenuCaption(label + "(" + letter + ":)"));
        drive->SetHint({letter, ':'});
        if (WideNames)
            drive->SetWideHint({static_cast<wchar_t>(letter), L':'});
        popExplorer->Insert(0, drive);
        if (!answered) {
            ShowNotAnswering(drive);  // the read goes on alone, and is no longer ours
            continue;
        }
        ShowDirectory(drive, probe->opens);
        delete probe;
    }
}

// The drive, or the directory, opens as it does when it answers.
void TfrmTamrik::ShowNotAnswering(TMenuItem* item)
{
    TMenuItem* note = item->Make<TMenuItem>("", kNotAnswering);
    note->SetHint(item->Hint());
    note->SetWideHint(item->WideHint());
    item->Insert(0, note);
    MakeLeaf(note);
}

void TfrmTamrik::ShowDirectory(TMenuItem* item, bool subMenu)
{
    if (!subMenu) {
        MakeLeaf(item);
        return;
    }
    item->ShowAsSubMenu();
    item->OnPopup.Bind(this, &TfrmTamrik::popExplorerItemPopup);
}

void TfrmTamrik::popExplorerItemPopup(TComponent* Sender)
{
    auto* item = static_cast<TMenuItem*>(Sender);
    const DWORD deadline = GetTickCount() + kReadBudget;
    item->Clear();
    // The item's entries show its directory's children, which may open the
    // levels that are left below them.
    const int levelsLeft = explorerDepth_ - LevelOf(item->Hint()) - 1;
    if (!item->WideHint().empty())
        FillOpened(item, new SubMenuRead<WideString>(item->WideHint(), levelsLeft), deadline);
    else
        FillOpened(item, new SubMenuRead<std::string>(item->Hint(), levelsLeft), deadline);
}

template <typename String>
void TfrmTamrik::FillOpened(TMenuItem* item, SubMenuRead<String>* read, DWORD deadline)
{
    if (!reads_.Start(read) || !reads_.Finish(read, deadline, kReadBudget)) {
        ShowNotAnswering(item);
        return;
    }
    FillOpened(item, read->shown);
    delete read;
}

// Each entry goes in at the top, the last first, so the sub-menu reads in
// ascending order.
template <typename String>
void TfrmTamrik::FillOpened(TMenuItem* item, const std::vector<ShownDirectory<String>>& shown)
{
    for (auto entry = shown.rbegin(); entry != shown.rend(); ++entry) {
        TMenuItem* child = item->Make<TMenuItem>("", MenuCaption(NarrowOf(entry->name)));
        NameChild(child, item, entry->name);
        item->Insert(0, child);
        ShowDirectory(child, entry->subMenu);
    }
}

// What the user opened goes once the menu has closed and its chosen item,
// if any, has run; the drives keep their empty sub-menus for the next look.
void TfrmTamrik::popExplorerClose(TComponent*)
{
    for (int i = 0; i < popExplorer->Count(); ++i) {
        TMenuItem* drive = popExplorer->Item(i);
        drive->Clear();
    }
}

void TfrmTamrik::MakeLeaf(TMenuItem* item)
{
    item->OnClick.Bind(this, &TfrmTamrik::popExplorerpopclick);
}

// A drive's hint is its letter and colon, which the platform takes as the
// drive's current directory. A name in full Unicode goes to the platform
// as it is; under WOW64 both the prompt's directory and the explorer's path
// are the real ones the menu listed.
void TfrmTamrik::popExplorerpopclick(TComponent* Sender)
{
    const auto* item = static_cast<const TMenuItem*>(Sender);
    const std::string& path = item->Hint();
    const WideString& widePath = item->WideHint();
    if (!radMSDOS->Checked()) {
        if (widePath.empty())
            Launch(ExplorerCommandLine(path));
        else
            Launch(ExplorerCommandLine(widePath), ExplorerCommandLine(path));
        return;
    }
    if (!IsBlank(path)) {
        const NativeFileSystem asListed;
        if (!widePath.empty())
            ChangeDirectory(widePath);
        else
            ChangeDirectory(path);
    }
    LaunchMSDOSPrompt();
}

void TfrmTamrik::volInfoError(int) {}
