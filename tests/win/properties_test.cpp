// The Properties window's own rules: the depth field's keys and limits, the
// site list's order, the keys of the window and its pages, and Help.
#include "TestSupport.h"

namespace {

// Keys reach a control as the message loop gets them from the keyboard, so
// that the form's dialog keys see them first.
void Press(HWND target, WPARAM key, bool control = false, bool shift = false)
{
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
    PumpUntil([] {
        MSG msg;
        return !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    });
    state[VK_CONTROL] = state[VK_SHIFT] = 0;
    SetKeyboardState(state);
}

void Type(HWND field, const std::string& keys)
{
    for (const char key : keys)
        SendMessageA(field, WM_CHAR, static_cast<unsigned char>(key), 1);
}

int VisiblePage(const TPageControl* pages)
{
    int visible = -1;
    for (int i = 0; i < pages->PageCount(); ++i)
        if (IsWindowVisible(pages->Page(i)->Handle()))
            visible = visible == -1 ? i : -2;  // -2: more than one
    return visible;
}

}  // namespace

TEST_F(TamrikTest, DepthFieldTakesOnlyTheKeysOfANumber)
{
    StartProgram();
    const HWND field = Form().spnDepth->Handle();
    char separator[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof(separator));
    const struct {
        std::string typed, shown;
    } cases[] = {
        {"1a2", "12"},
        {"+-" + std::string(1, separator[0]) + "7", "+-" + std::string(1, separator[0]) + "7"},
        {"x Z!\r", ""},
        {"45\b", "4"},  // Backspace edits
    };
    for (const auto& c : cases) {
        Form().spnDepth->SetText("");
        Type(field, c.typed);
        EXPECT_EQ(Form().spnDepth->Text(), c.shown) << "typed " << c.typed;
    }
}

TEST_F(TamrikTest, DepthFieldKeepsItsLimitsOnKeysAndWhenTheFocusLeaves)
{
    StartProgram();
    Form().Show();
    TSpinEdit* depth = Form().spnDepth;
    Form().PageControl1->SetActivePageIndex(2);
    const struct {
        const char* text;
        WPARAM key;  // 0: the focus leaves instead
        const char* shown;
        int value;
    } steps[] = {
        {"49", VK_UP, "50", 50}, {"50", VK_UP, "50", 50},    {"1", VK_DOWN, "0", 0},  {"0", VK_DOWN, "0", 0},
        {"99", 0, "50", 50},     {"-7", 0, "0", 0},          {"25", 0, "25", 25},     {"abc", 0, "abc", 0},
        {"abc", VK_UP, "1", 1},  {"+7", 0, "+7", 7},
    };
    for (const auto& step : steps) {
        SetFocus(depth->Handle());
        depth->SetText(step.text);
        if (step.key)
            Press(depth->Handle(), step.key);
        else
            SetFocus(Form().btnOK->Handle());
        EXPECT_EQ(depth->Text(), step.shown) << step.text << " key " << step.key;
        EXPECT_EQ(depth->Value(), step.value) << step.text << " key " << step.key;
    }
}

TEST_F(TamrikTest, SiteListSortsSitesAddedOneByOneButKeepsALoadedOrder)
{
    StartProgram();
    TListBox* sites = Form().lstSites;
    sites->SetItems({"zeta", "Alpha", "mu"});
    EXPECT_EQ(sites->Items(), (std::vector<std::string>{"zeta", "Alpha", "mu"}));
    sites->Clear();
    for (const char* site : {"b", "A", "c", "B"})
        sites->Add(site);
    const std::vector<std::string> items = sites->Items();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0], "A");
    EXPECT_EQ(items[3], "c");
    EXPECT_EQ(GetWindowLongA(sites->Handle(), GWL_STYLE) & LBS_EXTENDEDSEL, LBS_EXTENDEDSEL);
}

TEST_F(TamrikTest, KeysTurnThePagesAndMoveWithinThemAndTheLastPageShownStays)
{
    StartProgram();
    Form().Show();
    TPageControl* pages = Form().PageControl1;
    ASSERT_EQ(pages->ActivePageIndex(), 0);
    SetFocus(Form().chkMin->Handle());
    const struct {
        bool shift;
        int page;
    } steps[] = {{false, 1}, {false, 2}, {true, 1}, {true, 0}, {true, 4}, {false, 0}};
    for (const auto& step : steps) {
        Press(GetFocus(), VK_TAB, true, step.shift);
        EXPECT_EQ(pages->ActivePageIndex(), step.page);
        EXPECT_EQ(VisiblePage(pages), step.page);
        // The focus follows onto the new page.
        EXPECT_TRUE(IsChild(pages->Page(step.page)->Handle(), GetFocus())) << "page " << step.page;
    }
    // The arrow keys move within a page in tab order; an option button
    // takes its check with the focus. The dialog keys move to an option
    // button themselves, but ask the form to move to any other control.
    pages->SetActivePageIndex(1);
    SetFocus(Form().chkPromptOnClose->Handle());
    Press(GetFocus(), VK_DOWN);
    EXPECT_EQ(GetFocus(), Form().chkDoReboot->Handle());
    Press(GetFocus(), VK_DOWN);
    Press(GetFocus(), VK_DOWN);
    EXPECT_EQ(GetFocus(), Form().radShutdown->Handle());
    EXPECT_TRUE(Form().radShutdown->Checked());
    EXPECT_FALSE(Form().radShutdownMenu->Checked());

    pages->SetActivePageIndex(3);
    Form().Hide();
    Form().Show();
    EXPECT_EQ(pages->ActivePageIndex(), 3);
    EXPECT_EQ(VisiblePage(pages), 3);
}

// Enter on the focused Help button presses Help; elsewhere it is OK's.
TEST_F(TamrikTest, EscapeDoesNothingEnterIsOKAndHelpOpensTheManual)
{
    StartProgram();
    Form().Show();
    SetFocus(Form().btnHelp->Handle());
    Press(GetFocus(), VK_ESCAPE);
    Press(GetFocus(), VK_RETURN);
    EXPECT_TRUE(Form().Visible());
    ASSERT_EQ(Seams().programs.size(), 1u);
    EXPECT_EQ(Seams().programs[0].first, "notepad " + Form().ProgramDirectory + "readme.txt");
    EXPECT_EQ(Seams().programs[0].second, static_cast<UINT>(SW_SHOWNORMAL));

    SetFocus(Form().txtIgnore->Handle());
    Press(GetFocus(), VK_RETURN);
    EXPECT_FALSE(Form().Visible());
    EXPECT_FALSE(Application->Terminated());
    EXPECT_EQ(Seams().programs.size(), 1u);
}
