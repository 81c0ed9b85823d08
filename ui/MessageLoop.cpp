#include "ui/MessageLoop.h"

namespace {

// Windows 8 brought touch and pen input, which the QS_ALLINPUT of the Windows 7 headers
// leaves out: a tap would wait for the next other message. A system that does not know
// the bits refuses the whole mask, and every wait would fail at once, so the wait asks
// the system once. The headers' QS_ALLINPUT holds the bits where they are built for
// Windows 8 or later, so the fallback takes them out rather than trusting it.
constexpr DWORD kTouchAndPointer = 0x0800 | 0x1000;  // QS_TOUCH | QS_POINTER

// Only the window's thread waits, so a plain static does.
DWORD wakeMask() {
    constexpr DWORD withTouch = QS_ALLINPUT | kTouchAndPointer;
    constexpr DWORD withoutTouch = withTouch & ~kTouchAndPointer;
    static DWORD mask = 0;
    if (!mask)
        mask = MsgWaitForMultipleObjectsEx(0, nullptr, 0, withTouch, MWMO_INPUTAVAILABLE) == WAIT_FAILED ? withoutTouch
                                                                                                         : withTouch;
    return mask;
}

}  // namespace

std::optional<int> handleEvents(HWND window, HANDLE wake, UINT wakeMessage, DWORD timeoutMs) {
    const DWORD waited = MsgWaitForMultipleObjectsEx(wake ? 1 : 0, &wake, timeoutMs, wakeMask(), MWMO_INPUTAVAILABLE);
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
