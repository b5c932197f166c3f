#include <gtest/gtest.h>

#include "app/Switches.h"

TEST(ExitFlags, CombineRebootAndForce)
{
    EXPECT_EQ(ExitFlags(false, false), 1u);
    EXPECT_EQ(ExitFlags(false, true), 5u);
    EXPECT_EQ(ExitFlags(true, false), 2u);
    EXPECT_EQ(ExitFlags(true, true), 6u);
}

// GetVersion as each system answers it: build in the high word, the top bit
// for Windows 95, 98 and Me, minor and major version in the low word.
TEST(ExitFlags, ForceIfHungFromWindows2000On)
{
    const struct {
        const char* system;
        unsigned long version;
        bool has;
    } cases[] = {
        {"Windows 95", 0xC3B60004, false}, {"Windows 98", 0xC0000A04, false}, {"Windows Me", 0xC0005A04, false},
        {"Win32s", 0x80000A03, false},     {"Windows NT 4", 0x05650004, false}, {"Windows 2000", 0x08930005, true},
        {"Windows XP", 0x0A280105, true},  {"Windows 7", 0x1DB10106, true},
        {"Windows 10 without a manifest entry", 0x23F00206, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HasForceIfHung(c.version), c.has) << c.system;
}

TEST(ExitFlags, DirectShutdownForcesOnlyHungApplicationsWhereItCan)
{
    const struct {
        bool reboot, prompt, forceIfHung;
        unsigned flags;
    } cases[] = {
        {false, false, true, 0x11}, {true, false, true, 0x12}, {false, true, true, 1},  {true, true, true, 2},
        {false, false, false, 5},   {true, false, false, 6},   {false, true, false, 1}, {true, true, false, 2},
    };
    for (const auto& c : cases) {
        const unsigned flags = DirectShutdownFlags(c.reboot, c.prompt, c.forceIfHung);
        EXPECT_EQ(flags, c.flags) << c.reboot << c.prompt << c.forceIfHung;
        // Only a request that may kill the program writes the settings first.
        EXPECT_EQ(MayEndUnasked(flags), !c.prompt) << c.reboot << c.prompt << c.forceIfHung;
    }
    EXPECT_FALSE(MayEndUnasked(ExitFlags(true, false)));
    EXPECT_TRUE(MayEndUnasked(ExitFlags(false, true)));
}

TEST(Switches, LettersAnywhereInEitherCase)
{
    struct Case {
        const char* argument;
        bool minimize, close, shutdown;
        unsigned flags;
    };
    const Case cases[] = {
        {"m", true, false, false, 0},    {"M", true, false, false, 0},
        {"x", false, true, false, 0},    {"-max", true, true, false, 0},  // its a means nothing without k
        {"k", false, false, true, 1},    {"ka", false, false, true, 5},
        {"KB", false, false, true, 2},   {"back", false, false, true, 6},
        {"hello", false, false, false, 0}, {"ab", false, false, false, 0},
        {"", false, false, false, 0},    {"\xCD\xD8", false, false, false, 0},  // high bytes are not letters
    };
    for (const Case& c : cases) {
        const SwitchRequest r = ParseSwitches(c.argument);
        EXPECT_EQ(r.minimize, c.minimize) << c.argument;
        EXPECT_EQ(r.close, c.close) << c.argument;
        EXPECT_EQ(r.shutdown, c.shutdown) << c.argument;
        if (c.shutdown) {
            EXPECT_EQ(r.exitFlags, c.flags) << c.argument;
        }
    }
}

TEST(CommandLine, SplitsAtBlanksAndControlCharacters)
{
    using Words = std::vector<std::string>;
    EXPECT_EQ(SplitCommandLine(""), Words{});
    EXPECT_EQ(SplitCommandLine("   \t "), Words{});
    EXPECT_EQ(SplitCommandLine("Tamrik.exe m x"), (Words{"Tamrik.exe", "m", "x"}));
    EXPECT_EQ(SplitCommandLine("a\tb\x01" "c\r\nd"), (Words{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\Tamrik.exe\"  m"),
              (Words{"C:\\Program Files\\Tamrik.exe", "m"}));
}

TEST(CommandLine, QuotesGroupAndVanishWithoutBackslashRules)
{
    using Words = std::vector<std::string>;
    EXPECT_EQ(SplitCommandLine("p \"a b\" c"), (Words{"p", "a b", "c"}));
    EXPECT_EQ(SplitCommandLine("p a\"b c\"d"), (Words{"p", "ab cd"}));
    EXPECT_EQ(SplitCommandLine("p \"\""), (Words{"p", ""}));
    EXPECT_EQ(SplitCommandLine("p \"open to the end"), (Words{"p", "open to the end"}));
    EXPECT_EQ(SplitCommandLine("p a\\\"b c\\\""), (Words{"p", "a\\b c\\"}));
}

TEST(CommandLine, LongArgumentsStayWhole)
{
    const std::string big(100000, 'q');
    const std::vector<std::string> words = SplitCommandLine("p " + big + " k");
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[1], big);
}
