#pragma once
// AccessibleNames gives the window's controls screen-reader names, and speaks
// announcements, through the accessibility property service that Windows ships in
// oleacc.dll. A name set this way changes only what assistive technology reads: the
// controls keep their design captions, sizes and drawing. Announcements go to a polite live
// region, an empty window of no size that takes no focus. Where the service is missing
// nothing is set or said.

#include <windows.h>

#include <set>

#include "toolkit/text.h"

struct IAccPropServices;

namespace pelmora::win32 {

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

} // namespace pelmora::win32
