// What the launchers make of typed text. The first input line is a name or
// path, the second the parameters, the rest the sites of the telnet menu.
#include <algorithm>
#include <cstring>

#include "FuzzCheck.h"
#include "app/CommaList.h"
#include "app/LaunchText.h"
#include "app/Switches.h"
#include "tests/unit/FakeMenu.h"

namespace {

// The text a menu shows for a caption: "&&" is one "&", a single "&" marks
// the character after it as the access key and is not shown.
struct Shown {
    std::string text;
    bool accessKey = false;
};

Shown ShownText(const std::string& caption)
{
    Shown shown;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            shown.text += caption[i];
            continue;
        }
        if (++i == caption.size())
            break;
        shown.accessKey = shown.accessKey || caption[i] != '&';
        shown.text += caption[i];
    }
    return shown;
}

void CheckCaption(const std::string& name)
{
    const std::string caption = MenuCaption(name);
    FUZZ_CHECK((caption == "-") == (name == "-"));
    if (name == "-")
        return;
    const Shown shown = ShownText(caption);
    FUZZ_CHECK(shown.text == name);
    FUZZ_CHECK(!shown.accessKey);
}

// A name the file dialog can return: no quotes and no control characters.
bool CanBePath(const std::string& path)
{
    if (path.empty())
        return false;
    for (const char c : path)
        if (c == '"' || (IsBlankCode(c) && c != ' '))
            return false;
    return true;
}

void CheckCommandLines(const std::string& program, const std::string& parameters)
{
    for (const auto& [line, fallback] :
         {std::pair{MSDOSCommandLine(program, parameters), kDefaultInterpreter},
          std::pair{TelnetCommandLine(program, parameters), kDefaultTelnetClient}}) {
        // Both texts go in as typed: the program in front, the parameters at the end.
        FUZZ_CHECK(EndsWith(line, parameters));
        const std::string head = line.substr(0, line.size() - parameters.size());
        FUZZ_CHECK(head == (IsBlank(program) ? std::string(fallback) : program + " "));
    }
    FUZZ_CHECK(ExplorerCommandLine(program) == kExplorerPrefix + ('"' + program + '"'));

    const std::string box = ProgramBoxText(program);
    if (program.find(' ') == std::string::npos)
        FUZZ_CHECK(box == program);
    if (!CanBePath(program))
        return;
    // A chosen program starts as one word, whatever the parameters are.
    FUZZ_CHECK(SplitCommandLine(box) == std::vector<std::string>{program});
    FUZZ_CHECK(SplitCommandLine(MSDOSCommandLine(box, parameters)).front() == program);
    FUZZ_CHECK(SplitCommandLine(TelnetCommandLine(box, parameters)).front() == program);
}

void CheckBadDrives(const std::string& text, const std::string& more)
{
    std::string capitals = text;
    for (char& c : capitals)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        if (IsBadDrive(text, letter))
            FUZZ_CHECK(IsBadDrive(more + text, letter) && IsBadDrive(text + more, letter));
        FUZZ_CHECK(!IsBadDrive(RemoveChar(text, letter), letter));
        FUZZ_CHECK(!IsBadDrive(capitals, letter));
    }
}

void CheckSiteItems(const std::vector<std::string>& sites)
{
    const std::vector<std::string> fixed = FakeMenu::Fixed();
    FakeMenu menu;

    std::vector<std::string> expected;
    for (auto site = sites.rbegin(); site != sites.rend(); ++site)
        expected.push_back(MenuCaption(*site));
    if (!sites.empty())
        expected.push_back("-");
    expected.insert(expected.end(), fixed.begin(), fixed.end());

    // Every popup rebuilds from the menu the last one left.
    menu.Rebuild(sites);
    FUZZ_CHECK(menu.Captions() == expected);
    menu.Rebuild(sites);
    FUZZ_CHECK(menu.Captions() == expected);
    menu.Rebuild({});
    FUZZ_CHECK(menu.Captions() == fixed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> lines = SplitFields(InputText(data, size), '\n');
    const std::string first = lines.front();
    const std::string second = lines.size() > 1 ? lines[1] : std::string();
    CheckCaption(first);
    CheckCommandLines(first, second);
    CheckBadDrives(first, second);
    lines.erase(lines.begin(), lines.begin() + std::min<size_t>(2, lines.size()));
    CheckSiteItems(lines);
    for (const std::string& site : lines)
        CheckCaption(site);

    if (size >= sizeof(int)) {
        int value = 0;
        std::memcpy(&value, data, sizeof value);
        const int depth = ScanDepth(value);
        FUZZ_CHECK(depth >= 0 && depth <= kMaxScanDepth && ScanDepth(depth) == depth);
        FUZZ_CHECK(value < 0 || value > kMaxScanDepth || depth == value);
    }
    return 0;
}
