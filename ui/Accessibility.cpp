#include "ui/Accessibility.h"

#include <algorithm>
#include <string_view>

namespace {

// Defined here: MinGW's import libraries resolve such GUIDs to import thunks.
constexpr CLSID kAccPropServicesClass = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr MSAAPROPID kNameProperty = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr MSAAPROPID kDescriptionProperty = {
    0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};
constexpr MSAAPROPID kProperties[] = {kNameProperty, kDescriptionProperty};

}  // namespace

AccessibleNames::AccessibleNames() {
    void* services = nullptr;
    if (SUCCEEDED(CoCreateInstance(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER, kAccPropServicesInterface,
                                   &services)))
        services_.reset(static_cast<IAccPropServices*>(services));
}

AccessibleNames::~AccessibleNames() {
    if (!services_) return;
    for (HWND control : named_) services()->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, kProperties, 2);
}

void AccessibleNames::set(HWND control, const std::wstring& name) {
    // Without the service (no COM, or a system that lacks it) the hidden labels
    // still name the boxes and the list.
    if (!services_) return;
    if (SUCCEEDED(services()->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, kNameProperty, name.c_str())))
        named_.push_back(control);
}

void AccessibleNames::describe(HWND control, const std::wstring& description) {
    if (!services_) return;
    if (description.empty()) {
        services()->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, &kDescriptionProperty, 1);
        return;
    }
    if (SUCCEEDED(services()->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, kDescriptionProperty,
                                             description.c_str())) &&
        std::find(named_.begin(), named_.end(), control) == named_.end())
        named_.push_back(control);
}

IAccPropServices* AccessibleNames::services() const {
    return static_cast<IAccPropServices*>(services_.get());
}

void addHiddenLabel(HWND control, const ControlDefinition& row) {
    if (!row.accessibleName || row.className == std::wstring_view(WC_BUTTONW)) return;
    HWND window = GetParent(control);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    HWND label = CreateWindowExW(0, WC_STATICW, row.accessibleName, WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0, window, nullptr,
                                 instance, nullptr);
    // Made last, it lies last in z-order: move it to just before the control.
    HWND before = GetWindow(control, GW_HWNDPREV);
    if (label) SetWindowPos(label, before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
