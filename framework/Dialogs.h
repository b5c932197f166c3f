// The platform's dialog for choosing a file to open, as a component that
// remembers the file chosen last and offers it the next time it runs.
#pragma once

#include <string>

#include <windows.h>
#include <commdlg.h>

#include "Component.h"

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner, std::string name = {});

    std::string Title;
    // Pairs of a description and its patterns, every part ended by "|":
    // "Text files|*.txt|".
    std::string Filter;
    // Added by the dialog to a name typed without an extension.
    std::string DefaultExt;
    std::string InitialDir;
    // OFN_ flags; the dialog is always of the explorer style.
    DWORD Options = 0;
    // The full path chosen last, offered pre-filled.
    std::string FileName;

    // Runs the dialog modal to owner; true when the user chose a file, which
    // FileName then holds. A cancel leaves FileName as it was.
    bool Execute(HWND owner);
};
