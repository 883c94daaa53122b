#pragma once
// The services the window asks of Windows besides drawing: a stop-icon message box owned
// by the window, the time of day in the person's format, and the screen reader's words.

#include <windows.h>

#include <set>

#include "toolkit/platform.h"
#include "view/announcement.h"

struct IAccPropServices;

namespace pelmora::win32 {

// AccessibleNames gives the window's controls screen-reader names, and speaks
// announcements, through the accessibility property service that Windows ships in
// oleacc.dll. A name set this way changes only what assistive technology reads: the
// controls keep their design captions, sizes and drawing. Announcements go to a polite live
// region, an empty window of no size that takes no focus. Where the service is missing
// nothing is set or said.
class AccessibleNames {
public:
    AccessibleNames();
    ~AccessibleNames();
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;

    // Gives `hwnd` the name `name`; an empty name leaves the control's own.
    void setName(HWND hwnd, const Text& name);
    // Makes `hwnd` the live region that announce() speaks through.
    void setLiveRegion(HWND hwnd);
    // Has a screen reader say `text`, as Narrator reads a changed live region.
    void announce(const Text& text);
    // Drops every name while the windows still exist, as the service asks.
    void clearAll();

private:
    bool comStarted_ = false;
    IAccPropServices* service_ = nullptr; // a COM reference, released in the destructor
    std::set<HWND> named_;                // once each, however often renamed (the live region)
    HWND liveRegion_ = nullptr;
};

// Win32Platform shows nothing by itself and keeps no state besides the owner window, the
// names and live region, and the announcement waiting to be said.
class Win32Platform final : public Platform {
public:
    // The window that owns the message boxes; until it exists they have no owner.
    void setOwner(HWND owner) { owner_ = owner; }
    // The names of the window's controls and its live region.
    AccessibleNames& names() { return names_; }

    void messageBox(const Text& prompt, int flags, const Text& title) override;
    Text timeOfDayText() override;
    // Said once the owner's message loop takes SayPending (view::PendingAnnouncement).
    void announce(const Text& text) override {
        if (owner_ && pending_.hold(text)) PostMessageW(owner_, SayPending, 0, 0);
    }
    static constexpr UINT SayPending = WM_APP + 1;
    void sayPending() {
        if (const Text text = pending_.take(); !text.empty()) names_.announce(text);
    }

private:
    HWND owner_ = nullptr;
    AccessibleNames names_;
    view::PendingAnnouncement pending_;
};

} // namespace pelmora::win32
