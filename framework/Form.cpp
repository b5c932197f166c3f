#include "Form.h"

#include "Application.h"

namespace {

const DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
const DWORD kFormExStyle = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE;

}  // namespace

TForm::TForm(TComponent* owner, const TFormStyle& style)
    : TControl(owner, style.className), font_(MakeFont(style.fontFace, style.fontPixelHeight, false))
{
    RegisterContainerClass(style.className, GetSysColorBrush(COLOR_BTNFACE), Application ? Application->Icon() : nullptr);
    RECT frame = {0, 0, style.clientWidth, style.clientHeight};
    AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
    CreateHandle(style.className, kFormStyle, kFormExStyle, Application ? Application->Handle() : nullptr,
                 {0, 0, frame.right - frame.left, frame.bottom - frame.top}, style.caption);
    SetFont(font_.get());
}

TForm::~TForm()
{
    BeforeDestruction();
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
