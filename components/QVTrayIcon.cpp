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
// Windows 2000's shell32 (5.0) brought the newer behaviour and its record.
constexpr DWORD kNewerShell = 5;

bool ShellTakesVersion()
{
    DLLVERSIONINFO version = {};
    version.cbSize = sizeof(version);
    return SUCCEEDED(Platform().shellVersion(&version)) && version.dwMajorVersion >= kNewerShell;
}

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
    // The first record on older shells, which refuse a larger one.
    keyboard_ = ShellTakesVersion();
    record_->cbSize = keyboard_ ? NOTIFYICONDATAA_V2_SIZE : NOTIFYICONDATAA_V1_SIZE;
    if (keyboard_)
        record_->uVersion = NOTIFYICON_VERSION;
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
    if (!retry_->Enabled())
        AskVersion();
}

// The version is the icon's, so it is asked for after every add, the adds
// after the shell restarts included.
void TQVTrayIcon::AskVersion()
{
    if (keyboard_)
        Send(NIM_SETVERSION);
}

bool TQVTrayIcon::AddPending() const
{
    return retry_->Enabled();
}

void TQVTrayIcon::RetryAdd(TComponent*)
{
    retry_->SetEnabled(shown_ && !Send(NIM_ADD) && !Send(NIM_MODIFY));
    if (shown_ && !retry_->Enabled())
        AskVersion();
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
    const UINT previous = lastReport_;
    lastReport_ = mouseMessage;
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
    // The newer behaviour follows a left release with a selection and a
    // right release with a context-menu message; the press has acted already.
    case NIN_SELECT:
        if (previous != WM_LBUTTONUP)
            KeySelect();  // Space
        break;
    case NIN_KEYSELECT:
        KeySelect();  // Enter
        break;
    case WM_CONTEXTMENU:
        if (previous != WM_RBUTTONUP)
            KeyMenu();  // Shift+F10 or the menu key
        break;
    default:
        break;  // the middle button and anything else
    }
}

// A key selection does what a left click does: the click, then the press
// and the release, or the menu. Windows sends two key selections for one
// Enter, back to back; one that comes while the first acts, or within a
// double-click's time after it, is that same key.
void TQVTrayIcon::KeySelect()
{
    if (keySelecting_ || (keySelectEnded_ && GetTickCount() - keySelectEnded_ < GetDoubleClickTime()))
        return;
    keySelecting_ = true;
    const POINT at = IconPoint();
    if (OnClick.Assigned()) {
        leftHeld_ = false;  // the key is up when the press has been shown
        releasedAt_ = at;
        ClickThenDown(at.x, at.y);
    } else if (PopupMenu) {
        MenuStep(at.x, at.y, true);
    }
    keySelecting_ = false;
    keySelectEnded_ = GetTickCount();
    if (keySelectEnded_ == 0)
        keySelectEnded_ = 1;  // 0 stands for none
}

void TQVTrayIcon::KeyMenu()
{
    if (!PopupMenu)
        return;
    const POINT at = IconPoint();
    MenuStep(at.x, at.y, true);
}

// The middle of the icon where the shell can say where it is (Windows 7 and
// later), otherwise the cursor.
POINT TQVTrayIcon::IconPoint() const
{
    NotifyIconIdentifier icon = {};
    icon.cbSize = sizeof(icon);
    icon.hWnd = notifyWindow_;
    icon.uID = record_->uID;
    RECT place = {};
    POINT at = {};
    if (SUCCEEDED(Platform().notifyIconRect(&icon, &place)))
        return {place.left + (place.right - place.left) / 2, place.top + (place.bottom - place.top) / 2};
    GetCursorPos(&at);
    return at;
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
// A menu the keyboard opened and Escape closed gives the keyboard back to
// the notification area. The menu's loop has taken the Escape key's press
// from the queue, which leaves the key down in the thread's state until its
// release is read.
void TQVTrayIcon::MenuStep(int x, int y, bool byKeyboard)
{
    if (Application) {
        SetForegroundWindow(Application->Handle());
        Application->ProcessMessages();
    }
    PopupMenu->Popup(x, y);
    if (byKeyboard && keyboard_ && GetKeyState(VK_ESCAPE) < 0)
        Send(NIM_SETFOCUS);
}
