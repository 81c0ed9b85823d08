#pragma once

#include <windows.h>

// Functions newer than Windows 7, looked up once, each null where the system lacks it:
// so the program, and the tests, still start on Windows 7. The signatures are written out,
// as headers for Windows 7 do not declare them.

// The function of that name in module, as the function pointer it is assigned to.
class FunctionIn {
public:
    FunctionIn(HMODULE module, const char* name) : address_(module ? GetProcAddress(module, name) : nullptr) {}

    template <typename Function>
    operator Function*() const {
        return reinterpret_cast<Function*>(reinterpret_cast<void*>(address_));
    }

private:
    FARPROC address_;
};

// DPI_AWARENESS_CONTEXT, declared for Windows 10 1607 and later only.
using DpiAwarenessContext = HANDLE;

// One line for each function, as a table reads.
// clang-format off
struct SystemFunctions {
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    // Windows 8, and Windows 7 with KB2533623.
    BOOL(WINAPI* setDefaultDllDirectories)(DWORD) = FunctionIn(kernel32, "SetDefaultDllDirectories");
    // Windows 10 1607.
    UINT(WINAPI* getDpiForWindow)(HWND) = FunctionIn(user32, "GetDpiForWindow");
    UINT(WINAPI* getDpiForSystem)() = FunctionIn(user32, "GetDpiForSystem");
    BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = FunctionIn(user32, "AdjustWindowRectExForDpi");
    BOOL(WINAPI* systemParametersInfoForDpi)(UINT, UINT, void*, UINT, UINT) = FunctionIn(user32, "SystemParametersInfoForDpi");
    int(WINAPI* getSystemMetricsForDpi)(int, UINT) = FunctionIn(user32, "GetSystemMetricsForDpi");
    DpiAwarenessContext(WINAPI* getThreadDpiAwarenessContext)() = FunctionIn(user32, "GetThreadDpiAwarenessContext");
    BOOL(WINAPI* areDpiAwarenessContextsEqual)(DpiAwarenessContext, DpiAwarenessContext) = FunctionIn(user32, "AreDpiAwarenessContextsEqual");
};
// clang-format on

// Looked up as the program starts, when both DLLs are loaded with it.
const SystemFunctions& systemFunctions();

// A DLL of the system folder, loaded when first needed rather than imported, by its full
// path: never from the program's folder, and also where Windows 7 lacks KB2533623.
HMODULE loadSystemLibrary(const wchar_t* name);

// GetDpiForMonitor of shcore.dll (Windows 8.1), which is loaded from the system folder
// only when first asked, and then kept.
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
GetDpiForMonitorFunction getDpiForMonitorFunction();
