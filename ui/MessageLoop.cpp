#include "ui/MessageLoop.h"

#include "ui/MainWindow.h"

std::optional<int> handleEvents(HWND window, DWORD timeoutMs) {
    // Asked each time: the window, and with it the event, may be gone.
    HANDLE registryChanged = MainWindow::registryChangeEvent(window);
    const DWORD woken = MsgWaitForMultipleObjectsEx(registryChanged ? 1 : 0, &registryChanged, timeoutMs,
                                                    QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (registryChanged && woken == WAIT_OBJECT_0) SendMessageW(window, kRegistryChanged, 0, 0);

    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
        // Tab, Shift+Tab and access keys as in a dialog.
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return std::nullopt;
}

int runMessageLoop(HWND window) {
    for (;;) {
        if (const auto exitCode = handleEvents(window, INFINITE)) return *exitCode;
    }
}
