// The settings-file object over the platform's profile (INI) service. It
// holds only the file name; every operation goes to the platform at once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Exception.h"
#include "ProfileText.h"

// Raised when the service refuses a write: "Unable to write to <file>".
class EIniFileError : public Exception {
public:
    using Exception::Exception;
};

class TIniFile {
public:
    explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

    const std::string& FileName() const { return fileName_; }

    // The stored text, whole however long, or def if the key is absent.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    // The section's key names in file order, however many.
    std::vector<std::string> ReadSection(const std::string& section) const;
    // The section's key=value lines in file order, each value as a read by
    // key returns it, taken in one call to the service.
    std::vector<ProfileEntry> ReadSectionValues(const std::string& section) const;

    // Stores text so that it reads back exactly as given.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void EraseSection(const std::string& section);
    // Replaces the section's lines by entries, in one call to the service.
    void WriteSectionValues(const std::string& section, const std::vector<ProfileEntry>& entries);

private:
    [[noreturn]] void WriteFailed() const;
    std::string fileName_;
};
