// Popup menus and their items. A menu holds its items in order; an item with
// the caption "-" is drawn as a separator and the default item in bold. An
// item may hold items of its own, shown as its sub-menu; the sub-menu is
// made when its first item goes in. A chosen item's OnClick runs from the
// popup-menu command window, a hidden window of the thread that owns every
// tracked menu.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "Component.h"
#include "Event.h"
#include "WideText.h"

class TMenuItem;

// What a popup menu and an item with a sub-menu have in common: an ordered
// list of items kept in step with a menu handle.
class TMenuItems : public TComponent {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Item(int index) const { return items_.at(static_cast<size_t>(index)); }
    // Puts item before the item now at index (Count() appends).
    void Insert(int index, TMenuItem* item);
    // Takes the item at index out and frees it at once: an item removed is
    // never used again.
    void Delete(int index);
    // Deletes every item.
    void Clear()
    {
        while (Count() > 0)
            Delete(Count() - 1);
    }

protected:
    using TComponent::TComponent;
    // Lets go of the items without freeing them, so that destroying the menu
    // handle afterwards takes none of the items' own sub-menus with it.
    void ReleaseItems();
    // The handle the items go into, made on first use.
    virtual HMENU ItemsHandle() = 0;

    HMENU handle_ = nullptr;

private:
    friend class TMenuItem;
    void Forget(TMenuItem* item);

    std::vector<TMenuItem*> items_;
};

class TMenuItem : public TMenuItems {
public:
    TMenuItem(TComponent* owner, std::string name, std::string caption, bool isDefault = false);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    // The caption in full Unicode, shown instead of Caption() where the
    // system has wide menus; set before the item goes into a menu.
    void SetWideCaption(WideString caption) { wideCaption_ = std::move(caption); }
    bool Default() const { return default_; }
    // Free text the program attaches to the item.
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint) { hint_ = std::move(hint); }
    // The same in full Unicode, empty where the program has none.
    const WideString& WideHint() const { return wideHint_; }
    void SetWideHint(WideString hint) { wideHint_ = std::move(hint); }
    // The command the menu sends when the item is chosen, unique among the
    // items that exist; 0 when every command is taken, and the item then
    // cannot be chosen.
    UINT Command() const { return command_; }
    // The sub-menu, or null while the item has no items.
    HMENU SubMenu() const { return handle_; }
    // Gives the item its sub-menu while it has no items yet, so that it
    // shows as one and its items can be put in when it opens (OnPopup).
    void ShowAsSubMenu() { ItemsHandle(); }
    void Click() { OnClick(this); }
    // What the menu does when its sub-menu is about to open, with the item
    // as Sender: the item's sub-menu handle as WM_INITMENUPOPUP names it.
    static void SubMenuOpening(HMENU subMenu);

    TNotifyEvent OnClick;
    // Raised just before the item's sub-menu opens.
    TNotifyEvent OnPopup;

protected:
    HMENU ItemsHandle() override;

private:
    friend class TMenuItems;
    std::string caption_;
    WideString wideCaption_;
    std::string hint_;
    WideString wideHint_;
    bool default_;
    UINT command_;
    TMenuItems* menu_ = nullptr;  // the menu or item that holds the item, if any
};

class TPopupMenu : public TMenuItems {
public:
    explicit TPopupMenu(TComponent* owner, std::string name = {});
    ~TPopupMenu() override;

    HMENU Handle() const { return handle_; }

    // Raises OnPopup, then shows the menu with its top left corner at the
    // screen point and tracks it until it closes. A chosen item's OnClick
    // runs later, when the command window's message is dispatched; OnClose
    // after it.
    void Popup(int x, int y);
    // Raises OnClose: the menu has closed and its chosen item, if any, has
    // had its click.
    static void Closed(HMENU menu);

    // Whether a control that names this menu pops it up on a right click by
    // itself; the tray menus leave that to their tray buttons.
    bool AutoPopup = true;
    TNotifyEvent OnPopup;
    TNotifyEvent OnClose;

protected:
    HMENU ItemsHandle() override { return handle_; }
};

// The hidden window that owns tracked menus and turns their commands into
// the items' OnClick.
HWND PopupCommandWindow();
