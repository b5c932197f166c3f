#include "Controls.h"

#include <algorithm>

#include <commctrl.h>

#include "ControlsDetail.h"
#include "ProfileText.h"

using namespace controls_detail;

// --- TEdit ------------------------------------------------------------------

TEdit::TEdit(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds, const std::string& text,
             int tabOrder, bool readOnly)
    : TControl(owner, std::move(name))
{
    SetTabOrder(tabOrder);
    CreateHandle("EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0),
                 WS_EX_CLIENTEDGE, parent->Handle(), bounds, {});
    // The default limit would cut long stored values; take the largest.
    SendMessageA(Handle(), EM_LIMITTEXT, 0, 0);
    SetText(text);
}

void TEdit::SetColors(COLORREF text, COLORREF background)
{
    textColor_ = text;
    backgroundColor_ = background;
    background_.reset(CreateSolidBrush(background));
    InvalidateRect(Handle(), nullptr, TRUE);
}

HBRUSH TEdit::ControlColor(HDC dc)
{
    if (!background_)
        return nullptr;
    ::SetTextColor(dc, textColor_);
    SetBkColor(dc, backgroundColor_);
    return background_.get();
}

// --- TSpinEdit --------------------------------------------------------------

TSpinEdit::TSpinEdit(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds, int value,
                     int minValue, int maxValue, int tabOrder)
    : TControl(owner, std::move(name)), min_(minValue), max_(maxValue)
{
    SetTabOrder(tabOrder);
    CreateHandle("EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, parent->Handle(),
                 bounds, {});
    SetPropA(Handle(), kPreviousProcProperty,
             reinterpret_cast<HANDLE>(
                 SetWindowLongPtrA(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TSpinEdit::FieldProc))));
    // The buttons sit inside the field's own rectangle, at its right edge.
    upDown_ = CreateWindowExA(0, UPDOWN_CLASSA, nullptr,
                              WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                              0, 0, 0, 0, parent->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    Arrange();
    SendMessageA(upDown_, UDM_SETRANGE32, static_cast<WPARAM>(minValue), static_cast<LPARAM>(maxValue));
    SetPropA(upDown_, kWrapperProperty, this);  // its notifications reach this wrapper
    SetValue(value);
}

void TSpinEdit::Place(UINT dpi)
{
    TControl::Place(dpi);
    Arrange();
}

// The field holds its whole rectangle when this is called.
void TSpinEdit::Arrange()
{
    const HWND parent = GetParent(Handle());
    RECT arrows, field;
    GetWindowRect(Handle(), &field);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&field), 2);
    SendMessageA(upDown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
    // Aligned, the buttons take their width from the field and overlap its
    // right border by 2 pixels, so that the pair falls short of the field's
    // rectangle: widen the field and move the buttons to fill it.
    GetWindowRect(upDown_, &arrows);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&arrows), 2);
    const int shortfall = field.right - arrows.right;
    RECT narrowed;
    GetWindowRect(Handle(), &narrowed);
    SetWindowPos(Handle(), nullptr, 0, 0, narrowed.right - narrowed.left + shortfall, field.bottom - field.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(upDown_, nullptr, arrows.left + shortfall, arrows.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TSpinEdit::Value() const
{
    return ParseProfileInteger(Text(), 0);
}

void TSpinEdit::SetValue(int value)
{
    SetText(std::to_string(std::clamp(value, min_, max_)));
}

LRESULT CALLBACK TSpinEdit::FieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto previous = reinterpret_cast<WNDPROC>(GetPropA(window, kPreviousProcProperty));
    if (message == WM_CHAR && !Accepts(static_cast<char>(wParam))) {
        MessageBeep(MB_OK);
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemovePropA(window, kPreviousProcProperty);
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

// Digits, signs, the user's decimal separator, and the control characters
// of editing (Backspace, Ctrl+C, Ctrl+V...), but not Enter.
bool TSpinEdit::Accepts(char key)
{
    char separator[8] = ".";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof(separator));
    const auto code = static_cast<unsigned char>(key);
    return (key >= '0' && key <= '9') || key == '+' || key == '-' || key == separator[0] ||
           (code < ' ' && key != '\r');
}

// Leaving the field brings an out-of-range value to the nearer limit; any
// other text, even one that is not a number, stays as typed.
void TSpinEdit::Command(WORD code)
{
    if (code != EN_KILLFOCUS)
        return;
    const int value = Value();
    if (value != std::clamp(value, min_, max_))
        SetValue(value);
}

LRESULT TSpinEdit::Notify(const NMHDR& header)
{
    if (header.code != UDN_DELTAPOS)
        return 0;
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    SetValue(Value() + change.iDelta);
    return TRUE;  // the field keeps its own value, not the buttons'
}
