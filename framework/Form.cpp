#include "Form.h"

#include "Application.h"
#include "Platform.h"

namespace {

const DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
const DWORD kFormExStyle = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE;
// Sent to a per-monitor aware window that has moved to a monitor of another
// DPI (Windows 8.1 and later): the new DPI in wParam, the suggested window
// rectangle in lParam.
constexpr UINT kDpiChanged = 0x02E0;

}  // namespace

// Made at its client size; its frame is known only once the window is there,
// at the DPI of its monitor.
TForm::TForm(TComponent* owner, const TFormStyle& style) : TControl(owner, style.className)
{
    RegisterContainerClass(style.className, GetSysColorBrush(COLOR_BTNFACE), Application ? Application->Icon() : nullptr);
    CreateHandle(style.className, kFormStyle, kFormExStyle, Application ? Application->Handle() : nullptr,
                 {0, 0, style.clientWidth, style.clientHeight}, style.caption);
    dpi_ = Platform().getDpiForWindow(Handle());
    FitClientArea();
    SetFont(AddFont(style.fontFace, style.fontPixelHeight, false));
}

HFONT TForm::AddFont(const char* face, int pixelHeight, bool bold)
{
    fonts_.push_back({face, pixelHeight, bold, MakeFont(face, ScaleToDpi(pixelHeight, dpi_), bold).release(), nullptr});
    return fonts_.back().handle;
}

// The frame is what the window has beyond its client area now: at the
// window's own DPI on every system, which a frame computed for a DPI is not
// where the system scales frames by another rule.
void TForm::FitClientArea()
{
    RECT window, client;
    GetWindowRect(Handle(), &window);
    GetClientRect(Handle(), &client);
    SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left - client.right + ScaleToDpi(Layout().width, dpi_),
                 window.bottom - window.top - client.bottom + ScaleToDpi(Layout().height, dpi_),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Rescale(UINT dpi)
{
    dpi_ = dpi;
    for (ScaledFont& font : fonts_) {
        font.previous = font.handle;
        font.handle = MakeFont(font.face, ScaleToDpi(font.pixelHeight, dpi), font.bold).release();
    }
    SetFont(FormFont());
    FitClientArea();
    RescaleChildren(Handle());
    for (const ScaledFont& font : fonts_)
        DeleteObject(font.previous);  // no control uses it now
}

// Parents first: a tab sheet takes its area from its tab control as that is
// now, and a label its size from its new font.
void TForm::RescaleChildren(HWND parent)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        TControl* control = TControl::FromHandle(child);
        if (!control || control->Handle() != child)
            continue;  // the spin field's buttons, which the field places
        for (const ScaledFont& font : fonts_)
            if (control->Font() == font.previous)
                control->SetFont(font.handle);
        control->Place(dpi_);
        RescaleChildren(child);
    }
}

TForm::~TForm()
{
    BeforeDestruction();
    for (const ScaledFont& font : fonts_)
        DeleteObject(font.handle);
}

void TForm::BeforeDestruction()
{
    if (destroying_)
        return;
    destroying_ = true;
    Guarded([this] { OnDestroy(this); });
}

TForm* TForm::FromHandle(HWND window)
{
    return dynamic_cast<TForm*>(TControl::FromHandle(window));
}

void TForm::Show()
{
    if (!placed_) {
        placed_ = true;
        RECT frame;
        GetWindowRect(Handle(), &frame);
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(Handle(), SW_SHOW);
    // Showing activates the form, and its activation handler may hide it
    // again (the startup pass does); bringing it forward then would activate
    // it a second time.
    if (!IsWindowVisible(Handle()))
        return;
    SetForegroundWindow(Handle());
    BringWindowToTop(Handle());
}

void TForm::Hide()
{
    ShowWindow(Handle(), SW_HIDE);
}

bool TForm::Visible() const
{
    return IsWindowVisible(Handle()) != FALSE;
}

bool TForm::DialogKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN)
        return false;
    // Enter presses a focused push button, as in a dialog box; elsewhere it
    // is the default button's.
    const HWND focus = GetFocus();
    if (msg.wParam == VK_RETURN && IsChild(Handle(), focus) &&
        (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON)) {
        SendMessageA(focus, BM_CLICK, 0, 0);
        return true;
    }
    if (msg.wParam != VK_TAB || GetKeyState(VK_CONTROL) >= 0)
        return false;
    for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (auto* pages = dynamic_cast<TPageControl*>(TControl::FromHandle(child))) {
            pages->SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
            return true;
        }
    return false;
}

void TForm::Close()
{
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else
        Hide();
}

LRESULT TForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (TApplication::SessionMessage(message, wParam, result))
        return result;
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            // Remember where the focus was, to give it back on return.
            if (TControl* focused = TControl::FromHandle(GetFocus()))
                activeControl_ = focused;
            return 0;
        }
        if (activeControl_ && IsWindowVisible(activeControl_->Handle()))
            SetFocus(activeControl_->Handle());
        OnActivate(this);
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case kDpiChanged: {
        // The suggested rectangle keeps the window from bouncing between
        // the two monitors as it is resized.
        const RECT suggested = *reinterpret_cast<const RECT*>(lParam);
        Rescale(HIWORD(wParam));
        SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_NEXTDLGCTL: {
        // The dialog keys ask this of a window that is not a dialog box too:
        // the arrow keys name the control, Tab asks for the next one.
        const HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                         : GetNextDlgTabItem(Handle(), GetFocus(), wParam != 0);
        if (next)
            SetFocus(next);
        return 0;
    }
    default:
        return TControl::WindowProc(message, wParam, lParam);
    }
}
