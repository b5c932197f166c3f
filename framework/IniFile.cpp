#include "IniFile.h"

#include <vector>

#include <windows.h>

namespace {

// The service cuts what does not fit and says so only by how much it
// returns: size-1 for a value, size-2 for a list of names or lines. Wine
// also returns size-2 for a quoted value cut by one character, so any read
// that comes that close is made again with twice the room.
constexpr DWORD kFirstBufferSize = 1024;

template <typename Read>
std::string ReadWhole(Read read)
{
    for (DWORD size = kFirstBufferSize;; size *= 2) {
        std::string buffer(size, '\0');
        const DWORD length = read(&buffer[0], size);
        if (length + 2 < size) {
            buffer.resize(length);
            return buffer;
        }
    }
}

}  // namespace

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const
{
    return ReadWhole(
        [&](char* buffer, DWORD size) {
            return GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer, size,
                                            fileName_.c_str());
        });
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const
{
    return ParseProfileInteger(ReadString(section, key, {}), def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const
{
    // An empty default: Wine copies the default for a missing section.
    const std::string names = ReadWhole(
        [&](char* buffer, DWORD size) {
            return GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer, size, fileName_.c_str());
        });
    return SplitZeroList(names.data(), names.size());
}

std::vector<ProfileEntry> TIniFile::ReadSectionValues(const std::string& section) const
{
    const std::string lines = ReadWhole(
        [&](char* buffer, DWORD size) {
            return GetPrivateProfileSectionA(section.c_str(), buffer, size, fileName_.c_str());
        });
    return ParseSectionLines(SplitZeroList(lines.data(), lines.size()));
}

namespace {

// The service's ANSI entry converts its strings to Unicode through a buffer
// of 32767 characters; a longer value fails to convert (Wine then deletes the
// key instead of writing it). Such values are converted here.
constexpr size_t kLongestAnsiValue = 32766;

// A zero-ended wide copy. A vector rather than a wide string: the wide
// string's code would double the runtime linked into the program.
std::vector<wchar_t> Widen(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(length) + 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

bool WriteProfileText(const std::string& section, const std::string& key, const std::string& text,
                      const std::string& fileName)
{
    if (text.size() <= kLongestAnsiValue)
        return WritePrivateProfileStringA(section.c_str(), key.c_str(), text.c_str(), fileName.c_str()) != FALSE;
    return WritePrivateProfileStringW(Widen(section).data(), Widen(key).data(), Widen(text).data(),
                                      Widen(fileName).data()) != FALSE;
}

}  // namespace

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    if (!WriteProfileText(section, key, QuoteForProfile(value), fileName_))
        WriteFailed();
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::EraseSection(const std::string& section)
{
    if (!WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, fileName_.c_str()))
        WriteFailed();
}

void TIniFile::WriteSectionValues(const std::string& section, const std::vector<ProfileEntry>& entries)
{
    std::string block;
    for (const ProfileEntry& entry : entries) {
        block += entry.key;
        block += '=';
        block += QuoteForProfile(entry.value);
        block += '\0';
    }
    block += '\0';
    if (!WritePrivateProfileSectionA(section.c_str(), block.c_str(), fileName_.c_str()))
        WriteFailed();
}

void TIniFile::WriteFailed() const
{
    throw EIniFileError("Unable to write to " + fileName_);
}
