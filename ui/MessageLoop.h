#pragma once

#include <windows.h>

#include <optional>

// The program's message loop: the dialog keyboard of the main window, and the
// window's registry watch woken together with messages, on the one thread and
// without polling.

// Waits up to timeoutMs for messages or a registry change and handles what came.
// The exit code once WM_QUIT has arrived.
std::optional<int> handleEvents(HWND window, DWORD timeoutMs);

int runMessageLoop(HWND window);
