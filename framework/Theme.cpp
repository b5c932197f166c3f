#include "Theme.h"

#include "Platform.h"

namespace {

// TABP_BODY of the TAB class: what a tab control draws under its row.
constexpr int kTabBody = 10;

using OpenThemeDataCall = HANDLE(WINAPI*)(HWND, LPCWSTR);
using CloseThemeDataCall = HRESULT(WINAPI*)(HANDLE);
using DrawThemeBackgroundCall = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);

struct ThemeCalls {
    OpenThemeDataCall open = nullptr;
    CloseThemeDataCall close = nullptr;
    DrawThemeBackgroundCall draw = nullptr;
};

const ThemeCalls& Theme()
{
    static const ThemeCalls calls = [] {
        ThemeCalls found;
        found.open = reinterpret_cast<OpenThemeDataCall>(SystemFunction("uxtheme.dll", "OpenThemeData"));
        found.close = reinterpret_cast<CloseThemeDataCall>(SystemFunction("uxtheme.dll", "CloseThemeData"));
        found.draw =
            reinterpret_cast<DrawThemeBackgroundCall>(SystemFunction("uxtheme.dll", "DrawThemeBackground"));
        return found.open && found.close && found.draw ? found : ThemeCalls{};
    }();
    return calls;
}

}  // namespace

TabBodyBrush::~TabBodyBrush()
{
    Free();
}

void TabBodyBrush::Free()
{
    if (brush_)
        DeleteObject(brush_);
    if (bitmap_)
        DeleteObject(bitmap_);
    brush_ = nullptr;
    bitmap_ = nullptr;
}

// OpenThemeData answers null while the theme is off, and for a program the
// user has excluded from visual styles.
void TabBodyBrush::Make(HWND tabControl, int width, int height)
{
    Free();
    const ThemeCalls& theme = Theme();
    if (!theme.open || width <= 0 || height <= 0)
        return;
    const HANDLE data = theme.open(tabControl, L"TAB");
    if (!data)
        return;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = SelectObject(memory, bitmap_);
    const RECT body = {0, 0, width, height};
    FillRect(memory, &body, GetSysColorBrush(COLOR_BTNFACE));
    theme.draw(data, memory, kTabBody, 0, &body, nullptr);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    theme.close(data);
    brush_ = CreatePatternBrush(bitmap_);
}
