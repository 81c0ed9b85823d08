#pragma once

#include <windows.h>

#include <optional>

// The program's message loop, with the dialog keyboard of the main window.

// Waits up to timeoutMs for messages and handles what came.
// The exit code once WM_QUIT has arrived.
std::optional<int> handleEvents(HWND window, DWORD timeoutMs);

int runMessageLoop(HWND window);
