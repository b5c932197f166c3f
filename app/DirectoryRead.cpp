#include "DirectoryRead.h"

#include <cstdlib>
#include <cstring>
#include <optional>

#include <windows.h>

#include "framework/Platform.h"

namespace {

// The platform's calls for each width of name. The wide ones exist only
// where Wide() found them; callers ask for wide names only there.
template <typename Char>
struct Files;

template <>
struct Files<char> {
    using FindData = WIN32_FIND_DATAA;
    static HANDLE First(const char* pattern, FindData* entry) { return FindFirstFileA(pattern, entry); }
    static bool Next(HANDLE search, FindData* entry) { return FindNextFileA(search, entry) != FALSE; }
    static HANDLE Open(const char* path, DWORD share, DWORD flags)
    {
        return CreateFileA(path, 0, share, nullptr, OPEN_EXISTING, flags, nullptr);
    }
    static int SortKey(const char* name, char* key, int size)
    {
        return LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, name, -1, key, size);
    }
};

template <>
struct Files<wchar_t> {
    using FindData = WIN32_FIND_DATAW;
    static HANDLE First(const wchar_t* pattern, FindData* entry) { return Wide().findFirstFile(pattern, entry); }
    static bool Next(HANDLE search, FindData* entry) { return Wide().findNextFile(search, entry) != FALSE; }
    static HANDLE Open(const wchar_t* path, DWORD share, DWORD flags)
    {
        return Wide().createFile(path, 0, share, nullptr, OPEN_EXISTING, flags, nullptr);
    }
    // A sort key is bytes whatever the width of the name, and its size is
    // counted in bytes.
    static int SortKey(const wchar_t* name, char* key, int size)
    {
        return Wide().lcMapString(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, name, -1,
                                  reinterpret_cast<LPWSTR>(key), size);
    }
};

template <typename Char, typename String>
class FindHandle {
public:
    FindHandle(const String& pattern, typename Files<Char>::FindData* entry)
        : handle_(Files<Char>::First(pattern.c_str(), entry))
    {
    }
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

template <typename Char>
bool IsListed(DWORD attributes, const Char* name)
{
    if ((attributes & kPassedOver) || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    const bool dots = name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
    return !dots;
}

template <typename String>
String Pattern(String directory)
{
    using Char = typename String::value_type;
    if (!directory.empty() && directory.back() == '\\')
        directory.pop_back();
    const Char tail[] = {'\\', '*', '.', '*', 0};
    return directory + tail;
}

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

template <typename String>
std::optional<DirectoryIdentity> IdentityOf(String path)
{
    using Char = typename String::value_type;
    if (!path.empty() && path.back() == ':')
        path += '\\';  // the drive's root, not its current directory
    // Opening a directory needs the backup flag; the handle is the target's
    // when path is a link.
    const HANDLE handle = Files<Char>::Open(path.c_str(), FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            FILE_FLAG_BACKUP_SEMANTICS);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info = {};
    const bool known = GetFileInformationByHandle(handle, &info) != FALSE;
    CloseHandle(handle);
    if (!known)
        return std::nullopt;
    return DirectoryIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// Sorted by the sort key of each name, which the platform documents to order
// exactly as CompareString does: one conversion a name instead of two a
// comparison. A key ends in its only zero byte and compares as unsigned
// bytes, as strcmp does.
struct SortEntry {
    const char* key;  // kept by the caller; qsort moves only these plain records
    size_t index;
};

int CompareKeys(const void* a, const void* b)
{
    return std::strcmp(static_cast<const SortEntry*>(a)->key, static_cast<const SortEntry*>(b)->key);
}

}  // namespace

template <typename String>
std::vector<VisibleEntry<String>> ListVisible(String directory, bool firstOnly, volatile long* progress)
{
    using Char = typename String::value_type;
    const auto answered = [progress] {
        if (progress)
            InterlockedIncrement(progress);
    };
    std::vector<VisibleEntry<String>> list;
    typename Files<Char>::FindData entry = {};
    const FindHandle<Char, String> search(Pattern(std::move(directory)), &entry);
    answered();
    if (!search.Valid())
        return list;
    bool more = true;
    do {
        if (IsListed(entry.dwFileAttributes, entry.cFileName)) {
            list.push_back({entry.cFileName, (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
            if (firstOnly)
                break;
        }
        more = Files<Char>::Next(search.Get(), &entry);
        answered();
    } while (more);
    return list;
}

template <typename String>
void SortByLocale(std::vector<VisibleEntry<String>>& list)
{
    using Char = typename String::value_type;
    std::vector<std::string> keys(list.size());
    std::vector<SortEntry> entries(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        const Char* name = list[i].name.c_str();
        const int size = Files<Char>::SortKey(name, nullptr, 0);
        if (size > 0) {
            keys[i].resize(static_cast<size_t>(size));
            Files<Char>::SortKey(name, &keys[i][0], size);
        }
        entries[i] = {keys[i].c_str(), i};
    }
    // The runtime's own sort: far less code than a template instance.
    std::qsort(entries.data(), entries.size(), sizeof(SortEntry), CompareKeys);
    std::vector<VisibleEntry<String>> sorted;
    sorted.reserve(list.size());
    for (const SortEntry& entry : entries)
        sorted.push_back(std::move(list[entry.index]));
    list = std::move(sorted);
}

template <typename String>
bool HasVisibleSubdirectory(const String& directory, volatile long* progress)
{
    return !ListVisible(directory, true, progress).empty();
}

// The directories on the path are read only when a link asks, which is rare,
// so an ordinary tree costs nothing more than its listing.
template <typename String>
bool LeadsUpItsPath(const String& path, const String& directory)
{
    const std::optional<DirectoryIdentity> target = IdentityOf(path);
    if (!target)
        return false;
    for (size_t end = 0; end != String::npos && end < directory.size();) {
        end = directory.find('\\', end + 1);
        if (IdentityOf(directory.substr(0, end)) == target)
            return true;
    }
    return false;
}

template <typename String>
std::vector<ShownDirectory<String>> ReadSubMenu(const String& directory, int levelsLeft, volatile long* progress)
{
    std::vector<VisibleEntry<String>> list = ListVisible(directory, false, progress);
    SortByLocale(list);
    std::vector<ShownDirectory<String>> shown;
    shown.reserve(list.size());
    for (VisibleEntry<String>& entry : list) {
        const String path = directory + typename String::value_type('\\') + entry.name;
        const bool subMenu = levelsLeft > 0 && !(entry.link && LeadsUpItsPath(path, directory)) &&
                             HasVisibleSubdirectory(path, progress);
        shown.push_back({std::move(entry.name), subMenu});
    }
    return shown;
}

template std::vector<VisibleEntry<std::string>> ListVisible(std::string, bool, volatile long*);
template void SortByLocale(std::vector<VisibleEntry<std::string>>&);
template std::vector<ShownDirectory<std::string>> ReadSubMenu(const std::string&, int, volatile long*);
template std::vector<ShownDirectory<WideString>> ReadSubMenu(const WideString&, int, volatile long*);
template bool HasVisibleSubdirectory(const std::string&, volatile long*);
template bool HasVisibleSubdirectory(const WideString&, volatile long*);
template bool LeadsUpItsPath(const std::string&, const std::string&);
