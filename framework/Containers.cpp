#include "Controls.h"

#include <algorithm>

#include <commctrl.h>

// --- TPanel -----------------------------------------------------------------

TPanel::TPanel(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds, int tabOrder)
    : TControl(owner, std::move(name))
{
    SetTabOrder(tabOrder);
    RegisterContainerClass("TPanel", GetSysColorBrush(COLOR_BTNFACE), nullptr);
    CreateHandle("TPanel", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent->Handle(), bounds,
                 {});
}

LRESULT TPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return TControl::WindowProc(message, wParam, lParam);
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(Handle(), &paint);
    RECT rect;
    GetClientRect(Handle(), &rect);
    DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
    EndPaint(Handle(), &paint);
    return 0;
}

// --- TPageControl and TTabSheet ---------------------------------------------

TTabSheet::TTabSheet(TComponent* owner, std::string name, HWND tabControl, const std::string& caption)
    : TControl(owner, std::move(name)), caption_(caption)
{
    RegisterContainerClass("TTabSheet", GetSysColorBrush(COLOR_BTNFACE), nullptr);
    CreateHandle("TTabSheet", WS_CHILD | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, tabControl, {}, {});
    Place(kLayoutDpi);
}

void TTabSheet::MakeBackground()
{
    RECT client;
    GetClientRect(Handle(), &client);
    body_.Make(GetParent(Handle()), client.right, client.bottom);
    InvalidateRect(Handle(), nullptr, TRUE);
}

// A themed page is not a dialog, so the dialog-only texture helper does
// nothing for it: the page paints the tab body itself, and hands the body to
// its labels, check boxes and radio buttons, aligned to where each stands,
// so that none shows a box of the button face. Edit boxes, read-only ones
// included (they ask as statics do), keep the colours they choose.
LRESULT TTabSheet::ChildColor(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto dc = reinterpret_cast<HDC>(wParam);
    const auto child = reinterpret_cast<HWND>(lParam);
    char className[8] = {};
    GetClassNameA(child, className, sizeof(className));
    if (!body_.Get() || lstrcmpiA(className, "Edit") == 0)
        return TControl::WindowProc(message, wParam, lParam);
    if (TControl* wrapper = FromHandle(child))
        wrapper->ControlColor(dc);  // a label's own text colour stays
    RECT place;
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&place), 2);
    SetBrushOrgEx(dc, -place.left, -place.top, nullptr);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(body_.Get());
}

LRESULT TTabSheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
    case WM_THEMECHANGED:
        MakeBackground();
        break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
        if (body_.Get()) {
            RECT client;
            GetClientRect(Handle(), &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, body_.Get());
            return 1;
        }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return ChildColor(message, wParam, lParam);
    default:
        break;
    }
    return TControl::WindowProc(message, wParam, lParam);
}

// The tab row's height follows the tab control's font, so the area is asked
// of the tab control each time rather than scaled.
void TTabSheet::Place(UINT)
{
    const HWND tabControl = GetParent(Handle());
    RECT area;
    GetClientRect(tabControl, &area);
    TabCtrl_AdjustRect(tabControl, FALSE, &area);
    SetWindowPos(Handle(), nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

TPageControl::TPageControl(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds,
                           int tabOrder)
    : TControl(owner, std::move(name))
{
    SetTabOrder(tabOrder);
    CreateHandle(WC_TABCONTROLA, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                 WS_EX_CONTROLPARENT, parent->Handle(), bounds, {});
}

TTabSheet* TPageControl::AddPage(std::string name, const std::string& caption)
{
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(Handle(), TCM_INSERTITEMA, pages_.size(), reinterpret_cast<LPARAM>(&item));
    // The tab row exists now, so the sheet can take the area under it.
    auto* sheet = Owner()->Make<TTabSheet>(std::move(name), Handle(), caption);
    sheet->SetTabOrder(static_cast<int>(pages_.size()));
    pages_.push_back(sheet);
    ShowActivePage();
    return sheet;
}

int TPageControl::ActivePageIndex() const
{
    return static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0));
}

void TPageControl::SetActivePageIndex(int index)
{
    SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    ShowActivePage();
}

void TPageControl::SelectNextPage(bool forward)
{
    const int count = PageCount();
    if (count == 0)
        return;
    const int active = std::max(ActivePageIndex(), 0);
    const bool focusOnPage = IsChild(Page(active)->Handle(), GetFocus()) != FALSE;
    const int next = (active + (forward ? 1 : count - 1)) % count;
    SetActivePageIndex(next);
    if (!focusOnPage)
        return;
    if (const HWND first = GetNextDlgTabItem(Page(next)->Handle(), nullptr, FALSE))
        SetFocus(first);
}

LRESULT TPageControl::Notify(const NMHDR& header)
{
    if (header.code == TCN_SELCHANGE)
        ShowActivePage();
    return 0;
}

void TPageControl::ShowActivePage()
{
    const int active = ActivePageIndex();
    for (size_t i = 0; i < pages_.size(); ++i)
        ShowWindow(pages_[i]->Handle(), static_cast<int>(i) == active ? SW_SHOW : SW_HIDE);
}
