#include "win32_dpi.h"

namespace pelmora::win32 {
namespace {

// user32's `name`, or null where this Windows lacks it. FARPROC to the real signature goes
// through a plain function pointer, which is what GetProcAddress's contract allows.
template <class Fn> Fn user32(const char* name) {
    return reinterpret_cast<Fn>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

} // namespace

bool enablePerMonitorAwareness() {
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, spelled out for older headers.
    const auto setContext = user32<BOOL(WINAPI*)(HANDLE)>("SetProcessDpiAwarenessContext");
    return setContext && setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));
}

int dpiOf(HWND hwnd) {
    const auto getDpi = user32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (const UINT dpi = getDpi ? getDpi(hwnd) : 0) return static_cast<int>(dpi);
    HDC dc = GetDC(hwnd); // 0 above: no answer, as where the entry point is missing
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(hwnd, dc);
    return dpi > 0 ? dpi : 96;
}

SIZE windowSizeFor(SIZE client, DWORD style, int dpi) {
    RECT rect{0, 0, client.cx, client.cy};
    const auto adjust =
        user32<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (!adjust || !adjust(&rect, style, FALSE, 0, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&rect, style, FALSE, 0);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace pelmora::win32
