#include "Menus.h"

#include <algorithm>
#include <cstring>

#include "Application.h"
#include "GuiObjects.h"
#include "Platform.h"

namespace {

const char kCommandWindowClass[] = "TPopupCommandWindow";
// A menu reports the chosen command in the low word of WM_COMMAND.
constexpr size_t kCommandLimit = 0x10000;

// Items by command; command 0 means none.
std::vector<TMenuItem*>& ItemsByCommand()
{
    static std::vector<TMenuItem*> items(1, nullptr);
    return items;
}

// Commands given back by freed items, taken again first, so that a menu
// rebuilt at every popup keeps using the same few.
std::vector<UINT>& FreeCommands()
{
    static std::vector<UINT> commands;
    return commands;
}

UINT TakeCommand(TMenuItem* item)
{
    auto& items = ItemsByCommand();
    auto& free = FreeCommands();
    if (!free.empty()) {
        const UINT command = free.back();
        free.pop_back();
        items[command] = item;
        return command;
    }
    if (items.size() >= kCommandLimit)
        return 0;
    items.push_back(item);
    return static_cast<UINT>(items.size() - 1);
}

void GiveBackCommand(UINT command)
{
    if (command == 0)
        return;
    ItemsByCommand()[command] = nullptr;
    FreeCommands().push_back(command);
}

void AttachSubMenu(HMENU menu, UINT position, HMENU subMenu)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_SUBMENU;
    info.hSubMenu = subMenu;
    SetMenuItemInfoA(menu, position, TRUE, &info);
}

// The items that have a sub-menu handle, to find the one that opens.
std::vector<TMenuItem*>& ItemsWithSubMenus()
{
    static std::vector<TMenuItem*> items;
    return items;
}

std::vector<TPopupMenu*>& PopupMenus()
{
    static std::vector<TPopupMenu*> menus;
    return menus;
}

template <typename T>
void Drop(std::vector<T*>& list, T* entry)
{
    list.erase(std::remove(list.begin(), list.end(), entry), list.end());
}

// Posted when a tracked menu has closed: the menu posts the chosen item's
// command before it returns, so this comes after that item's click.
constexpr UINT kMenuClosed = WM_APP + 1;

LRESULT CALLBACK CommandWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (TApplication::SessionMessage(message, wParam, result))
        return result;
    if (message == WM_INITMENUPOPUP) {
        Guarded([wParam] { TMenuItem::SubMenuOpening(reinterpret_cast<HMENU>(wParam)); });
        return 0;
    }
    if (message == kMenuClosed) {
        Guarded([lParam] { TPopupMenu::Closed(reinterpret_cast<HMENU>(lParam)); });
        return 0;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == 0) {
        const UINT command = LOWORD(wParam);
        const auto& items = ItemsByCommand();
        if (command < items.size() && items[command]) {
            TMenuItem* item = items[command];
            Guarded([item] { item->Click(); });
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

struct CommandWindow {
    HWND handle = nullptr;
    CommandWindow()
    {
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = CommandWindowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kCommandWindowClass;
        RegisterClassA(&windowClass);
        handle = CreateWindowExA(WS_EX_TOOLWINDOW, kCommandWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 instance, nullptr);
    }
    ~CommandWindow() { DestroyWindow(handle); }
};

}  // namespace

HWND PopupCommandWindow()
{
    static CommandWindow window;
    return window.handle;
}

// --- TMenuItems ------------------------------------------------------------

void TMenuItems::Insert(int index, TMenuItem* item)
{
    index = std::clamp(index, 0, Count());
    if (item->menu_)
        item->menu_->Forget(item);
    const HMENU menu = ItemsHandle();
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_TYPE | MIIM_STATE | MIIM_SUBMENU;
    info.wID = item->command_;
    if (item->caption_ == "-") {
        info.fType = MFT_SEPARATOR;
    } else {
        info.fType = MFT_STRING;
        info.dwTypeData = const_cast<char*>(item->caption_.c_str());
    }
    info.fState = item->default_ ? MFS_DEFAULT : 0;
    info.hSubMenu = item->handle_;
    const auto insertWide = Wide().insertMenuItem;
    if (info.fType == MFT_STRING && !item->wideCaption_.empty() && insertWide) {
        // The two structures differ only in the type of the caption pointer.
        MENUITEMINFOW wide = {};
        std::memcpy(&wide, &info, sizeof(wide));
        wide.dwTypeData = const_cast<wchar_t*>(item->wideCaption_.c_str());
        insertWide(menu, static_cast<UINT>(index), TRUE, &wide);
    } else {
        InsertMenuItemA(menu, static_cast<UINT>(index), TRUE, &info);
    }
    items_.insert(items_.begin() + index, item);
    item->menu_ = this;
}

void TMenuItems::Delete(int index)
{
    TMenuItem* item = Item(index);
    Forget(item);
    if (TComponent* owner = item->Owner())
        owner->Free(item);
}

void TMenuItems::Forget(TMenuItem* item)
{
    const auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end())
        return;
    RemoveMenu(handle_, static_cast<UINT>(it - items_.begin()), MF_BYPOSITION);
    items_.erase(it);
    item->menu_ = nullptr;
}

