#include "Controls.h"

#include <algorithm>

#include "Application.h"
#include "ControlsDetail.h"
#include "Form.h"
#include "Platform.h"

using namespace controls_detail;

int controls_detail::NextControlId()
{
    static int next = 1000;
    return next++;
}

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
    layout_ = bounds;
    const UINT dpi = parent ? FormDpi(parent) : kLayoutDpi;
    // Our own classes meet their wrapper in WM_NCCREATE, before any other
    // message; the standard controls get it right after creation.
    handle_ = CreateWindowExA(exStyle, className, text.c_str(), style, ScaleToDpi(bounds.left, dpi),
                              ScaleToDpi(bounds.top, dpi), ScaleToDpi(bounds.width, dpi),
                              ScaleToDpi(bounds.height, dpi), parent,
                              (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id ? id : NextControlId()))
                                                 : nullptr,
                              Instance(), this);
    if (handle_)
        SetPropA(handle_, kWrapperProperty, this);
    if (parent)
        SetFont(reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0)));
}

UINT TControl::FormDpi(HWND window)
{
    const auto* form = dynamic_cast<const TForm*>(FromHandle(RootWindow(window)));
    return form ? form->Dpi() : kLayoutDpi;
}

void TControl::Place(UINT dpi)
{
    SetWindowPos(handle_, nullptr, ScaleToDpi(layout_.left, dpi), ScaleToDpi(layout_.top, dpi),
                 ScaleToDpi(layout_.width, dpi), ScaleToDpi(layout_.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
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
