#include "Controls.h"

// --- TButton ----------------------------------------------------------------

TButton::TButton(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds,
                 const std::string& caption, int tabOrder, bool isDefault)
    : TControl(owner, std::move(name))
{
    SetTabOrder(tabOrder);
    CreateHandle("BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0,
                 parent->Handle(), bounds, caption, isDefault ? IDOK : 0);
}

void TButton::Command(WORD code)
{
    if (code == BN_CLICKED)
        OnClick(this);
}

// --- TTwoStateButton, TCheckBox, TRadioButton -------------------------------

TTwoStateButton::TTwoStateButton(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds,
                                 const std::string& caption, int tabOrder, bool checked, DWORD kind)
    : TControl(owner, std::move(name))
{
    SetTabOrder(tabOrder);
    CreateHandle("BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind, 0, parent->Handle(), bounds, caption);
    SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TTwoStateButton::Checked() const
{
    return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TTwoStateButton::SetChecked(bool checked)
{
    if (checked == Checked())
        return;
    SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (checked)
        Checking();
    OnClick(this);
}

void TTwoStateButton::Command(WORD code)
{
    if (code != BN_CLICKED)
        return;
    if (Checked())
        Checking();
    OnClick(this);
}

TCheckBox::TCheckBox(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds,
                     const std::string& caption, int tabOrder, bool checked)
    : TTwoStateButton(owner, std::move(name), parent, bounds, caption, tabOrder, checked, BS_AUTOCHECKBOX)
{
}

TRadioButton::TRadioButton(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds,
                           const std::string& caption, int tabOrder, bool checked)
    : TTwoStateButton(owner, std::move(name), parent, bounds, caption, tabOrder, checked, BS_AUTORADIOBUTTON)
{
}

void TRadioButton::Checking()
{
    const HWND parent = GetParent(Handle());
    for (HWND sibling = GetWindow(parent, GW_CHILD); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        auto* radio = dynamic_cast<TRadioButton*>(FromHandle(sibling));
        if (radio && radio != this)
            SendMessageA(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}
