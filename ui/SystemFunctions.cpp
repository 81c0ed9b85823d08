#include "ui/SystemFunctions.h"

namespace {

SystemFunctions lookUpSystemFunctions() {
    SystemFunctions found{};
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll"), user32 = GetModuleHandleW(L"user32.dll");
    lookUpFunction(kernel32, "SetDefaultDllDirectories", found.setDefaultDllDirectories);
    lookUpFunction(user32, "GetDpiForWindow", found.getDpiForWindow);
    lookUpFunction(user32, "GetDpiForSystem", found.getDpiForSystem);
    lookUpFunction(user32, "AdjustWindowRectExForDpi", found.adjustWindowRectExForDpi);
    lookUpFunction(user32, "SystemParametersInfoForDpi", found.systemParametersInfoForDpi);
    lookUpFunction(user32, "GetSystemMetricsForDpi", found.getSystemMetricsForDpi);
    lookUpFunction(user32, "GetThreadDpiAwarenessContext", found.getThreadDpiAwarenessContext);
    lookUpFunction(user32, "AreDpiAwarenessContextsEqual", found.areDpiAwarenessContextsEqual);
    return found;
}

// As the program starts: both DLLs are loaded with it.
const SystemFunctions kSystemFunctions = lookUpSystemFunctions();

}  // namespace

const SystemFunctions& systemFunctions() {
    return kSystemFunctions;
}

// Asked on the window's thread only, so plain statics do.
GetDpiForMonitorFunction getDpiForMonitorFunction() {
    static bool lookedUp = false;
    static GetDpiForMonitorFunction function = nullptr;
    if (!lookedUp) {
        lookedUp = true;
        lookUpFunction(LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), "GetDpiForMonitor",
                       function);
    }
    return function;
}
