#include "QVTrayIcon.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "framework/Application.h"
#include "framework/Menus.h"
#include "framework/Platform.h"
#include "framework/Timer.h"

namespace {

const char kNotifyClass[] = "TQVTrayIconNotify";
constexpr UINT kDefaultInterval = 500;
constexpr UINT kFlagsWithoutTip = NIF_MESSAGE | NIF_ICON;
constexpr UINT kFlagsWithTip = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr size_t kHintLimit = 64;
// How often an add the notification area refused is tried again.
constexpr UINT kRetryInterval = 1000;

// Every live instance, in the order they were made.
std::vector<TQVTrayIcon*>& Instances()
{
    static std::vector<TQVTrayIcon*> instances;
    return instances;
}

// What the shell broadcasts to every top-level window once its notification
// area is up, at logon and after a crash or restart, with no icon in it.
UINT TaskbarCreated()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

// Stamps each add, so that icons put back go in the order they stood.
unsigned long addCount = 0;

void RegisterNotifyClass(WNDPROC proc)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kNotifyClass;
    RegisterClassA(&windowClass);  // fails harmlessly once registered
}

}  // namespace

TQVTrayIcon::TQVTrayIcon(TComponent* owner, std::string name) : TComponent(owner, std::move(name))
{
    for (auto& image : images_)
        image = std::make_unique<TIcon>();

    // A hidden top-level window rather than a message-only one: the session
    // end and the shell's restart are broadcast to top-level windows alone.
    RegisterNotifyClass(NotifyProc);
    notifyWindow_ = CreateWindowExA(WS_EX_TOOLWINDOW, kNotifyClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), this);

    record_ = std::make_unique<NOTIFYICONDATAA>();
    std::memset(record_.get(), 0, sizeof(NOTIFYICONDATAA));
    record_->cbSize = NOTIFYICONDATAA_V1_SIZE;
    record_->hWnd = notifyWindow_;
    record_->uID = kTrayIconId;
    record_->uCallbackMessage = kTrayCallback;
    record_->uFlags = kFlagsWithoutTip;

    timer_ = Make<TTimer>("");
    timer_->SetEnabled(false);
    timer_->OnTimer.Bind(this, &TQVTrayIcon::Tick);
    retry_ = Make<TTimer>("");
    retry_->SetEnabled(false);
    retry_->SetInterval(kRetryInterval);
    retry_->OnTimer.Bind(this, &TQVTrayIcon::RetryAdd);
    shownImage_ = -1;
    SetInterval(kDefaultInterval);
    shown_ = false;
    Instances().push_back(this);
}

TQVTrayIcon::~TQVTrayIcon()
{
    Instances().erase(std::find(Instances().begin(), Instances().end(), this));
    Send(NIM_DELETE);  // shown or not
    Free(retry_);
    Free(timer_);
    record_.reset();
    for (auto& image : images_)
        image.reset();
    SetWindowLongPtrA(notifyWindow_, GWLP_USERDATA, 0);
    DestroyWindow(notifyWindow_);
}

bool TQVTrayIcon::Send(DWORD message)
{
    return Platform().shellNotifyIcon(message, record_.get()) != FALSE;
}

// A shell that is not up yet (the program started at logon) refuses the add;
// it is tried again on a timer until it takes. An add that timed out may
// still have been carried out late: then the icon is there to modify.
void TQVTrayIcon::Add()
{
    addedAt_ = ++addCount;
    retry_->SetEnabled(!Send(NIM_ADD) && !Send(NIM_MODIFY));
}

bool TQVTrayIcon::AddPending() const
{
    return retry_->Enabled();
}

void TQVTrayIcon::RetryAdd(TComponent*)
{
    retry_->SetEnabled(shown_ && !Send(NIM_ADD) && !Send(NIM_MODIFY));
}

// Every copy of the broadcast reaches a notify window of its own, in the
// windows' z order rather than the order the icons stood in. The first
// instance made puts back every shown icon, in that order, with the image
// and tip it has now; the copies to the other instances are let pass.
void TQVTrayIcon::AreaRestarted()
{
    if (Instances().empty() || Instances().front() != this)
        return;
    std::vector<TQVTrayIcon*> shown;
    std::copy_if(Instances().begin(), Instances().end(), std::back_inserter(shown),
                 [](const TQVTrayIcon* icon) { return icon->shown_; });
    std::sort(shown.begin(), shown.end(),
              [](const TQVTrayIcon* a, const TQVTrayIcon* b) { return a->addedAt_ < b->addedAt_; });
    for (TQVTrayIcon* icon : shown)
        icon->Add();
}

UINT TQVTrayIcon::Interval() const
{
    return timer_->Interval();
}

void TQVTrayIcon::SetInterval(UINT interval)
{
    if (interval != timer_->Interval())
        timer_->SetInterval(interval);
}

