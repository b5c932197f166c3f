// An icon image: one icon handle, owned, or none (an empty image).
#pragma once

#include <windows.h>

class TIcon {
public:
    TIcon() = default;
    ~TIcon();
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    // The icon, or null for an empty image.
    HICON Handle() const { return handle_; }
    bool Empty() const { return handle_ == nullptr; }
    // Makes this image a copy of source; an empty source empties it.
    void Assign(const TIcon& source);
    // Loads the program's icon resource of that name: its picture drawn
    // nearest to size pixels square, made exactly that size; with size 0,
    // the first picture at the size it was drawn. False when there is none;
    // the image is then empty.
    bool LoadFromResource(const char* name, int size = 0);

private:
    void Reset(HICON handle);
    HICON handle_ = nullptr;
};

// The size of the small icons the shell draws, in the notification area
// among them, at the screen's DPI.
int SmallIconSize();
