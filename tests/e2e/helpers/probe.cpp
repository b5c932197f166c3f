// Runs inside another program, put there by poke.exe as a window hook, to
// read what only that program can: the font a window of its draws with.
// A font handle means nothing in another process, and Wine does not even
// carry WM_GETFONT across processes.
#include <windows.h>

#include <cstring>

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == RegisterWindowMessageA("TamrikProbeFont")) {
        LOGFONTA font = {};
        const auto handle = reinterpret_cast<HFONT>(SendMessageA(call->hwnd, WM_GETFONT, 0, 0));
        if (handle)
            GetObjectA(handle, sizeof(font), &font);
        if (const HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, "TamrikProbeFont")) {
            if (void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(font))) {
                std::memcpy(view, &font, sizeof(font));
                UnmapViewOfFile(view);
            }
            CloseHandle(mapping);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
