#include "Dialogs.h"

#include <algorithm>
#include <vector>

#include "Platform.h"

namespace {

// Room for the longest path the dialog returns, and then some.
constexpr size_t kFileNameBuffer = 4096;

}  // namespace

TOpenDialog::TOpenDialog(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {}

bool TOpenDialog::Execute(HWND owner)
{
    // The platform wants the filter's parts each ended by a zero, and the
    // whole by one more.
    std::string filter = Filter;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter += '\0';

    std::vector<char> file(kFileNameBuffer, '\0');
    std::copy_n(FileName.begin(), std::min(FileName.size(), kFileNameBuffer - 1), file.begin());

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    dialog.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    dialog.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    dialog.Flags = Options | OFN_EXPLORER;
    if (!Platform().getOpenFileName(&dialog))
        return false;
    FileName = file.data();
    return true;
}
