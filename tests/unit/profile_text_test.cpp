#include <gtest/gtest.h>

#include <random>

#include "framework/ProfileText.h"

TEST(IntegerRule, DecimalHexAndDefaults)
{
    struct Case {
        const char* text;
        int32_t value;
    };
    const int32_t def = 77;
    const Case cases[] = {
        {"1", 1},          {"-3", -3},         {"+12", 12},       {"  5", 5},
        {"0x0A", 10},      {"0X1f", 31},       {"$0A", 10},       {"0x0", 0},
        {"0x", def},       {"$", def},         {"", def},         {"yes", def},
        {"5 ", def},       {"1.5", def},       {"--1", def},      {"0xG", def},
        {"2147483647", 2147483647},            {"-2147483648", INT32_MIN},
        {"2147483648", def},                   {"-2147483649", def},
        {"0xFFFFFFFF", -1},                    {"0x100000000", def},
        {"99999999999999999999", def},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseProfileInteger(c.text, def), c.value) << '"' << c.text << '"';
}

TEST(ProfileValues, ReadDropsBlanksAndOnePairOfQuotes)
{
    EXPECT_EQ(ProfileValueAsRead("  a b \t"), "a b");
    EXPECT_EQ(ProfileValueAsRead("\"q\""), "q");
    EXPECT_EQ(ProfileValueAsRead("'q'"), "q");
    EXPECT_EQ(ProfileValueAsRead(" \"\"x\"\" "), "\"x\"");
    EXPECT_EQ(ProfileValueAsRead("\"q'"), "\"q'");
    EXPECT_EQ(ProfileValueAsRead("\""), "\"");
    EXPECT_EQ(ProfileValueAsRead("\"\""), "");
    EXPECT_EQ(ProfileValueAsRead("\"C:\\Program Files\\x.exe\" /a"), "\"C:\\Program Files\\x.exe\" /a");
}

TEST(ProfileValues, QuotedValuesReadBackExactly)
{
    const std::vector<std::string> values = {
        "",       "plain", " lead", "trail ", "\ttab", "\"quoted\"", "'single'", "\"", "'", "\"\"",
        "\"a\" b \"c\"", "x\x1a", " ", "\"C:\\Program Files\\x.exe\"", "/K dir /w",
    };
    for (const std::string& value : values)
        EXPECT_EQ(ProfileValueAsRead(QuoteForProfile(value)), value) << '[' << value << ']';
    // Values the service leaves alone are stored as they are, so files stay readable.
    EXPECT_EQ(QuoteForProfile("eudora,something else,more...?"), "eudora,something else,more...?");
    EXPECT_EQ(QuoteForProfile("a \"b\""), "a \"b\"");
}

TEST(ProfileValues, RandomTextsSurviveTheRoundTrip)
{
    std::mt19937 random(1234);
    const std::string alphabet = " \t\"'ab=;\x1a\x0b";
    for (int i = 0; i < 2000; ++i) {
        std::string value;
        const int length = static_cast<int>(random() % 8);
        for (int k = 0; k < length; ++k)
            value += alphabet[random() % alphabet.size()];
        ASSERT_EQ(ProfileValueAsRead(QuoteForProfile(value)), value) << '[' << value << ']';
    }
}

TEST(ProfileLists, ZeroSeparatedNamesAndSectionLines)
{
    const char names[] = "a\0bb\0\0junk";
    EXPECT_EQ(SplitZeroList(names, sizeof(names)), (std::vector<std::string>{"a", "bb"}));
    EXPECT_TRUE(SplitZeroList(names, 0).empty());
    const char cut[] = {'a', '\0', 'b', 'c'};  // no final zero: the length ends it
    EXPECT_EQ(SplitZeroList(cut, sizeof(cut)), (std::vector<std::string>{"a", "bc"}));

    const std::vector<ProfileEntry> entries =
        ParseSectionLines({"k1=v", "k2 = \"q\" ", "noequals", "k3=a=b", "k4="});
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[1].key, "k2");
    EXPECT_EQ(entries[1].value, "q");
    EXPECT_EQ(entries[2].value, "a=b");
    EXPECT_EQ(entries[3].value, "");
}
