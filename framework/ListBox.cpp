#include "Controls.h"

#include "Exception.h"

// --- TListBox ---------------------------------------------------------------

TListBox::TListBox(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds, int tabOrder,
                   bool sorted)
    : TControl(owner, std::move(name))
{
    SetTabOrder(tabOrder);
    CreateHandle("LISTBOX",
                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL |
                     LBS_NOINTEGRALHEIGHT | (sorted ? LBS_SORT : 0),
                 WS_EX_CLIENTEDGE, parent->Handle(), bounds, {});
}

int TListBox::Count() const
{
    return static_cast<int>(SendMessageA(Handle(), LB_GETCOUNT, 0, 0));
}

std::string TListBox::Item(int index) const
{
    const LRESULT length = SendMessageA(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessageA(Handle(), LB_GETTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

std::vector<std::string> TListBox::Items() const
{
    std::vector<std::string> items;
    const int count = Count();
    items.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        items.push_back(Item(i));
    return items;
}

void TListBox::SetItems(const std::vector<std::string>& items)
{
    SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
    Clear();
    SendMessageA(Handle(), LB_INITSTORAGE, items.size(), 0);
    for (const std::string& item : items)
        Insert(-1, item);
    SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TListBox::Add(const std::string& item)
{
    const LRESULT index = SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    if (index == LB_ERR || index == LB_ERRSPACE)
        throw Exception("Unable to insert a line");
}

bool TListBox::Selected(int index) const
{
    return SendMessageA(Handle(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

// LB_INSERTSTRING never sorts; index -1 appends.
void TListBox::Insert(int index, const std::string& item)
{
    SendMessageA(Handle(), LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.c_str()));
}

void TListBox::Delete(int index)
{
    SendMessageA(Handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TListBox::Clear()
{
    SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
}
