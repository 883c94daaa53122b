#include "win32_accessible.h"

// The GUIDs of the property service are defined here rather than taken from a library.
#include <initguid.h>
#include <objbase.h>
#include <oleacc.h>

#include "win32_text.h"

namespace pelmora::win32 {
namespace {

// UI Automation's LiveSetting property and its "polite" value, and the event that tells a
// screen reader a live region changed (Windows 8 and later; older ones ignore it). The
// Windows 7 headers this program builds against do not name them.
DEFINE_GUID(LiveSettingProperty, 0xc12bcd8e, 0x2a8e, 0x4950, 0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d,
            0x58, 0xeb);
constexpr long Polite = 1;
constexpr DWORD LiveRegionChanged = 0x8019;

} // namespace

AccessibleNames::AccessibleNames() {
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    void* service = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IAccPropServices, &service)))
        service_ = static_cast<IAccPropServices*>(service);
}

AccessibleNames::~AccessibleNames() {
    clearAll();
    if (service_) service_->Release();
    if (comStarted_) CoUninitialize();
}

void AccessibleNames::setName(HWND hwnd, const Text& name) {
    if (!service_ || !hwnd || name.empty()) return;
    const std::wstring wide = toWide(name);
    if (SUCCEEDED(service_->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                           PROPID_ACC_NAME, wide.c_str())))
        named_.insert(hwnd);
}

void AccessibleNames::setLiveRegion(HWND hwnd) {
    if (!service_ || !hwnd) return;
    VARIANT polite{}; // zeroed, as VariantInit would leave it
    polite.vt = VT_I4;
    polite.lVal = Polite;
    if (SUCCEEDED(service_->SetHwndProp(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                        LiveSettingProperty, polite)))
        liveRegion_ = hwnd;
}

void AccessibleNames::announce(const Text& text) {
    if (!liveRegion_) return;
    setName(liveRegion_, text);
    NotifyWinEvent(LiveRegionChanged, liveRegion_, OBJID_CLIENT, CHILDID_SELF);
}

void AccessibleNames::clearAll() {
    if (!service_) return;
    MSAAPROPID name = PROPID_ACC_NAME;
    for (HWND hwnd : named_)
        if (IsWindow(hwnd))
            service_->ClearHwndProps(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name,
                                     1);
    named_.clear();
}

} // namespace pelmora::win32