// Last first, which costs the menu no moving of the items behind.
void TMenuItems::ReleaseItems()
{
    while (!items_.empty()) {
        items_.back()->menu_ = nullptr;
        items_.pop_back();
        RemoveMenu(handle_, static_cast<UINT>(items_.size()), MF_BYPOSITION);
    }
}

// --- TMenuItem --------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner, std::string name, std::string caption, bool isDefault)
    : TMenuItems(owner, std::move(name)), caption_(std::move(caption)), default_(isDefault),
      command_(TakeCommand(this))
{
    ++LiveGuiObjects().menuItems;
}

TMenuItem::~TMenuItem()
{
    if (menu_)
        menu_->Forget(this);
    if (handle_) {
        ReleaseItems();
        DestroyMenu(handle_);
        Drop(ItemsWithSubMenus(), this);
        --LiveGuiObjects().menus;
    }
    GiveBackCommand(command_);
    --LiveGuiObjects().menuItems;
}

HMENU TMenuItem::ItemsHandle()
{
    if (handle_)
        return handle_;
    handle_ = CreatePopupMenu();
    ++LiveGuiObjects().menus;
    ItemsWithSubMenus().push_back(this);
    if (menu_) {
        const auto& siblings = menu_->items_;
        const auto position = std::find(siblings.begin(), siblings.end(), this) - siblings.begin();
        AttachSubMenu(menu_->handle_, static_cast<UINT>(position), handle_);
    }
    return handle_;
}

void TMenuItem::SubMenuOpening(HMENU subMenu)
{
    for (TMenuItem* item : ItemsWithSubMenus())
        if (item->handle_ == subMenu) {
            item->OnPopup(item);
            return;
        }
}

// --- TPopupMenu -------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* owner, std::string name) : TMenuItems(owner, std::move(name))
{
    handle_ = CreatePopupMenu();
    ++LiveGuiObjects().menus;
    PopupMenus().push_back(this);
}

TPopupMenu::~TPopupMenu()
{
    // The items may outlive the menu's handle only as components; they no
    // longer belong to it.
    Drop(PopupMenus(), this);
    ReleaseItems();
    DestroyOwned();
    DestroyMenu(handle_);
    --LiveGuiObjects().menus;
}

void TPopupMenu::Popup(int x, int y)
{
    OnPopup(this);
    const HWND commands = PopupCommandWindow();
    Platform().trackPopupMenu(handle_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, commands, nullptr);
    PostMessageA(commands, kMenuClosed, 0, reinterpret_cast<LPARAM>(handle_));
}

void TPopupMenu::Closed(HMENU menu)
{
    for (TPopupMenu* popup : PopupMenus())
        if (popup->handle_ == menu) {
            popup->OnClose(popup);
            return;
        }
}
