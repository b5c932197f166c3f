#include "Controls.h"

#include <algorithm>

#include <commctrl.h>

#include "Application.h"
#include "ProfileText.h"

namespace {

// Each of our windows carries a pointer back to its wrapper.
const char kWrapperProperty[] = "TamrikControl";
// A standard control we filter keeps its own procedure here; the wrapper
// may be gone while the last messages of the window arrive.
const char kPreviousProcProperty[] = "TamrikPreviousProc";

HINSTANCE Instance()
{
    return GetModuleHandleA(nullptr);
}

int NextControlId()
{
    static int next = 1000;
    return next++;
}

}  // namespace

FontHandle MakeFont(const char* face, int pixelHeight, bool bold)
{
    return FontHandle(CreateFontA(-pixelHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, face));
}

// --- TControl ---------------------------------------------------------------

TControl::TControl(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {}

TControl::~TControl()
{
    if (handle_) {
        const HWND window = handle_;
        Detach();
        DestroyWindow(window);
    }
}

void TControl::Detach()
{
    if (!handle_)
        return;
    RemovePropA(handle_, kWrapperProperty);
    handle_ = nullptr;
}

TControl* TControl::FromHandle(HWND window)
{
    return window ? static_cast<TControl*>(GetPropA(window, kWrapperProperty)) : nullptr;
}

void TControl::CreateHandle(const char* className, DWORD style, DWORD exStyle, HWND parent, const TBounds& bounds,
                            const std::string& text, int id)
{
    // Our own classes meet their wrapper in WM_NCCREATE, before any other
    // message; the standard controls get it right after creation.
    handle_ = CreateWindowExA(exStyle, className, text.c_str(), style, bounds.left, bounds.top, bounds.width,
                              bounds.height, parent,
                              (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id ? id : NextControlId()))
                                                 : nullptr,
                              Instance(), this);
    if (handle_)
        SetPropA(handle_, kWrapperProperty, this);
    if (parent)
        SetFont(reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0)));
}

std::string TControl::Text() const
{
    const int length = GetWindowTextLengthA(handle_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(handle_, &text[0], length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

void TControl::SetText(const std::string& text)
{
    SetWindowTextA(handle_, text.c_str());
}

void TControl::SetFont(HFONT font)
{
    font_ = font;
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void TControl::ApplyTabOrder()
{
    std::vector<TControl*> children;
    for (HWND child = GetWindow(handle_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (TControl* control = FromHandle(child))
            children.push_back(control);
    std::stable_sort(children.begin(), children.end(),
                     [](const TControl* a, const TControl* b) { return a->TabOrder() < b->TabOrder(); });
    HWND after = HWND_TOP;
    for (TControl* control : children) {
        SetWindowPos(control->Handle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = control->Handle();
        control->ApplyTabOrder();
    }
}

void TControl::RegisterContainerClass(const char* className, HBRUSH background, HICON icon)
{
    WNDCLASSA existing;
    if (GetClassInfoA(Instance(), className, &existing))
        return;
    WNDCLASSA windowClass = {};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = ContainerProc;
    windowClass.hInstance = Instance();
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
}

LRESULT CALLBACK TControl::ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* control = static_cast<TControl*>(create->lpCreateParams);
        control->handle_ = window;
        SetPropA(window, kWrapperProperty, control);
    }
    TControl* control = FromHandle(window);
    if (!control)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        control->Detach();
        return DefWindowProcA(window, message, wParam, lParam);
    }
    // No error may cross the window procedure: it goes to the error box.
    LRESULT result = 0;
    Guarded([&] { result = control->WindowProc(message, wParam, lParam); });
    return result;
}

LRESULT TControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_COMMAND:
        if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam)))
            child->Command(HIWORD(wParam));
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (TControl* child = FromHandle(header->hwndFrom))
            return child->Notify(*header);
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam)))
            if (HBRUSH brush = child->ControlColor(reinterpret_cast<HDC>(wParam)))
                return reinterpret_cast<LRESULT>(brush);
        break;
    default:
        break;
    }
    return DefWindowProcA(handle_, message, wParam, lParam);
}

// --- TButton ----------------------------------------------------------------

TButton::TButton(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds,
                 const std::string& caption, int tabOrder, bool isDefault)
    : TControl(owner, std::move(name))
{
    SetTabOrder(tabOrder);
    CreateHandle("BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0,
                 parent->Handle(), bounds, caption, isDefault ? IDOK : 0);
}

