// One icon in the taskbar's notification area: up to five images, a tip and
// an optional popup menu, with the area's mouse reports turned into events.
// It never shows itself; its owner puts it in the area with ShowIcon and
// takes it out with HideIcon. A shown icon comes back by itself when the
// shell restarts, and an add the shell refuses is tried again.
#pragma once

#include <array>
#include <memory>
#include <string>

#include <windows.h>
#include <shellapi.h>

#include "framework/Component.h"
#include "framework/Event.h"
#include "framework/Icon.h"

class TPopupMenu;
class TTimer;

// The message the notification area sends to the notify window about the
// mouse on the icon; lParam carries the mouse message, or on shells that
// take the newer behaviour, the selection and context-menu notices too.
constexpr UINT kTrayCallback = WM_USER + 1;
// The identifier an icon has until its owner gives it another.
constexpr UINT kTrayIconId = 1;
// The tip field's size, its terminating zero included.
constexpr size_t kTipSize = 64;

class TQVTrayIcon : public TComponent {
public:
    explicit TQVTrayIcon(TComponent* owner, std::string name = {});
    ~TQVTrayIcon() override;

    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

    const std::string& Hint() const { return hint_; }
    // Keeps the first 64 characters; the tip shows the first 63. A shown
    // icon gets the new tip at once.
    void SetHint(const std::string& hint);
    UINT Interval() const;
    void SetInterval(UINT interval);
    // The five owned images. Writing one (Assign) sends nothing: the next
    // ShowIcon that picks it shows it.
    TIcon& Icon1() { return *images_[0]; }
    TIcon& Icon2() { return *images_[1]; }
    TIcon& Icon3() { return *images_[2]; }
    TIcon& Icon4() { return *images_[3]; }
    TIcon& Icon5() { return *images_[4]; }
    // Not owned; it must outlive the icon or be cleared first.
    TPopupMenu* PopupMenu = nullptr;

    // Puts the icon into the area with image 1 to 5, or changes its image.
    void ShowIcon(int imageNumber);
    void HideIcon();

    // Shows the images first to last in turn, one each Interval, until
    // StopCycling. Nothing in the program cycles; ShowIcon and HideIcon
    // behave the same either way.
    void CycleIcons(int first, int last);
    void StopCycling();

    // The shell keeps what the user chose for an icon without a GUID (on the
    // taskbar or in the overflow) under the program's path and the icon's
    // identifier, so an owner with several icons gives each a fixed one of
    // its own, before the first ShowIcon.
    UINT Id() const { return record_->uID; }
    void SetId(UINT id) { record_->uID = id; }

    bool Shown() const { return shown_; }
    // An add the notification area refused waits to be tried again.
    bool AddPending() const;
    int ShownImage() const { return shownImage_; }
    HWND NotifyWindow() const { return notifyWindow_; }

private:
    static LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Notify(UINT message, WPARAM wParam, LPARAM lParam);
    void MouseReport(UINT mouseMessage);
    void ClickThenDown(int x, int y);
    void MenuStep(int x, int y, bool byKeyboard = false);
    void KeySelect();
    void KeyMenu();
    POINT IconPoint() const;
    bool Send(DWORD message);
    void Add();
    void AskVersion();
    void RetryAdd(TComponent*);
    void AreaRestarted();
    void Tick(TComponent*);

    std::string hint_;
    std::array<std::unique_ptr<TIcon>, 5> images_;
    bool shown_ = false;
    int shownImage_ = -1;
    std::unique_ptr<NOTIFYICONDATAA> record_;
    TTimer* timer_ = nullptr;
    TTimer* retry_ = nullptr;      // runs while a refused add waits to be tried again
    unsigned long addedAt_ = 0;    // when it was last added, among all instances
    HWND notifyWindow_ = nullptr;
    // The left button as the last report left it, where it was last
    // released, and how many left presses are being reported (nested ones
    // run in a click handler's message drain).
    bool leftHeld_ = false;
    POINT releasedAt_ = {};
    int pressesRunning_ = 0;
    bool keyboard_ = false;
    // The previous report, which tells the newer behaviour's selection and
    // context-menu notices that follow a button's release from those of the
    // keyboard; and the key selection under way or last ended.
    UINT lastReport_ = 0;
    bool keySelecting_ = false;
    DWORD keySelectEnded_ = 0;
    bool cycling_ = false;
    int firstFrame_ = 1;
    int lastFrame_ = 1;
    int currentFrame_ = 1;
};
