#include "ui/SystemFunctions.h"

#include <string>

namespace {

const SystemFunctions kSystemFunctions;

}  // namespace

const SystemFunctions& systemFunctions() {
    return kSystemFunctions;
}

HMODULE loadSystemLibrary(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    return LoadLibraryW((std::wstring(folder, length) + L"\\" + name).c_str());
}

// Asked on the window's thread only, so plain statics do.
GetDpiForMonitorFunction getDpiForMonitorFunction() {
    static bool lookedUp = false;
    static GetDpiForMonitorFunction function = nullptr;
    if (!lookedUp) {
        lookedUp = true;
        function = FunctionIn(loadSystemLibrary(L"shcore.dll"), "GetDpiForMonitor");
    }
    return function;
}
