#pragma once

#include <windows.h>

// The main window's own timers and private messages; its window procedure hands each to
// one handler.

enum WindowTimer : UINT_PTR {
    kAfterFirstFrameTimer = 1,  // no delay: what waits until the first frame is painted
    kWatchRetryTimer,           // the IDE's key is missing: look for it again
    kModalLoopTimer,            // a modal loop runs: look whether the IDE's key changed
    kTypingPauseTimer,          // typing paused: check the folder texts typed
};

enum WindowMessage : UINT {
    kRegistryChanged = WM_APP + 1,  // sent by the program's loop: the IDE's key changed
    kFolderChecked,                 // posted from the thread pool: a folder check ended
};
