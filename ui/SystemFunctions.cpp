#include "ui/SystemFunctions.h"

const SystemFunctions& systemFunctions() {
    static const SystemFunctions functions = [] {
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
    }();
    return functions;
}

GetDpiForMonitorFunction getDpiForMonitorFunction() {
    static const GetDpiForMonitorFunction function = [] {
        GetDpiForMonitorFunction found = nullptr;
        lookUpFunction(LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), "GetDpiForMonitor", found);
        return found;
    }();
    return function;
}
