// The Properties window in the visual style: each tab page painted with the
// tab body, and no box of the button face behind its labels, check boxes
// and radio buttons; with the tab control's theme off, the classic look.
#include "TestSupport.h"

#include <map>

namespace {

// What a page's labels and buttons show behind themselves, by kind.
struct Background {
    std::string control;
    COLORREF most;  // the colour most of the control's pixels have
};

bool IsLabelOrToggle(HWND window)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpiA(className, "Static") == 0)
        return true;
    if (lstrcmpiA(className, "Button") != 0)
        return false;
    const LONG kind = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

// Every label, check box and radio button of the page, with the colour
// most of its pixels show as painted on the form.
std::vector<Background> Backgrounds(HWND form, HWND page)
{
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::vector<Background> found;
    const HDC dc = GetDC(form);
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsLabelOrToggle(child) || !IsWindowVisible(child))
            continue;
        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&place), 2);
        std::map<COLORREF, int> counts;
        for (int y = place.top; y < place.bottom; ++y)
            for (int x = place.left; x < place.right; ++x)
                ++counts[GetPixel(dc, x, y)];
        const auto most = std::max_element(counts.begin(), counts.end(),
                                           [](const auto& a, const auto& b) { return a.second < b.second; });
        char text[64] = {};
        GetWindowTextA(child, text, sizeof(text));
        found.push_back({text, most == counts.end() ? CLR_INVALID : most->first});
    }
    ReleaseDC(form, dc);
    return found;
}

// The colour the page shows where no control stands: its bottom-right corner.
COLORREF PageColour(HWND form, HWND page)
{
    RECT client;
    GetClientRect(page, &client);
    POINT corner = {client.right - 3, client.bottom - 3};
    MapWindowPoints(page, form, &corner, 1);
    const HDC dc = GetDC(form);
    const COLORREF colour = GetPixel(dc, corner.x, corner.y);
    ReleaseDC(form, dc);
    return colour;
}

class ThemeTest : public TamrikTest {
protected:
    void SetUp() override
    {
        TamrikTest::SetUp();
        StartProgram();
        Form().Show();
        ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(Form().Handle()) != FALSE; }));
    }
    // Each page in turn: its own colour where no control stands, and what
    // is behind each of its labels and buttons.
    template <typename Check>
    void EachPage(Check check)
    {
        TPageControl* pages = Form().PageControl1;
        for (int i = 0; i < pages->PageCount(); ++i) {
            pages->SetActivePageIndex(i);
            const HWND page = pages->Page(i)->Handle();
            const std::vector<Background> backgrounds = Backgrounds(Form().Handle(), page);
            EXPECT_FALSE(backgrounds.empty()) << pages->Page(i)->Caption();
            check(pages->Page(i), PageColour(Form().Handle(), page), backgrounds);
        }
    }
};

}  // namespace

// Wine 8's "Light" theme, on in a new prefix, gives the tab body a colour
// of its own, unlike the button face the classic look paints pages with.
TEST_F(ThemeTest, LabelsAndButtonsShowTheTabBodyBehindThem)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EachPage([&](const TTabSheet* page, COLORREF body, const std::vector<Background>& backgrounds) {
        ASSERT_NE(page->ThemedBackground(), nullptr) << "no visual style in this prefix";
        EXPECT_NE(body, face) << page->Caption() << ": the page is not the tab body";
        for (const Background& background : backgrounds)
            EXPECT_EQ(background.most, body) << page->Caption() << ": " << background.control;
    });
}

// A tab control without a theme (as with visual styles off, or on Windows
// 95 to 2000) leaves the pages and their controls the button face.
TEST_F(ThemeTest, WithoutAThemeThePagesKeepTheButtonFace)
{
    using SetWindowThemeCall = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    const auto setWindowTheme = reinterpret_cast<SetWindowThemeCall>(SystemFunction("uxtheme.dll", "SetWindowTheme"));
    ASSERT_NE(setWindowTheme, nullptr);
    const HWND tabs = Form().PageControl1->Handle();
    setWindowTheme(tabs, L" ", L" ");  // a class list that names no part of the theme
    // It sends WM_THEMECHANGED to the tab control alone.
    for (int i = 0; i < Form().PageControl1->PageCount(); ++i)
        SendMessageA(Form().PageControl1->Page(i)->Handle(), WM_THEMECHANGED, 0, 0);

    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EachPage([&](const TTabSheet* page, COLORREF body, const std::vector<Background>& backgrounds) {
        EXPECT_EQ(page->ThemedBackground(), nullptr) << page->Caption();
        EXPECT_EQ(body, face) << page->Caption();
        for (const Background& background : backgrounds)
            EXPECT_EQ(background.most, face) << page->Caption() << ": " << background.control;
    });
}
