// The settings-file object: whole reads however long, writes that read back
// as given, and the write error.
#include <iterator>

#include "TestSupport.h"
#include "framework/IniFile.h"

namespace {

// Text in which a lost or shifted character shows.
std::string Pattern(size_t length)
{
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += static_cast<char>('a' + i % 26);
    return text;
}

}  // namespace

TEST_F(TamrikTest, IniFileReadsLongValuesAndManyKeysWhole)
{
    // Quoted values whose unquoted length fills a buffer exactly are the case
    // Wine cuts without saying so.
    const std::string stored[] = {Pattern(1023), Pattern(1024), Pattern(5000), '"' + Pattern(1023) + '"',
                                  '"' + Pattern(2047) + '"'};
    const size_t lengths[] = {1023, 1024, 5000, 1023, 2047};
    std::string text = "[Long]\r\n";
    for (size_t i = 0; i < std::size(stored); ++i)
        text += "v" + std::to_string(i) + "=" + stored[i] + "\r\n";
    text += "[Many]\r\n";  // 1000 names take some 11 KB, past a first block of 8 KB
    for (int i = 0; i < 1000; ++i)
        text += "YourSite" + std::to_string(i) + "=s" + std::to_string(i) + "\r\n";
    WriteSettings(text);

    const TIniFile ini(kSettingsFile);
    for (size_t i = 0; i < std::size(stored); ++i) {
        const std::string read = ini.ReadString("Long", "v" + std::to_string(i), "");
        EXPECT_TRUE(read == Pattern(lengths[i])) << "value " << i << " read as " << read.size() << " characters";
    }
    const std::vector<std::string> names = ini.ReadSection("Many");
    const std::vector<ProfileEntry> entries = ini.ReadSectionValues("Many");
    ASSERT_EQ(names.size(), 1000u);
    ASSERT_EQ(entries.size(), 1000u);
    EXPECT_EQ(names[999], "YourSite999");
    EXPECT_EQ(entries[999].key + "=" + entries[999].value, "YourSite999=s999");
}

TEST_F(TamrikTest, IniFileWritesTextThatReadsBackAsGiven)
{
    const std::string values[] = {"  lead", "trail  ", "\"quoted\"", "'single'", "\ttab\t", "\"", "'", "\"\"", "",
                                  "\"a'", "a = b", "\"a\" b \"c\"", "end\x1a", "\v", ";", ' ' + Pattern(1022)};
    TIniFile ini(kSettingsFile);
    for (size_t i = 0; i < std::size(values); ++i)
        ini.WriteString("S", "k" + std::to_string(i), values[i]);
    const std::vector<ProfileEntry> entries = ini.ReadSectionValues("S");
    ASSERT_EQ(entries.size(), std::size(values));
    for (size_t i = 0; i < std::size(values); ++i) {
        const std::string read = ini.ReadString("S", "k" + std::to_string(i), "default");
        EXPECT_TRUE(read == values[i]) << "value " << i << " read as \"" << read.substr(0, 20) << "\", "
                                       << read.size() << " characters";
        EXPECT_TRUE(entries[i].value == values[i]) << "value " << i << " listed as \"" << entries[i].value << '"';
    }
}

TEST_F(TamrikTest, IniFileRaisesTheWriteError)
{
    const auto expectWriteError = [](const std::function<void()>& write, const std::string& text) {
        try {
            write();
            ADD_FAILURE() << "no error for " << text;
        } catch (const EIniFileError& error) {
            EXPECT_EQ(error.what(), text);
        }
    };
    WriteSettings("[S]\r\nk=v\r\n");
    TIniFile ini(kSettingsFile);
    {
        const HeldSettings held;
        expectWriteError([&] { ini.WriteString("S", "k", "w"); }, "Unable to write to Tamrik.ini");
        expectWriteError([&] { ini.EraseSection("S"); }, "Unable to write to Tamrik.ini");
        expectWriteError([&] { ini.WriteSectionValues("S", {{"a", "b"}}); }, "Unable to write to Tamrik.ini");
    }
    EXPECT_EQ(ReadSettings(), "[S]\r\nk=v\r\n");
    TIniFile elsewhere("C:\\tamrik-missing\\Tamrik.ini");
    expectWriteError([&] { elsewhere.WriteBool("S", "k", true); }, "Unable to write to C:\\tamrik-missing\\Tamrik.ini");
}
