// A top-level window of fixed size owned by the application window, acting
// as a dialog: Tab, Enter and access keys work, the OK button is the default.
// Its layout is given in pixels at 96 dots per inch and drawn at the DPI of
// its monitor, anew whenever it moves to a monitor of another DPI.
#pragma once

#include <string>
#include <vector>

#include "Controls.h"

struct TFormStyle {
    const char* className;  // window class, one per kind of form
    std::string caption;
    int clientWidth;        // layout pixels, as the font's height
    int clientHeight;
    const char* fontFace;
    int fontPixelHeight;
};

class TForm : public TControl {
public:
    TForm(TComponent* owner, const TFormStyle& style);
    ~TForm() override;

    static TForm* FromHandle(HWND window);

    // Visible and in front; centred on the screen the first time.
    void Show();
    void Hide();
    bool Visible() const;
    // Asks the form to close: the main form ends the application, any other
    // form hides.
    void Close();
    // The control that takes the focus when the form is activated.
    void SetActiveControl(TControl* control) { activeControl_ = control; }
    // Runs OnDestroy once, under the error guard; the owner calls it just
    // before destroying the form, while every control still exists.
    void BeforeDestruction();

    HFONT FormFont() const { return fonts_.front().handle; }
    // A font of the form, its height in layout pixels; the form remakes it
    // when its DPI changes and hands the new one to every control using it.
    HFONT AddFont(const char* face, int pixelHeight, bool bold);
    UINT Dpi() const { return dpi_; }
    // Lays the form out at dpi: its fonts, its client area and every
    // control's rectangle.
    void Rescale(UINT dpi);

    // Keys the form handles before the dialog keys: Enter on a focused push
    // button, and Ctrl+Tab and Ctrl+Shift+Tab, which turn the pages of its
    // page control. True when taken.
    bool DialogKey(const MSG& msg);

    TNotifyEvent OnCreate;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDestroy;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct ScaledFont {
        const char* face;
        int pixelHeight;
        bool bold;
        HFONT handle;
        HFONT previous;  // while the controls change over to handle
    };
    void FitClientArea();
    void RescaleChildren(HWND parent);

    std::vector<ScaledFont> fonts_;
    UINT dpi_ = kLayoutDpi;
    TControl* activeControl_ = nullptr;
    bool placed_ = false;
    bool destroying_ = false;
};
