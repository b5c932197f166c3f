// Shared by the control families' sources; not part of the framework's interface.
#pragma once

#include <windows.h>

namespace controls_detail {

// Each of our windows carries a pointer back to its wrapper.
inline const char kWrapperProperty[] = "TamrikControl";
// A standard control we filter keeps its own procedure here; the wrapper
// may be gone while the last messages of the window arrive.
inline const char kPreviousProcProperty[] = "TamrikPreviousProc";

inline HINSTANCE Instance()
{
    return GetModuleHandleA(nullptr);
}

int NextControlId();

}  // namespace controls_detail
