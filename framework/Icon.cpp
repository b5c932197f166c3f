#include "Icon.h"

#include "GuiObjects.h"

TIcon::~TIcon()
{
    Reset(nullptr);
}

void TIcon::Reset(HICON handle)
{
    if (handle_) {
        DestroyIcon(handle_);
        --LiveGuiObjects().icons;
    }
    handle_ = handle;
    if (handle_)
        ++LiveGuiObjects().icons;
}

void TIcon::Assign(const TIcon& source)
{
    if (&source != this)
        Reset(source.handle_ ? CopyIcon(source.handle_) : nullptr);
}

bool TIcon::LoadFromResource(const char* name)
{
    // Size 0 without LR_DEFAULTSIZE keeps the image's own size.
    Reset(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_ICON, 0, 0, 0)));
    return handle_ != nullptr;
}
