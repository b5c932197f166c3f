// The quick explorer menu: the drives with their labels, each with its
// directories down to the scan depth, opened in an explorer window or an
// MS-DOS prompt.
#include "Unit1.h"

#include <cstdlib>
#include <cstring>
#include <optional>

#include "CommaList.h"
#include "Launch.h"
#include "LaunchText.h"
#include "framework/ErrorMode.h"
#include "framework/Platform.h"

namespace {

// Which directory a path leads to, links followed: the volume and the file
// index, as the platform tells them for an open handle.
struct DirectoryIdentity {
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
    bool operator==(const DirectoryIdentity& other) const
    {
        return volume == other.volume && indexHigh == other.indexHigh && indexLow == other.indexLow;
    }
};

std::optional<DirectoryIdentity> IdentityOf(std::string path)
{
    if (!path.empty() && path.back() == ':')
        path += '\\';  // the drive's root, not its current directory
    // Opening a directory needs the backup flag; the handle is the target's
    // when path is a link.
    const HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info = {};
    const bool known = GetFileInformationByHandle(handle, &info) != FALSE;
    CloseHandle(handle);
    if (!known)
        return std::nullopt;
    return DirectoryIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// The volume-label bit of the FAT directory entry; Windows names no constant
// for it.
constexpr DWORD kVolumeLabelAttribute = 0x08;
constexpr DWORD kPassedOver = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | kVolumeLabelAttribute;

bool IsListed(const WIN32_FIND_DATAA& entry)
{
    if ((entry.dwFileAttributes & kPassedOver) || !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    const std::string name = entry.cFileName;
    return name != "." && name != "..";
}

// Sorted as CompareStringA with the user's locale, ignoring case, would
// sort them, by the sort key of each name, which the platform documents to
// order exactly so: one conversion a name instead of two a comparison. A key
// ends in its only zero byte and compares as unsigned bytes, as strcmp does.
struct SortEntry {
    const char* key;  // kept by the caller; qsort moves only these plain records
    size_t index;
};

int CompareKeys(const void* a, const void* b)
{
    return std::strcmp(static_cast<const SortEntry*>(a)->key, static_cast<const SortEntry*>(b)->key);
}

void SortByLocale(std::vector<TfrmTamrik::Subdirectory>& list)
{
    constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
    std::vector<std::string> keys(list.size());
    std::vector<SortEntry> entries(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        const char* name = list[i].name.c_str();
        const int size = LCMapStringA(LOCALE_USER_DEFAULT, kFlags, name, -1, nullptr, 0);
        if (size > 0) {
            keys[i].resize(static_cast<size_t>(size));
            LCMapStringA(LOCALE_USER_DEFAULT, kFlags, name, -1, &keys[i][0], size);
        }
        entries[i] = {keys[i].c_str(), i};
    }
    // The runtime's own sort: far less code than a template instance.
    std::qsort(entries.data(), entries.size(), sizeof(SortEntry), CompareKeys);
    std::vector<TfrmTamrik::Subdirectory> sorted;
    sorted.reserve(list.size());
    for (const SortEntry& entry : entries)
        sorted.push_back(std::move(list[entry.index]));
    list = std::move(sorted);
}

}  // namespace

// A directory on the path from a drive down to the item being filled. Its
// identity is read only when a link below it asks, which is rare, so an
// ordinary tree costs nothing more than its listing.
struct TfrmTamrik::DirectoryOnPath {
    const std::string& path;
    const DirectoryOnPath* parent;
    mutable std::optional<std::optional<DirectoryIdentity>> identity;

    const std::optional<DirectoryIdentity>& Identity() const
    {
        if (!identity)
            identity = IdentityOf(path);
        return *identity;
    }
    // Whether linkPath leads back to this directory or one above it.
    bool Holds(const std::string& linkPath) const
    {
        const std::optional<DirectoryIdentity> target = IdentityOf(linkPath);
        if (!target)
            return false;
        for (const DirectoryOnPath* step = this; step; step = step->parent)
            if (step->Identity() == target)
                return true;
        return false;
    }
};

// The drive letters are tried from a to z and each drive put in at the top,
// so the menu reads from the highest letter down. A drive without a medium
// fails its reads quietly for the whole build, listings included.
void TfrmTamrik::popExplorerPopup(TComponent*)
{
    const CriticalErrorsFailed quietDrives;
    RemoveBuiltItems(*popExplorer);
    popExplorer->Insert(0, popExplorer->Make<TMenuItem>("", "-"));
    const std::string badDrives = txtBadDrive->Text();
    const int depth = ScanDepth(spnDepth->Value());
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        if (IsBadDrive(badDrives, letter))
            continue;
        const char root[] = {letter, ':', '\\', '\0'};
        const UINT type = GetDriveTypeA(root);
        if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR)
            continue;
        volInfo->SetDrive(letter);
        const std::string caption = volInfo->VolumeName() + " (" + letter + ":)";
        TMenuItem* drive = popExplorer->Make<TMenuItem>("", MenuCaption(caption));
        drive->SetHint({letter, ':'});
        popExplorer->Insert(0, drive);
        FillDirectoryMenu(drive, depth);
    }
}

void TfrmTamrik::FillDirectoryMenu(TMenuItem* item, int depth)
{
    FillDirectoryMenu(item, depth, nullptr);
}

// Depth first: each directory is filled, all its levels, before the one
// above it in the sub-menu is made. A link back to a directory on the
// item's own path is a leaf, or the tree would never end.
void TfrmTamrik::FillDirectoryMenu(TMenuItem* item, int depth, const DirectoryOnPath* above)
{
    if (depth == 0) {
        MakeLeaf(item);
        return;
    }
    while (item->Count() > 0)
        item->Delete(0);
    std::vector<Subdirectory> list;
    ListSubdirectories(item->Hint(), list);
    SortByLocale(list);
    if (list.empty()) {
        MakeLeaf(item);
        return;
    }
    const DirectoryOnPath here{item->Hint(), above, std::nullopt};
    for (auto entry = list.rbegin(); entry != list.rend(); ++entry) {
        TMenuItem* child = item->Make<TMenuItem>("", MenuCaption(entry->name));
        child->SetHint(item->Hint() + "\\" + entry->name);
        item->Insert(0, child);
        if (entry->link && here.Holds(child->Hint()))
            MakeLeaf(child);
        else
            FillDirectoryMenu(child, depth - 1, &here);
    }
}

// A directory that cannot be listed, for whatever reason, lists nothing.
void TfrmTamrik::ListSubdirectories(std::string directory, std::vector<Subdirectory>& list)
{
    if (!directory.empty() && directory.back() == '\\')
        directory.pop_back();
    WIN32_FIND_DATAA entry = {};
    const FindHandle search(FindFirstFileA((directory + "\\*.*").c_str(), &entry));
    if (!search.Valid())
        return;
    do {
        if (IsListed(entry))
            list.push_back({entry.cFileName, (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (FindNextFileA(search.Get(), &entry));
}

void TfrmTamrik::MakeLeaf(TMenuItem* item)
{
    item->OnClick.Bind(this, &TfrmTamrik::popExplorerpopclick);
}

// A drive's hint is its letter and colon, which the platform takes as the
// drive's current directory.
void TfrmTamrik::popExplorerpopclick(TComponent* Sender)
{
    const std::string& path = static_cast<const TMenuItem*>(Sender)->Hint();
    if (!radMSDOS->Checked()) {
        Launch(ExplorerCommandLine(path));
        return;
    }
    if (!IsBlank(path))
        ChangeDirectory(path);
    LaunchMSDOSPrompt();
}

void TfrmTamrik::volInfoError(int) {}
