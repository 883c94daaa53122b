// Pelmora.exe: per-monitor DPI awareness first (before any window exists), then the one
// window and its message loop. An error of the load event has been reported by then.

#include <windows.h>

#include "view/view_policy.h"
#include "win32_dpi.h"
#include "win32_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    using namespace pelmora::win32;
    DpiApi().enablePerMonitorAwareness();
    MainWindowWin32 window(instance);
    if (!window.create(showCommand)) return pelmora::view::FailureExitCode;
    return window.run();
}
