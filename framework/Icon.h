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
    // Loads the program's icon resource of that name at the size it was
    // drawn, not stretched to the system's icon size. False when there is
    // none; the image is then empty.
    bool LoadFromResource(const char* name);

private:
    void Reset(HICON handle);
    HICON handle_ = nullptr;
};
