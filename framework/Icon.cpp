#include "Icon.h"

#include "GuiObjects.h"
#include "Platform.h"

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

bool TIcon::LoadFromResource(const char* name, int size)
{
    // Size 0 without LR_DEFAULTSIZE keeps the image's own size.
    Reset(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_ICON, size, size, 0)));
    return handle_ != nullptr;
}

int SmallIconSize()
{
    return Platform().getSystemMetricsForDpi(SM_CXSMICON, ScreenDpi());
}
