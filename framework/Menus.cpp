#include "Menus.h"

#include <algorithm>

#include "Application.h"
#include "GuiObjects.h"
#include "Platform.h"

namespace {

const char kCommandWindowClass[] = "TPopupCommandWindow";

// Items by command. A menu reports the chosen command in the low word of
// WM_COMMAND, so commands are kept below 65536 by taking the lowest free one.
std::vector<TMenuItem*>& ItemsByCommand()
{
    static std::vector<TMenuItem*> items(1, nullptr);  // command 0 means none
    return items;
}

UINT TakeCommand(TMenuItem* item)
{
    auto& items = ItemsByCommand();
    const auto free = std::find(items.begin() + 1, items.end(), nullptr);
    if (free != items.end()) {
        *free = item;
        return static_cast<UINT>(free - items.begin());
    }
    items.push_back(item);
    return static_cast<UINT>(items.size() - 1);
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

// --- TMenuItem --------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner, std::string name, std::string caption, bool isDefault)
    : TComponent(owner, std::move(name)), caption_(std::move(caption)), default_(isDefault),
      command_(TakeCommand(this))
{
    ++LiveGuiObjects().menuItems;
}

TMenuItem::~TMenuItem()
{
    if (menu_)
        menu_->Forget(this);
    ItemsByCommand()[command_] = nullptr;
    --LiveGuiObjects().menuItems;
}

// --- TPopupMenu -------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)), handle_(CreatePopupMenu())
{
    ++LiveGuiObjects().menus;
}

TPopupMenu::~TPopupMenu()
{
    // The items may outlive the menu's handle only as components; they no
    // longer belong to it.
    for (TMenuItem* item : items_)
        item->menu_ = nullptr;
    items_.clear();
    DestroyOwned();
    DestroyMenu(handle_);
    --LiveGuiObjects().menus;
}

void TPopupMenu::Insert(int index, TMenuItem* item)
{
    index = std::clamp(index, 0, Count());
    if (item->menu_)
        item->menu_->Forget(item);
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_TYPE | MIIM_STATE;
    info.wID = item->command_;
    if (item->caption_ == "-") {
        info.fType = MFT_SEPARATOR;
    } else {
        info.fType = MFT_STRING;
        info.dwTypeData = const_cast<char*>(item->caption_.c_str());
    }
    info.fState = item->default_ ? MFS_DEFAULT : 0;
    InsertMenuItemA(handle_, static_cast<UINT>(index), TRUE, &info);
    items_.insert(items_.begin() + index, item);
    item->menu_ = this;
}

void TPopupMenu::Delete(int index)
{
    TMenuItem* item = Item(index);
    Forget(item);
    if (TComponent* owner = item->Owner())
        owner->Free(item);
}

void TPopupMenu::Forget(TMenuItem* item)
{
    const auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end())
        return;
    RemoveMenu(handle_, static_cast<UINT>(it - items_.begin()), MF_BYPOSITION);
    items_.erase(it);
    item->menu_ = nullptr;
}

void TPopupMenu::Popup(int x, int y)
{
    OnPopup(this);
    Platform().trackPopupMenu(handle_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, PopupCommandWindow(), nullptr);
}