void TButton::Command(WORD code)
{
    if (code == BN_CLICKED)
        OnClick(this);
}

// --- TTwoStateButton, TCheckBox, TRadioButton -------------------------------

TTwoStateButton::TTwoStateButton(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds,
                                 const std::string& caption, int tabOrder, bool checked, DWORD kind)
    : TControl(owner, std::move(name))
{
    SetTabOrder(tabOrder);
    CreateHandle("BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind, 0, parent->Handle(), bounds, caption);
    SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TTwoStateButton::Checked() const
{
    return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TTwoStateButton::SetChecked(bool checked)
{
    if (checked == Checked())
        return;
    SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (checked)
        Checking();
    OnClick(this);
}

void TTwoStateButton::Command(WORD code)
{
    if (code != BN_CLICKED)
        return;
    if (Checked())
        Checking();
    OnClick(this);
}

TCheckBox::TCheckBox(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds,
                     const std::string& caption, int tabOrder, bool checked)
    : TTwoStateButton(owner, std::move(name), parent, bounds, caption, tabOrder, checked, BS_AUTOCHECKBOX)
{
}

TRadioButton::TRadioButton(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds,
                           const std::string& caption, int tabOrder, bool checked)
    : TTwoStateButton(owner, std::move(name), parent, bounds, caption, tabOrder, checked, BS_AUTORADIOBUTTON)
{
}

void TRadioButton::Checking()
{
    const HWND parent = GetParent(Handle());
    for (HWND sibling = GetWindow(parent, GW_CHILD); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        auto* radio = dynamic_cast<TRadioButton*>(FromHandle(sibling));
        if (radio && radio != this)
            SendMessageA(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

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
    SendMessageA(upDown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
    // Aligned, the buttons take their width from the field and overlap its
    // right border by 2 pixels, so that the pair falls short of the field's
    // rectangle: widen the field and move the buttons to fill it.
    RECT arrows, field;
    GetWindowRect(upDown_, &arrows);
    GetWindowRect(Handle(), &field);
    MapWindowPoints(nullptr, parent->Handle(), reinterpret_cast<POINT*>(&arrows), 2);
    const int shortfall = bounds.left + bounds.width - arrows.right;
    SetWindowPos(Handle(), nullptr, 0, 0, field.right - field.left + shortfall, bounds.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(upDown_, nullptr, arrows.left + shortfall, arrows.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(upDown_, UDM_SETRANGE32, static_cast<WPARAM>(minValue), static_cast<LPARAM>(maxValue));
    SetPropA(upDown_, kWrapperProperty, this);  // its notifications reach this wrapper
    SetValue(value);
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

// --- TListBox ---------------------------------------------------------------

TListBox::TListBox(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds, int tabOrder,
                   bool sorted)
    : TControl(owner, std::move(name))
{
    SetTabOrder(tabOrder);
    CreateHandle("LISTBOX",
                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL |
                     LBS_NOINTEGRALHEIGHT | (sorted ? LBS_SORT : 0),
                 WS_EX_CLIENTEDGE, parent->Handle(), bounds, {});
}

int TListBox::Count() const
{
    return static_cast<int>(SendMessageA(Handle(), LB_GETCOUNT, 0, 0));
}

std::string TListBox::Item(int index) const
{
    const LRESULT length = SendMessageA(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessageA(Handle(), LB_GETTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

std::vector<std::string> TListBox::Items() const
{
    std::vector<std::string> items;
    const int count = Count();
    items.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        items.push_back(Item(i));
    return items;
}

void TListBox::SetItems(const std::vector<std::string>& items)
{
    SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
    Clear();
    SendMessageA(Handle(), LB_INITSTORAGE, items.size(), 0);
    for (const std::string& item : items)
        Insert(-1, item);
    SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TListBox::Add(const std::string& item)
{
    SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

// LB_INSERTSTRING never sorts; index -1 appends.
void TListBox::Insert(int index, const std::string& item)
{
    SendMessageA(Handle(), LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.c_str()));
}

void TListBox::Delete(int index)
{
    SendMessageA(Handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TListBox::Clear()
{
    SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
}

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
    RECT area;
    GetClientRect(tabControl, &area);
    TabCtrl_AdjustRect(tabControl, FALSE, &area);
    CreateHandle("TTabSheet", WS_CHILD | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, tabControl,
                 {area.left, area.top, area.right - area.left, area.bottom - area.top}, {});
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
