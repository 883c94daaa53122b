#pragma once
// The machine services the window asks for, on Windows: a stop-icon message box owned by
// the window, the time of day in the person's format, and announcements through the
// window's live region. It shows nothing by itself and keeps no state besides the owner
// window, where announcements go and the one waiting to be said.

#include <windows.h>

#include "toolkit/platform.h"
#include "view/announcement.h"
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
    // Said once the owner's message loop takes SayPending (view::PendingAnnouncement).
    void announce(const Text& text) override {
        if (owner_ && pending_.hold(text)) PostMessageW(owner_, SayPending, 0, 0);
    }
    static constexpr UINT SayPending = WM_APP + 1;
    void sayPending() {
        const Text text = pending_.take();
        if (accessibility_ && !text.empty()) accessibility_->announce(text);
    }

private:
    HWND owner_ = nullptr;
    AccessibleNames* accessibility_ = nullptr;
    view::PendingAnnouncement pending_;
};

} // namespace pelmora::win32
