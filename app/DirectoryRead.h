// What the drives menu reads of the file system, kept apart from the menu so
// that it can run on any thread: the visible sub-directories of one
// directory, sorted, and whether each of them would open a sub-menu. Names
// come wide (wchar_t) where the system has wide file functions and in the
// user's code page (char) elsewhere: String is std::string or WideString.
#pragma once

#include <string>
#include <vector>

#include "framework/WideText.h"

// One entry of a sub-menu: the directory's name and whether it shows as a
// sub-menu of its own.
template <typename String>
struct ShownDirectory {
    String name;
    bool subMenu;
};

// A directory as its parent's listing shows it.
template <typename String>
struct VisibleEntry {
    String name;
    bool link;  // a junction or symbolic link
};

// The visible sub-directories of directory, in the order the platform finds
// them; with firstOnly, at most the first. A directory that cannot be
// listed, for whatever reason, lists nothing. When progress is given, it is
// counted up each time the platform answers one of the listing's calls.
template <typename String>
std::vector<VisibleEntry<String>> ListVisible(String directory, bool firstOnly, volatile long* progress = nullptr);

// Sorted as CompareString with the user's locale, ignoring case, sorts.
template <typename String>
void SortByLocale(std::vector<VisibleEntry<String>>& list);

// What the sub-menu of directory holds when its entries may still open
// levelsLeft levels of their own: an entry is a sub-menu when levelsLeft is
// above 0, it has a visible sub-directory, and it is not a link back to
// directory or a directory above it (which would never end). Only each
// entry's own listing up to its first visible sub-directory is read.
// progress is as for ListVisible, for every listing the sub-menu reads.
template <typename String>
std::vector<ShownDirectory<String>> ReadSubMenu(const String& directory, int levelsLeft,
                                                volatile long* progress = nullptr);

// Whether directory has a visible sub-directory at all; progress is as for
// ListVisible.
template <typename String>
bool HasVisibleSubdirectory(const String& directory, volatile long* progress = nullptr);

// Whether the directory that path leads to, links followed, is directory or
// one of the directories above it on its path.
template <typename String>
bool LeadsUpItsPath(const String& path, const String& directory);
