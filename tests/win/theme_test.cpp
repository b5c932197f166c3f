// The Properties window in the visual style: each tab page painted with the
// tab body, and no box of the button face behind its labels, check boxes
// and radio buttons; with the tab control's theme off, the classic look.
#include "TestSupport.h"

#include <map>

namespace {

bool IsLabelOrToggle(HWND window)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    const LONG kind = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
    return IsWindowVisible(window) && (lstrcmpiA(className, "Static") == 0 ||
           (lstrcmpiA(className, "Button") == 0 && (kind == BS_AUTOCHECKBOX || kind == BS_AUTORADIOBUTTON)));
}

// The colour most pixels of the rectangle show, as painted on the form.
COLORREF MostOf(HDC dc, const RECT& place)
{
    std::map<COLORREF, int> counts;
    for (int y = place.top; y < place.bottom; ++y)
        for (int x = place.left; x < place.right; ++x)
            ++counts[GetPixel(dc, x, y)];
    return std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
               return a.second < b.second;
           })->first;
}

// Each page in turn: its own colour where no control stands (its
// bottom-right corner), and behind each of its labels and toggles, the
// colour expected of a page with or without the tab body.
void ExpectEveryPage(TfrmTamrik& form, bool themed)
{
    TPageControl* pages = form.PageControl1;
    const HWND window = form.Handle();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int i = 0; i < pages->PageCount(); ++i) {
        SCOPED_TRACE(pages->Page(i)->Caption());
        pages->SetActivePageIndex(i);
        const HWND page = pages->Page(i)->Handle();
        EXPECT_EQ(pages->Page(i)->ThemedBackground() != nullptr, themed);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        const HDC dc = GetDC(window);
        RECT client;
        GetClientRect(page, &client);
        POINT corner = {client.right - 3, client.bottom - 3};
        MapWindowPoints(page, window, &corner, 1);
        const COLORREF body = GetPixel(dc, corner.x, corner.y);
        // Wine 8's "Light" theme gives the tab body a colour of its own.
        EXPECT_EQ(body != face, themed);
        int controls = 0;
        for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsLabelOrToggle(child))
                continue;
            RECT place;
            GetWindowRect(child, &place);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
            char text[64] = {};
            GetWindowTextA(child, text, sizeof(text));
            EXPECT_EQ(MostOf(dc, place), body) << text;
            ++controls;
        }
        EXPECT_GT(controls, 0);
        ReleaseDC(window, dc);
    }
}

}  // namespace

TEST_F(TamrikTest, PagesShowTheTabBodyBehindTheirControlsAndTheButtonFaceWithoutATheme)
{
    StartProgram();
    Form().Show();
    ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(Form().Handle()) != FALSE; }));
    ExpectEveryPage(Form(), true);

    // A tab control without a theme, as with visual styles off or on Windows
    // 95 to 2000. A class list that names no part of the theme turns it off;
    // the change is sent to the tab control alone.
    using SetWindowThemeCall = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    const auto setWindowTheme = reinterpret_cast<SetWindowThemeCall>(SystemFunction("uxtheme.dll", "SetWindowTheme"));
    ASSERT_NE(setWindowTheme, nullptr);
    setWindowTheme(Form().PageControl1->Handle(), L" ", L" ");
    for (int i = 0; i < Form().PageControl1->PageCount(); ++i)
        SendMessageA(Form().PageControl1->Page(i)->Handle(), WM_THEMECHANGED, 0, 0);
    ExpectEveryPage(Form(), false);
}
