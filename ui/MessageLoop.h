#pragma once

#include <windows.h>

#include <optional>

// The program's message loop, with the dialog keyboard of the main window. Besides
// messages it waits for wake, a manual-reset event of the window's, and while that is
// signalled sends the window wakeMessage, whose handler resets it.

// Waits up to timeoutMs for messages or wake and handles what came.
// The exit code once WM_QUIT has arrived.
std::optional<int> handleEvents(HWND window, HANDLE wake, UINT wakeMessage, DWORD timeoutMs);

int runMessageLoop(HWND window, HANDLE wake, UINT wakeMessage);
