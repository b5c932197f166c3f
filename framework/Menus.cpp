#include "Menus.h"

#include <algorithm>

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

LRESULT CALLBACK CommandWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (TApplication::SessionMessage(message, wParam, result))
        return result;
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
    InsertMenuItemA(menu, static_cast<UINT>(index), TRUE, &info);
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
    if (menu_) {
        const auto& siblings = menu_->items_;
        const auto position = std::find(siblings.begin(), siblings.end(), this) - siblings.begin();
        AttachSubMenu(menu_->handle_, static_cast<UINT>(position), handle_);
    }
    return handle_;
}

// --- TPopupMenu -------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* owner, std::string name) : TMenuItems(owner, std::move(name))
{
    handle_ = CreatePopupMenu();
    ++LiveGuiObjects().menus;
}

TPopupMenu::~TPopupMenu()
{
    // The items may outlive the menu's handle only as components; they no
    // longer belong to it.
    ReleaseItems();
    DestroyOwned();
    DestroyMenu(handle_);
    --LiveGuiObjects().menus;
}

void TPopupMenu::Popup(int x, int y)
{
    OnPopup(this);
    Platform().trackPopupMenu(handle_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, PopupCommandWindow(), nullptr);
}
