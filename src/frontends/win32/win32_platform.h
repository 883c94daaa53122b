#pragma once
// The machine services the window asks for, on Windows: a stop-icon message box owned by
// the window, and the time of day in the person's format. It shows nothing by itself and
// keeps no state besides the owner window.

#include <windows.h>

#include "toolkit/platform.h"

namespace pelmora::win32 {

class Win32Platform final : public Platform {
public:
    // The window that owns the message boxes; until it exists they have no owner.
    void setOwner(HWND owner) { owner_ = owner; }

    void messageBox(const Text& prompt, int flags, const Text& title) override;
    Text timeOfDayText() override;

private:
    HWND owner_ = nullptr;
};

} // namespace pelmora::win32
