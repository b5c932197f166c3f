#include <gtest/gtest.h>

#include "app/CommaList.h"

TEST(CommaList, PartsClampTheirCounts)
{
    EXPECT_EQ(LeftPart("abc", 2), "ab");
    EXPECT_EQ(LeftPart("abc", 0), "");
    EXPECT_EQ(LeftPart("abc", -1), "");
    EXPECT_EQ(LeftPart("abc", 9), "abc");
    EXPECT_EQ(RightPart("abc", 2), "bc");
    EXPECT_EQ(RightPart("abc", -5), "");
    EXPECT_EQ(RightPart("abc", 9), "abc");
    EXPECT_EQ(RemoveChar("a,b,,c", ','), "abc");
}

TEST(CommaList, FieldsCountEmptyOnes)
{
    struct Case {
        const char* text;
        int index;
        const char* field;
    };
    const Case cases[] = {
        {"", 1, ""},          {"a", 1, "a"},       {"a,b", 2, "b"},   {",b", 1, ""},
        {",b", 2, "b"},       {"a,,c", 2, ""},     {"a,,c", 3, "c"},  {"a,b,", 3, ""},
        {"a,b", 3, ""},       {"a,b", 0, ""},      {"a,b", -1, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetField(c.text, c.index, ','), c.field) << c.text << " #" << c.index;
    EXPECT_EQ(FieldCount("", ','), 1);
    EXPECT_EQ(FieldCount("a,,c,", ','), 4);
}

TEST(CommaList, TrimAndBlankUseCodesUpTo32)
{
    EXPECT_EQ(TrimBlanks(" \t\x01 a b \r\n"), "a b");
    EXPECT_EQ(TrimBlanks("\x7f"), "\x7f");
    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank(" \t\x1f"));
    EXPECT_FALSE(IsBlank(" x "));
}

TEST(CommaList, LowerAsciiLeavesOtherBytes)
{
    EXPECT_EQ(LowerAscii("AbZ@[`{"), "abz@[`{");
    EXPECT_EQ(LowerAscii("\xC9t\xC9"), "\xC9t\xC9");  // accented capitals stay
}

TEST(IgnoreList, MatchesEntriesAnywhereInTheTitle)
{
    struct Case {
        const char* title;
        const char* list;
        bool ignored;
    };
    const Case cases[] = {
        {"eudora pro", "eudora,something else", true},   // at the start
        {"my eudora pro", "eudora", true},               // in the middle
        {"mail - eudora", "eudora", true},               // at the end
        {"notepad", "eudora,something else", false},
        {"notepad", "", false},                          // empty box ignores nothing
        {"notepad", " , ,, ", false},                    // commas and blanks only
        {"notepad", "x,  note  ,y", true},               // blanks around an entry
        {"something else", "something else", true},
        {"somethingelse", "something else", false},      // inner blank is part of the entry
        {"anything", ",", false},
        {"xhere", "\there\r", true},                     // control characters are trimmed too
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsIgnored(c.title, c.list), c.ignored) << c.title << " / " << c.list;
}
