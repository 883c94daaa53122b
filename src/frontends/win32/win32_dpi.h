#pragma once
// Per-monitor DPI on every Windows the program may meet. The newer user32 entry points
// are looked up at run time, so the program still starts where they are missing and
// then works at the system DPI.

#include <windows.h>

namespace pelmora::win32 {

class DpiApi {
public:
    DpiApi();

    // Asks for per-monitor v2 awareness (the manifest asks too; this covers a copy run
    // without it). Returns false where the system does not offer it.
    bool enablePerMonitorAwareness() const;
    // The DPI `hwnd` is drawn at.
    int dpiForWindow(HWND hwnd) const;
    // The window size that gives a client area of `client` at `dpi`.
    SIZE windowSizeFor(SIZE client, DWORD style, DWORD exStyle, int dpi) const;

private:
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    using GetDpiFn = UINT(WINAPI*)(HWND);
    using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    SetContextFn setContext_ = nullptr;
    GetDpiFn getDpiForWindow_ = nullptr;
    AdjustFn adjustForDpi_ = nullptr;
};

} // namespace pelmora::win32
