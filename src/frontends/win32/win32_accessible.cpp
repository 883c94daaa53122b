#include "win32_accessible.h"

// The GUIDs of the property service are defined here rather than taken from a library.
#include <initguid.h>
#include <objbase.h>
#include <oleacc.h>

#include "win32_text.h"

namespace pelmora::win32 {

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
    if (SUCCEEDED(service_->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT),
                                           CHILDID_SELF, PROPID_ACC_NAME, wide.c_str())))
        named_.push_back(hwnd);
}

void AccessibleNames::clearAll() {
    if (!service_) return;
    MSAAPROPID name = PROPID_ACC_NAME;
    for (HWND hwnd : named_)
        if (IsWindow(hwnd))
            service_->ClearHwndProps(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                     &name, 1);
    named_.clear();
}

} // namespace pelmora::win32
