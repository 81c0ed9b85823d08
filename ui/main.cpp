#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "ui/MainWindow.h"
#include "ui/MessageLoop.h"
#include "ui/SystemFunctions.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Only the system folder may supply DLLs that load late, never the folder the program
    // was started from (often Downloads). Windows 7 without its update lacks the function.
    if (auto setDefault = systemFunctions().setDefaultDllDirectories) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);

    // The standard controls and the tooltips.
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
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
                exitCode = runMessageLoop(window, MainWindow::ideKeyEvent(window), kRegistryChanged);
            }
        }
    } catch (...) {
        exitCode = 1;
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return exitCode;
}
