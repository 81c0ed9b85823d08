#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

#include "store/UniqueHandle.h"
#include "ui/Form.h"

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

    // What a screen reader reads after the name; "" takes it away.
    void describe(HWND control, const std::wstring& description);

private:
    IAccPropServices* services() const;

    UniqueComObject services_;
    std::vector<HWND> named_;
};

// Screen readers name a box or a list by the static text just before it in z-order: an
// invisible one there names it without changing the look.
void addHiddenLabel(HWND control, const ControlDefinition& row);
