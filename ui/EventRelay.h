#pragma once

#include <windows.h>

#include "store/UniqueHandle.h"

// Posts a message to a window when an event is signalled, once for each arm(). A
// posted message is handled by every message loop, also the modal loops of a message
// box, a dialog, a menu or a window move, where a wait on the event itself is not.
class EventRelay {
public:
    bool arm(HANDLE event, HWND window, UINT message);

    // Afterwards nothing is posted any more; waits for a post under way.
    void stop() { wait_.reset(); }

private:
    static void CALLBACK post(void* relay, BOOLEAN timedOut);

    struct WaitTraits {
        using Handle = HANDLE;
        static HANDLE invalid() { return nullptr; }
        static void close(HANDLE wait) { UnregisterWaitEx(wait, INVALID_HANDLE_VALUE); }
    };

    HWND window_ = nullptr;
    UINT message_ = 0;
    UniqueHandle<WaitTraits> wait_;  // last, so it is stopped before the rest goes
};
