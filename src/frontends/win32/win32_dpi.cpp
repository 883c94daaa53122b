#include "win32_dpi.h"

namespace pelmora::win32 {
namespace {

template <class Fn> Fn lookUp(HMODULE module, const char* name) {
    // FARPROC to the real signature goes through a plain function pointer, which is
    // what GetProcAddress's contract allows.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, spelled out for older headers.
const HANDLE PerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));

} // namespace

DpiApi::DpiApi() {
    if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
        setContext_ = lookUp<SetContextFn>(user32, "SetProcessDpiAwarenessContext");
        getDpiForWindow_ = lookUp<GetDpiFn>(user32, "GetDpiForWindow");
        adjustForDpi_ = lookUp<AdjustFn>(user32, "AdjustWindowRectExForDpi");
    }
}

bool DpiApi::enablePerMonitorAwareness() const {
    return setContext_ && setContext_(PerMonitorAwareV2);
}

int DpiApi::dpiForWindow(HWND hwnd) const {
    if (const UINT dpi = getDpiForWindow_ ? getDpiForWindow_(hwnd) : 0)
        return static_cast<int>(dpi); // 0: no answer, as where the entry point is missing
    HDC dc = GetDC(hwnd);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(hwnd, dc);
    return dpi > 0 ? dpi : 96;
}

SIZE DpiApi::windowSizeFor(SIZE client, DWORD style, DWORD exStyle, int dpi) const {
    RECT rect{0, 0, client.cx, client.cy};
    if (!adjustForDpi_ || !adjustForDpi_(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace pelmora::win32
