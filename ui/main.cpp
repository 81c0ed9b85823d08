#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "ui/MainWindow.h"

namespace {

// Only the system folder may supply DLLs that load late, never the folder the
// program was started from (often Downloads). Looked up at run time because
// Windows 7 without its update lacks the function.
void restrictDllSearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

int runMessageLoop(HWND window) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab, Shift+Tab and access keys as in a dialog.
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    restrictDllSearch();

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The shell's folder dialog needs COM on the window's thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    // A window that could not be made whole does not come into being: the program
    // ends with an error code and has stored nothing.
    int exitCode = 1;
    try {
        if (MainWindow::registerClass(instance)) {
            if (HWND window = MainWindow::create(instance)) {
                ShowWindow(window, showCommand);
                UpdateWindow(window);
                exitCode = runMessageLoop(window);
            }
        }
    } catch (...) {
        exitCode = 1;
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return exitCode;
}
