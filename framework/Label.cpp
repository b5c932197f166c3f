#include "Controls.h"

// --- TLabel -----------------------------------------------------------------

TLabel::TLabel(TComponent* owner, std::string name, TControl* parent, int left, int top, const std::string& caption)
    : TControl(owner, std::move(name)), textColor_(GetSysColor(COLOR_WINDOWTEXT))
{
    CreateHandle("STATIC", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, parent->Handle(), {left, top, 0, 0},
                 caption);
    AutoSize();
}

void TLabel::SetFont(HFONT font)
{
    TControl::SetFont(font);
    AutoSize();
}

// A label's size is its caption's in its font; only its place scales.
void TLabel::Place(UINT dpi)
{
    SetWindowPos(Handle(), nullptr, ScaleToDpi(Layout().left, dpi), ScaleToDpi(Layout().top, dpi), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLabel::SetTextColor(COLORREF color)
{
    textColor_ = color;
    hasColor_ = true;
    InvalidateRect(Handle(), nullptr, TRUE);
}

HBRUSH TLabel::ControlColor(HDC dc)
{
    if (!hasColor_)
        return nullptr;
    ::SetTextColor(dc, textColor_);
    SetBkMode(dc, TRANSPARENT);
    return GetSysColorBrush(COLOR_BTNFACE);
}

void TLabel::AutoSize()
{
    const std::string caption = Text();
    const HDC dc = GetDC(Handle());
    const HGDIOBJ previous = SelectObject(dc, Font() ? Font() : GetStockObject(DEFAULT_GUI_FONT));
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(Handle(), dc);
    SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
