// The profile service's behaviour that the settings object is written
// against, pinned where the tests run: under Wine.
#include <iterator>

#include "TestSupport.h"
#include "framework/IniFile.h"

using namespace std::string_literals;

TEST_F(TamrikTest, ProfileServiceUnquotesOnlyWhenReadingByKey)
{
    struct Case {
        const char *stored, *byKey, *listed;  // after "k<n>=", by GetPrivateProfileStringA, in the section's line
    };
    const Case cases[] = {
        {"  a  ", "a", "a"},    {"\"q\"", "q", "\"q\""},        {"'q'", "q", "'q'"},
        {"\"", "\"", "\""},     {"\"\"x\"\"", "\"x\"", "\"\"x\"\""}, {"\"a'", "\"a'", "\"a'"},
        {"", "", ""},           {"\ta\tb\t", "a\tb", "a\tb"},   {"\" a \"", " a ", "\" a \""},
    };
    std::string text = "[S]\r\n";
    for (size_t i = 0; i < std::size(cases); ++i)
        text += "k" + std::to_string(i) + "=" + cases[i].stored + "\r\n";
    WriteSettings(text);
    const std::vector<std::string> lines = SectionLines("S");
    const std::vector<ProfileEntry> entries = TIniFile(kSettingsFile).ReadSectionValues("S");
    ASSERT_EQ(lines.size(), std::size(cases));
    ASSERT_EQ(entries.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string key = "k" + std::to_string(i);
        char value[64];
        GetPrivateProfileStringA("S", key.c_str(), "default", value, sizeof(value), kSettingsFile);
        EXPECT_STREQ(value, cases[i].byKey) << cases[i].stored;
        EXPECT_EQ(lines[i], key + "=" + cases[i].listed);
        // The settings object lists the section in one call and applies the
        // read-by-key rule itself: it must agree with a read by key.
        EXPECT_EQ(entries[i].value, value) << cases[i].stored;
    }
}

TEST_F(TamrikTest, ProfileServiceTellsOfACutReadOnlyByItsCount)
{
    WriteSettings("[S]\r\nplain=abcdefgh\r\nquoted=\"abcd\"\r\n[T]\r\nalpha=1\r\nbeta=2\r\n");
    struct Case {
        const char *section, *key;  // a null key lists the key names
        DWORD size, count;
        std::string text;
    };
    const Case cases[] = {
        {"S", "plain", 5, 4, "abcd"}, {"S", "quoted", 4, 3, "abc"}, {"S", "quoted", 6, 4, "abcd"},
        // Room for exactly the unquoted value: Wine loses a character and
        // counts size-2, as if nothing were cut.
        {"S", "quoted", 5, 3, "abc"},
        // Names: size-2, even when the whole list just fits.
        {"T", nullptr, 9, 7, "alpha\0b"s},
        {"T", nullptr, 12, 10, "alpha\0beta"s},
        {"T", nullptr, 13, 11, "alpha\0beta\0"s},
    };
    for (const Case& c : cases) {
        std::string buffer(c.size, '#');
        const DWORD count = GetPrivateProfileStringA(c.section, c.key, "", &buffer[0], c.size, kSettingsFile);
        EXPECT_EQ(count, c.count) << (c.key ? c.key : "names") << " in " << c.size;
        EXPECT_EQ(buffer.substr(0, count), c.text) << (c.key ? c.key : "names") << " in " << c.size;
    }
}

TEST_F(TamrikTest, ProfileServiceWrites)
{
    char names[8] = "junk";
    // A missing section lists nothing given an empty default (Wine would copy a default).
    EXPECT_EQ(GetPrivateProfileStringA("S", nullptr, "", names, sizeof(names), kSettingsFile), 0u);
    EXPECT_EQ(names[0], '\0');
    // Erasing a missing section succeeds and makes no file.
    EXPECT_TRUE(WritePrivateProfileStringA("S", nullptr, nullptr, kSettingsFile));
    EXPECT_EQ(GetFileAttributesA(SettingsPath().c_str()), INVALID_FILE_ATTRIBUTES);
    // A write makes a missing file but not a missing directory.
    EXPECT_TRUE(WritePrivateProfileStringA("S", "k", "v", kSettingsFile));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", "C:\\tamrik-missing\\Tamrik.ini"));
    EXPECT_TRUE(WritePrivateProfileStringA("T", nullptr, nullptr, kSettingsFile));
    // Wine drops the leading blanks of a value it writes.
    EXPECT_TRUE(WritePrivateProfileStringA("S", "blanks", "  v  ", kSettingsFile));
    EXPECT_EQ(ReadSettings(), "[S]\r\nk=v\r\nblanks=v  \r\n");

    WriteSettings("[S]\r\na=1\r\nb=2\r\n[T]\r\nc=3\r\n");
    EXPECT_TRUE(WritePrivateProfileSectionA("S", "x=9\0y=8\0", kSettingsFile));
    EXPECT_EQ(ReadSettings(), "[S]\r\nx=9\r\ny=8\r\n[T]\r\nc=3\r\n");
}
