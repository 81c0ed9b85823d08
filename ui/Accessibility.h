#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

#include "store/UniqueHandle.h"

struct ComReleaseTraits {
    using Handle = IUnknown*;
    static IUnknown* invalid() { return nullptr; }
    static void close(IUnknown* object) { object->Release(); }
};

// Names that screen readers announce for controls whose visible text does not say
// what they are, set through the system's annotation service, which MSAA and UI
// Automation clients both read. What it set is cleared again when it goes, while the
// controls still exist.
class AccessibleNames {
public:
    AccessibleNames();
    ~AccessibleNames();
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;

    void set(HWND control, const std::wstring& name);

private:
    IAccPropServices* services() const;

    UniqueHandle<ComReleaseTraits> services_;
    std::vector<HWND> named_;
};
