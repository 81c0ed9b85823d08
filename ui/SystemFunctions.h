#pragma once

#include <windows.h>

// Functions newer than Windows 7, looked up once, each null where the system lacks it:
// so the program, and the tests, still start on Windows 7. The signatures are written out,
// as headers for Windows 7 do not declare them.

// DPI_AWARENESS_CONTEXT, declared for Windows 10 1607 and later only.
using DpiAwarenessContext = HANDLE;

struct SystemFunctions {
    // kernel32.dll: Windows 8, and Windows 7 with KB2533623.
    BOOL(WINAPI* setDefaultDllDirectories)(DWORD);
    // user32.dll: Windows 10 1607.
    UINT(WINAPI* getDpiForWindow)(HWND);
    UINT(WINAPI* getDpiForSystem)();
    BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT);
    BOOL(WINAPI* systemParametersInfoForDpi)(UINT, UINT, void*, UINT, UINT);
    int(WINAPI* getSystemMetricsForDpi)(int, UINT);
    DpiAwarenessContext(WINAPI* getThreadDpiAwarenessContext)();
    BOOL(WINAPI* areDpiAwarenessContextsEqual)(DpiAwarenessContext, DpiAwarenessContext);
};

const SystemFunctions& systemFunctions();

// GetDpiForMonitor of shcore.dll (Windows 8.1), which is loaded from the system folder
// only when first asked, and then kept.
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
GetDpiForMonitorFunction getDpiForMonitorFunction();

// Sets function to the one of that name in module, or null.
template <typename Function>
void lookUpFunction(HMODULE module, const char* name, Function& function) {
    function = module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
