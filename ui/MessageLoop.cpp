#include "ui/MessageLoop.h"

std::optional<int> handleEvents(HWND window, DWORD timeoutMs) {
    MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
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
