#pragma once
// The machine services the window asks for, on Windows: a stop-icon message box owned by
// the window, the time of day in the person's format, and announcements through the
// window's live region. It shows nothing by itself and keeps no state besides the owner
// window and where announcements go.

#include <windows.h>

#include "toolkit/platform.h"
#include "win32_accessible.h"

namespace pelmora::win32 {

class Win32Platform final : public Platform {
public:
    // The window that owns the message boxes; until it exists they have no owner.
    void setOwner(HWND owner) { owner_ = owner; }
    // Where announcements are spoken; until set they are dropped.
    void setAccessibility(AccessibleNames* accessibility) { accessibility_ = accessibility; }

    void messageBox(const Text& prompt, int flags, const Text& title) override;
    Text timeOfDayText() override;
    void announce(const Text& text) override {
        if (accessibility_) accessibility_->announce(text);
    }

private:
    HWND owner_ = nullptr;
    AccessibleNames* accessibility_ = nullptr;
};

} // namespace pelmora::win32
