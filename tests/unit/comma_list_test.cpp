#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

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

// The fields as the field functions give them, one GetField at a time.
std::vector<std::string> FieldByField(const std::string& s, char c)
{
    std::vector<std::string> fields;
    for (int i = 1; i <= FieldCount(s, c); ++i)
        fields.push_back(GetField(s, i, c));
    return fields;
}

// The ignore test as the list's rules describe it, field by field.
bool IgnoredFieldByField(const std::string& title, const std::string& list)
{
    for (int i = 1; i <= FieldCount(list, ','); ++i) {
        const std::string entry = TrimBlanks(GetField(list, i, ','));
        if (!entry.empty() && title.find(entry) != std::string::npos)
            return true;
    }
    return false;
}

// Short texts over a small alphabet, so that empty fields, runs of
// separators, blanks at either end and repeats all come up often.
std::string RandomText(std::mt19937& random, size_t maxLength)
{
    static const char alphabet[] = ",,; \tab\x01";
    std::string text(std::uniform_int_distribution<size_t>(0, maxLength)(random), ' ');
    for (char& ch : text)
        ch = alphabet[std::uniform_int_distribution<size_t>(0, sizeof(alphabet) - 2)(random)];
    return text;
}

TEST(CommaList, SplitFieldsGivesWhatGetFieldGives)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 5000; ++round) {
        const std::string text = RandomText(random, 40);
        for (const char separator : {',', ';', 'a'})
            ASSERT_EQ(SplitFields(text, separator), FieldByField(text, separator)) << '"' << text << '"';
    }
    for (const std::string& text : {std::string(400, ','), std::string(400, 'x'), std::string(","), std::string()})
        EXPECT_EQ(SplitFields(text, ','), FieldByField(text, ',')) << text.size() << " characters";

    // A whole ignore box of commas: every field is there, and empty.
    const std::string commas(16384, ',');
    const std::vector<std::string> fields = SplitFields(commas, ',');
    ASSERT_EQ(fields.size(), static_cast<size_t>(FieldCount(commas, ',')));
    EXPECT_EQ(fields, std::vector<std::string>(16385));
}

TEST(IgnoreList, OnePassAgreesWithTheFieldFunctions)
{
    std::mt19937 random(7);
    int ignored = 0;
    for (int round = 0; round < 5000; ++round) {
        const std::string title = RandomText(random, 12), list = RandomText(random, 30);
        ASSERT_EQ(IsIgnored(title, list), IgnoredFieldByField(title, list)) << '"' << title << "\" / \"" << list << '"';
        ignored += IsIgnored(title, list);
    }
    EXPECT_GT(ignored, 500);  // the inputs exercise both answers
    EXPECT_LT(ignored, 4500);
}

// A sweep tests every window against the whole list. Field by field, one
// title against 16,384 commas took 23 s (natively, -O2), so fifty windows
// took some twenty minutes; in one pass they take a fraction of a second,
// even here under the sanitizers, and the deadline leaves room for a busy
// machine.
TEST(IgnoreList, LongListsCostLinearTime)
{
    std::string entries;
    while (entries.size() < 16384)
        entries += "entry" + std::to_string(entries.size()) + " ,";
    const auto start = std::chrono::steady_clock::now();
    for (int window = 0; window < 50; ++window) {
        EXPECT_FALSE(IsIgnored("untitled - notepad", std::string(16384, ',')));
        EXPECT_FALSE(IsIgnored("untitled - notepad", entries));
    }
    EXPECT_TRUE(IsIgnored("a title ending in entry0", entries));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
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
