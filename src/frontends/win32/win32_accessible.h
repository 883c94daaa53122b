#pragma once
// Screen-reader names for the window's controls, set through the accessibility property
// service that Windows ships in oleacc.dll. A name set this way changes only what
// assistive technology reads: the controls keep their design captions, sizes and
// drawing. Where the service is missing the names are simply not set.

#include <windows.h>

#include <vector>

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
    // Drops every name while the windows still exist, as the service asks.
    void clearAll();

private:
    bool comStarted_ = false;
    IAccPropServices* service_ = nullptr; // a COM reference, released in the destructor
    std::vector<HWND> named_;
};

} // namespace pelmora::win32
