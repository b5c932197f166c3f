// The drives menu as it was once built: the whole tree below an item at
// once, down to the depth, before the menu shows. The menu now fills each
// sub-menu as it opens; the tests hold it to this build item for item, and
// the benchmark sets its popup against this build's time.
#pragma once

#include <string>
#include <vector>

#include "app/DirectoryRead.h"
#include "app/LaunchText.h"
#include "app/Unit1.h"

// Gives item its directory items down to depth levels, or makes it a leaf.
// Depth first: each directory is filled, all its levels, before the one
// above it in the sub-menu is made. A link back to a directory on the
// item's own path is a leaf, or the tree would never end.
inline void FillWholeTree(TfrmTamrik& form, TMenuItem* item, int depth)
{
    item->Clear();
    std::vector<VisibleEntry<std::string>> list;
    if (depth > 0) {
        list = ListVisible(item->Hint(), false);
        SortByLocale(list);
    }
    if (list.empty()) {
        item->OnClick.Bind(&form, &TfrmTamrik::popExplorerpopclick);
        return;
    }
    for (auto entry = list.rbegin(); entry != list.rend(); ++entry) {
        TMenuItem* child = item->Make<TMenuItem>("", MenuCaption(entry->name));
        child->SetHint(item->Hint() + "\\" + entry->name);
        item->Insert(0, child);
        if (entry->link && LeadsUpItsPath(child->Hint(), item->Hint()))
            child->OnClick.Bind(&form, &TfrmTamrik::popExplorerpopclick);
        else
            FillWholeTree(form, child, depth - 1);
    }
}
