// The visual style's tab body as a brush, for windows that sit on a tab
// page and are not dialogs. uxtheme.dll came with Windows XP, so its
// functions are looked up at run time; where it is missing, or the theme is
// off (the classic look), there is no brush and pages stay the button face.
#pragma once

#include <memory>

#include <windows.h>

class TabBodyBrush {
public:
    TabBodyBrush() = default;
    ~TabBodyBrush();
    TabBodyBrush(const TabBodyBrush&) = delete;
    TabBodyBrush& operator=(const TabBodyBrush&) = delete;

    // Paints the tab body of tabControl's theme at width by height; no
    // brush where the tab control has no theme.
    void Make(HWND tabControl, int width, int height);
    // The brush, nullptr with the theme off.
    HBRUSH Get() const { return brush_; }

private:
    void Free();

    HBITMAP bitmap_ = nullptr;  // kept while the pattern brush uses it
    HBRUSH brush_ = nullptr;
};
