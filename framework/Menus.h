// Popup menus and their items. A menu holds its items in order; an item with
// the caption "-" is drawn as a separator and the default item in bold. A
// chosen item's OnClick runs from the popup-menu command window, a hidden
// window of the thread that owns every tracked menu.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "Component.h"
#include "Event.h"

class TPopupMenu;

class TMenuItem : public TComponent {
public:
    TMenuItem(TComponent* owner, std::string name, std::string caption, bool isDefault = false);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    bool Default() const { return default_; }
    // The command the menu sends when the item is chosen, unique among the
    // items that exist.
    UINT Command() const { return command_; }
    void Click() { OnClick(this); }

    TNotifyEvent OnClick;

private:
    friend class TPopupMenu;
    std::string caption_;
    bool default_;
    UINT command_;
    TPopupMenu* menu_ = nullptr;  // the menu that holds the item, if any
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner, std::string name = {});
    ~TPopupMenu() override;

    HMENU Handle() const { return handle_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Item(int index) const { return items_.at(static_cast<size_t>(index)); }
    // Puts item into the menu before the item now at index (Count() appends).
    void Insert(int index, TMenuItem* item);
    // Takes the item at index out of the menu and frees it at once: an item
    // removed is never used again.
    void Delete(int index);

    // Raises OnPopup, then shows the menu with its top left corner at the
    // screen point and tracks it until it closes. A chosen item's OnClick
    // runs later, when the command window's message is dispatched.
    void Popup(int x, int y);

    // Whether a control that names this menu pops it up on a right click by
    // itself; the tray menus leave that to their tray buttons.
    bool AutoPopup = true;
    TNotifyEvent OnPopup;

private:
    friend class TMenuItem;
    void Forget(TMenuItem* item);

    HMENU handle_;
    std::vector<TMenuItem*> items_;
};

// The hidden window that owns tracked menus and turns their commands into
// the items' OnClick.
HWND PopupCommandWindow();
