#include "ui/MessageLoop.h"

std::optional<int> handleEvents(HWND window, HANDLE wake, UINT wakeMessage, DWORD timeoutMs) {
    const DWORD waited = MsgWaitForMultipleObjectsEx(wake ? 1 : 0, &wake, timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (wake && waited == WAIT_OBJECT_0) SendMessageW(window, wakeMessage, 0, 0);
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

int runMessageLoop(HWND window, HANDLE wake, UINT wakeMessage) {
    for (;;) {
        if (const auto exitCode = handleEvents(window, wake, wakeMessage, INFINITE)) return *exitCode;
    }
}
