// Live counts of the user-interface objects the framework makes: menus, menu
// items and icon images. Windows keeps such counts per process only on
// Windows itself (Wine reports none), so these are how a leak shows.
#pragma once

struct GuiObjectCounts {
    long menus = 0;
    long menuItems = 0;
    long icons = 0;
};

inline GuiObjectCounts& LiveGuiObjects()
{
    static GuiObjectCounts counts;
    return counts;
}
