// Pelmora.exe: per-monitor DPI awareness first (before any window exists), then the one
// window and its message loop.

#include <windows.h>

#include <exception>

#include "win32_dpi.h"
#include "win32_text.h"
#include "win32_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    using namespace pelmora::win32;
    DpiApi().enablePerMonitorAwareness();
    try {
        MainWindowWin32 window(instance);
        if (!window.create(showCommand)) return 1;
        return window.run();
    } catch (const std::exception& e) {
        // Only the load event can get here: it runs before the window exists.
        const std::wstring text = toWide(pelmora::fromUtf8(e.what()));
        MessageBoxW(nullptr, text.c_str(), L"Pelmoria", MB_OK | MB_ICONSTOP);
        return 1;
    }
}
