// Thin wrappers over the standard controls, one class per kind, each holding
// its window and exposing just what the program uses. Container windows of
// our own (forms, panels, tab sheets) route the notifications of their
// children back to the children's wrappers.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "Component.h"
#include "Event.h"
#include "Theme.h"

// A control's rectangle in its parent, in layout pixels: pixels at 96 dots
// per inch, which a form scales to the DPI of its monitor.
struct TBounds {
    int left, top, width, height;
};

constexpr UINT kLayoutDpi = 96;
// Layout pixels as pixels at dpi, rounded to the nearest.
inline int ScaleToDpi(int pixels, UINT dpi)
{
    return MulDiv(pixels, static_cast<int>(dpi), kLayoutDpi);
}

// Fonts are shared by many controls and freed with their owner.
struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;
FontHandle MakeFont(const char* face, int pixelHeight, bool bold);

class TControl : public TComponent {
public:
    ~TControl() override;

    HWND Handle() const { return handle_; }
    static TControl* FromHandle(HWND window);

    std::string Text() const;
    void SetText(const std::string& text);
    virtual void SetFont(HFONT font);
    HFONT Font() const { return font_; }
    // Where tab order puts the control among its siblings, counted from 0.
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int order) { tabOrder_ = order; }
    // Rearranges the children of this window so that the dialog keys move
    // through them in their tab order.
    void ApplyTabOrder();

    // Puts the window at its layout rectangle scaled to dpi; the form calls
    // it for each of its controls when its DPI changes.
    virtual void Place(UINT dpi);

    // Hooks called by the parent's window procedure.
    virtual void Command(WORD /*code*/) {}
    virtual LRESULT Notify(const NMHDR& /*header*/) { return 0; }
    virtual HBRUSH ControlColor(HDC /*dc*/) { return nullptr; }

protected:
    TControl(TComponent* owner, std::string name);
    // Makes the window at bounds, in layout pixels, scaled to the DPI of the
    // form the parent belongs to.
    void CreateHandle(const char* className, DWORD style, DWORD exStyle, HWND parent, const TBounds& bounds,
                      const std::string& text, int id = 0);
    const TBounds& Layout() const { return layout_; }
    // The DPI the form of the window is laid out at; 96 outside a form.
    static UINT FormDpi(HWND window);
    // Window procedure of the windows of our own classes.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    static void RegisterContainerClass(const char* className, HBRUSH background, HICON icon);

private:
    static LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();

    HWND handle_ = nullptr;
    HFONT font_ = nullptr;
    int tabOrder_ = 0;
    TBounds layout_ = {};
};

class TButton : public TControl {
public:
    TButton(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds,
            const std::string& caption, int tabOrder, bool isDefault = false);
    void Command(WORD code) override;
    void Click() { OnClick(this); }
    TNotifyEvent OnClick;
};

// Check boxes and radio buttons: two states, and an OnClick that runs on
// every change of state, the program's own included.
class TTwoStateButton : public TControl {
public:
    bool Checked() const;
    void SetChecked(bool checked);
    void Command(WORD code) override;
    TNotifyEvent OnClick;

protected:
    TTwoStateButton(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds,
                    const std::string& caption, int tabOrder, bool checked, DWORD kind);
    // Called when the button has just become checked.
    virtual void Checking() {}
};

class TCheckBox : public TTwoStateButton {
public:
    TCheckBox(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds,
              const std::string& caption, int tabOrder, bool checked);
};

// Checking a radio button unchecks the other radio buttons of its parent.
class TRadioButton : public TTwoStateButton {
public:
    TRadioButton(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds,
                 const std::string& caption, int tabOrder, bool checked);

protected:
    void Checking() override;
};

// A one-line edit box of unlimited length.
class TEdit : public TControl {
public:
    TEdit(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds, const std::string& text,
          int tabOrder, bool readOnly = false);
    void SetColors(COLORREF text, COLORREF background);
    HBRUSH ControlColor(HDC dc) override;

private:
    struct BrushDeleter {
        void operator()(HBRUSH brush) const { DeleteObject(brush); }
    };
    std::unique_ptr<std::remove_pointer_t<HBRUSH>, BrushDeleter> background_;
    COLORREF textColor_ = 0;
    COLORREF backgroundColor_ = 0;
};

// A label that sizes itself to its caption.
class TLabel : public TControl {
public:
    TLabel(TComponent* owner, std::string name, TControl* parent, int left, int top, const std::string& caption);
    void SetFont(HFONT font) override;
    void Place(UINT dpi) override;
    void SetTextColor(COLORREF color);
    HBRUSH ControlColor(HDC dc) override;

private:
    void AutoSize();
    COLORREF textColor_;
    bool hasColor_ = false;
};

// An integer field with up and down buttons, kept within its limits. It
// takes only the characters of a number and editing keys; any other
// character is refused with a beep.
class TSpinEdit : public TControl {
public:
    TSpinEdit(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds, int value, int minValue,
              int maxValue, int tabOrder);
    // The text read as a decimal integer, or 0 when it is not one.
    int Value() const;
    // Sets the value, brought within the limits.
    void SetValue(int value);
    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    void Command(WORD code) override;
    LRESULT Notify(const NMHDR& header) override;
    HWND UpDown() const { return upDown_; }
    void Place(UINT dpi) override;

private:
    void Arrange();
    static LRESULT CALLBACK FieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static bool Accepts(char key);

    int min_;
    int max_;
    HWND upDown_ = nullptr;
};

// A list box with extended multiple selection. A sorted one places each
// item added at its place, compared without regard to case; items set as a
// whole or inserted stay where they are put.
class TListBox : public TControl {
public:
    TListBox(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds, int tabOrder,
             bool sorted = false);
    int Count() const;
    std::string Item(int index) const;
    std::vector<std::string> Items() const;
    void SetItems(const std::vector<std::string>& items);
    // Puts the item at its sorted place; an error when the list box has no
    // room left for it.
    void Add(const std::string& item);
    bool Selected(int index) const;
    void Insert(int index, const std::string& item);
    void Delete(int index);
    void Clear();
};

// A raised panel: a container for other controls.
class TPanel : public TControl {
public:
    TPanel(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds, int tabOrder);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class TTabSheet : public TControl {
public:
    TTabSheet(TComponent* owner, std::string name, HWND tabControl, const std::string& caption);
    const std::string& Caption() const { return caption_; }
    // The area of the tab control under its tab row, whatever the DPI.
    void Place(UINT dpi) override;
    // The tab body the page is painted with, nullptr with the theme off.
    HBRUSH ThemedBackground() const { return body_.Get(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void MakeBackground();
    LRESULT ChildColor(UINT message, WPARAM wParam, LPARAM lParam);

    std::string caption_;
    TabBodyBrush body_;
};

// Tab pages: one sheet showing at a time, the rest hidden.
class TPageControl : public TControl {
public:
    TPageControl(TComponent* owner, std::string name, TControl* parent, const TBounds& bounds, int tabOrder);
    TTabSheet* AddPage(std::string name, const std::string& caption);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Page(int index) const { return pages_.at(static_cast<size_t>(index)); }
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    // The next page, or the previous one, round the end (Ctrl+Tab and
    // Ctrl+Shift+Tab); the focus goes to the new page's first control when
    // it was on the old page.
    void SelectNextPage(bool forward);
    LRESULT Notify(const NMHDR& header) override;

private:
    void ShowActivePage();
    std::vector<TTabSheet*> pages_;
};