void TQVTrayIcon::SetHint(const std::string& hint)
{
    if (hint == hint_)
        return;
    hint_ = hint.substr(0, kHintLimit);
    const size_t length = std::min(hint_.size(), kTipSize - 1);
    std::memcpy(record_->szTip, hint_.data(), length);
    record_->szTip[length] = '\0';
    record_->uFlags = kFlagsWithTip;
    if (shown_)
        ShowIcon(shownImage_);
}

void TQVTrayIcon::ShowIcon(int imageNumber)
{
    record_->hIcon = images_.at(static_cast<size_t>(imageNumber - 1))->Handle();
    if (shown_) {
        Send(NIM_MODIFY);
    } else {
        shown_ = true;  // even if the add fails: it is tried again, and later calls modify
        Add();
    }
    shownImage_ = imageNumber;
}

void TQVTrayIcon::HideIcon()
{
    retry_->SetEnabled(false);
    if (shown_) {
        shown_ = false;
        record_->hIcon = images_.at(static_cast<size_t>(shownImage_ - 1))->Handle();
        Send(NIM_DELETE);
    }
    shownImage_ = -1;
}

void TQVTrayIcon::CycleIcons(int first, int last)
{
    cycling_ = true;
    firstFrame_ = currentFrame_ = first;
    lastFrame_ = last;
    timer_->SetEnabled(true);
}

void TQVTrayIcon::StopCycling()
{
    cycling_ = false;
    timer_->SetEnabled(false);
}

void TQVTrayIcon::Tick(TComponent*)
{
    if (!cycling_)
        return;
    ShowIcon(currentFrame_);
    currentFrame_ = currentFrame_ >= lastFrame_ ? firstFrame_ : currentFrame_ + 1;
}

LRESULT CALLBACK TQVTrayIcon::NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<TQVTrayIcon*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    Guarded([&] { result = self->Notify(message, wParam, lParam); });
    return result;
}

// Only the messages of the table are answered; every other one is left with
// 0, and none goes to the default window procedure.
LRESULT TQVTrayIcon::Notify(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TaskbarCreated() && message != 0) {
        AreaRestarted();
        return 0;
    }
    switch (message) {
    case WM_NCCREATE:
        return TRUE;  // the window must be made all the same
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam)
            Send(NIM_DELETE);
        return 0;
    case kTrayCallback:
        MouseReport(static_cast<UINT>(lParam));
        return 0;
    default:
        return 0;
    }
}

void TQVTrayIcon::MouseReport(UINT mouseMessage)
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    const int x = cursor.x;
    const int y = cursor.y;
    const TShiftState none = 0;
    switch (mouseMessage) {
    case WM_MOUSEMOVE:
        OnMouseMove(this, none, x, y);
        break;
    case WM_LBUTTONDOWN:
        leftHeld_ = true;
        if (OnClick.Assigned())
            ClickThenDown(x, y);
        else if (PopupMenu)
            MenuStep(x, y);
        break;
    case WM_LBUTTONUP:
        leftHeld_ = false;
        releasedAt_ = cursor;
        if (pressesRunning_ == 0)
            OnMouseUp(this, TMouseButton::mbLeft, none, x, y);
        break;
    case WM_RBUTTONDOWN:
        if (PopupMenu) {
            MenuStep(x, y);
        } else {
            OnMouseDown(this, TMouseButton::mbRight, none, x, y);
            OnClick(this);
        }
        break;
    case WM_RBUTTONUP:
        OnMouseUp(this, TMouseButton::mbRight, none, x, y);
        break;
    case WM_LBUTTONDBLCLK:
        leftHeld_ = true;  // the second press of a double-click
        OnDblClick(this);
        break;
    case WM_RBUTTONDBLCLK:
        OnDblClick(this);
        break;
    default:
        break;  // the middle button and anything else
    }
}

// The click acts before the press is shown. A click handler that drains
// the queue (every sweep does) lets a quick click's button-up be handled
// before the mouse-down is raised; reported then, it would find nothing to
// release, and the mouse-down would leave the button pressed for good. So a
// left button-up that comes while a press is being reported is held back and
// raised after that press's mouse-down: every press reports click, down, up
// in this order, and a button that is up no longer shows pressed.
void TQVTrayIcon::ClickThenDown(int x, int y)
{
    struct Running {
        int& count;
        explicit Running(int& c) : count(++c) {}
        ~Running() { --count; }
    };
    {
        const Running running(pressesRunning_);
        OnClick(this);
        OnMouseDown(this, TMouseButton::mbLeft, 0, x, y);
    }
    if (!leftHeld_)
        OnMouseUp(this, TMouseButton::mbLeft, 0, releasedAt_.x, releasedAt_.y);
}

// The application window comes to the front first, so that the menu closes
// when the user clicks elsewhere; what is queued runs before the menu opens.
void TQVTrayIcon::MenuStep(int x, int y)
{
    if (Application) {
        SetForegroundWindow(Application->Handle());
        Application->ProcessMessages();
    }
    PopupMenu->Popup(x, y);
}
