#pragma once
// Per-monitor DPI on every Windows the program may meet. The newer user32 entry points
// are looked up at run time, so the program still starts where they are missing and
// then works at the system DPI.

#include <windows.h>

namespace pelmora::win32 {

// Asks for per-monitor v2 awareness (the manifest asks too; this covers a copy run
// without it). False where the system does not offer it.
bool enablePerMonitorAwareness();
// The DPI `hwnd` is drawn at.
int dpiOf(HWND hwnd);
// The window size that gives a client area of `client` at `dpi`.
SIZE windowSizeFor(SIZE client, DWORD style, int dpi);

} // namespace pelmora::win32
