#include "ui/SystemFunctions.h"

namespace {

const SystemFunctions kSystemFunctions;

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
        function = FunctionIn(LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), "GetDpiForMonitor");
    }
    return function;
}
